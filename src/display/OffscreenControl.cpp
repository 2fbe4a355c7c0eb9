#include "display/OffscreenControl.h"

namespace pabuko {

void OffscreenControl::Redraw() {
    Render();
    if (isVisible()) repaint();
}

void OffscreenControl::Render() {
    if (image_.size() != size())
        image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image_.fill(transparent_ ? QColor(Qt::transparent) : Background());
    QPainter p(&image_);
    Draw(p);
}

void OffscreenControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void OffscreenControl::resizeEvent(QResizeEvent*) {
    Render();
}

QFont CaptionedControl::Arial(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    if (bold) font.setBold(true);
    return font;
}

}  // namespace pabuko
