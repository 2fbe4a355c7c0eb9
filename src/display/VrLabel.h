#pragma once
// TVrLabel: a caption drawn raised, lowered or with a shadow, painted through an offscreen
// image.
#include <QColor>
#include <QFont>

#include "display/OffscreenControl.h"

namespace pabuko {

enum class TVrLabelStyle { lsNone, lsRaised, lsLowered, lsShadow };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TVrLabel : public CaptionedControl {
    Q_OBJECT
  public:
    explicit TVrLabel(QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    TVrLabelStyle Style() const { return style_; }
    void SetStyle(TVrLabelStyle style);
    QColor ColorHighlight() const { return highlight_; }
    void SetColorHighlight(const QColor& color);
    QColor ColorShadow() const { return shadow_; }
    void SetColorShadow(const QColor& color);
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int depth);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    int16_t Angle() const { return angle_; }
    void SetAngle(int16_t degrees);

    // Top-left corner of the caption's text cell (angle 0).
    QPoint CaptionOrigin() const;

  protected:
    QColor Background() const override { return color_; }
    void Draw(QPainter& p) override;

  private:
    QColor color_{240, 240, 240};  // button face
    TVrLabelStyle style_ = TVrLabelStyle::lsRaised;
    QColor highlight_{Qt::white};
    QColor shadow_{128, 128, 128};
    int shadowDepth_ = 2;
    TAlignment alignment_ = TAlignment::taCenter;
    TTextLayout layout_ = TTextLayout::tlCenter;
    int16_t angle_ = 0;
};

}  // namespace pabuko
