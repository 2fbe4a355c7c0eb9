#include "display/Surface.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pabuko {

Surface::Surface(int width, int height) {
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void Surface::Fill(uint32_t value) {
    std::fill(pixels_.begin(), pixels_.end(), value);
}

void Surface::FillFrom(const uint32_t* source, int sourceWidth, int sourceHeight, Rect r) {
    // The part of `r` inside both the source and this surface, row by row.
    const int64_t x0 = std::max<int64_t>(0, -int64_t{r.x});
    const int64_t x1 =
        std::min<int64_t>({int64_t{width_}, int64_t{r.w}, int64_t{sourceWidth} - r.x});
    const int64_t y0 = std::max<int64_t>(0, -int64_t{r.y});
    const int64_t y1 =
        std::min<int64_t>({int64_t{height_}, int64_t{r.h}, int64_t{sourceHeight} - r.y});
    if (x1 <= x0) return;
    for (int64_t y = y0; y < y1; ++y) {
        const uint32_t* from = source + (r.y + y) * sourceWidth + r.x + x0;
        std::memcpy(pixels_.data() + y * width_ + x0, from,
                    static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
    }
}

namespace {

// One row of a keyed copy: source pixels equal to the key leave the destination alone.
void KeyedRow(uint32_t* dst, const uint32_t* src, int n, uint32_t key) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi32(static_cast<int>(key));
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i skip = _mm_cmpeq_epi32(s, k);
        const __m128i out = _mm_or_si128(_mm_and_si128(skip, d), _mm_andnot_si128(skip, s));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
    }
#endif
    for (; i < n; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}

}  // namespace

void Surface::Draw(int x, int y, const Surface& source, Rect src, bool keyed) {
    if (x > width_ || y > height_) return;
    // 64-bit so that positions near the int limits cannot wrap.
    int64_t dx = x, dy = y, sx = src.x, sy = src.y, w = src.w, h = src.h;
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    w = std::min<int64_t>(w, source.width_ - sx);
    h = std::min<int64_t>(h, source.height_ - sy);
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min<int64_t>(w, width_ - dx);
    h = std::min<int64_t>(h, height_ - dy);
    if (w <= 0 || h <= 0) return;

    const uint32_t* s = source.pixels_.data() + sy * source.width_ + sx;
    uint32_t* d = pixels_.data() + dy * width_ + dx;
    for (int64_t row = 0; row < h; ++row) {
        if (keyed) {
            KeyedRow(d, s, static_cast<int>(w), source.colorKey_);
        } else {
            std::memmove(d, s, static_cast<size_t>(w) * sizeof(uint32_t));
        }
        s += source.width_;
        d += width_;
    }
}

uint32_t ResolveSystemColor(uint32_t color) {
    if ((color & 0xFF000000u) != 0xFF000000u) return color;
    // The classic desktop scheme, as 0x00BBGGRR.
    static constexpr uint32_t kSystem[31] = {
        0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
        0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
        0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
        0xE1FFFF, 0xB5B5B5, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0,
    };
    const uint32_t n = color & 0xFF;
    return n < 31 ? kSystem[n] : 0;
}

uint32_t MatchColor(uint32_t color) {
    const uint32_t rgb = ResolveSystemColor(color);
    return 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// ---- DrawingSurface

DrawingSurface::DrawingSurface(int width, int height) : width_(width), height_(height) {}

DrawingSurface::~DrawingSurface() {
    Finalize();
    Notify(SurfaceNotification::Destroying);
}

void DrawingSurface::Notify(SurfaceNotification what) {
    // Most recently linked first; a listener may unlink itself (or another) meanwhile.
    const std::vector<SurfaceListener*> snapshot(listeners_.rbegin(), listeners_.rend());
    for (SurfaceListener* l : snapshot) {
        if (std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end()) {
            l->SurfaceNotify(*this, what);
        }
    }
}

void DrawingSurface::Initialize() {
    if (initialized_ || busy_) return;
    busy_ = true;
    Notify(SurfaceNotification::Initializing);
    backBuffer_ = Surface(width_, height_);
    Notify(SurfaceNotification::SurfaceSize);
    initialized_ = true;
    Notify(SurfaceNotification::Initialize);
    Notify(SurfaceNotification::InitializeSurface);
    busy_ = false;
    Restore();
}

void DrawingSurface::Finalize() {
    if (!initialized_) return;
    busy_ = true;
    if (canvas_) canvas_->Release();
    Notify(SurfaceNotification::FinalizeSurface);
    Notify(SurfaceNotification::Finalize);
    canvas_.reset();
    backBuffer_ = Surface();
    initialized_ = false;
    busy_ = false;
}

bool DrawingSurface::CanDraw() const {
    return initialized_ && !busy_ && !backBuffer_.IsEmpty();
}

void DrawingSurface::Restore() {
    if (!initialized_ || busy_) return;
    busy_ = true;
    backBuffer_.Fill(0);
    Notify(SurfaceNotification::Restore);
    busy_ = false;
}

void DrawingSurface::Flip() {
    if (!CanDraw()) return;
    if (canvas_) canvas_->Release();
    if (presenter_) presenter_->Present(backBuffer_);
}

void DrawingSurface::SetCanvasFactory(CanvasFactory factory) {
    if (canvas_) canvas_->Release();
    canvas_.reset();
    canvasFactory_ = std::move(factory);
}

TextCanvas* DrawingSurface::Canvas() {
    if (!canvas_ && canvasFactory_ && initialized_) canvas_ = canvasFactory_(backBuffer_);
    return canvas_.get();
}

void DrawingSurface::AddListener(SurfaceListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) return;
    listeners_.push_back(listener);
    listener->SurfaceNotify(*this, SurfaceNotification::SurfaceSize);
    if (initialized_) {
        listener->SurfaceNotify(*this, SurfaceNotification::Initialize);
        if (!backBuffer_.IsEmpty()) {
            listener->SurfaceNotify(*this, SurfaceNotification::InitializeSurface);
        }
        if (!busy_) listener->SurfaceNotify(*this, SurfaceNotification::Restore);
    }
}

void DrawingSurface::RemoveListener(SurfaceListener* listener) {
    auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it == listeners_.end()) return;
    listeners_.erase(it);
    if (!backBuffer_.IsEmpty()) {
        listener->SurfaceNotify(*this, SurfaceNotification::FinalizeSurface);
    }
    if (initialized_) listener->SurfaceNotify(*this, SurfaceNotification::Finalize);
}

}  // namespace pabuko
