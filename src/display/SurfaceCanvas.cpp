#include "display/SurfaceCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <cmath>

#include "display/PixelImage.h"
#include "platform/QtText.h"

namespace pabuko {

namespace {
QColor ToQColor(uint32_t color) {
    const uint32_t rgb = ResolveSystemColor(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}
}  // namespace

int SurfaceCanvas::PixelSize(int points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

void SurfaceCanvas::TextOut(int x, int y, const std::string& text) {
    if (surface_.IsEmpty()) return;
    if (!painter_) {
        image_ = WritablePixelImage(surface_.Pixels(), surface_.Width(), surface_.Height());
        painter_ = std::make_unique<QPainter>(&image_);
    }
    QFont font(QString::fromStdString(Font.name));
    font.setPixelSize(std::max(1, PixelSize(Font.size)));
    font.setBold(Font.bold);
    font.setItalic(Font.italic);
    font.setUnderline(Font.underline);
    font.setStrikeOut(Font.strikeOut);
    painter_->setFont(font);
    const QString s = FromCp1250(text);
    const QFontMetrics metrics(font);
    // (x, y) is the top of the text cell; QPainter wants the baseline.
    if (!BrushClear) {
        painter_->fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()),
                           ToQColor(BrushColor));
    }
    painter_->setPen(ToQColor(Font.color));
    painter_->drawText(QPoint(x, y + metrics.ascent()), s);
}

void SurfaceCanvas::Release() {
    if (!painter_) return;
    painter_->end();
    painter_.reset();
    image_ = QImage();
}

std::unique_ptr<TextCanvas> MakeSurfaceCanvas(Surface& backBuffer) {
    return std::make_unique<SurfaceCanvas>(backBuffer);
}

}  // namespace pabuko
