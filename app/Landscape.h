#pragma once

#include <QPixmap>

namespace tessary {

// The welcome window's picture: hills under an evening sky, drawn rather
// than loaded, so the program needs no image file.
QPixmap Landscape(int width, int height);

}  // namespace tessary
