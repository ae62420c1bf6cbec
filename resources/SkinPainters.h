#pragma once
#include <QImage>

// Painters of the individual bitmaps, used by the registry in Skin.cpp.
namespace kel::skin::paint {

QImage Background();                 // 129
QImage HomePicture();                // 176
QImage PageButton(int id);           // 205..229, up and down images
QImage ActionButton(int id);         // 152..155 apply / defaults, 177/178 update
QImage FrameButton(int id);          // 222/223 close, 225/226 minimise
QImage ModeSwitch(bool mod);         // 230 stock, 231 MOD
QImage Lamp(bool lit);               // 130 lit, 131 dark
QImage OptionButton(bool pressed);   // 184 / 185
QImage OptionButtonMask();           // 201
QImage ProfileButton(bool pressed);  // 179 / 180
QImage ProfileButtonMask();          // 181
QImage PopupBackground();            // 183
QImage ProgressDlgBackground();      // 169
QImage Icon(int size);               // 227

}  // namespace kel::skin::paint
