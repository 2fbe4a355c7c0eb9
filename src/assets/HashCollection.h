#pragma once
// `THashCollection`: the numbered, named items of an image or a wave list, read from and
// written to a list file, and driven by the device the list is linked to (a drawing surface,
// a sound output). Each list adds what its items are and how they are read.
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "assets/ObjectStream.h"

namespace pabuko {

// `THashCollectionItem`
class HashCollectionItem {
  public:
    // Windows-1250 bytes; kept, the game never looks an item up by name.
    std::string Name;
};

// `Owner` is the list's own collection (it derives from this), `Item` its item, made from
// the owner; `Device` has Initialized().
template <typename Owner, typename Item, typename Device>
class HashCollection {
  public:
    HashCollection(const HashCollection&) = delete;
    HashCollection& operator=(const HashCollection&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // Item i; "List index out of bounds (%d)" outside 0 .. Count - 1.
    Item& Items(int i) {
        if (i < 0 || i >= Count()) throw StreamError(stream_messages::ListIndexOutOfBounds(i));
        return *items_[static_cast<size_t>(i)];
    }
    const Item& Items(int i) const { return const_cast<HashCollection&>(*this).Items(i); }
    Item& operator[](int i) { return Items(i); }
    const Item& operator[](int i) const { return Items(i); }
    Item& Add() {
        items_.push_back(std::make_unique<Item>(static_cast<Owner&>(*this)));
        return *items_.back();
    }
    void Clear() {
        for (auto& item : items_) item->Finalize();
        items_.clear();
    }

    // Replaces all items by those of a list file (see the owner's LoadFromStream).
    void LoadFromFile(const std::string& path) {
        static_cast<Owner&>(*this).LoadFromStream(ReadStreamFile(path));
    }
    // As LoadFromFile, but a file that fails to load changes nothing: the list keeps the
    // items it had (a damaged skin must not leave half a playfield).
    void LoadWholeFromFile(const std::string& path) {
        keepOnError_ = true;
        try {
            LoadFromFile(path);
        } catch (...) {
            keepOnError_ = false;
            throw;
        }
        keepOnError_ = false;
    }
    // Throws StreamError when the file cannot be written.
    void SaveToFile(const std::string& path) const {
        const std::vector<uint8_t> bytes = static_cast<const Owner&>(*this).SaveToStream();
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) throw StreamError("Cannot write file \"" + path + "\"");
    }

    // Whether the device in use exists and is initialized.
    bool Initialized() const { return device_ != nullptr && device_->Initialized(); }
    void Finalize() {
        for (auto& item : items_) item->Finalize();
        device_ = nullptr;
    }
    void Restore() {
        for (auto& item : items_) item->Restore();
    }

  protected:
    HashCollection() = default;
    ~HashCollection() = default;

    Device* InUse() const { return device_; }
    // Finalizes every item, remembers the device and, when it is initialized, flags the
    // items initialized.
    void Attach(Device* device) {
        for (auto& item : items_) item->Finalize();
        device_ = device;
        if (!Initialized()) return;
        for (auto& item : items_) item->Initialize();
    }

    // Replaces the items by those of a list file: "List" is the root's collection, each item
    // may have a "Name"; `describeRoot` and `describeItem` add the other entries. On an error
    // the items read before it stay, not initialized; a file that would take more memory
    // than any real one (ListBudgetError) is refused whole and the list keeps what it had.
    // When the device is initialized, the new items are restored at once.
    void ReplaceItems(std::span<const uint8_t> bytes, const std::string& className,
                      const std::string& itemClassName,
                      const std::function<void(PropertySet& root)>& describeRoot,
                      const std::function<void(PropertySet& props, Item& item)>& describeItem) {
        auto kept = std::move(items_);
        items_.clear();
        try {
            ReadItems(bytes, className, itemClassName, describeRoot, describeItem);
        } catch (const ListBudgetError&) {
            Clear();
            items_ = std::move(kept);
            throw;
        } catch (...) {
            if (keepOnError_) {
                Clear();
                items_ = std::move(kept);
            } else {
                for (auto& item : kept) item->Finalize();
            }
            throw;
        }
        for (auto& item : kept) item->Finalize();
        kept.clear();

        if (Initialized()) {
            Attach(device_);
            Restore();
        }
    }

    // The whole file: "List" holds each item's "Name" (when not empty) and what
    // `writeItem` writes; `writeRoot` writes the root's entries before it.
    std::vector<uint8_t> WriteItems(
        std::string_view resourceName, const std::string& className,
        const std::function<void(ObjectStreamWriter&)>& writeRoot,
        const std::function<void(ObjectStreamWriter&, const Item&)>& writeItem) const {
        ObjectStreamWriter w;
        w.BeginRoot(resourceName, className);
        writeRoot(w);
        w.Name("List");
        w.BeginCollection();
        for (const auto& item : items_) {
            w.BeginItem();
            if (!item->Name.empty()) {
                w.Name("Name");
                w.String(item->Name);
            }
            writeItem(w, *item);
            w.End();
        }
        w.End();
        return w.Finish();
    }

  private:
    void ReadItems(std::span<const uint8_t> bytes, const std::string& className,
                   const std::string& itemClassName,
                   const std::function<void(PropertySet&)>& describeRoot,
                   const std::function<void(PropertySet&, Item&)>& describeItem) {
        ObjectStreamReader in(bytes);
        in.ReadResourceHeader();
        const RootHeader header = in.ReadRootStart();
        PropertySet root(header.objectName.empty() ? className : header.objectName);
        describeRoot(root);
        root.Value("List", [&](ObjectStreamReader& r) {
            r.ReadCollection([&](ObjectStreamReader& itemIn) {
                Item& item = Add();
                PropertySet props(itemClassName);
                props.Value("Name", [&item](ObjectStreamReader& v) { item.Name = v.ReadString(); });
                describeItem(props, item);
                itemIn.ReadProperties(props);
            });
        });
        in.ReadProperties(root);
        in.ReadNoChildren();
    }

    std::vector<std::unique_ptr<Item>> items_;
    Device* device_ = nullptr;
    bool keepOnError_ = false;
};

}  // namespace pabuko
