#pragma once
// DXDraw: the 400 × 300 control that shows the drawing surface's back buffer.
#include <QWidget>

#include "display/Surface.h"

namespace pabuko {

class DXDrawWidget : public QWidget, public SurfacePresenter {
    Q_OBJECT
  public:
    DXDrawWidget(DrawingSurface& surface, QWidget* parent);

    void Present(const Surface& backBuffer) override;

  protected:
    // Shows the back buffer as it is, as a repaint of the control always did.
    void paintEvent(QPaintEvent* event) override;

  private:
    DrawingSurface& surface_;
};

}  // namespace pabuko
