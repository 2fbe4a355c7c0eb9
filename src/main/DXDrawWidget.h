#pragma once
// DXDraw: the 400 × 300 control that shows the drawing surface's back buffer, enlarged by
// a whole factor when the player asks for a larger window.
#include <QWidget>

#include "display/Surface.h"

namespace pabuko {

class DXDrawWidget : public QWidget, public SurfacePresenter {
    Q_OBJECT
  public:
    DXDrawWidget(DrawingSurface& surface, QWidget* parent);

    void Present(const Surface& backBuffer) override;
    // Shows every surface pixel as scale × scale screen pixels; 1 is the surface's own size.
    void SetScale(int scale);
    int Scale() const { return scale_; }

  protected:
    // Shows the back buffer as it is, as a repaint of the control always did.
    void paintEvent(QPaintEvent* event) override;

  private:
    DrawingSurface& surface_;
    int scale_ = 1;
};

}  // namespace pabuko
