// kel-window-shots OUTDIR: the main window on the simulator, connected to the
// ESC, one PNG per page plus one with the option pop-up open and one with the
// keyboard focus. Outside the window's outline the pictures are transparent.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

#include "WindowFixture.h"

using kel::test::WindowFixture;
namespace id = kel::id;

// Saves the window as it shows, pop-ups (windows of their own) where they
// stand; false when the file cannot be written.
static bool Save(kel::ui::CKelDlg& window, const QDir& folder, const QString& name)
{
    QApplication::processEvents();  // a page change repaints before the picture
    QImage image(window.size() * window.devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(window.devicePixelRatioF());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setClipRegion(window.mask());
    painter.drawPixmap(0, 0, window.grab());
    if (kel::CListBoxDlg* popup = window.Popup(); popup && popup->isWindow()) {
        painter.setClipping(false);
        painter.drawPixmap(popup->geometry().topLeft() - window.geometry().topLeft(), popup->grab());
    }
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    const bool saved = image.save(path);
    std::fprintf(saved ? stdout : stderr, saved ? "%s\n" : "kel-window-shots: cannot write %s\n", qPrintable(path));
    return saved;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDir folder(QString::fromLocal8Bit(argc == 2 ? argv[1] : ""));
    if (argc != 2 || !folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "usage: kel-window-shots OUTDIR (a folder it can create)\n");
        return 2;
    }
    WindowFixture fixture;
    kel::ui::CKelDlg& window = *fixture.window;
    bool ok = Save(window, folder, QStringLiteral("00-start"));
    if (!fixture.Connect(id::kRadioEsc))
        std::fprintf(stderr, "kel-window-shots: the simulated ESC did not answer\n");
    const int pages[] = {id::kPageHome,  id::kPageThrottle, id::kPageBooster, id::kPageTurbo,
                         id::kPageBrake, id::kPageGeneral,  id::kPageProfile, id::kPageModeSelect};
    const char* names[] = {"home", "throttle", "booster", "turbo", "brake", "general", "profile", "mode-select"};
    for (int i = 0; i < 8; ++i) {
        fixture.Click(pages[i]);
        ok = Save(window, folder, QStringLiteral("%1-%2").arg(i + 1, 2, 10, QLatin1Char('0')).arg(names[i])) && ok;
    }
    ok = fixture.OpenPopup(id::kPageThrottle, 1083) && ok;  // Drive Frequency
    ok = Save(window, folder, QStringLiteral("09-option-popup")) && ok;

    // With the keyboard: the focus mark on Power Level, the page shown selected.
    window.ClosePopup();
    (void)fixture.Activate();
    fixture.Control(1081)->setFocus(Qt::TabFocusReason);
    return Save(window, folder, QStringLiteral("10-keyboard-focus")) && ok ? 0 : 1;
}
