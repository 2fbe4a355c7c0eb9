#pragma once
// Image lists (`TDXImageList`): numbered pictures cut into cells (patterns) that are drawn
// onto the drawing surface. The pictures are decoded once at load; the surfaces the
// patterns are copied from are rebuilt from them whenever the drawing surface restores.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "assets/HashCollection.h"
#include "assets/Picture.h"
#include "display/Surface.h"

namespace pabuko {

class PictureCollection;

// `TPictureCollectionItem`
class PictureCollectionItem : public HashCollectionItem {
  public:
    explicit PictureCollectionItem(PictureCollection& collection) : collection_(&collection) {}

    int32_t PatternHeight = 0;
    int32_t PatternWidth = 0;
    Picture picture;
    const Picture& GetPicture() const { return picture; }
    int32_t SkipHeight = 0;
    int32_t SkipWidth = 0;
    bool SystemMemory = false;
    bool Transparent = true;

    uint32_t TransparentColor() const { return transparentColor_; }
    // A new value re-keys every surface of the item at once.
    void SetTransparentColor(uint32_t color);

    // Effective cell size and strides.
    int64_t Width() const;
    int64_t Height() const;
    int64_t StrideX() const { return Width() + SkipWidth; }
    int64_t StrideY() const { return Height() + SkipHeight; }

    // Draws pattern `patternIndex` with its top-left corner at (x, y); nothing when the
    // item is not initialized or the index is not a pattern.
    void Draw(Surface& dest, int x, int y, int patternIndex) const;

    bool Initialized() const { return initialized_; }
    void Initialize() { initialized_ = true; }
    void Finalize();
    // Builds the surfaces and patterns from the picture.
    void Restore();

    // Patterns and surfaces as the last restore built them.
    int64_t PatternCount() const { return patternCount_; }
    // Pattern k's rectangle in the picture.
    Rect PatternRect(int64_t k) const;
    // The surface that holds pattern k, and the pattern's rectangle in it.
    size_t PatternSurface(int64_t k) const;
    Rect PatternRectInSurface(int64_t k) const;
    const std::vector<Surface>& Surfaces() const { return surfaces_; }
    // Each surface's rectangle in the picture.
    const std::vector<Rect>& SurfaceRects() const { return surfaceRects_; }

  private:
    enum class Layout { Whole, OneSurface, Chunks };

    void AddSurface(Rect r);

    PictureCollection* collection_;
    uint32_t transparentColor_ = 0;
    bool initialized_ = false;
    Layout layout_ = Layout::Whole;
    int64_t patternCount_ = 0;
    int64_t columns_ = 0;
    int64_t chunkWidth_ = 0;
    int64_t chunkHeight_ = 0;
    int64_t chunkColumns_ = 0;
    std::vector<Surface> surfaces_;
    std::vector<Rect> surfaceRects_;
};

// `TPictureCollection`
class PictureCollection
    : public HashCollection<PictureCollection, PictureCollectionItem, DrawingSurface> {
  public:
    PictureCollection() { ColorTable.fill(0); }

    // Replaces all items by those of an image list file. On an error (a StreamError with
    // the message to show) the items read so far stay, not initialized. A file whose
    // pictures together exceed PixelLimit is refused before their memory is taken, and
    // the list keeps the items and colour table it had.
    void LoadFromStream(std::span<const uint8_t> bytes);
    // What one file's pictures may hold together. The fuzzer lowers it so that its inputs
    // stay quick; the game keeps the default.
    int64_t PixelLimit = kMaxListPixels;
    // The whole file, as our writer puts it.
    std::vector<uint8_t> SaveToStream(const std::string& resourceName = "PABUKO") const;

    DrawingSurface* DXDraw() const { return InUse(); }
    // Finalizes every item, remembers the surface and flags the items initialized;
    // "TPictureCollection cannot be initialized" when the surface is not.
    void Initialize(DrawingSurface& surface);

    std::array<uint8_t, 1024> ColorTable;
};

// `TDXImageList`: the collection, linked to a drawing surface that drives it.
class ImageList : public SurfaceListener {
  public:
    ImageList() = default;
    ~ImageList() override;
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    // Links the list to a surface (or unlinks it with nullptr).
    void SetDXDraw(DrawingSurface* surface);
    DrawingSurface* DXDraw() const { return linked_; }

    void SurfaceNotify(DrawingSurface& surface, SurfaceNotification what) override;

    PictureCollection Items;

  private:
    DrawingSurface* linked_ = nullptr;
};

}  // namespace pabuko
