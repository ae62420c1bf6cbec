#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/CListBoxDlg.h"
#include "controls/CMyListBox.h"
#include "link/Clock.h"
#include "resources/ResourceIds.h"
#include "sim/InProcessDevice.h"
#include "ui/CKelDlg.h"
#include "ui/Dialogs.h"

namespace kel::test {

// Dialogs that remember instead of showing: message boxes never block, file
// choosers answer from a script (none left: cancelled).
class RecordingDialogs final : public ui::Dialogs {
public:
    struct Message {
        QString caption;
        QString text;
        MessageIcon icon;
    };
    std::vector<Message> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::optional<std::string>> fileAnswers;
    int abouts = 0;

    void Message(QWidget*, const QString& caption, const QString& text, MessageIcon icon) override
    {
        messages.push_back({caption, text, icon});
    }
    std::optional<std::string> ChooseFile(QWidget*, const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    void About(QWidget*) override { ++abouts; }
};

// The main window on the in-process simulator and a virtual clock: the
// device's waits cost no real time, and poll ticks are run by hand.
struct WindowFixture {
    explicit WindowFixture(sim::DeviceOptions options = {})
        : device(clock, std::move(options))
        , finder(device)
        , window(std::make_unique<ui::CKelDlg>(device, finder, clock, dialogs))
    {
        QApplication::setApplicationName(QStringLiteral("Kel"));  // the caption of boxes without their own
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
    }

    template <class W = QWidget>
    W* Control(int id) const
    {
        return window->findChild<W*>(QString::number(id));
    }

    void Click(int id) const
    {
        QWidget* control = Control(id);
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    }

    QString Caption(int id) const { return Control<QAbstractButton>(id)->text(); }
    QString Text(int id) const { return Control<QLineEdit>(id)->text(); }
    int Bitmap(int id) const { return Control(id)->property(ui::kBitmapProperty).toInt(); }

    // Opens the pop-up of `slot` on `page` the way a user does: the page
    // change paints before the click.
    CListBoxDlg* OpenPopup(int page, int slot) const
    {
        Click(page);
        QApplication::processEvents();
        Click(slot);
        QApplication::processEvents();
        return window->Popup();
    }

    bool Activate() const
    {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    void Tick() const { window->logic().OnTimer(); }

    // Picks the device radio button and ticks until the device answers
    // (the first tick opens the port). False when it never does.
    bool Connect(int radioId) const
    {
        Click(radioId);
        for (int i = 0; i < 6 && !Answered(radioId); ++i)
            Tick();
        return Answered(radioId);
    }

    bool Answered(int radioId) const
    {
        return radioId == id::kRadioBox ? window->logic().link().boxConnected : window->logic().EscConnected();
    }

    VirtualClock clock;
    sim::InProcessDevice device;
    sim::InProcessPortFinder finder;
    RecordingDialogs dialogs;
    std::unique_ptr<ui::CKelDlg> window;
};

}  // namespace kel::test
