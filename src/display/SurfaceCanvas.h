#pragma once
// The back buffer's text canvas: a QPainter on a QImage that wraps the buffer's own pixels,
// so text lands in the frame with no copy.
#include <QImage>
#include <QPainter>
#include <memory>

#include "display/Surface.h"

namespace pabuko {

class SurfaceCanvas : public TextCanvas {
  public:
    explicit SurfaceCanvas(Surface& surface) : surface_(surface) {}
    ~SurfaceCanvas() override { Release(); }

    void TextOut(int x, int y, const std::string& text) override;
    void Release() override;

    // Point sizes are taken at 96 dots per inch whatever the screen says, so the layout
    // is the same everywhere.
    static int PixelSize(int points);

  private:
    Surface& surface_;
    QImage image_;
    std::unique_ptr<QPainter> painter_;
};

// The factory the main window hands to DrawingSurface::SetCanvasFactory.
std::unique_ptr<TextCanvas> MakeSurfaceCanvas(Surface& backBuffer);

}  // namespace pabuko
