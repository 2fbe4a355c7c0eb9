#pragma once
// TVrHotImage: a flat clickable area with a caption that lights up while the mouse is
// over it, painted through an offscreen image. A disabled control is never hot.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <functional>

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

class TVrHotImage : public QWidget {
    Q_OBJECT
  public:
    explicit TVrHotImage(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QFont Font() const { return font_; }
    void SetFont(const QFont& font);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);
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
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    // Hot and enabled: drawn in the entered colours.
    bool Hot() const { return hot_ && isEnabled(); }
    // The rectangle the caption is placed in; the same hot or not.
    QRect TextArea() const;

    std::function<void()> OnClick;

    const QImage& Image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    template <typename T>
    void Set(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Redraw();
    }
    void SetHot(bool hot);
    void Redraw();  // renders and shows at once
    void Render();

    QString caption_;
    QFont font_;
    QColor fontColor_{Qt::white};
    QColor colorEnter_{0, 0, 255};
    QColor colorLeave_{Qt::black};
    QImage imageEnter_;
    QImage imageLeave_;
    TVrDrawStyle drawStyle_ = TVrDrawStyle::dsCenter;
    TVrTextAlignment alignment_ = TVrTextAlignment::vtaBottom;
    TVrHotRect hotRect_;
    bool transparent_ = false;
    bool hot_ = false;
    bool pressed_ = false;
    QImage image_;
};

}  // namespace pabuko
