#pragma once
#include <QRect>

// The main window's geometry, in client pixels at scale 1: every control's
// place, the window and its areas, and the pop-ups. The skin draws each
// button over the part of the background it covers, so the buttons' corners
// blend into the face around them.
namespace kel::layout {

inline constexpr QSize kWindowSize{702, 705};
inline constexpr QSize kBackgroundSize{667, 682};
// Repainted on a page change: (20,180)-(650,616).
inline constexpr QRect kPageArea{QPoint(20, 180), QPoint(649, 615)};
// A press on the face inside this rectangle does not move the window
// (left and top inclusive, right and bottom exclusive).
inline constexpr QRect kDragExempt{QPoint(100, 200), QPoint(579, 415)};

inline constexpr QRect kClose{620, 13, 27, 25};
inline constexpr QRect kMinimise{586, 13, 27, 25};
inline constexpr QRect kApply{30, 595, 120, 70};
inline constexpr QRect kDefaults{160, 595, 120, 70};
inline constexpr QRect kLampBox{600, 580, 32, 32};
inline constexpr QRect kLampEsc{600, 610, 32, 32};
inline constexpr QRect kLampUsb{600, 640, 32, 32};
inline constexpr QRect kHomePicture{32, 136, 603, 400};
inline constexpr QRect kVersionField{268, 405, 125, 30};
inline constexpr QRect kUpdate{435, 402, 125, 35};
inline constexpr QRect kProgressBar{160, 470, 350, 20};
inline constexpr QRect kModeSwitch{300, 175, 140, 46};
inline constexpr QPoint kRadioEsc{400, 562};
inline constexpr QPoint kRadioBox{457, 562};
inline constexpr QPoint kRadioFix{562, 562};
inline constexpr int kRadioSize = 12;

// Page buttons, 140 x 46, in two rows.
inline constexpr QRect kPageHome{50, 55, 140, 46};
inline constexpr QRect kPageThrottle{195, 55, 140, 46};
inline constexpr QRect kPageBooster{340, 55, 140, 46};
inline constexpr QRect kPageTurbo{485, 55, 140, 46};
inline constexpr QRect kPageBrake{50, 105, 140, 46};
inline constexpr QRect kPageGeneral{195, 105, 140, 46};
inline constexpr QRect kPageProfile{340, 105, 140, 46};
inline constexpr QRect kPageModeSelect{485, 105, 140, 46};

// Rows of a settings page: the label of row r at (55, 190 + 55 r), its
// option button at (245, 185 + 55 r). A reserved slot's button, never shown,
// sits on row 0.
inline constexpr QSize kOptionButtonSize{200, 34};
constexpr QRect RowLabelAt(int row)
{
    return {55, 190 + 55 * row, 160, 40};
}
constexpr QRect OptionButtonAt(int row)
{
    return {QPoint(245, 185 + 55 * row), kOptionButtonSize};
}

// Custom fields, right of their rows.
inline constexpr QRect kInitialBrakeEdit{460, 190, 60, 25};
inline constexpr QRect kInitialBrakeSpin{520, 190, 20, 27};
inline constexpr QRect kDragBrakeEdit{460, 243, 60, 25};
inline constexpr QRect kDragBrakeSpin{520, 243, 20, 27};
inline constexpr QRect kLowVoltEdit{460, 243, 60, 25};
inline constexpr QRect kLowVoltSpin{520, 243, 20, 27};

// The profile row sits on the first row of its page.
inline constexpr QSize kProfileButtonSize{110, 34};
inline constexpr QRect kProfileName{245, 192, 150, 25};
inline constexpr QRect kProfileVersion{405, 192, 125, 25};
inline constexpr QPoint kProfileSave{245, 240};
inline constexpr QPoint kProfileLoad{375, 240};

// Mode Select page.
inline constexpr QRect kStockText{250, 190, 50, 20};
inline constexpr QRect kModText{460, 190, 50, 20};

// The option pop-up opens under its button, at the buttons' left edge and 35
// pixels below the top of its button's row. The reserved slot 1094 opens it
// below row 5 although its button sits on row 0.
inline constexpr QSize kPopupSize{190, 160};
inline constexpr int kPopupLeft = OptionButtonAt(0).left();
constexpr int PopupTop(int slot, int row)
{
    return OptionButtonAt(slot == 1094 ? 5 : row < 0 ? 0 : row).top() + 35;
}

inline constexpr QSize kProgressDlgBackgroundSize{388, 136};

}  // namespace kel::layout
