#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

// The program's own pictures, drawn as SVG and rendered at the sizes the window needs.
namespace Artwork {

// The program icon, with images of 16, 24, 32 and 48 pixels.
QIcon ProgramIcon();
// The program icon at one size.
QPixmap ProgramPixmap(int size);
// The all-clear picture: the detection service's logo with a "beaten" stamp.
QPixmap AllClearPicture();
inline constexpr QSize kAllClearSize{265, 124};

} // namespace Artwork
