#pragma once
#include "link/Screen.h"

namespace kel {

// A screen that shows nothing: for a record decoded only to read it back, and
// a base for screens that watch just a few of the calls.
class QuietScreen : public Screen {
public:
    void MessageBox(std::string_view, std::string_view, MessageIcon) override {}
    void SetText(int, std::string_view) override {}
    void Enable(int, bool) override {}
    void SetBitmap(int, int) override {}
    void SetSpinPosition(int, int) override {}
    void ProgressShowText(std::string_view) override {}
    void ProgressSetPercentage(bool) override {}
    void ProgressSetPos(int) override {}
    void SettingsProgressOpen() override {}
    void SettingsProgressSetPos(int) override {}
    void SettingsProgressDetail(std::string_view) override {}
    void SettingsProgressTitle(std::string_view, bool) override {}
    void SettingsProgressClose() override {}
    void RepaintNow() override {}
    void PumpMessages() override {}
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

}  // namespace kel
