#include "display/VrHotImage.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace pabuko {

TVrHotImage::TVrHotImage(QWidget* parent) : CaptionedControl(parent, Arial(11, true), Qt::white) {
    resize(85, 85);
    Render();
}

void TVrHotImage::SetColorEnter(const QColor& color) {
    Set(colorEnter_, color);
}
void TVrHotImage::SetColorLeave(const QColor& color) {
    Set(colorLeave_, color);
}
void TVrHotImage::SetImageEnter(const QImage& image) {
    Set(imageEnter_, image);
}
void TVrHotImage::SetImageLeave(const QImage& image) {
    Set(imageLeave_, image);
}
void TVrHotImage::SetDrawStyle(TVrDrawStyle style) {
    Set(drawStyle_, style);
}
void TVrHotImage::SetTextAlignment(TVrTextAlignment alignment) {
    Set(alignment_, alignment);
}
void TVrHotImage::SetHotRect(const TVrHotRect& hotRect) {
    Set(hotRect_, hotRect);
}

void TVrHotImage::SetHot(bool hot) {
    Set(hot_, hot);
}

QRect TVrHotImage::TextArea() const {
    QRect area = rect();
    if (hotRect_.Visible) {
        const int inset = hotRect_.Width + 2;
        area.adjust(inset, inset, -inset, -inset);
    }
    return area;
}

QColor TVrHotImage::Background() const {
    return Hot() ? colorEnter_ : colorLeave_;
}

void TVrHotImage::Draw(QPainter& p) {
    const bool hot = Hot();
    const QImage& picture = hot ? imageEnter_ : imageLeave_;
    if (!picture.isNull()) {
        if (drawStyle_ == TVrDrawStyle::dsStretch)
            p.drawImage(rect(), picture);
        else
            p.drawImage((width() - picture.width()) / 2, (height() - picture.height()) / 2,
                        picture);
    }

    if (hotRect_.Visible && hot && hotRect_.Width > 0) {
        const int w = hotRect_.Width;
        p.fillRect(0, 0, width(), w, hotRect_.Color);
        p.fillRect(0, height() - w, width(), w, hotRect_.Color);
        p.fillRect(0, w, w, height() - 2 * w, hotRect_.Color);
        p.fillRect(width() - w, w, w, height() - 2 * w, hotRect_.Color);
    }

    int flags = Qt::TextSingleLine;  // no mnemonic: an '&' is drawn like any character
    switch (alignment_) {
        case TVrTextAlignment::vtaLeft:
            flags |= Qt::AlignLeft | Qt::AlignVCenter;
            break;
        case TVrTextAlignment::vtaCenter:
            flags |= Qt::AlignHCenter | Qt::AlignVCenter;
            break;
        case TVrTextAlignment::vtaRight:
            flags |= Qt::AlignRight | Qt::AlignVCenter;
            break;
        case TVrTextAlignment::vtaTopLeft:
            flags |= Qt::AlignLeft | Qt::AlignTop;
            break;
        case TVrTextAlignment::vtaTop:
            flags |= Qt::AlignHCenter | Qt::AlignTop;
            break;
        case TVrTextAlignment::vtaTopRight:
            flags |= Qt::AlignRight | Qt::AlignTop;
            break;
        case TVrTextAlignment::vtaBottomLeft:
            flags |= Qt::AlignLeft | Qt::AlignBottom;
            break;
        case TVrTextAlignment::vtaBottom:
            flags |= Qt::AlignHCenter | Qt::AlignBottom;
            break;
        case TVrTextAlignment::vtaBottomRight:
            flags |= Qt::AlignRight | Qt::AlignBottom;
            break;
    }
    const QRect area = TextArea();
    p.setClipRect(area);
    p.setFont(Font());
    p.setPen(FontColor());
    p.drawText(area, flags, Caption());
}

void TVrHotImage::enterEvent(QEnterEvent*) {
    SetHot(true);
}

void TVrHotImage::leaveEvent(QEvent*) {
    SetHot(false);
}

void TVrHotImage::hideEvent(QHideEvent*) {
    // Shown again later, it must not come up hot under a mouse that has long gone.
    hot_ = false;
    pressed_ = false;
    Render();
}

void TVrHotImage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) Redraw();
    QWidget::changeEvent(event);
}

void TVrHotImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void TVrHotImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && OnClick) OnClick();
}

}  // namespace pabuko
