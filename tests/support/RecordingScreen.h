#pragma once
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/PollTimer.h"
#include "link/Screen.h"

namespace kel::test {

// A Screen that remembers what the user would see instead of showing it.
// Message boxes never block; file choosers answer from a script.
class RecordingScreen : public Screen {
public:
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };

    // Everything, in order, one line per call ("SetText 1500 Ver: 102304").
    std::vector<std::string> log;
    std::vector<Message> messages;
    std::map<int, std::string> texts;
    std::map<int, bool> enabled;
    std::map<int, int> bitmaps;
    std::map<int, int> spins;
    std::string progressText;
    bool progressPercentage = true;
    std::vector<int> progressPositions;
    std::vector<int> settingsProgressPositions;
    std::string settingsProgressDetail;
    std::optional<bool> settingsProgressTitle;
    bool settingsProgressOpen = false;
    int repaints = 0;
    int pumps = 0;
    std::vector<FileDialogRequest> fileRequests;
    // Answers of the next file choosers, in order; none left means "cancelled".
    std::deque<std::optional<std::string>> fileAnswers;

    bool IsLit(int lampId) const
    {
        auto it = bitmaps.find(lampId);
        return it != bitmaps.end() && it->second == 130;
    }
    bool IsEnabled(int controlId) const
    {
        auto it = enabled.find(controlId);
        return it == enabled.end() || it->second;
    }

    void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override
    {
        messages.push_back({std::string(text), std::string(caption), icon});
        log.push_back("MessageBox " + std::string(caption) + ": " + std::string(text));
    }
    void SetText(int id, std::string_view text) override
    {
        texts[id] = std::string(text);
        log.push_back("SetText " + std::to_string(id) + " " + std::string(text));
    }
    void Enable(int id, bool on) override
    {
        enabled[id] = on;
        log.push_back("Enable " + std::to_string(id) + (on ? " 1" : " 0"));
    }
    void SetBitmap(int id, int bitmap) override
    {
        bitmaps[id] = bitmap;
        log.push_back("SetBitmap " + std::to_string(id) + " " + std::to_string(bitmap));
    }
    void SetSpinPosition(int id, int position) override
    {
        spins[id] = position;
        log.push_back("SetSpinPosition " + std::to_string(id) + " " + std::to_string(position));
    }
    void ProgressShowText(std::string_view text) override
    {
        progressText = std::string(text);
        progressPercentage = false;
        log.push_back("ProgressShowText " + progressText);
    }
    void ProgressSetPercentage(bool on) override
    {
        progressPercentage = on;
        log.push_back(on ? "ProgressSetPercentage 1" : "ProgressSetPercentage 0");
    }
    void ProgressSetPos(int position) override
    {
        progressPositions.push_back(position);
        log.push_back("ProgressSetPos " + std::to_string(position));
    }
    void SettingsProgressOpen() override
    {
        settingsProgressOpen = true;
        log.push_back("SettingsProgressOpen");
    }
    void SettingsProgressSetPos(int position) override
    {
        settingsProgressPositions.push_back(position);
        log.push_back("SettingsProgressSetPos " + std::to_string(position));
    }
    void SettingsProgressDetail(std::string_view text) override
    {
        settingsProgressDetail = std::string(text);
        log.push_back("SettingsProgressDetail " + settingsProgressDetail);
    }
    void SettingsProgressTitle(std::string_view title, bool success) override
    {
        settingsProgressTitle = success;
        log.push_back("SettingsProgressTitle " + std::string(title));
    }
    void SettingsProgressClose() override
    {
        settingsProgressOpen = false;
        log.push_back("SettingsProgressClose");
    }
    void RepaintNow() override
    {
        ++repaints;
        log.push_back("RepaintNow");
    }
    void PumpMessages() override
    {
        ++pumps;
        log.push_back("PumpMessages");
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        log.push_back("ChooseFile " + request.initialName);
        if (fileAnswers.empty())
            return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

// A poll timer that only remembers.
class RecordingPollTimer : public PollTimer {
public:
    bool running = false;
    int periodMs = 0;
    std::vector<std::string> log;
    void Start(int period) override
    {
        running = true;
        periodMs = period;
        log.push_back("Start " + std::to_string(period));
    }
    void Stop() override
    {
        running = false;
        log.push_back("Stop");
    }
};

}  // namespace kel::test
