#pragma once

// Identifiers of the main window's controls, the pop-up's list and the skin
// bitmaps. They are fixed values of the program: the engine names controls by
// them (through the Screen port) and the window maps each to its widget.
namespace kel::id {

// Buttons along the bottom and the window frame.
inline constexpr int kApply = 1000;
inline constexpr int kDefaults = 1001;
inline constexpr int kMinimise = 1009;
inline constexpr int kClose = 1010;
inline constexpr int kDefaultHidden = 1106;  // bound to Default Settings, never shown

// Page buttons.
inline constexpr int kPageHome = 1018;
inline constexpr int kPageThrottle = 1002;
inline constexpr int kPageBrake = 1003;
inline constexpr int kPageBooster = 1004;
inline constexpr int kPageTurbo = 1005;
inline constexpr int kPageModeSelect = 1006;
inline constexpr int kPageGeneral = 1007;
inline constexpr int kPageProfile = 1008;

// Lamps (static pictures).
inline constexpr int kLampBox = 1055;
inline constexpr int kLampEsc = 1052;
inline constexpr int kLampUsb = 1053;

// Home page.
inline constexpr int kHomePicture = 1060;
inline constexpr int kUpdateButton = 1061;
inline constexpr int kProgressBar = 1062;
inline constexpr int kVersionField = 1500;

// Option buttons (one per option slot) and the custom fields.
inline constexpr int kFirstSlot = 1081;
inline constexpr int kLastSlot = 1104;
inline constexpr int kSlotCount = kLastSlot - kFirstSlot + 1;  // 24

inline constexpr int kInitialBrakeSpin = 1046;
inline constexpr int kInitialBrakeEdit = 1047;
inline constexpr int kDragBrakeEdit = 1048;
inline constexpr int kDragBrakeSpin = 1049;
inline constexpr int kLowVoltEdit = 1050;
inline constexpr int kLowVoltSpin = 1051;

// Profile row.
inline constexpr int kProfileName = 1064;
inline constexpr int kProfileSave = 1066;
inline constexpr int kProfileLoad = 1067;
inline constexpr int kProfileVersion = 1110;

// Mode Select page and device radio buttons.
inline constexpr int kModeSwitch = 1115;
inline constexpr int kStockText = 1118;
inline constexpr int kModText = 1119;
inline constexpr int kRadioEsc = 1114;
inline constexpr int kRadioBox = 1116;
inline constexpr int kRadioFix = 1117;

// Page row labels 1200 .. 1205.
inline constexpr int kFirstRowLabel = 1200;
inline constexpr int kRowCount = 6;

// Option pop-up list and progress dialog controls.
inline constexpr int kPopupList = 1401;
inline constexpr int kProgressDlgBar = 1055;
inline constexpr int kProgressDlgDetail = 1056;
inline constexpr int kProgressDlgTitle = 1057;

// Skin bitmaps.
namespace bmp {
inline constexpr int kBackground = 129;
inline constexpr int kLampOn = 130;
inline constexpr int kLampOff = 131;
inline constexpr int kApplyUp = 152;
inline constexpr int kApplyDown = 153;
inline constexpr int kDefaultsUp = 154;
inline constexpr int kDefaultsDown = 155;
inline constexpr int kProgressDlgBackground = 169;
inline constexpr int kHomePicture = 176;
inline constexpr int kUpdateUp = 177;
inline constexpr int kUpdateDown = 178;
inline constexpr int kProfileButton = 179;
inline constexpr int kProfileButtonDown = 180;
inline constexpr int kProfileButtonMask = 181;
inline constexpr int kPopupBackground = 183;
inline constexpr int kOptionButton = 184;
inline constexpr int kOptionButtonDown = 185;
inline constexpr int kOptionButtonMask = 201;
inline constexpr int kPageBrakeUp = 205;
inline constexpr int kPageBrakeDown = 207;
inline constexpr int kPageHomeUp = 208;
inline constexpr int kPageHomeDown = 209;
inline constexpr int kPageThrottleUp = 210;
inline constexpr int kPageThrottleDown = 211;
inline constexpr int kPageBoosterUp = 212;
inline constexpr int kPageBoosterDown = 213;
inline constexpr int kPageTurboUp = 214;
inline constexpr int kPageTurboDown = 215;
inline constexpr int kPageGeneralUp = 218;
inline constexpr int kPageGeneralDown = 219;
inline constexpr int kPageProfileUp = 220;
inline constexpr int kPageProfileDown = 221;
inline constexpr int kCloseUp = 222;
inline constexpr int kCloseDown = 223;
inline constexpr int kMinimiseUp = 225;
inline constexpr int kMinimiseDown = 226;
inline constexpr int kIcon = 227;
inline constexpr int kPageModeDown = 228;
inline constexpr int kPageModeUp = 229;
inline constexpr int kModeStock = 230;
inline constexpr int kModeMod = 231;
}  // namespace bmp

}  // namespace kel::id
