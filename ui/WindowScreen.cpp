#include "WindowScreen.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include "ArrowSpin.h"
#include "Dialogs.h"
#include "controls/CXProgressCtrl.h"
#include "controls/CprogessDlg.h"
#include "controls/CxSkinButton.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"

namespace kel::ui {

WindowScreen::WindowScreen(QWidget& window, std::function<void()> repaintNow, const ControlMap& controls,
                           Dialogs& dialogs)
    : window_(window)
    , repaintNow_(std::move(repaintNow))
    , controls_(controls)
    , dialogs_(dialogs)
{}

WindowScreen::~WindowScreen() = default;

void WindowScreen::MessageBox(std::string_view text, std::string_view caption, MessageIcon icon)
{
    dialogs_.Message(&window_, MessageCaption(caption), ToQString(text), icon);
}

void WindowScreen::SetText(int controlId, std::string_view text)
{
    const QString value = ToQString(text);
    QWidget* control = controls_.Find(controlId);
    // Setting a field's text never counts as the user's edit (textEdited).
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text() != value)
            edit->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(value);
        if (button->property(kAccessibleLabelProperty).isValid())
            button->setAccessibleDescription(value);
        button->update();
    }
}

void WindowScreen::Enable(int controlId, bool enabled)
{
    if (QWidget* control = controls_.Find(controlId))
        control->setEnabled(enabled);
}

void WindowScreen::SetBitmap(int controlId, int bitmapId)
{
    QWidget* control = controls_.Find(controlId);
    if (control)
        control->setProperty(kBitmapProperty, bitmapId);
    if (auto* picture = qobject_cast<QLabel*>(control)) {
        picture->setPixmap(skin::Bitmap(bitmapId, window_.devicePixelRatioF()));
        picture->setAccessibleDescription(bitmapId == id::bmp::kLampOn ? QStringLiteral("on") : QStringLiteral("off"));
    } else if (auto* button = qobject_cast<CxSkinButton*>(control)) {
        if (controlId == id::kModeSwitch)
            button->setAccessibleDescription(bitmapId == id::bmp::kModeMod ? QStringLiteral("MOD")
                                                                           : QStringLiteral("stock"));
        // A switch with one picture: the same image up and down.
        const QRect where = button->geometry();
        button->ApplySkin(unsigned(bitmapId), unsigned(bitmapId), 0, 0, 0, 0, 0, 0);
        button->setGeometry(where);
    }
}

void WindowScreen::SetSpinPosition(int spinId, int position)
{
    if (auto* spin = controls_.As<ArrowSpin>(spinId))
        spin->setPosition(position);
}

void WindowScreen::SetToolTip(int controlId, std::string_view text)
{
    if (QWidget* control = controls_.Find(controlId))
        control->setToolTip(ToQString(text));
}

void WindowScreen::ProgressShowText(std::string_view text)
{
    if (auto* bar = controls_.As<CXProgressCtrl>(id::kProgressBar))
        bar->ShowText(ToQString(text));
}

void WindowScreen::ProgressSetPercentage(bool on)
{
    if (auto* bar = controls_.As<CXProgressCtrl>(id::kProgressBar)) {
        bar->showPercentage = on ? 1 : 0;
        bar->update();
    }
}

void WindowScreen::ProgressSetPos(int position)
{
    if (auto* bar = controls_.As<CXProgressCtrl>(id::kProgressBar))
        bar->setValue(position);
}

void WindowScreen::SettingsProgressOpen()
{
    progress_.reset(CprogessDlg::Open(&window_));
    // The one message pump of a settings write: the window system maps and
    // exposes a new top-level pop-up through events, and nothing paints on a
    // window that is not exposed yet. Nothing can re-enter the engine here:
    // user input stays queued until the write is over, the poll timer was
    // stopped before the pop-up opened, and nothing has been sent yet. A close
    // request from the window system only hides the window (it is not deleted
    // on close), so the write finishes on live widgets.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    FlushProgress();
}

void WindowScreen::SettingsProgressSetPos(int position)
{
    if (progress_) {
        progress_->SetPos(position);
        FlushProgress();
    }
}

void WindowScreen::SettingsProgressDetail(std::string_view text)
{
    if (progress_) {
        progress_->SetDetail(ToQString(text));
        FlushProgress();
    }
}

void WindowScreen::SettingsProgressTitle(std::string_view title, bool success)
{
    if (progress_) {
        progress_->SetTitle(ToQString(title), success);
        FlushProgress();
    }
}

void WindowScreen::SettingsProgressClose()
{
    progress_.reset();
}

void WindowScreen::FlushProgress()
{
    // Paints and flushes at once, without the event loop: the exchange keeps
    // the window's own painting blocked until it is over.
    progress_->repaint();
}

void WindowScreen::RepaintNow()
{
    repaintNow_();
}

void WindowScreen::PumpMessages()
{
    QCoreApplication::processEvents();
}

std::optional<std::string> WindowScreen::ChooseFile(const FileDialogRequest& request)
{
    return dialogs_.ChooseFile(&window_, request);
}

}  // namespace kel::ui
