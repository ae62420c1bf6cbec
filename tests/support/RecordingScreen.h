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

    // One log line: the call's name and what it was given.
    template <typename... Parts>
    void Note(const char* call, const Parts&... parts)
    {
        std::string line = call;
        ((line += Shown(parts)), ...);
        log.push_back(line);
    }
    static std::string Shown(std::string_view text) { return " " + std::string(text); }
    static std::string Shown(int number) { return " " + std::to_string(number); }
    static std::string Shown(bool on) { return on ? " 1" : " 0"; }

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
        Note("MessageBox", std::string(caption) + ":", text);
    }
    void SetText(int id, std::string_view text) override { Note("SetText", id, texts[id] = text); }
    void Enable(int id, bool on) override { Note("Enable", id, enabled[id] = on); }
    void SetBitmap(int id, int bitmap) override { Note("SetBitmap", id, bitmaps[id] = bitmap); }
    void SetSpinPosition(int id, int position) override { Note("SetSpinPosition", id, spins[id] = position); }
    void ProgressShowText(std::string_view text) override { Note("ProgressShowText", progressText = text); }
    void ProgressSetPercentage(bool on) override { Note("ProgressSetPercentage", on); }
    void ProgressSetPos(int position) override { Note("ProgressSetPos", progressPositions.emplace_back(position)); }
    void SettingsProgressOpen() override { settingsProgressOpen = true, Note("SettingsProgressOpen"); }
    void SettingsProgressSetPos(int position) override
    {
        Note("SettingsProgressSetPos", settingsProgressPositions.emplace_back(position));
    }
    void SettingsProgressDetail(std::string_view text) override
    {
        Note("SettingsProgressDetail", settingsProgressDetail = text);
    }
    void SettingsProgressTitle(std::string_view title, bool success) override
    {
        settingsProgressTitle = success;
        Note("SettingsProgressTitle", title);
    }
    void SettingsProgressClose() override { settingsProgressOpen = false, Note("SettingsProgressClose"); }
    void RepaintNow() override { ++repaints, Note("RepaintNow"); }
    void PumpMessages() override { ++pumps, Note("PumpMessages"); }
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        Note("ChooseFile", request.initialName);
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
