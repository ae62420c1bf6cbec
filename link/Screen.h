#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "Texts.h"

namespace kel {

enum class MessageIcon { None, Error };

// What a file chooser is asked for. Filters are written as the platform's
// "Name (*.ext)|*.ext|...||" list.
struct FileDialogRequest {
    bool save = false;
    std::string title;        // empty: the platform's default
    std::string initialName;  // file name field
    std::string filter;
    std::string defaultExt;
    bool mustExist = false;
};

// Everything the engine shows the user goes through here. The window renders
// it with widgets, the command-line tool prints it, tests record it.
// Controls are named by their identifiers (link/ControlIds.h).
class Screen {
public:
    virtual ~Screen() = default;

    // Modal message box with an OK button.
    virtual void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) = 0;

    // Control state.
    virtual void SetText(int controlId, std::string_view text) = 0;
    virtual void Enable(int controlId, bool enabled) = 0;
    virtual void SetBitmap(int controlId, int bitmapId) = 0;  // lamps, MODE switch
    virtual void SetSpinPosition(int spinId, int position) = 0;
    // Why the USB lamp is dark, when the box is there but cannot be opened.
    virtual void SetToolTip(int /*controlId*/, std::string_view /*text*/) {}

    // The main window's progress bar (control 1062).
    virtual void ProgressShowText(std::string_view text) = 0;  // also clears the percentage flag
    virtual void ProgressSetPercentage(bool on) = 0;
    virtual void ProgressSetPos(int position) = 0;

    // The progress pop-up of a settings write.
    virtual void SettingsProgressOpen() = 0;
    virtual void SettingsProgressSetPos(int position) = 0;
    virtual void SettingsProgressDetail(std::string_view text) = 0;
    // The title at the end of a write: text::kSettingsWritten (success) or
    // text::kSettingsNotWritten; the window colors it green or red.
    virtual void SettingsProgressTitle(std::string_view title, bool success) = 0;
    virtual void SettingsProgressClose() = 0;

    // Paint the window now (the exchanges block its own painting).
    virtual void RepaintNow() = 0;
    // Dispatch pending window messages (only the box update asks for this).
    virtual void PumpMessages() = 0;

    // Modal file chooser; nothing when the user cancels.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
};

}  // namespace kel
