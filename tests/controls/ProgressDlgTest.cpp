// CprogessDlg: initial look, title and detail lines, placement, background.
#include <QLabel>
#include <QtTest>

#include "controls/CXProgressCtrl.h"
#include "controls/CprogessDlg.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"

namespace kel {

class ProgressDlgTest : public QObject {
    Q_OBJECT
private slots:
    void Construction_BarTitleAndDetailAsTheWriteStarts()
    {
        CprogessDlg dialog;
        auto* bar = dialog.findChild<CXProgressCtrl*>(QString::number(id::kProgressDlgBar));
        auto* detail = dialog.findChild<QLabel*>(QString::number(id::kProgressDlgDetail));
        auto* title = dialog.findChild<QLabel*>(QString::number(id::kProgressDlgTitle));
        QVERIFY(bar && detail && title);
        QCOMPARE(bar->captionColor, QColor(255, 255, 0));
        QCOMPARE(bar->captionOnBarColor, QColor(255, 255, 255));
        QCOMPARE(bar->barColor, QColor(255, 0, 0));
        QCOMPARE(bar->fieldColor, QColor(20, 20, 20));
        QCOMPARE(bar->showPercentage, 0);
        QCOMPARE(bar->Caption(), QStringLiteral("Setting..."));
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QVERIFY(title->text().isEmpty());
        QVERIFY(detail->text().isEmpty());
        QCOMPARE(title->font().pointSize(), 12);
        QCOMPARE(detail->font().pointSize(), 8);
        QCOMPARE(dialog.size(), QSize(500, 300));
        // Every control lies on the 388 x 136 background.
        for (QWidget* control : {static_cast<QWidget*>(bar), static_cast<QWidget*>(detail),
                                 static_cast<QWidget*>(title)})
            QVERIFY(QRect(0, 0, 388, 136).contains(control->geometry()));
    }

    void SetTitle_TextAndColour_data()
    {
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("success") << true << "SUCCESSED" << QColor(0, 255, 0);
        QTest::newRow("failure") << false << "FAILED" << QColor(255, 0, 0);
    }
    void SetTitle_TextAndColour()
    {
        QFETCH(bool, success);
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        CprogessDlg dialog;
        dialog.SetTitle(text, success);
        QCOMPARE(dialog.Title()->text(), text);
        QCOMPARE(dialog.TitleColour(), colour);
        // The text is drawn in that colour over the dark background.
        const QImage image = dialog.grab().toImage();
        const QRect area = dialog.Title()->geometry();
        int hits = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                hits += image.pixel(x, y) == colour.rgb() ? 1 : 0;
        QVERIFY(hits > 10);
    }

    void SetDetailAndPos_ReachTheirControls()
    {
        CprogessDlg dialog;
        dialog.SetDetail(QStringLiteral("Brake Frequency Set Failed"));
        dialog.SetPos(45);
        QCOMPARE(dialog.Detail()->text(), QStringLiteral("Brake Frequency Set Failed"));
        QCOMPARE(dialog.Bar()->value(), 45);
        QCOMPARE(dialog.Bar()->Caption(), QStringLiteral("Setting..."));
    }

    void Placement_FromTheOwnersRectangle_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("window at the origin") << QRect(0, 0, 702, 705) << QRect(171, 312, 500, 300);
        QTest::newRow("odd sums truncate") << QRect(1, 1, 702, 705) << QRect(172, 313, 500, 300);
        QTest::newRow("near the top-left corner, no clamping") << QRect(-400, -300, 702, 705)
                                                               << QRect(-229, 12, 500, 300);
    }
    void Placement_FromTheOwnersRectangle()
    {
        QFETCH(QRect, owner);
        QFETCH(QRect, expected);
        QCOMPARE(CprogessDlg::Placement(owner), expected);
    }

    void Open_PlacesOverTheOwnerAndShows()
    {
        QWidget owner(nullptr, Qt::FramelessWindowHint);
        owner.setGeometry(40, 30, 702, 705);
        owner.show();
        CprogessDlg* dialog = CprogessDlg::Open(&owner);
        QCOMPARE(dialog->geometry(), QRect(211, 342, 500, 300));
        QVERIFY(dialog->isVisible());
        delete dialog;
    }

    void Background_IsTheBitmapAtItsOwnSize()
    {
        CprogessDlg dialog;
        const QImage image = dialog.grab().toImage();
        const QImage background = skin::Image(id::bmp::kProgressDlgBackground);
        QCOMPARE(background.size(), QSize(388, 136));
        for (QPoint p : {QPoint(0, 0), QPoint(387, 0), QPoint(387, 135), QPoint(300, 20), QPoint(2, 133)})
            QCOMPARE(image.pixel(p), background.pixel(p));
        QCOMPARE(dialog.mask(), QRegion(0, 0, 388, 136));
    }
};

} // namespace kel

QTEST_MAIN(kel::ProgressDlgTest)
#include "ProgressDlgTest.moc"
