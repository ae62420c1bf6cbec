#include "controls/gallery/GalleryScenes.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <memory>

#include "controls/CListBoxDlg.h"
#include "controls/CMyListBox.h"
#include "controls/CXProgressCtrl.h"
#include "controls/CprogessDlg.h"
#include "controls/CxSkinButton.h"
#include "link/Texts.h"
#include "resources/Fonts.h"
#include "resources/ResourceIds.h"
#include "resources/Skin.h"
#include "resources/SkinLayout.h"

namespace kel::gallery {
namespace {

namespace b = kel::id::bmp;

// A widget that shows a part of the window's face, as the main window does.
class Face : public QWidget {
public:
    explicit Face(QRect area, int bitmap = b::kBackground) : face_(skin::Bitmap(bitmap).copy(area))
    {
        resize(area.size());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, face_); }

private:
    QPixmap face_;
};

CxSkinButton* OptionButton(QWidget* parent, QPoint at, const QString& caption)
{
    auto* button = new CxSkinButton(parent);
    button->move(at);
    button->ApplySkin(b::kOptionButton, b::kOptionButtonDown, 0, 0, b::kOptionButtonMask, 0, 0, 0);
    button->setText(caption);
    button->SetCaptionColor(QColor(255, 0, 0));
    return button;
}

QLabel* RowLabel(QWidget* parent, int row, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setFont(fonts::Verdana(10));
    label->setGeometry(layout::RowLabelAt(row));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QImage Grab(QWidget& widget)
{
    widget.show();
    QApplication::processEvents();
    return widget.grab().toImage();
}

}  // namespace

std::vector<Shot> ButtonShots()
{
    Face face(QRect(230, 180, 360, 140));
    OptionButton(&face, QPoint(15, 5), QStringLiteral("8kHz*"));
    auto* pressed = OptionButton(&face, QPoint(15, 50), QStringLiteral("Level 7*"));
    pressed->setDown(true);
    auto* disabled = OptionButton(&face, QPoint(15, 95), QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    for (int i = 0; i < 2; ++i) {
        auto* profile = new CxSkinButton(&face);
        profile->move(235, 5 + 45 * i);
        profile->ApplySkin(b::kProfileButton, b::kProfileButtonDown, 0, 0, b::kProfileButtonMask, 0, 0, 0);
        profile->SetCaptionColor(QColor(255, 255, 255));
        profile->setText(i == 0 ? QStringLiteral("Save") : QStringLiteral("Load"));
        profile->setDown(i == 1);
    }
    return {{QStringLiteral("skin-buttons"), Grab(face)}};
}

std::vector<Shot> ProgressShots()
{
    std::vector<Shot> shots;
    QWidget holder;
    holder.resize(370, 130);
    const struct {
        int value;
        const char* text;
    } states[] = {{0, nullptr}, {12, nullptr}, {50, nullptr}, {100, nullptr}, {100, "Updated successfully!"}};
    int y = 5;
    for (const auto& state : states) {
        auto* bar = new CXProgressCtrl(&holder);
        bar->setGeometry(10, y, 350, 20);
        bar->setRange(0, 96);
        bar->setValue(state.value);
        if (state.text)
            bar->ShowText(QString::fromLatin1(state.text));
        y += 25;
    }
    shots.push_back({QStringLiteral("progress-bars"), Grab(holder)});

    const struct {
        const char* name;
        int pos;
        int outcome;
    } dialogs[] = {
        {"progress-dialog-running", 35, 0}, {"progress-dialog-success", 100, 1}, {"progress-dialog-failed", 40, -1}};
    for (const auto& state : dialogs) {
        CprogessDlg dialog;
        dialog.SetPos(state.pos);
        if (state.outcome < 0)
            dialog.SetDetail(QStringLiteral("Brake Frequency Set Failed"));
        if (state.outcome != 0) {
            const std::string_view title = state.outcome > 0 ? text::kSettingsWritten : text::kSettingsNotWritten;
            dialog.SetTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())), state.outcome > 0);
        }
        shots.push_back({QString::fromLatin1(state.name), Grab(dialog)});
    }
    return shots;
}

