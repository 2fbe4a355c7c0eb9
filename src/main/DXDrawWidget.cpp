#include "main/DXDrawWidget.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include "display/PixelImage.h"

namespace pabuko {

DXDrawWidget::DXDrawWidget(DrawingSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    // Every pixel is painted each time: no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedSize(DrawingSurface::kDefaultWidth, DrawingSurface::kDefaultHeight);
}

void DXDrawWidget::SetScale(int scale) {
    scale_ = scale;
    setFixedSize(DrawingSurface::kDefaultWidth * scale, DrawingSurface::kDefaultHeight * scale);
    update();
}

// Shown at once, as a flip is: no wait for the next turn of the event loop. The frame
// step flips only frames that changed, so there is nothing to compare here.
void DXDrawWidget::Present(const Surface&) {
    repaint();
}

void DXDrawWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Surface& back = surface_.BackBuffer();
    if (back.IsEmpty()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The pixels are already in the image's own format: no conversion, no copy.
    QImage image = PixelImage(back);
    // Our pixels keep 0 in their unused top byte (a surface filled with 0 is black), and Qt
    // copies that byte as it is. A window with an alpha channel, as Wayland gives every
    // window, would show the desktop through: there the picture is made opaque first. An X11
    // window has no alpha, and the frame is copied as it is.
    const QPaintDevice* target = painter.paintEngine()->paintDevice();
    if (target->devType() == QInternal::Image &&
        static_cast<const QImage*>(target)->hasAlphaChannel()) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    }
    // Sharp pixels when the window or the screen enlarges them.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(0, 0, back.Width() * scale_, back.Height() * scale_), image);
}

}  // namespace pabuko
