#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string_view>

#include "ControlMap.h"
#include "link/Screen.h"

namespace kel {
class CprogessDlg;
}

namespace kel::ui {

class Dialogs;

// An engine text as Qt shows it.
inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The dynamic property that names the bitmap a lamp or the MODE switch shows.
inline constexpr char kBitmapProperty[] = "bitmapId";
// The label an option button is known by to screen readers; its caption is
// its value.
inline constexpr char kAccessibleLabelProperty[] = "accessibleLabel";

// The engine's Screen on the main window's widgets: texts, enabled states,
// bitmaps and spin positions by control identifier, the progress bar 1062,
// the settings progress pop-up, and the modal boxes through Dialogs.
class WindowScreen final : public Screen {
public:
    // `repaintNow` paints the window's face at once.
    WindowScreen(QWidget& window, std::function<void()> repaintNow, const ControlMap& controls, Dialogs& dialogs);
    ~WindowScreen() override;

    void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void SetText(int controlId, std::string_view text) override;
    void Enable(int controlId, bool enabled) override;
    void SetBitmap(int controlId, int bitmapId) override;
    void SetSpinPosition(int spinId, int position) override;
    void SetToolTip(int controlId, std::string_view text) override;

    void ProgressShowText(std::string_view text) override;
    void ProgressSetPercentage(bool on) override;
    void ProgressSetPos(int position) override;

    void SettingsProgressOpen() override;
    void SettingsProgressSetPos(int position) override;
    void SettingsProgressDetail(std::string_view text) override;
    void SettingsProgressTitle(std::string_view title, bool success) override;
    void SettingsProgressClose() override;

    void RepaintNow() override;
    void PumpMessages() override;

    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;

    // The open settings progress pop-up, or null.
    CprogessDlg* SettingsProgress() const { return progress_.get(); }

private:
    // Shows a change on the progress pop-up at once: the exchange that drives
    // it holds the event loop.
    void FlushProgress();

    QWidget& window_;
    std::function<void()> repaintNow_;
    const ControlMap& controls_;
    Dialogs& dialogs_;
    std::unique_ptr<CprogessDlg> progress_;
};

}  // namespace kel::ui
