#pragma once
// TVrDigitGroup: a number in simulated seven-segment digits, painted through an offscreen
// image. Every property change that makes a difference repaints at once.
#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>

namespace pabuko {

class TVrDigitGroup : public QWidget {
    Q_OBJECT
  public:
    explicit TVrDigitGroup(QWidget* parent = nullptr);

    double Value() const { return value_; }
    // A new value repaints and raises OnChange; the same value does nothing.
    void SetValue(double value);
    int Decimals() const { return decimals_; }
    void SetDecimals(int decimals);
    int Digits() const { return digits_; }
    void SetDigits(int digits);
    // Palette.Low and Palette.High: unlit and lit segments.
    QColor PaletteLow() const { return low_; }
    void SetPaletteLow(const QColor& color);
    QColor PaletteHigh() const { return high_; }
    void SetPaletteHigh(const QColor& color);
    bool ActiveOnly() const { return activeOnly_; }
    void SetActiveOnly(bool on);
    bool LeadingZero() const { return leadingZero_; }
    void SetLeadingZero(bool on);
    QColor OutlineColor() const { return outline_; }
    void SetOutlineColor(const QColor& color);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    std::function<void()> OnChange;

    // The picture as it is shown (transparent pixels where the parent shows through).
    const QImage& Image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    template <typename T>
    void Set(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Redraw();
    }
    void Redraw();  // renders and shows at once
    void Render();

    double value_ = 0;
    int decimals_ = 3;
    int digits_ = 4;
    QColor low_{0, 128, 0};
    QColor high_{0, 255, 0};
    bool activeOnly_ = false;
    bool leadingZero_ = true;
    QColor outline_{Qt::black};
    bool transparent_ = false;
    QColor color_{Qt::black};
    QImage image_;
};

}  // namespace pabuko
