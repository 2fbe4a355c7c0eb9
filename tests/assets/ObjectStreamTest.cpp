#include <gtest/gtest.h>

#include "ListFileBuilder.h"
#include "assets/ImageList.h"
#include "assets/ObjectStream.h"

namespace pabuko {
namespace {

using test::Append;
using test::Append32;

// The one-item file of 15 × 15 cells, keyed on magenta, byte by byte.
std::vector<uint8_t> WorkedExample(bool colorAsIdent) {
    std::vector<uint8_t> body;
    Append(body, "TPF0");
    body.push_back(27);
    Append(body, "TPictureCollectionComponent");
    body.push_back(0);
    body.push_back(15);
    Append(body, "List.ColorTable");
    Append(body, {0x0A, 0x00, 0x04, 0x00, 0x00});
    body.insert(body.end(), 1024, 0);
    body.push_back(4);
    Append(body, "List");
    Append(body, {0x0E, 0x01});
    body.push_back(13);
    Append(body, "PatternHeight");
    Append(body, {0x02, 0x0F});
    body.push_back(12);
    Append(body, "PatternWidth");
    Append(body, {0x02, 0x0F});
    body.push_back(12);
    Append(body, "SystemMemory");
    body.push_back(0x08);
    body.push_back(11);
    Append(body, "Transparent");
    body.push_back(0x09);
    body.push_back(16);
    Append(body, "TransparentColor");
    if (colorAsIdent) {
        Append(body, {0x07, 0x09});
        Append(body, "clFuchsia");
    } else {
        Append(body, {0x04, 0xFF, 0x00, 0xFF, 0x00});
    }
    Append(body, {0x00, 0x00, 0x00, 0x00});

    std::vector<uint8_t> file{0xFF, 0x0A, 0x00, 0x00, 0x30, 0x10};
    Append32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

std::string LoadError(const std::vector<uint8_t>& bytes) {
    PictureCollection list;
    try {
        list.LoadFromStream(bytes);
    } catch (const StreamError& e) {
        return e.what();
    }
    return "";
}

TEST(ListFileFormat, ReadsTheWorkedExampleWithEitherColourForm) {
    for (bool ident : {true, false}) {
        PictureCollection list;
        list.LoadFromStream(WorkedExample(ident));
        ASSERT_EQ(list.Count(), 1);
        const auto& item = list.Items(0);
        EXPECT_EQ(item.PatternWidth, 15);
        EXPECT_EQ(item.PatternHeight, 15);
        EXPECT_FALSE(item.SystemMemory);
        EXPECT_TRUE(item.Transparent);
        EXPECT_EQ(item.TransparentColor(), 0x00FF00FFu);
        EXPECT_TRUE(item.picture.Empty());
        EXPECT_EQ(item.SkipWidth, 0);
    }
}

TEST(ListFileFormat, WriterPutsTheWorkedExampleByteForByte) {
    PictureCollection list;
    auto& item = list.Add();
    item.PatternWidth = 15;
    item.PatternHeight = 15;
    item.SetTransparentColor(0xFF00FF);
    EXPECT_EQ(list.SaveToStream(""), WorkedExample(false));
}

TEST(ListFileFormat, RoundTripsEveryItemProperty) {
    PictureCollection list;
    list.ColorTable[0] = 7;
    list.ColorTable[1023] = 9;
    auto& a = list.Add();
    a.Name = "p\xEDsmena";  // "písmena" in Windows-1250
    a.PatternWidth = -1;
    a.PatternHeight = 40000;
    a.SkipWidth = 300;
    a.SkipHeight = -70000;
    a.SystemMemory = true;
    a.Transparent = false;
    a.SetTransparentColor(0xFF00000F);
    const std::vector<uint32_t> px{PixelFromRgb(1, 2, 3), PixelFromRgb(4, 5, 6)};
    a.picture = DecodePictureData(PictureDataFromDib(EncodeDib(2, 1, px)));
    list.Add().Name = std::string(300, 'x');  // long string tag

    PictureCollection back;
    back.LoadFromStream(list.SaveToStream());
    ASSERT_EQ(back.Count(), 2);
    const auto& b = back.Items(0);
    EXPECT_EQ(b.Name, a.Name);
    EXPECT_EQ(b.PatternWidth, -1);
    EXPECT_EQ(b.PatternHeight, 40000);
    EXPECT_EQ(b.SkipWidth, 300);
    EXPECT_EQ(b.SkipHeight, -70000);
    EXPECT_TRUE(b.SystemMemory);
    EXPECT_FALSE(b.Transparent);
    EXPECT_EQ(b.TransparentColor(), 0xFF00000Fu);
    EXPECT_EQ(b.picture.kind, Picture::Kind::Dib);
    EXPECT_EQ(b.picture.pixels, px);
    EXPECT_EQ(back.Items(1).Name, std::string(300, 'x'));
    EXPECT_TRUE(back.Items(1).picture.Empty());
    EXPECT_EQ(back.ColorTable, list.ColorTable);
}

TEST(ListFileFormat, AcceptsEveryTagTheReaderAllows) {
    auto file = test::ImageListFile([](ObjectStreamWriter& w) {
        auto& out = w.Out();
        w.Integer(5);  // ordering hint before the item
        w.BeginItem();
        w.Name("Name");
        Append(out, {18, 2, 0, 0, 0, 0x0C, 0x01, 'a', 0});  // wide "Ča"
        w.Name("SystemMemory");
        w.Ident("True");
        w.Name("Transparent");
        w.Ident("False");
        w.Name("TransparentColor");
        w.Ident("clBtnFace");
        w.Name("PatternWidth");
        Append(out, {3, 0x34, 0x12});
        w.End();
        w.BeginItem();
        w.Name("Name");
        Append(out, {20, 3, 0, 0, 0, 0xC5, 0xA1, 'b'});  // UTF-8 "šb"
        w.Name("Name");
        Append(out, {12, 1, 0, 0, 0, 'z'});  // the last of a repeated entry wins
        w.Name("SkipHeight");
        Append(out, {4, 0xFE, 0xFF, 0xFF, 0xFF});
        w.End();
    });
    PictureCollection list;
    list.LoadFromStream(file);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Name,
              "\xC8"
              "a");
    EXPECT_TRUE(list.Items(0).SystemMemory);
    EXPECT_FALSE(list.Items(0).Transparent);
    EXPECT_EQ(list.Items(0).TransparentColor(), 0xFF00000Fu);
    EXPECT_EQ(list.Items(0).PatternWidth, 0x1234);
    EXPECT_EQ(list.Items(1).Name, "z");
    EXPECT_EQ(list.Items(1).SkipHeight, -2);
}

TEST(ListFileFormat, HeaderVariants) {
    // A flags byte with a child position, and a resource name filling the 79 bytes.
    auto file = WorkedExample(true);
    std::vector<uint8_t> body(file.begin() + 10, file.end());
    body.insert(body.begin() + 4, {0xF2, 0x02, 0x03});
    std::vector<uint8_t> longName(3 + 76, 'N');
    longName[0] = 0xFF;
    longName[1] = 0x0A;
    longName[2] = 0x00;
    Append(longName, {0x00, 0x30, 0x10, 0, 0, 0, 0});
    longName.insert(longName.end(), body.begin(), body.end());
    PictureCollection list;
    list.LoadFromStream(longName);
    EXPECT_EQ(list.Count(), 1);
}

TEST(ListFileErrors, HeaderAndSignature) {
    auto file = WorkedExample(true);
    auto bad = file;
    bad[0] = 0xFE;
    EXPECT_EQ(LoadError(bad), "Invalid stream format");
    bad = file;
    bad[1] = 11;
    EXPECT_EQ(LoadError(bad), "Invalid stream format");
    bad = file;
    bad[13] = '1';  // "TPF1"
    EXPECT_EQ(LoadError(bad), "Invalid stream format");
    EXPECT_EQ(LoadError({}), "Invalid stream format");
    EXPECT_EQ(LoadError({0xFF, 0x0A, 0x00}), "Stream read error");
}

TEST(ListFileErrors, EveryTruncationIsAReadErrorNotACrash) {
    const auto file = WorkedExample(true);
    for (size_t n = 3; n < file.size(); ++n) {
        const std::vector<uint8_t> part(file.begin(), file.begin() + static_cast<long>(n));
        EXPECT_EQ(LoadError(part), "Stream read error") << n;
    }
    EXPECT_EQ(LoadError(file), "");
}

TEST(ListFileErrors, ShortColourTable) {
    ObjectStreamWriter w;
    w.BeginRoot("", "TPictureCollectionComponent");
    w.Name("List.ColorTable");
    w.Binary(std::vector<uint8_t>(1023, 0));
    EXPECT_EQ(LoadError(w.Finish()), "Stream read error");
}

TEST(ListFileErrors, BadPropertyEntriesNameTheObjectAndTheEntry) {
    auto withEntry = [](const std::function<void(ObjectStreamWriter&)>& entry) {
        return LoadError(test::ImageListFile([&](ObjectStreamWriter& w) {
            w.BeginItem();
            entry(w);
            w.End();
        }));
    };
    EXPECT_EQ(withEntry([](ObjectStreamWriter& w) {
                  w.Name("Colour");
                  w.Integer(1);
              }),
              "Error reading TPictureCollectionItem.Colour: Property Colour does not exist");
    EXPECT_EQ(withEntry([](ObjectStreamWriter& w) {
                  w.Name("PatternWidth");
                  w.String("15");
              }),
              "Error reading TPictureCollectionItem.PatternWidth: Invalid property value");
    EXPECT_EQ(withEntry([](ObjectStreamWriter& w) {
                  w.Name("Transparent");
                  w.Ident("Maybe");
              }),
              "Error reading TPictureCollectionItem.Transparent: Invalid property value");
    EXPECT_EQ(withEntry([](ObjectStreamWriter& w) {
                  w.Name("TransparentColor");
                  w.Ident("clPink");
              }),
              "Error reading TPictureCollectionItem.TransparentColor: Invalid property value");
    EXPECT_EQ(withEntry([](ObjectStreamWriter& w) {
                  w.Name("Name.Length");
                  w.Integer(1);
              }),
              "Error reading TPictureCollectionItem.Name.Length: Invalid property path");
    EXPECT_EQ(withEntry([](ObjectStreamWriter& w) {
                  w.Name("Picture.Width");
                  w.Integer(1);
              }),
              "Error reading TPictureCollectionItem.Picture.Width: Property Width does not exist");
    EXPECT_EQ(withEntry([](ObjectStreamWriter& w) {
                  w.Name("Picture.Data");
                  w.Integer(1);
              }),
              "Error reading TPictureCollectionItem.Picture.Data: Invalid property value");

    ObjectStreamWriter w;
    w.BeginRoot("", "TPictureCollectionComponent");
    w.Name("Items");
    w.Integer(1);
    EXPECT_EQ(LoadError(w.Finish()),
              "Error reading TPictureCollectionComponent.Items: Property Items does not exist");
    w.BeginRoot("", "TPictureCollectionComponent", "Obrazky");
    w.Name("List");
    w.Integer(1);
    EXPECT_EQ(LoadError(w.Finish()), "Error reading Obrazky.List: Invalid property value");
}

TEST(ListFileErrors, FailedLoadKeepsTheItemsReadSoFar) {
    auto file = test::ImageListFile([](ObjectStreamWriter& w) {
        w.BeginItem();
        w.Name("Name");
        w.String("first");
        w.End();
        w.BeginItem();
        w.Name("Name");
        w.String("second");
        w.Name("Bogus");
        w.Integer(0);
        w.End();
    });
    PictureCollection list;
    EXPECT_THROW(list.LoadFromStream(file), StreamError);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Name, "first");
    EXPECT_EQ(list.Items(1).Name, "second");
    try {
        list.Items(2);
        FAIL();
    } catch (const StreamError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
    EXPECT_THROW(list.Items(-1), StreamError);
}

TEST(ListFileErrors, InvalidObjectName) {
    ObjectStreamWriter w;
    w.BeginRoot("", "TPictureCollectionComponent", "9lives");
    EXPECT_EQ(LoadError(w.Finish()), "'9lives' is not a valid component name");
}

}  // namespace
}  // namespace pabuko
