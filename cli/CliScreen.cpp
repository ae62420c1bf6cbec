#include "CliScreen.h"

#include <algorithm>
#include <utility>
#include <unistd.h>

#include "Output.h"

namespace kel::cli {

namespace {
constexpr int kBarWidth = 40;
}  // namespace

CliScreen::CliScreen(std::FILE* err) : err_(err), terminal_(isatty(fileno(err)) != 0) {}

void CliScreen::MessageBox(std::string_view text, std::string_view caption, MessageIcon)
{
    EndProgressLine();
    ++messageCount;
    ++errorCount;  // every box the engine raises reports a refusal or a failure
    const std::string shownCaption = caption.empty() ? std::string(text::kAppName) : std::string(caption);
    std::fprintf(err_, "%s: %.*s\n", shownCaption.c_str(), static_cast<int>(text.size()), text.data());
    output::NoteReason(shownCaption + ": " + std::string(text));
    std::fflush(err_);
}

void CliScreen::SetText(int controlId, std::string_view text)
{
    texts[controlId] = std::string(text);
}

void CliScreen::ProgressShowText(std::string_view text)
{
    percentage_ = false;
    progressCleared_ = text.empty();
    progressText = std::string(text);
    if (!text.empty()) {
        EndProgressLine();
        std::fprintf(err_, "%s\n", progressText.c_str());
        std::fflush(err_);
    }
    lastPercent_ = -1;
}

void CliScreen::ProgressSetPos(int position)
{
    if (std::exchange(progressCleared_, false) && position == 0)
        return;
    ShowProgress("Updating", std::clamp(position, 0, 100));
}

void CliScreen::SettingsProgressOpen()
{
    detail_.clear();
    lastPercent_ = -1;
}

void CliScreen::SettingsProgressSetPos(int position)
{
    ShowProgress("Setting", std::clamp(position, 0, 100));
}

void CliScreen::SettingsProgressTitle(std::string_view title, bool success)
{
    EndProgressLine();
    settingsWriteSucceeded = success;
    if (!success && !detail_.empty())
        std::fprintf(err_, "%s\n", detail_.c_str());
    std::fprintf(err_, "%.*s\n", static_cast<int>(title.size()), title.data());
    std::fflush(err_);
}

void CliScreen::SettingsProgressClose()
{
    EndProgressLine();
}

void CliScreen::ShowProgress(const char* what, int percent)
{
    if (percent == lastPercent_)
        return;
    lastPercent_ = percent;
    if (terminal_) {
        const int filled = percent * kBarWidth / 100;
        std::fprintf(err_, "\r%s [%s%s] %3d%%", what, std::string(filled, '#').c_str(),
                     std::string(kBarWidth - filled, '.').c_str(), percent);
        barShown_ = true;
    } else {
        std::fprintf(err_, "%s %d%%\n", what, percent);
    }
    std::fflush(err_);
}

void CliScreen::EndProgressLine()
{
    if (barShown_) {
        std::fputc('\n', err_);
        barShown_ = false;
    }
}

}  // namespace kel::cli
