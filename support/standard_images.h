#pragma once

#include <QIcon>
#include <QPixmap>

namespace platform {
class ImageList;
}

namespace Library1 {

// Both windows carry the same seven 32x32 pictures: new, open, save, find, print, OK (6)
// and Cancel (7). The toolbars show the last two.
inline constexpr int kOkImage = 6;
inline constexpr int kCancelImage = 7;
void fillStandardImages(platform::ImageList& images);

// Window icons: the main window's shows a book with arrows (the code changes hands), the
// search dialog's a book under a magnifier.
QIcon mainWindowIcon();
QIcon searchWindowIcon();

} // namespace Library1
