#pragma once
// The base of the display controls that paint through an offscreen image: the control
// renders its whole picture into the image whenever something it shows changes, and a
// paint only copies the image out, so a repaint never waits on the drawing.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace pabuko {

class OffscreenControl : public QWidget {
    Q_OBJECT
  public:
    explicit OffscreenControl(QWidget* parent = nullptr) : QWidget(parent) {}

    // Transparent: the parent shows through wherever nothing is drawn.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { Set(transparent_, on); }

    // The picture as it is shown (transparent pixels where the parent shows through).
    const QImage& Image() const { return image_; }

  protected:
    // A property setter: a new value repaints, the same one does nothing.
    template <typename T>
    void Set(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Redraw();
    }
    void Redraw();  // renders and shows at once
    void Render();

    // What fills the picture before anything is drawn on it, unless it is transparent.
    virtual QColor Background() const = 0;
    // Draws the control's picture over its background.
    virtual void Draw(QPainter& painter) = 0;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    bool transparent_ = false;
    QImage image_;
};

// An offscreen control that shows a caption in a font and a colour of its own.
class CaptionedControl : public OffscreenControl {
    Q_OBJECT
  public:
    CaptionedControl(QWidget* parent, const QFont& font, const QColor& fontColor)
        : OffscreenControl(parent), font_(font), fontColor_(fontColor) {}

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption) { Set(caption_, caption); }
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font) { Set(font_, font); }
    const QColor& FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color) { Set(fontColor_, color); }

    // Arial at a size in pixels, which the controls' captions start in.
    static QFont Arial(int pixelSize, bool bold = false);

  private:
    QString caption_;
    QFont font_;
    QColor fontColor_;
};

}  // namespace pabuko
