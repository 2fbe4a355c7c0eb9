#include "assets/ObjectStream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

#include "platform/Files.h"
#include "platform/TextEncoding.h"

namespace pabuko {

namespace stream_messages {
std::string PropertyDoesNotExist(std::string_view name) {
    return "Property " + std::string(name) + " does not exist";
}
std::string ErrorReading(std::string_view object, std::string_view entry, std::string_view cause) {
    return "Error reading " + std::string(object) + "." + std::string(entry) + ": " +
           std::string(cause);
}
std::string ListIndexOutOfBounds(long long index) {
    return "List index out of bounds (" + std::to_string(index) + ")";
}
}  // namespace stream_messages

namespace {

[[noreturn]] void ReadFailed() {
    throw StreamError(stream_messages::kStreamReadError);
}
[[noreturn]] void BadValue() {
    throw PropertyValueError(stream_messages::kInvalidPropertyValue);
}

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

struct NamedColor {
    const char* name;
    uint32_t value;
};

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}
constexpr uint32_t Sys(uint32_t n) {
    return 0xFF000000u | n;
}

constexpr NamedColor kColors[] = {
    {"clBlack", Rgb(0, 0, 0)},
    {"clMaroon", Rgb(128, 0, 0)},
    {"clGreen", Rgb(0, 128, 0)},
    {"clOlive", Rgb(128, 128, 0)},
    {"clNavy", Rgb(0, 0, 128)},
    {"clPurple", Rgb(128, 0, 128)},
    {"clTeal", Rgb(0, 128, 128)},
    {"clGray", Rgb(128, 128, 128)},
    {"clSilver", Rgb(192, 192, 192)},
    {"clRed", Rgb(255, 0, 0)},
    {"clLime", Rgb(0, 255, 0)},
    {"clYellow", Rgb(255, 255, 0)},
    {"clBlue", Rgb(0, 0, 255)},
    {"clFuchsia", Rgb(255, 0, 255)},
    {"clAqua", Rgb(0, 255, 255)},
    {"clWhite", Rgb(255, 255, 255)},
    {"clMoneyGreen", Rgb(192, 220, 192)},
    {"clSkyBlue", Rgb(166, 202, 240)},
    {"clCream", Rgb(255, 251, 240)},
    {"clMedGray", Rgb(160, 160, 164)},
    {"clNone", 0x1FFFFFFFu},
    {"clDefault", 0x20000000u},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
};

}  // namespace

bool ColorFromIdent(std::string_view ident, uint32_t& color) {
    for (const auto& c : kColors) {
        if (ident == c.name) {
            color = c.value;
            return true;
        }
    }
    return false;
}

// ---- ByteReader

void ByteReader::Need(size_t n) const {
    if (n > Remaining()) ReadFailed();
}

void ByteReader::Seek(size_t pos) {
    if (pos > data_.size()) ReadFailed();
    pos_ = pos;
}

void ByteReader::Skip(size_t n) {
    Need(n);
    pos_ += n;
}

uint8_t ByteReader::U8() {
    Need(1);
    return data_[pos_++];
}

uint16_t ByteReader::U16() {
    Need(2);
    const uint16_t v = LoadU16(data_, pos_);
    pos_ += 2;
    return v;
}

uint32_t ByteReader::U32() {
    Need(4);
    const uint32_t v = LoadU32(data_, pos_);
    pos_ += 4;
    return v;
}

uint8_t ByteReader::Peek() const {
    Need(1);
    return data_[pos_];
}

std::span<const uint8_t> ByteReader::Bytes(size_t n) {
    Need(n);
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
}

