#pragma once
// Software drawing surfaces: 32-bit pixel buffers with fills and rectangle copies, and the
// 400 × 300 drawing surface (`DXDraw`) whose back buffer the game draws each frame and
// then flips to the window.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pabuko {

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const Rect&) const = default;
};

// A pixel buffer, rows top to bottom, pitch = width. A width or height of 0 or less
// makes an empty surface that draws nothing.
class Surface {
  public:
    Surface() = default;
    Surface(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return pixels_.empty(); }
    uint32_t* Pixels() { return pixels_.data(); }
    const uint32_t* Pixels() const { return pixels_.data(); }
    uint32_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void SetPixel(int x, int y, uint32_t v) { pixels_[static_cast<size_t>(y) * width_ + x] = v; }

    // Every pixel set to one raw value.
    void Fill(uint32_t value);
    // Fills the whole surface from rectangle `r` of a source buffer (1:1); parts of `r`
    // outside the source stay as they are.
    void FillFrom(const uint32_t* source, int sourceWidth, int sourceHeight, Rect r);

    // The source colour key used when this surface is copied with keying.
    uint32_t ColorKey() const { return colorKey_; }
    void SetColorKey(uint32_t key) { colorKey_ = key; }

    // Copies rectangle `src` of `source` with its top-left corner at (x, y), skipping
    // source pixels equal to the source's colour key when `keyed`. Clipped to both
    // surfaces; the two rectangles stay in register.
    void Draw(int x, int y, const Surface& source, Rect src, bool keyed);

  private:
    int width_ = 0;
    int height_ = 0;
    uint32_t colorKey_ = 0;
    std::vector<uint32_t> pixels_;
};

// The pixel value a colour (0x00BBGGRR, or 0xFF0000nn for system colour nn) takes on our
// surfaces.
uint32_t MatchColor(uint32_t color);
// A system colour resolved to RGB (the usual desktop defaults); other values unchanged.
uint32_t ResolveSystemColor(uint32_t color);

// Text drawn straight into a back buffer. The engine draws through this; the window
// supplies the implementation (QPainter on the buffer's pixels).
class TextCanvas {
  public:
    struct FontSpec {
        std::string name = "Arial";
        uint32_t color = 0;  // 0x00BBGGRR
        int size = 8;        // points
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
    };

    virtual ~TextCanvas() = default;
    // Text is Windows-1250; (x, y) is the top-left corner of the text cell. With a solid
    // brush the cell is filled with brushColor first.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    // Hands the pixels back; must come before the next image draw or Flip.
    virtual void Release() = 0;

    FontSpec Font;
    bool BrushClear = false;
    uint32_t BrushColor = 0xFFFFFF;
};

class DrawingSurface;

// The notifications a surface sends its listeners (image lists), in this numbering.
enum class SurfaceNotification {
    Destroying,
    Initializing,
    Initialize,
    InitializeSurface,
    Finalize,
    FinalizeSurface,
    Restore,
    SurfaceSize,
};

class SurfaceListener {
  public:
    virtual ~SurfaceListener() = default;
    virtual void SurfaceNotify(DrawingSurface& surface, SurfaceNotification what) = 0;
};

// Where a flipped frame goes (the main window's drawing widget).
class SurfacePresenter {
  public:
    virtual ~SurfacePresenter() = default;
    virtual void Present(const Surface& backBuffer) = 0;
};

class DrawingSurface {
  public:
    static constexpr int kDefaultWidth = 400;
    static constexpr int kDefaultHeight = 300;

    explicit DrawingSurface(int width = kDefaultWidth, int height = kDefaultHeight);
    // Shuts down (finalize surface, finalize) and then tells the listeners it is going.
    ~DrawingSurface();
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    // Makes the back buffer (filled with 0) and tells the listeners: initializing,
    // surface size, initialize, initialize surface, restore. Does nothing the second time.
    void Initialize();
    // Tells the listeners finalize surface, then finalize, and drops the back buffer.
    void Finalize();
    bool Initialized() const { return initialized_; }
    bool Busy() const { return busy_; }

    // True when a frame may be drawn now.
    bool CanDraw() const;
    // The back buffer (`Surface`); empty until initialised.
    Surface& BackBuffer() { return backBuffer_; }
    const Surface& BackBuffer() const { return backBuffer_; }
    // Presents the back buffer; nothing unless a frame could be drawn.
    void Flip();
    // Restoration after a loss: the back buffer is filled with 0 and the listeners rebuild
    // their surfaces.
    void Restore();

    // The text canvas of the back buffer, made on first use by the factory the window
    // set; nullptr while there is none.
    using CanvasFactory = std::function<std::unique_ptr<TextCanvas>(Surface& backBuffer)>;
    void SetCanvasFactory(CanvasFactory factory);
    TextCanvas* Canvas();

    void SetPresenter(SurfacePresenter* presenter) { presenter_ = presenter; }

    // Linking and unlinking listeners; they hear of it at once (see the .cpp).
    void AddListener(SurfaceListener* listener);
    void RemoveListener(SurfaceListener* listener);

  private:
    void Notify(SurfaceNotification what);

    int width_;
    int height_;
    bool initialized_ = false;
    bool busy_ = false;
    Surface backBuffer_;
    SurfacePresenter* presenter_ = nullptr;
    CanvasFactory canvasFactory_;
    std::unique_ptr<TextCanvas> canvas_;
    std::vector<SurfaceListener*> listeners_;  // most recently linked last
};

}  // namespace pabuko
