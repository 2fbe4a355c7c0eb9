#pragma once
// List files (image lists *.src/*.qvs, wave lists *.qvs): a resource header followed by an
// object stream of tagged property values. This is the shared layer: it knows the header, the
// tags, property paths and the error texts, but nothing about any one component. A component
// describes its properties with a PropertySet (or its own StreamObject) and reads its entries
// with ObjectStreamReader::ReadProperties; ObjectStreamWriter writes them back.
//
// Reading never goes past the input: a short input gives StreamError("Stream read error").
// Every failure is a StreamError whose what() is the message shown to the player.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LittleEndian.h"

namespace pabuko {

namespace stream_messages {
inline constexpr const char* kInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* kStreamReadError = "Stream read error";
// "Error reading %s%s%s: %s": object (or class) name, ".", entry name, cause.
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";
inline constexpr const char* kInvalidPropertyPath = "Invalid property path";
// "Property %s does not exist"
std::string PropertyDoesNotExist(std::string_view name);
std::string ErrorReading(std::string_view object, std::string_view entry, std::string_view cause);
// "List index out of bounds (%d)"
std::string ListIndexOutOfBounds(long long index);
}  // namespace stream_messages

// A load error; what() is the exact message.
class StreamError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A list file whose items together would take more memory than any real one; the list
// refuses it whole and keeps what it had.
class ListBudgetError : public StreamError {
  public:
    using StreamError::StreamError;
};

// Thrown by value readers when the tag does not fit the property; the entry loop turns it
// into "Error reading X.Y: <cause>".
class PropertyValueError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Value tags of the object stream.
enum class ValueTag : uint8_t {
    Null = 0,  // end of a list
    List = 1,  // start of a list (a collection item)
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    String = 6,  // 1-byte length
    Ident = 7,   // 1-byte length
    False = 8,
    True = 9,
    Binary = 10,   // 32-bit length
    LString = 12,  // 32-bit length
    Collection = 14,
    WString = 18,     // 32-bit count of UTF-16 units
    Utf8String = 20,  // 32-bit length
};

// Bounds-checked little-endian reading over a byte span.
class ByteReader {
  public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    size_t Position() const { return pos_; }
    size_t Size() const { return data_.size(); }
    size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    // Moves to an absolute position; past the end fails.
    void Seek(size_t pos);
    void Skip(size_t n);

    uint8_t U8();
    uint16_t U16();
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // The next byte without consuming it; fails at the end.
    uint8_t Peek() const;
    std::span<const uint8_t> Bytes(size_t n);
    std::string String(size_t n);

  private:
    void Need(size_t n) const;

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

// A list file's bytes, for LoadFromStream; StreamError when it cannot be opened or read.
std::vector<uint8_t> ReadStreamFile(const std::string& path);

class ObjectStreamReader;

// An object whose entries a stream can set. Paths ("List.ColorTable") walk through
// Child(); the last step is read by Read().
class StreamObject {
  public:
    virtual ~StreamObject() = default;
    // The name used in "Error reading ..." (the object's name, or its class name).
    virtual std::string ErrorName() const = 0;
    // Reads the value of property `name`; false when the object has no such property.
    virtual bool Read(std::string_view name, ObjectStreamReader& in) = 0;
    // The sub-object behind property `name`, or nullptr when it has none.
    virtual StreamObject* Child(std::string_view /*name*/) { return nullptr; }
    // Whether `name` is a property at all (for telling a bad path from a missing name).
    virtual bool Has(std::string_view name) const = 0;
};

// A StreamObject described by a table: value properties with their readers, and
// sub-objects.
class PropertySet : public StreamObject {
  public:
    using ValueReader = std::function<void(ObjectStreamReader&)>;

    explicit PropertySet(std::string errorName) : errorName_(std::move(errorName)) {}

    PropertySet& Value(std::string name, ValueReader read);
    PropertySet& Object(std::string name, StreamObject* child);

    std::string ErrorName() const override { return errorName_; }
    bool Read(std::string_view name, ObjectStreamReader& in) override;
    StreamObject* Child(std::string_view name) override;
    bool Has(std::string_view name) const override;

  private:
    std::string errorName_;
    std::map<std::string, ValueReader, std::less<>> values_;
    std::map<std::string, StreamObject*, std::less<>> objects_;
};

// What the stream says about its root object.
struct RootHeader {
    std::string className;
    std::string objectName;
};

class ObjectStreamReader {
  public:
    explicit ObjectStreamReader(std::span<const uint8_t> data) : in_(data) {}

    // The resource header: 0xFF, type 10, a zero-ended name, flags and size.
    // "Invalid stream format" when the first byte or the type is wrong.
    void ReadResourceHeader();
    // "TPF0", the optional flags byte (and its child position), class name, object name.
    RootHeader ReadRootStart();
    // Property entries of `object` up to their ending 0 byte.
    void ReadProperties(StreamObject& object);
    // The 0 byte that says the root has no child objects.
    void ReadNoChildren();

    // Value readers, for use inside StreamObject::Read. A tag that does not fit throws
    // PropertyValueError("Invalid property value").
    ValueTag PeekTag() const;
    int32_t ReadInteger();
    bool ReadBoolean();
    // String tags 6, 12, 18, 20; the wide and UTF-8 ones come back in Windows-1250.
    std::string ReadString();
    std::string ReadIdent();
    // An integer, or an identifier naming a colour ("clFuchsia").
    uint32_t ReadColor();
    // Tag 10: the whole payload.
    std::vector<uint8_t> ReadBinary();
    // Tag 14: for each item calls readItem (after the item's optional ordering integer and
    // its tag 1); readItem reads the item's entries, usually with ReadProperties.
    void ReadCollection(const std::function<void(ObjectStreamReader&)>& readItem);

    ByteReader& Bytes() { return in_; }

  private:
    std::string ReadShortString();
    void ReadEntry(StreamObject& object, const std::string& path);

    ByteReader in_;
};

// Looks up a colour identifier ("clRed", "clBtnFace", ...); false when unknown.
bool ColorFromIdent(std::string_view ident, uint32_t& color);

// Writes a list file into a byte vector.
class ObjectStreamWriter {
  public:
    // Resource header (with `resourceName` and flags 0x1030), "TPF0", class and object name.
    void BeginRoot(std::string_view resourceName, std::string_view className,
                   std::string_view objectName = {});
    // Property name of the next entry.
    void Name(std::string_view name);
    // The smallest of tags 2, 3, 4.
    void Integer(int32_t value);
    void Boolean(bool value);
    // Tag 6 up to 255 bytes, else tag 12. Bytes are Windows-1250.
    void String(std::string_view text);
    void Ident(std::string_view ident);
    void Binary(std::span<const uint8_t> bytes);
    void BeginCollection();
    void BeginItem();
    // The 0 byte ending an item, a collection or a property list.
    void End();
    // Ends the root's properties, writes "no child objects" and fills in the size field.
    // Returns the whole file.
    std::vector<uint8_t> Finish();

    std::vector<uint8_t>& Out() { return out_; }

  private:
    void Byte(uint8_t b) { out_.push_back(b); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void ShortString(std::string_view s);

    std::vector<uint8_t> out_;
    size_t sizeField_ = 0;
};

}  // namespace pabuko
