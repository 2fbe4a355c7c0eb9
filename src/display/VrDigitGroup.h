#pragma once
// TVrDigitGroup: a number in simulated seven-segment digits, painted through an offscreen
// image. Every property change that makes a difference repaints at once.
#include <QColor>
#include <functional>

#include "display/OffscreenControl.h"

namespace pabuko {

class TVrDigitGroup : public OffscreenControl {
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
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    std::function<void()> OnChange;

  protected:
    QColor Background() const override { return color_; }
    void Draw(QPainter& p) override;

  private:
    double value_ = 0;
    int decimals_ = 3;
    int digits_ = 4;
    QColor low_{0, 128, 0};
    QColor high_{0, 255, 0};
    bool activeOnly_ = false;
    bool leadingZero_ = true;
    QColor outline_{Qt::black};
    QColor color_{Qt::black};
};

}  // namespace pabuko
