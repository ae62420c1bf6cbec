#pragma once
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/PollTimer.h"
#include "link/Screen.h"

namespace kel::cli {

// Shows the engine's output on a terminal: message boxes as "CAPTION: TEXT"
// lines on standard error, progress as a bar (terminal) or one line per whole
// percent (pipe or file). The file chooser answers with the file named on the
// command line.
class CliScreen final : public Screen {
public:
    explicit CliScreen(std::FILE* err = stderr);

    std::optional<std::string> fileAnswer;  // what every chooser returns

    // What happened, for the exit status.
    int messageCount = 0;
    int errorCount = 0;  // message boxes other than plain success news
    std::optional<bool> settingsWriteSucceeded;
    std::string progressText;
    std::map<int, std::string> texts;  // last text of each control identifier

    void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void SetText(int controlId, std::string_view text) override;
    void Enable(int, bool) override {}
    void SetBitmap(int, int) override {}
    void SetSpinPosition(int, int) override {}
    void ProgressShowText(std::string_view text) override;
    void ProgressSetPercentage(bool on) override { percentage_ = on; }
    void ProgressSetPos(int position) override;
    void SettingsProgressOpen() override;
    void SettingsProgressSetPos(int position) override;
    void SettingsProgressDetail(std::string_view text) override { detail_ = std::string(text); }
    void SettingsProgressTitle(std::string_view title, bool success) override;
    void SettingsProgressClose() override;
    void RepaintNow() override {}
    void PumpMessages() override {}
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return fileAnswer; }

    // Ends a progress bar's line on a terminal, so a message starts on its own.
    void EndProgressLine();

private:
    void ShowProgress(const char* what, int percent);

    std::FILE* err_;
    bool terminal_;
    bool percentage_ = true;
    bool barShown_ = false;
    int lastPercent_ = -1;
    // The update button clears the bar and sets it to 0 before it knows
    // whether anything will be sent; that reset is not progress.
    bool progressCleared_ = false;
    std::string detail_;
};

// The command-line tool runs ticks itself; the timer only remembers its period.
class CliPollTimer final : public PollTimer {
public:
    bool running = false;
    int periodMs = 0;
    void Start(int period) override
    {
        running = true;
        periodMs = period;
    }
    void Stop() override { running = false; }
};

}  // namespace kel::cli