std::string ByteReader::String(size_t n) {
    auto b = Bytes(n);
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

// ---- PropertySet

PropertySet& PropertySet::Value(std::string name, ValueReader read) {
    values_[std::move(name)] = std::move(read);
    return *this;
}

PropertySet& PropertySet::Object(std::string name, StreamObject* child) {
    objects_[std::move(name)] = child;
    return *this;
}

bool PropertySet::Read(std::string_view name, ObjectStreamReader& in) {
    auto it = values_.find(name);
    if (it == values_.end()) {
        // An object property read as a whole value is a wrong value, not a missing name.
        if (objects_.find(name) != objects_.end()) BadValue();
        return false;
    }
    it->second(in);
    return true;
}

StreamObject* PropertySet::Child(std::string_view name) {
    auto it = objects_.find(name);
    return it == objects_.end() ? nullptr : it->second;
}

bool PropertySet::Has(std::string_view name) const {
    return values_.find(name) != values_.end() || objects_.find(name) != objects_.end();
}

// ---- ObjectStreamReader

void ObjectStreamReader::ReadResourceHeader() {
    // The header is judged on its first 79 bytes; a shorter file reads as zeros there.
    std::array<uint8_t, 79> head{};
    const auto first = in_.Bytes(std::min(head.size(), in_.Size()));
    std::copy(first.begin(), first.end(), head.begin());
    if (head[0] != 0xFF || head[1] != 10 || head[2] != 0) {
        throw StreamError(stream_messages::kInvalidStreamFormat);
    }
    size_t nameLength = 0;
    while (3 + nameLength < head.size() && head[3 + nameLength] != 0) ++nameLength;
    // Name, its zero byte, 16-bit flags and 32-bit size.
    in_.Seek(std::min(in_.Size(), 3 + nameLength + 1 + 2 + 4));
    if (3 + nameLength + 7 > in_.Size()) ReadFailed();
}

RootHeader ObjectStreamReader::ReadRootStart() {
    auto sig = in_.Bytes(4);
    if (std::memcmp(sig.data(), "TPF0", 4) != 0) {
        throw StreamError(stream_messages::kInvalidStreamFormat);
    }
    if (in_.Peek() >= 0xF0) {
        const uint8_t flags = in_.U8() & 0x0F;
        // Child position, not used. A bad tag here is outside any entry, so it is a plain
        // load error.
        if (flags & 2) {
            try {
                ReadInteger();
            } catch (const PropertyValueError& e) {
                throw StreamError(e.what());
            }
        }
    }
    RootHeader root;
    root.className = ReadShortString();
    root.objectName = ReadShortString();
    if (!root.objectName.empty()) {
        bool valid = IsIdentStart(root.objectName[0]);
        for (char c : root.objectName) valid = valid && IsIdentChar(c);
        if (!valid) throw StreamError("'" + root.objectName + "' is not a valid component name");
    }
    return root;
}

std::string ObjectStreamReader::ReadShortString() {
    const uint8_t n = in_.U8();
    return in_.String(n);
}

void ObjectStreamReader::ReadProperties(StreamObject& object) {
    for (;;) {
        std::string path = ReadShortString();
        if (path.empty()) return;
        ReadEntry(object, path);
    }
}

void ObjectStreamReader::ReadEntry(StreamObject& object, const std::string& path) {
    try {
        StreamObject* target = &object;
        size_t start = 0;
        for (;;) {
            const size_t dot = path.find('.', start);
            const std::string_view step =
                std::string_view(path).substr(start, dot == std::string::npos ? dot : dot - start);
            if (dot == std::string::npos) {
                if (!target->Read(step, *this)) {
                    throw PropertyValueError(stream_messages::PropertyDoesNotExist(step));
                }
                return;
            }
            StreamObject* child = target->Child(step);
            if (!child) {
                if (target->Has(step)) {
                    throw PropertyValueError(stream_messages::kInvalidPropertyPath);
                }
                throw PropertyValueError(stream_messages::PropertyDoesNotExist(step));
            }
            target = child;
            start = dot + 1;
        }
    } catch (const PropertyValueError& e) {
        throw StreamError(stream_messages::ErrorReading(object.ErrorName(), path, e.what()));
    }
}

void ObjectStreamReader::ReadNoChildren() {
    // Nothing here makes child objects; anything but the empty list is not our stream.
    if (in_.U8() != 0) throw StreamError(stream_messages::kInvalidStreamFormat);
}

ValueTag ObjectStreamReader::PeekTag() const {
    return static_cast<ValueTag>(in_.Peek());
}

int32_t ObjectStreamReader::ReadInteger() {
    switch (static_cast<ValueTag>(in_.U8())) {
        case ValueTag::Int8:
            return static_cast<int8_t>(in_.U8());
        case ValueTag::Int16:
            return in_.I16();
        case ValueTag::Int32:
            return in_.I32();
        default:
            BadValue();
    }
}

bool ObjectStreamReader::ReadBoolean() {
    switch (static_cast<ValueTag>(in_.U8())) {
        case ValueTag::False:
            return false;
        case ValueTag::True:
            return true;
        case ValueTag::Ident: {
            const std::string id = ReadShortString();
            if (id == "False") return false;
            if (id == "True") return true;
            BadValue();
        }
        default:
            BadValue();
    }
}

std::string ObjectStreamReader::ReadString() {
    switch (static_cast<ValueTag>(in_.U8())) {
        case ValueTag::String:
            return ReadShortString();
        case ValueTag::LString:
            return in_.String(in_.U32());
        case ValueTag::WString: {
            const uint32_t units = in_.U32();
            if (units > in_.Remaining() / 2) ReadFailed();
            std::string utf8;
            for (uint32_t i = 0; i < units; ++i) {
                char32_t cp = in_.U16();
                if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units) {
                    const uint16_t low = in_.U16();
                    ++i;
                    if (low >= 0xDC00 && low < 0xE000) {
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    } else {
                        cp = U'?';
                    }
                } else if (cp >= 0xD800 && cp < 0xE000) {
                    cp = U'?';
                }
                AppendUtf8(utf8, cp);
            }
            return Utf8ToCp1250Lossy(utf8);
        }
        case ValueTag::Utf8String:
            return Utf8ToCp1250Lossy(in_.String(in_.U32()));
        default:
            BadValue();
    }
}

