#pragma once
// TVrHotImage: a flat clickable area with a caption that lights up while the mouse is
// over it, painted through an offscreen image. A disabled control is never hot.
#include <QColor>
#include <QFont>
#include <QImage>
#include <functional>

#include "display/OffscreenControl.h"

namespace pabuko {

enum class TVrDrawStyle { dsCenter, dsStretch };
enum class TVrTextAlignment {
    vtaLeft,
    vtaCenter,
    vtaRight,
    vtaTopLeft,
    vtaTop,
    vtaTopRight,
    vtaBottomLeft,
    vtaBottom,
    vtaBottomRight,
};

// The frame drawn while hot.
struct TVrHotRect {
    QColor Color{255, 255, 0};
    int Width = 1;
    bool Visible = true;
    bool operator==(const TVrHotRect&) const = default;
};

class TVrHotImage : public CaptionedControl {
    Q_OBJECT
  public:
    explicit TVrHotImage(QWidget* parent = nullptr);

    QColor ColorEnter() const { return colorEnter_; }
    void SetColorEnter(const QColor& color);
    QColor ColorLeave() const { return colorLeave_; }
    void SetColorLeave(const QColor& color);
    QImage ImageEnter() const { return imageEnter_; }
    void SetImageEnter(const QImage& image);
    QImage ImageLeave() const { return imageLeave_; }
    void SetImageLeave(const QImage& image);
    TVrDrawStyle DrawStyle() const { return drawStyle_; }
    void SetDrawStyle(TVrDrawStyle style);
    TVrTextAlignment TextAlignment() const { return alignment_; }
    void SetTextAlignment(TVrTextAlignment alignment);
    TVrHotRect HotRect() const { return hotRect_; }
    void SetHotRect(const TVrHotRect& hotRect);

    // Hot and enabled: drawn in the entered colours.
    bool Hot() const { return hot_ && isEnabled(); }
    // The rectangle the caption is placed in; the same hot or not.
    QRect TextArea() const;

    std::function<void()> OnClick;

  protected:
    QColor Background() const override;
    void Draw(QPainter& p) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void SetHot(bool hot);

    QColor colorEnter_{0, 0, 255};
    QColor colorLeave_{Qt::black};
    QImage imageEnter_;
    QImage imageLeave_;
    TVrDrawStyle drawStyle_ = TVrDrawStyle::dsCenter;
    TVrTextAlignment alignment_ = TVrTextAlignment::vtaBottom;
    TVrHotRect hotRect_;
    bool hot_ = false;
    bool pressed_ = false;
};

}  // namespace pabuko
