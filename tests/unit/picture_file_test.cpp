// Bitmap and metafile files of the display control: plausible files pass, damaged or hostile
// ones are refused before the system sees them, and files are read whole.
#include "controls/disp/picture_file.h"
#include "frame/memory.h"
#include "picture_bytes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

int check_bitmap(const std::string &bytes) {
    size_t bits;
    return bitmap_file_check((const unsigned char *)bytes.data(), bytes.size(), &bits);
}

int check_metafile(const std::string &bytes, metafile_layout *layout = nullptr) {
    metafile_layout scratch;
    return metafile_check((const unsigned char *)bytes.data(), bytes.size(),
                          layout ? layout : &scratch);
}

TEST(PictureFile, PlausibleBitmapsPass) {
    size_t bits;
    std::string file = bitmap_file(3, 2, 24, 0x123456);
    ASSERT_EQ(bitmap_file_check((const unsigned char *)file.data(), file.size(), &bits), 0);
    EXPECT_EQ(bits, 54u);
    EXPECT_EQ(check_bitmap(bitmap_file(5, -4, 24, 0)), 0);
    EXPECT_EQ(check_bitmap(bitmap_file(7, 7, 8, 0xFF)), 0);
    EXPECT_EQ(check_bitmap(bitmap_file(BITMAP_SIDE_MAX, 1, 8, 0)), 0);
}

TEST(PictureFile, DamagedBitmapsAreRefused) {
    const std::string good = bitmap_file(4, 4, 24, 0x00FF00);
    const std::string palette = bitmap_file(4, 4, 8, 0x00FF00);
    struct damage {
        const char *what;
        std::function<void(std::string &)> change;
        const std::string *base;
    } cases[] = {
        {"cut bits", [](std::string &b) { b.resize(b.size() - 1); }, &good},
        {"cut header", [](std::string &b) { b.resize(30); }, &good},
        {"bits beyond the end", [](std::string &b) { set32(b, 10, (uint32_t)b.size() + 1); },
         &good},
        {"bits inside the header", [](std::string &b) { set32(b, 10, 40); }, &good},
        {"bits before the file header ends", [](std::string &b) { set32(b, 10, 3); }, &good},
        {"unknown header size", [](std::string &b) { set32(b, 14, 41); }, &good},
        {"huge header size", [](std::string &b) { set32(b, 14, 0xFFFFFFF0u); }, &good},
        {"zero width", [](std::string &b) { set32(b, 18, 0); }, &good},
        {"negative width", [](std::string &b) { set32(b, 18, (uint32_t)-4); }, &good},
        {"zero height", [](std::string &b) { set32(b, 22, 0); }, &good},
        {"lowest height", [](std::string &b) { set32(b, 22, 0x80000000u); }, &good},
        {"too many pixels",
         [](std::string &b) {
             set32(b, 18, 30000);
             set32(b, 22, 30000);
         },
         &good},
        {"two planes", [](std::string &b) { b[26] = 2; }, &good},
        {"3 bits per pixel", [](std::string &b) { b[28] = 3; }, &good},
        {"compressed as JPEG", [](std::string &b) { set32(b, 30, 4); }, &good},
        {"run length with 24 bits", [](std::string &b) { set32(b, 30, 1); }, &good},
        {"bit fields with 24 bits", [](std::string &b) { set32(b, 30, 3); }, &good},
        {"more colours than 8 bits hold", [](std::string &b) { set32(b, 46, 257); }, &palette},
        {"colour table beyond the bits", [](std::string &b) { set32(b, 10, 54 + 100); }, &palette},
    };
    for (const damage &c : cases) {
        std::string bytes = *c.base;
        c.change(bytes);
        EXPECT_EQ(check_bitmap(bytes), -1) << c.what;
    }
    EXPECT_EQ(check_bitmap(""), -1);
}

