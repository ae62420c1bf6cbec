#include "SystemMenu.h"

#include <QAbstractNativeEventFilter>
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <windows.h>

namespace kel::ui {

namespace {

// The command of the entry: system commands are multiples of 16 below 0xF000.
constexpr UINT kEntryCommand = 0x10;

// Adds the entry once the native window exists, and runs the action when the
// system menu sends its command.
class SystemMenuEntry final : public QObject, public QAbstractNativeEventFilter {
public:
    SystemMenuEntry(QWidget& window, QAction& action) : QObject(&window), window_(&window), action_(&action)
    {
        window.installEventFilter(this);
        QCoreApplication::instance()->installNativeEventFilter(this);
        if (window.testAttribute(Qt::WA_WState_Created))
            AddEntry();
    }
    ~SystemMenuEntry() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show))
            AddEntry();
        return false;
    }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr* result) override
    {
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WM_SYSCOMMAND || (msg->wParam & 0xFFF0) != kEntryCommand || !window_ || !action_
            || msg->hwnd != hwnd_)
            return false;
        action_->trigger();
        *result = 0;
        return true;
    }

private:
    void AddEntry()
    {
        const auto hwnd = reinterpret_cast<HWND>(window_->winId());
        if (hwnd == hwnd_)
            return;
        hwnd_ = hwnd;
        // A frameless Qt window is a popup without a system menu: give it one.
        ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_SYSMENU);
        const HMENU menu = ::GetSystemMenu(hwnd, FALSE);
        if (!menu || action_->text().isEmpty())
            return;
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(menu, MF_STRING, kEntryCommand, reinterpret_cast<const wchar_t*>(action_->text().utf16()));
    }

    QPointer<QWidget> window_;
    QPointer<QAction> action_;
    HWND hwnd_ = nullptr;
};

}  // namespace

void AddToSystemMenu(QWidget& window, QAction& action)
{
    new SystemMenuEntry(window, action);
}

}  // namespace kel::ui