std::string ObjectStreamReader::ReadIdent() {
    if (static_cast<ValueTag>(in_.U8()) != ValueTag::Ident) BadValue();
    return ReadShortString();
}

uint32_t ObjectStreamReader::ReadColor() {
    if (PeekTag() == ValueTag::Ident) {
        uint32_t color = 0;
        if (!ColorFromIdent(ReadIdent(), color)) BadValue();
        return color;
    }
    return static_cast<uint32_t>(ReadInteger());
}

std::vector<uint8_t> ObjectStreamReader::ReadBinary() {
    if (static_cast<ValueTag>(in_.U8()) != ValueTag::Binary) BadValue();
    auto bytes = in_.Bytes(in_.U32());
    return {bytes.begin(), bytes.end()};
}

void ObjectStreamReader::ReadCollection(const std::function<void(ObjectStreamReader&)>& readItem) {
    if (static_cast<ValueTag>(in_.U8()) != ValueTag::Collection) BadValue();
    for (;;) {
        const auto tag = static_cast<ValueTag>(in_.Peek());
        if (tag == ValueTag::Null) {
            in_.U8();
            return;
        }
        if (tag == ValueTag::Int8 || tag == ValueTag::Int16 || tag == ValueTag::Int32) {
            ReadInteger();  // ordering hint
        }
        if (static_cast<ValueTag>(in_.U8()) != ValueTag::List) BadValue();
        readItem(*this);
    }
}

std::vector<uint8_t> ReadStreamFile(const std::string& path) {
    if (!std::ifstream(path, std::ios::binary))
        throw StreamError("Cannot open file \"" + path + "\"");
    const auto bytes = ReadWholeFile(path);
    if (!bytes) throw StreamError(stream_messages::kStreamReadError);
    return std::vector<uint8_t>(bytes->begin(), bytes->end());
}

// ---- ObjectStreamWriter

void ObjectStreamWriter::U16(uint16_t v) {
    PutU16(out_, v);
}

void ObjectStreamWriter::U32(uint32_t v) {
    PutU32(out_, v);
}

void ObjectStreamWriter::ShortString(std::string_view s) {
    const size_t n = std::min<size_t>(s.size(), 255);
    Byte(static_cast<uint8_t>(n));
    out_.insert(out_.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
}

void ObjectStreamWriter::BeginRoot(std::string_view resourceName, std::string_view className,
                                   std::string_view objectName) {
    out_.clear();
    Byte(0xFF);
    U16(10);
    const std::string_view name = resourceName.substr(0, 76);
    out_.insert(out_.end(), name.begin(), name.end());
    Byte(0);
    U16(0x1030);
    sizeField_ = out_.size();
    U32(0);
    out_.insert(out_.end(), {'T', 'P', 'F', '0'});
    ShortString(className);
    ShortString(objectName);
}

void ObjectStreamWriter::Name(std::string_view name) {
    ShortString(name);
}

void ObjectStreamWriter::Integer(int32_t value) {
    if (value >= -128 && value <= 127) {
        Byte(static_cast<uint8_t>(ValueTag::Int8));
        Byte(static_cast<uint8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        Byte(static_cast<uint8_t>(ValueTag::Int16));
        U16(static_cast<uint16_t>(value));
    } else {
        Byte(static_cast<uint8_t>(ValueTag::Int32));
        U32(static_cast<uint32_t>(value));
    }
}

void ObjectStreamWriter::Boolean(bool value) {
    Byte(static_cast<uint8_t>(value ? ValueTag::True : ValueTag::False));
}

void ObjectStreamWriter::String(std::string_view text) {
    if (text.size() <= 255) {
        Byte(static_cast<uint8_t>(ValueTag::String));
        ShortString(text);
    } else {
        Byte(static_cast<uint8_t>(ValueTag::LString));
        U32(static_cast<uint32_t>(text.size()));
        out_.insert(out_.end(), text.begin(), text.end());
    }
}

void ObjectStreamWriter::Ident(std::string_view ident) {
    Byte(static_cast<uint8_t>(ValueTag::Ident));
    ShortString(ident);
}

void ObjectStreamWriter::Binary(std::span<const uint8_t> bytes) {
    Byte(static_cast<uint8_t>(ValueTag::Binary));
    U32(static_cast<uint32_t>(bytes.size()));
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void ObjectStreamWriter::BeginCollection() {
    Byte(static_cast<uint8_t>(ValueTag::Collection));
}
void ObjectStreamWriter::BeginItem() {
    Byte(static_cast<uint8_t>(ValueTag::List));
}
void ObjectStreamWriter::End() {
    Byte(0);
}

std::vector<uint8_t> ObjectStreamWriter::Finish() {
    End();  // root's properties
    End();  // no child objects
    const uint32_t size = static_cast<uint32_t>(out_.size() - sizeField_ - 4);
    for (int i = 0; i < 4; ++i) out_[sizeField_ + i] = static_cast<uint8_t>(size >> (8 * i));
    return std::move(out_);
}

}  // namespace pabuko