TEST(PictureFile, CompressedAndOldHeaders) {
    std::string rle = bitmap_file(4, 4, 8, 0xFF);
    rle.resize(14 + 40 + 1024);
    rle += std::string("\x04\x01\x00\x00\x00\x01", 6); // four pixels of index 1, end of bitmap
    set32(rle, 2, (uint32_t)rle.size());
    set32(rle, 30, 1);
    set32(rle, 34, 6);
    EXPECT_EQ(check_bitmap(rle), 0);
    set32(rle, 34, 7); // more compressed bytes than the file has
    EXPECT_EQ(check_bitmap(rle), -1);
    set32(rle, 34, 0);
    EXPECT_EQ(check_bitmap(rle), -1);
    set32(rle, 34, 6);
    set32(rle, 22, (uint32_t)-4); // compressed rows cannot run top-down
    EXPECT_EQ(check_bitmap(rle), -1);

    std::string fields = bitmap_file(2, 2, 24, 0);
    fields[28] = 32;
    set32(fields, 30, 3);
    fields.insert(54, std::string(12, '\x1f'));
    set32(fields, 10, 54 + 12);
    fields.resize(54 + 12 + 16);
    EXPECT_EQ(check_bitmap(fields), 0);
    set32(fields, 10, 54 + 4); // the masks overlap the bits
    EXPECT_EQ(check_bitmap(fields), -1);

    std::string core = "BM";
    put32(core, 0);
    put32(core, 0);
    put32(core, 14 + 12);
    put32(core, 12);
    put16(core, 2);
    put16(core, 1);
    put16(core, 1);
    put16(core, 24);
    core += std::string(8, '\x7f');
    EXPECT_EQ(check_bitmap(core), 0);
    core.resize(core.size() - 1);
    EXPECT_EQ(check_bitmap(core), -1);
}

TEST(PictureFile, PlayableMetafilesPass) {
    metafile_layout layout;
    std::string plain = filled_metafile(0x0000FF, false);
    ASSERT_EQ(check_metafile(plain, &layout), 0);
    EXPECT_EQ(layout.placeable, 0);
    EXPECT_EQ(layout.bits_offset, 0u);
    EXPECT_EQ(layout.bits_size, plain.size());

    std::string placeable = filled_metafile(0x0000FF, true) + "trailing bytes";
    ASSERT_EQ(check_metafile(placeable, &layout), 0);
    EXPECT_EQ(layout.placeable, 1);
    EXPECT_EQ(layout.bits_offset, 22u);
    EXPECT_EQ(layout.bits_size, placeable.size() - 22 - 14);
    EXPECT_EQ(layout.box[2], 100);

    Metafile shapes;
    shapes.record(0x0324, {3, 0, 0, 10, 0, 0, 10}); // polygon of three points
    shapes.record(0x0538, {2, 2, 1, 0, 0, 5, 5, 9, 9});
    shapes.record(0x0521, {3, 'a' | 'b' << 8, 'c', 10, 10});
    shapes.record(0x0A32, {10, 10, 2, 0, 'h' | 'i' << 8});
    shapes.record(0x0626, {15, 4, 0, 0});
    shapes.record(0x0F43, [] {
        std::vector<int> params = {0x0020, 0x00CC, 0, 2, 2, 0, 0, 2, 2, 0, 0};
        std::string dib = packed_bitmap(2, 2, 24, 0xFF00FF);
        for (size_t i = 0; i < dib.size(); i += 2)
            params.push_back((unsigned char)dib[i] | (unsigned char)dib[i + 1] << 8);
        return params;
    }());
    shapes.record(0x0940, {0x0020, 0x00CC, 0, 0, 0, 5, 5, 0, 0}); // DibBitBlt without bitmap
    EXPECT_EQ(check_metafile(shapes.file()), 0);
}

