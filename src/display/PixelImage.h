#pragma once
// Our 32-bit XRGB pixels lie in memory as QImage's RGB32 does: wrapped, they draw and save
// with no conversion and no copy. The image borrows the pixels; copy() it to keep it longer.
#include <QImage>
#include <cstdint>

#include "display/Surface.h"

namespace pabuko {

inline QImage PixelImage(const uint32_t* pixels, int width, int height) {
    return QImage(reinterpret_cast<const uchar*>(pixels), width, height, width * 4,
                  QImage::Format_RGB32);
}

// Painting on this image writes the pixels themselves.
inline QImage WritablePixelImage(uint32_t* pixels, int width, int height) {
    return QImage(reinterpret_cast<uchar*>(pixels), width, height, width * 4, QImage::Format_RGB32);
}

inline QImage PixelImage(const Surface& surface) {
    return PixelImage(surface.Pixels(), surface.Width(), surface.Height());
}

}  // namespace pabuko
