#include "assets/ImageList.h"

#include <algorithm>

#include "assets/ObjectStream.h"

namespace pabuko {

// ---- PictureCollectionItem

int64_t PictureCollectionItem::Width() const {
    return PatternWidth > 0 ? PatternWidth : picture.width;
}

int64_t PictureCollectionItem::Height() const {
    return PatternHeight > 0 ? PatternHeight : picture.height;
}

void PictureCollectionItem::SetTransparentColor(uint32_t color) {
    if (color == transparentColor_) return;
    transparentColor_ = color;
    for (Surface& s : surfaces_) s.SetColorKey(MatchColor(color));
}

void PictureCollectionItem::Finalize() {
    if (!initialized_) return;
    initialized_ = false;
    patternCount_ = 0;
    surfaces_.clear();
    surfaceRects_.clear();
}

void PictureCollectionItem::AddSurface(Rect r) {
    Surface s(r.w, r.h);
    s.FillFrom(picture.pixels.data(), picture.width, picture.height, r);
    s.SetColorKey(MatchColor(transparentColor_));
    surfaces_.push_back(std::move(s));
    surfaceRects_.push_back(r);
}

void PictureCollectionItem::Restore() {
    if (picture.Empty()) return;
    if (!initialized_ && collection_->Initialized()) initialized_ = true;
    if (!initialized_) return;
    patternCount_ = 0;
    surfaces_.clear();
    surfaceRects_.clear();

    const int64_t pw = picture.width;
    const int64_t ph = picture.height;
    const Rect whole{0, 0, picture.width, picture.height};
    if (Width() == pw && Height() == ph) {
        layout_ = Layout::Whole;
        AddSurface(whole);
        patternCount_ = 1;
        return;
    }

    const int64_t sx = StrideX();
    const int64_t sy = StrideY();
    if (sx <= 0 || sy <= 0) return;  // no defined cells
    columns_ = std::max<int64_t>(0, (pw + SkipWidth) / sx);
    const int64_t rows = std::max<int64_t>(0, (ph + SkipHeight) / sy);

    if (SystemMemory) {
        layout_ = Layout::OneSurface;
        AddSurface(whole);
        patternCount_ = columns_ * rows;
        return;
    }

    layout_ = Layout::Chunks;
    // The smallest multiple of the stride reaching 512 pixels, but no wider than the
    // whole cells, so that no cell straddles two surfaces.
    chunkWidth_ = std::min(sx * (1 + 511 / sx), sx * columns_);
    chunkHeight_ = std::min(sy * (1 + 511 / sy), sy * rows);
    if (chunkWidth_ <= 0 || chunkHeight_ <= 0) return;
    chunkColumns_ = (pw + chunkWidth_ - 1) / chunkWidth_;
    const int64_t chunkRows = (ph + chunkHeight_ - 1) / chunkHeight_;
    surfaces_.reserve(static_cast<size_t>(chunkColumns_ * chunkRows));
    for (int64_t i = 0; i < chunkRows; ++i) {
        for (int64_t j = 0; j < chunkColumns_; ++j) {
            const int64_t x = j * chunkWidth_;
            const int64_t y = i * chunkHeight_;
            AddSurface(Rect{static_cast<int>(x), static_cast<int>(y),
                            static_cast<int>(std::min(chunkWidth_, pw - x)),
                            static_cast<int>(std::min(chunkHeight_, ph - y))});
        }
    }
    patternCount_ = columns_ * rows;
}

Rect PictureCollectionItem::PatternRect(int64_t k) const {
    if (layout_ == Layout::Whole) return Rect{0, 0, picture.width, picture.height};
    const int64_t row = k / columns_;
    const int64_t column = k % columns_;
    return Rect{static_cast<int>(column * StrideX()), static_cast<int>(row * StrideY()),
                static_cast<int>(Width()), static_cast<int>(Height())};
}

size_t PictureCollectionItem::PatternSurface(int64_t k) const {
    if (layout_ != Layout::Chunks) return 0;
    const int64_t row = k / columns_;
    const int64_t column = k % columns_;
    return static_cast<size_t>((row * StrideY() / chunkHeight_) * chunkColumns_ +
                               column * StrideX() / chunkWidth_);
}

Rect PictureCollectionItem::PatternRectInSurface(int64_t k) const {
    Rect r = PatternRect(k);
    if (layout_ == Layout::Chunks) {
        r.x = static_cast<int>(r.x % chunkWidth_);
        r.y = static_cast<int>(r.y % chunkHeight_);
    }
    return r;
}

void PictureCollectionItem::Draw(Surface& dest, int x, int y, int patternIndex) const {
    if (!initialized_ || patternIndex < 0 || patternIndex >= patternCount_) return;
    const size_t s = PatternSurface(patternIndex);
    if (s >= surfaces_.size()) return;
    dest.Draw(x, y, surfaces_[s], PatternRectInSurface(patternIndex), Transparent);
}

// ---- PictureCollection

void PictureCollection::Initialize(DrawingSurface& surface) {
    Attach(&surface);
    if (!Initialized()) throw StreamError("TPictureCollection cannot be initialized");
}

void PictureCollection::LoadFromStream(std::span<const uint8_t> bytes) {
    const auto keptTable = ColorTable;
    PixelBudget budget{PixelLimit};
    PropertySet list("TPictureCollection");
    list.Value("ColorTable", [this](ObjectStreamReader& r) {
        const std::vector<uint8_t> table = r.ReadBinary();
        if (table.size() < ColorTable.size()) throw StreamError(stream_messages::kStreamReadError);
        std::copy_n(table.begin(), ColorTable.size(), ColorTable.begin());
    });
    // One picture object for all items, pointed at the item being read.
    PictureCollectionItem* current = nullptr;
    PropertySet picture("TPicture");
    picture.Value("Data", [&current, &budget](ObjectStreamReader& r) {
        const std::vector<uint8_t> data = r.ReadBinary();
        current->picture = Picture();
        current->picture = DecodePictureData(data, &budget);
    });
    const auto describeItem = [&current, &picture](PropertySet& props,
                                                   PictureCollectionItem& item) {
        current = &item;
        props
            .Value("PatternHeight",
                   [&item](ObjectStreamReader& r) { item.PatternHeight = r.ReadInteger(); })
            .Value("PatternWidth",
                   [&item](ObjectStreamReader& r) { item.PatternWidth = r.ReadInteger(); })
            .Object("Picture", &picture)
            .Value("SkipHeight",
                   [&item](ObjectStreamReader& r) { item.SkipHeight = r.ReadInteger(); })
            .Value("SkipWidth",
                   [&item](ObjectStreamReader& r) { item.SkipWidth = r.ReadInteger(); })
            .Value("SystemMemory",
                   [&item](ObjectStreamReader& r) { item.SystemMemory = r.ReadBoolean(); })
            .Value("Transparent",
                   [&item](ObjectStreamReader& r) { item.Transparent = r.ReadBoolean(); })
            .Value("TransparentColor",
                   [&item](ObjectStreamReader& r) { item.SetTransparentColor(r.ReadColor()); });
    };
    try {
        ReplaceItems(
            bytes, "TPictureCollectionComponent", "TPictureCollectionItem",
            [&list](PropertySet& root) { root.Object("List", &list); }, describeItem);
    } catch (const ListBudgetError&) {
        ColorTable = keptTable;
        throw;
    }
}

std::vector<uint8_t> PictureCollection::SaveToStream(const std::string& resourceName) const {
    const auto writeRoot = [this](ObjectStreamWriter& w) {
        w.Name("List.ColorTable");
        w.Binary(ColorTable);
    };
    const auto writeItem = [](ObjectStreamWriter& w, const PictureCollectionItem& item) {
        const auto optionalInteger = [&w](const char* name, int32_t value) {
            if (value == 0) return;
            w.Name(name);
            w.Integer(value);
        };
        w.Name("PatternHeight");
        w.Integer(item.PatternHeight);
        w.Name("PatternWidth");
        w.Integer(item.PatternWidth);
        if (!item.picture.Empty()) {
            w.Name("Picture.Data");
            w.Binary(item.picture.data);
        }
        optionalInteger("SkipHeight", item.SkipHeight);
        optionalInteger("SkipWidth", item.SkipWidth);
        w.Name("SystemMemory");
        w.Boolean(item.SystemMemory);
        w.Name("Transparent");
        w.Boolean(item.Transparent);
        w.Name("TransparentColor");
        w.Integer(static_cast<int32_t>(item.TransparentColor()));
    };
    return WriteItems(resourceName, "TPictureCollectionComponent", writeRoot, writeItem);
}

// ---- ImageList

ImageList::~ImageList() {
    Items.Finalize();
    SetDXDraw(nullptr);
}

void ImageList::SetDXDraw(DrawingSurface* surface) {
    if (surface == linked_) return;
    if (linked_) {
        DrawingSurface* old = linked_;
        linked_ = nullptr;
        old->RemoveListener(this);
    }
    linked_ = surface;
    if (linked_) linked_->AddListener(this);
}

void ImageList::SurfaceNotify(DrawingSurface& surface, SurfaceNotification what) {
    switch (what) {
        case SurfaceNotification::Destroying:
            SetDXDraw(nullptr);
            break;
        case SurfaceNotification::Initialize:
            Items.Initialize(surface);
            break;
        case SurfaceNotification::Finalize:
            Items.Finalize();
            break;
        case SurfaceNotification::Restore:
            Items.Restore();
            break;
        default:
            break;
    }
}

}  // namespace pabuko