std::vector<Shot> PopupShots()
{
    QStringList timing;
    for (int i = 0; i <= 60; ++i)
        timing << QStringLiteral("%1deg%2").arg(i).arg(i == 0 ? QStringLiteral("*") : QString());
    CListBoxDlg popup(1085, timing, QStringLiteral("12deg"));
    popup.ShowList();
    const QStringList frequencies = {QStringLiteral("2kHz"), QStringLiteral("4kHz"), QStringLiteral("8kHz*"),
                                     QStringLiteral("12kHz"), QStringLiteral("16kHz")};
    CListBoxDlg shortList(1083, frequencies, QStringLiteral("8KHZ*"));
    shortList.ShowList();
    return {{QStringLiteral("popup-long"), Grab(popup)}, {QStringLiteral("popup-short"), Grab(shortList)}};
}

std::vector<Shot> WindowShots()
{
    // A settings page put together from the skin and the controls.
    Face window(QRect(QPoint(0, 0), layout::kBackgroundSize));
    const struct {
        int up;
        int down;
        QRect at;
    } pages[] = {
        {b::kPageHomeUp, b::kPageHomeDown, layout::kPageHome},
        {b::kPageThrottleUp, b::kPageThrottleDown, layout::kPageThrottle},
        {b::kPageBoosterUp, b::kPageBoosterDown, layout::kPageBooster},
        {b::kPageTurboUp, b::kPageTurboDown, layout::kPageTurbo},
        {b::kPageBrakeUp, b::kPageBrakeDown, layout::kPageBrake},
        {b::kPageGeneralUp, b::kPageGeneralDown, layout::kPageGeneral},
        {b::kPageProfileUp, b::kPageProfileDown, layout::kPageProfile},
        {b::kPageModeUp, b::kPageModeDown, layout::kPageModeSelect},
    };
    for (const auto& page : pages) {
        auto* button = new CxSkinButton(&window);
        button->setGeometry(page.at);
        button->ApplySkin(page.up, page.down, 0, 0, 0, 1, 0, 0);
        button->setDown(page.up == b::kPageThrottleUp);
    }
    const QStringList labels = {QStringLiteral("Power Level"), QStringLiteral("Drive Frequency"),
                                QStringLiteral("Neutral DeadBand")};
    const QStringList values = {QStringLiteral("Level 7*"), QStringLiteral("8kHz*"), QStringLiteral("6%*")};
    for (int row = 0; row < labels.size(); ++row) {
        RowLabel(&window, row, labels[row]);
        OptionButton(&window, QPoint(245, 185 + 55 * row), values[row]);
    }
    const struct {
        int id;
        QRect at;
    } fixed[] = {
        {b::kCloseUp, layout::kClose},       {b::kMinimiseUp, layout::kMinimise}, {b::kApplyUp, layout::kApply},
        {b::kDefaultsUp, layout::kDefaults}, {b::kLampOn, layout::kLampUsb},      {b::kLampOn, layout::kLampBox},
        {b::kLampOff, layout::kLampEsc},
    };
    for (const auto& item : fixed) {
        auto* picture = new QLabel(&window);
        picture->setGeometry(item.at);
        picture->setPixmap(skin::Bitmap(item.id));
    }
    for (QPoint at : {layout::kRadioEsc, layout::kRadioBox, layout::kRadioFix}) {
        auto* radio = new QRadioButton(&window);
        radio->setGeometry(QRect(at, QSize(layout::kRadioSize, layout::kRadioSize)));
        radio->setChecked(at == layout::kRadioEsc);
    }
    QImage page = Grab(window);

    // The pop-up of the Drive Frequency row, opened where the window puts it.
    const QStringList frequencies = {QStringLiteral("2kHz"), QStringLiteral("4kHz"), QStringLiteral("8kHz*"),
                                     QStringLiteral("12kHz"), QStringLiteral("16kHz")};
    CListBoxDlg popup(1083, frequencies, QStringLiteral("8kHz*"));
    popup.ShowList();
    QImage withPopup = page;
    QPainter(&withPopup)
        .drawImage(CListBoxDlg::Placement(QRect(QPoint(0, 0), page.size()), 275).topLeft(), Grab(popup));
    return {{QStringLiteral("window-throttle"), page}, {QStringLiteral("window-throttle-popup"), withPopup}};
}

}  // namespace kel::gallery