TEST(PictureFile, HostileMetafilesAreRefused) {
    auto with = [](unsigned function, std::vector<int> params, int objects = 0) {
        Metafile meta;
        meta.objects = objects;
        meta.record(function, params);
        return meta.file();
    };
    struct refused {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"unknown record", with(0x0999, {1, 2})},
        {"region record", with(0x06FF, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"too few parameters", with(0x041B, {1, 2, 3})},
        {"polygon longer than its record", with(0x0324, {50, 0, 0})},
        {"negative polygon count", with(0x0325, {-1})},
        {"poly-polygon points beyond", with(0x0538, {1, 9, 0, 0})},
        {"text beyond its record", with(0x0521, {40, 0, 0, 0})},
        {"clipped text without rectangle", with(0x0A32, {0, 0, 2, 4, 0})},
        {"escape bytes beyond", with(0x0626, {15, 100})},
        {"palette entries beyond", with(0x00F7, {0x300, 20, 0, 0}, 1)},
        {"object index beyond the table", with(0x012D, {3}, 2)},
        {"object created without a slot", with(0x02FA, {0, 1, 0, 0, 0}, 0)},
        {"font record at the end", with(0x02FB, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 1)},
        {"old bitmap form", with(0x0922, {0x20, 0xCC, 0, 0, 0, 5, 5, 0, 0, 1, 2})},
        {"stretched bitmap cut short", with(0x0F43, {0x20, 0xCC, 0, 2, 2, 0, 0, 2, 2, 0, 0, 40})},
        {"bitmap of unknown usage", with(0x0F43, {0x20, 0xCC, 7, 2, 2, 0, 0, 2, 2, 0, 0})},
    };
    for (const refused &c : cases) EXPECT_EQ(check_metafile(c.bytes), -1) << c.what;

    std::string good = filled_metafile(0xFF, false);
    std::string bytes = good;
    bytes.resize(bytes.size() - 6); // no end record
    set32(bytes, 6, (uint32_t)bytes.size() / 2);
    EXPECT_EQ(check_metafile(bytes), -1) << "no end record";
    bytes = good;
    set32(bytes, 6, (uint32_t)bytes.size() / 2 + 1);
    EXPECT_EQ(check_metafile(bytes), -1) << "size beyond the file";
    bytes = good;
    set32(bytes, 18, 0);
    EXPECT_EQ(check_metafile(bytes), -1) << "record of size 0";
    bytes = good;
    set32(bytes, 18, 0x7FFFFFFF);
    EXPECT_EQ(check_metafile(bytes), -1) << "record beyond the end";
    bytes = good;
    bytes[2] = 8;
    EXPECT_EQ(check_metafile(bytes), -1) << "header size";
    EXPECT_EQ(check_metafile(std::string("\xd7\xcd\xc6\x9a", 4) + "short"), -1);
    EXPECT_EQ(check_metafile(""), -1);
}

TEST(PictureFile, FilesAreReadWhole) {
    TempDir dir;
    std::string bytes = bitmap_file(100, 60, 24, 0x112233); // larger than one read piece
    write_file(dir.file("a.bmp"), bytes);
    write_file(dir.file("empty.bmp"), "");
    unsigned char *block;
    size_t length;
    int blocks = fmalloc_count();
    ASSERT_EQ(picture_read_file(dir.file("a.bmp").c_str(), &block, &length), 0);
    EXPECT_EQ(std::string((const char *)block, length), bytes);
    ffree(block);
    EXPECT_EQ(fmalloc_count(), blocks);
    EXPECT_EQ(picture_read_file(dir.file("empty.bmp").c_str(), &block, &length), -1);
    EXPECT_EQ(picture_read_file(dir.file("missing.bmp").c_str(), &block, &length), -1);
    EXPECT_EQ(block, nullptr);
    fmalloc_inject_failures(2); // the file's buffer and the block for its bytes
    EXPECT_EQ(picture_read_file(dir.file("a.bmp").c_str(), &block, &length), -1);
    fmalloc_inject_failures(0);
}

} // namespace
