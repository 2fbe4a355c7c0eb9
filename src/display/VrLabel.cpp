#include "display/VrLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace pabuko {

// The caption in 14-point Arial (at 96 dots per inch) and the window-text colour.
TVrLabel::TVrLabel(QWidget* parent) : CaptionedControl(parent, Arial(19), Qt::black) {
    resize(150, 30);
    Render();
}

void TVrLabel::SetColor(const QColor& color) {
    Set(color_, color);
}
void TVrLabel::SetStyle(TVrLabelStyle style) {
    Set(style_, style);
}
void TVrLabel::SetColorHighlight(const QColor& color) {
    Set(highlight_, color);
}
void TVrLabel::SetColorShadow(const QColor& color) {
    Set(shadow_, color);
}
void TVrLabel::SetShadowDepth(int depth) {
    Set(shadowDepth_, depth);
}
void TVrLabel::SetAlignment(TAlignment alignment) {
    Set(alignment_, alignment);
}
void TVrLabel::SetLayout(TTextLayout layout) {
    Set(layout_, layout);
}
void TVrLabel::SetAngle(int16_t degrees) {
    Set(angle_, degrees);
}

QPoint TVrLabel::CaptionOrigin() const {
    const QFontMetrics metrics(Font());
    const int tw = metrics.horizontalAdvance(Caption());
    const int th = metrics.height();
    int x = 2;
    if (alignment_ == TAlignment::taCenter)
        x = std::max(2, static_cast<int>(std::lround(width() / 2.0 - tw / 2.0)));
    else if (alignment_ == TAlignment::taRightJustify)
        x = std::max(2, width() - tw - 2);
    int y = 2;
    if (layout_ == TTextLayout::tlCenter)
        y = static_cast<int>(std::lround(height() / 2.0 - th / 2.0));
    else if (layout_ == TTextLayout::tlBottom)
        y = height() - th - 2;
    return {x, y};
}

void TVrLabel::Draw(QPainter& p) {
    p.setFont(Font());
    const QFontMetrics metrics(Font());

    QPoint origin = CaptionOrigin();
    if (angle_ % 360 != 0) {
        // Turned about the middle of the control, the caption centred on it.
        p.translate(width() / 2.0, height() / 2.0);
        p.rotate(-angle_);
        origin = QPoint(-metrics.horizontalAdvance(Caption()) / 2, -metrics.height() / 2);
    }
    auto text = [&](int dx, int dy, const QColor& color) {
        p.setPen(color);
        p.drawText(origin.x() + dx, origin.y() + dy + metrics.ascent(), Caption());
    };
    switch (style_) {
        case TVrLabelStyle::lsRaised:
            text(1, 1, shadow_);
            text(-1, -1, highlight_);
            break;
        case TVrLabelStyle::lsLowered:
            text(1, 1, highlight_);
            text(-1, -1, shadow_);
            break;
        case TVrLabelStyle::lsShadow:
            text(shadowDepth_, shadowDepth_, shadow_);
            break;
        case TVrLabelStyle::lsNone:
            if (!Transparent())
                p.fillRect(
                    QRect(origin, QSize(metrics.horizontalAdvance(Caption()), metrics.height())),
                    color_);
            break;
    }
    text(0, 0, FontColor());
}

}  // namespace pabuko
