#pragma once
// The title image and the four title pictures (res/chrome, drawn by draw_chrome.py at twice
// their 96-dpi size; widgets scale them smoothly to their own size).

#include <QPixmap>

namespace chromeart {

QPixmap titleImage();       // Image1, stretched to the title strip
QPixmap minPicture();       // picMin
QPixmap minPressed();       // PicMinOn
QPixmap closePicture();     // picClose
QPixmap closePressed();     // PicCloseON

} // namespace chromeart
