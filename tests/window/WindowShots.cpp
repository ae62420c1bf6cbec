// kel-window-shots OUTDIR: the main window on the simulator, connected to the
// ESC, one PNG per page plus one with the option pop-up open. Outside the
// window's outline the pictures are transparent.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

#include "WindowFixture.h"
#include "controls/CListBoxDlg.h"
#include "resources/ResourceIds.h"

using kel::test::WindowFixture;
namespace id = kel::id;

namespace {

QImage Shot(kel::ui::CKelDlg& window)
{
    const qreal scale = window.devicePixelRatioF();
    QImage image(window.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setClipRegion(window.mask());
    painter.drawPixmap(0, 0, window.grab());
    // Pop-ups are windows of their own: put them where they stand.
    kel::CListBoxDlg* popup = window.Popup();
    if (popup && popup->isWindow()) {
        painter.setClipping(false);
        painter.drawPixmap(popup->geometry().topLeft() - window.geometry().topLeft(), popup->grab());
    }
    return image;
}

bool Save(const QImage& image, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!image.save(path)) {
        std::fprintf(stderr, "kel-window-shots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kel"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: kel-window-shots OUTDIR\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "kel-window-shots: cannot create %s\n", argv[1]);
        return 1;
    }

    WindowFixture fixture;
    bool ok = Save(Shot(*fixture.window), folder, QStringLiteral("00-start"));
    if (!fixture.Connect(id::kRadioEsc))
        std::fprintf(stderr, "kel-window-shots: the simulated ESC did not answer\n");

    const std::pair<int, const char*> pages[] = {
        {id::kPageHome, "01-home"},       {id::kPageThrottle, "02-throttle"},
        {id::kPageBooster, "03-booster"}, {id::kPageTurbo, "04-turbo"},
        {id::kPageBrake, "05-brake"},     {id::kPageGeneral, "06-general"},
        {id::kPageProfile, "07-profile"}, {id::kPageModeSelect, "08-mode-select"},
    };
    for (const auto& [page, name] : pages) {
        fixture.Click(page);
        QApplication::processEvents();
        ok = Save(Shot(*fixture.window), folder, QLatin1String(name)) && ok;
    }

    fixture.Click(id::kPageThrottle);
    QApplication::processEvents();  // the page change repaints before the next click
    fixture.Click(1083);            // Drive Frequency
    QApplication::processEvents();
    ok = Save(Shot(*fixture.window), folder, QStringLiteral("09-option-popup")) && ok;

    // With the keyboard: the focus mark on Power Level, the page shown selected.
    fixture.window->ClosePopup();
    fixture.window->activateWindow();
    (void)QTest::qWaitForWindowActive(fixture.window.get(), 2000);
    fixture.Control(1081)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ok = Save(Shot(*fixture.window), folder, QStringLiteral("10-keyboard-focus")) && ok;
    return ok ? 0 : 1;
}
