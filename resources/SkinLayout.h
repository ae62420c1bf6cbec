#pragma once
#include <QRect>

// Window positions (client pixels) of the fixed controls whose pictures sit on
// the background. The skin draws each button over the part of the background
// it covers, so the buttons' corners blend into the face around them.
namespace kel::layout {

inline constexpr QSize kWindowSize{702, 705};
inline constexpr QSize kBackgroundSize{667, 682};
inline constexpr QRect kPageArea{QPoint(20, 180), QPoint(649, 615)};  // (20,180)-(650,616)

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
inline constexpr QSize kPageButtonSize{140, 46};
inline constexpr QRect kPageHome{50, 55, 140, 46};
inline constexpr QRect kPageThrottle{195, 55, 140, 46};
inline constexpr QRect kPageBooster{340, 55, 140, 46};
inline constexpr QRect kPageTurbo{485, 55, 140, 46};
inline constexpr QRect kPageBrake{50, 105, 140, 46};
inline constexpr QRect kPageGeneral{195, 105, 140, 46};
inline constexpr QRect kPageProfile{340, 105, 140, 46};
inline constexpr QRect kPageModeSelect{485, 105, 140, 46};

// Option buttons: row r at (245, 185 + 55 r), 200 x 34.
inline constexpr QSize kOptionButtonSize{200, 34};
inline constexpr QSize kProfileButtonSize{110, 34};

// Pop-ups.
inline constexpr QSize kPopupSize{190, 160};
inline constexpr QSize kProgressDlgBackgroundSize{388, 136};

} // namespace kel::layout
