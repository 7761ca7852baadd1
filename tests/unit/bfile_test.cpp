// Buffered file access: lines forward and backward across blocks, the text end before Ctrl+Z,
// writing back only changed bytes, and the small reserve block when no memory can be had.
#include "frame/bfile.h"
#include "frame/memory.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct BFile : ::testing::Test {
    TempDir dir;
    std::string path = dir.file("data.txt");
    bfile file;
    void open_with(const std::string &bytes, int block = BFILE_BLOCK) {
        write_file(path, bytes);
        ASSERT_GE(bfile_open_sized(&file, path.c_str(), block), 0);
    }
    std::vector<std::string> lines_back(int max) {
        std::vector<std::string> lines;
        std::vector<char> area(max + 1);
        while (bfile_read_line_back(&file, area.data(), max) == 0) lines.push_back(area.data());
        return lines;
    }
};

TEST_F(BFile, ReadLineForward) {
    open_with("abc\r\n\nline three\x1a"
              "after the mark");
    char text[80];
    EXPECT_EQ(bfile_read_line(&file, text, 78), 3);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(bfile_read_line(&file, text, 78), 0);
    EXPECT_EQ(bfile_read_line(&file, text, 78), 10);
    EXPECT_STREQ(text, "line three");
    // Ctrl+Z ends the readable text for good.
    EXPECT_EQ(bfile_read_line(&file, text, 78), -1);
    EXPECT_EQ(bfile_read_line(&file, text, 78), -1);
    bfile_close(&file);
}

TEST_F(BFile, LongLineIsCutAndTheRestSkipped) {
    open_with(std::string(100, 'x') + "\nnext\n");
    char text[79];
    EXPECT_EQ(bfile_read_line(&file, text, 78), 78);
    EXPECT_EQ(std::string(text), std::string(78, 'x'));
    EXPECT_EQ(bfile_read_line(&file, text, 78), 4);
    EXPECT_STREQ(text, "next");
    bfile_close(&file);
}

TEST_F(BFile, OnlyCarriageReturnsAtTheEndAreNoLine) {
    open_with("a\n\r\r\r");
    char text[10];
    EXPECT_EQ(bfile_read_line(&file, text, 9), 1);
    EXPECT_EQ(bfile_read_line(&file, text, 9), -1);
    bfile_close(&file);
}

TEST_F(BFile, ReadLinesBackwardFromTheTextEnd) {
    open_with("first\nsecond\nabc\r\n\x1a\x1a");
    bfile_seek_text_end(&file);
    EXPECT_EQ(bfile_tell(&file), 18);
    EXPECT_EQ(lines_back(100), (std::vector<std::string>{"abc\r", "second", "first"}));
    bfile_close(&file);
}

TEST_F(BFile, BackwardReadingKeepsTheLastCharacters) {
    open_with("0123456789\n");
    bfile_seek_end(&file);
    EXPECT_EQ(lines_back(4), (std::vector<std::string>{"6789"}));
    bfile_close(&file);
}

// Lines of many lengths straddle block boundaries, with the normal and the smallest blocks.
TEST_F(BFile, LinesAcrossBlockBoundariesBothWays) {
    std::vector<std::string> lines;
    std::string bytes;
    for (int i = 0; i < 400; i++) {
        lines.push_back(std::string((size_t)(i * 37 % 150), (char)('a' + i % 26)));
        bytes += lines.back() + "\n";
    }
    for (int block : {(int)BFILE_BLOCK, (int)BFILE_RESERVE, 7}) {
        open_with(bytes, block);
        std::vector<std::string> forward;
        char text[200];
        while (bfile_read_line(&file, text, 199) >= 0) forward.push_back(text);
        EXPECT_EQ(forward, lines) << "block " << block;
        bfile_seek_text_end(&file);
        std::vector<std::string> backward = lines_back(199);
        EXPECT_EQ(std::vector<std::string>(backward.rbegin(), backward.rend()), lines)
            << "block " << block;
        bfile_close(&file);
    }
}

TEST_F(BFile, ReserveBlockServesWhenNoMemory) {
    int before = fmalloc_count();
    fmalloc_inject_failures(1);
    open_with(std::string(250, 'r') + "\n");
    EXPECT_EQ(file.size, BFILE_RESERVE);
    bfile_seek_text_end(&file);
    EXPECT_EQ(bfile_tell(&file), 251);
    EXPECT_EQ(bfile_write_line(&file, "tail"), 0);
    EXPECT_EQ(bfile_close(&file), 0);
    EXPECT_EQ(read_file(path), std::string(250, 'r') + "\ntail\n");
    EXPECT_EQ(fmalloc_count(), before + 1); // the failed request counted, nothing to return
}

// The kernel copies read bytes slowly into an area a few bytes past a cache line's start.
TEST_F(BFile, BlockAreaStartsOnACacheLineAndIsReturned) {
    int before = fmalloc_count();
    for (int block : {(int)BFILE_BLOCK, 100 * 1000, 1 << 17, 1 << 20}) {
        open_with("line\n", block);
        EXPECT_EQ((uintptr_t)file.area % 64, 0u) << block;
        EXPECT_EQ(bfile_getc(&file), 'l');
        EXPECT_EQ(bfile_close(&file), 0);
    }
    EXPECT_EQ(fmalloc_count(), before);
}

// Writing back only the changed range leaves bytes that another writer changed meanwhile.
TEST_F(BFile, OnlyChangedBytesAreWrittenBack) {
    open_with("0123456789");
    bfile_seek(&file, 8);
    bfile_putc(&file, 'X');
    write_file(path, "abcdefghij");
    EXPECT_EQ(bfile_close(&file), 0);
    EXPECT_EQ(read_file(path), "abcdefghXj");
}

TEST_F(BFile, WritesAcrossBlocksAndBeyondTheEnd) {
    open_with("", 16);
    std::string long_text(40, 'w');
    EXPECT_EQ(bfile_write_line_ending(&file, long_text.c_str(), 1), 0);
    EXPECT_EQ(bfile_write_line_ending(&file, "cr", 2), 0);
    EXPECT_EQ(bfile_tell(&file), 45);
    // A jump past the end leaves zeros in between.
    bfile_seek(&file, 50);
    EXPECT_EQ(bfile_putc(&file, 'E'), 0);
    EXPECT_EQ(bfile_close(&file), 0);
    EXPECT_EQ(read_file(path), long_text + "\r\ncr\r" + std::string(5, '\0') + "E");
}

TEST_F(BFile, BytesForwardAndBackward) {
    open_with("xyz", 2);
    EXPECT_EQ(bfile_prevc(&file), -1);
    EXPECT_EQ(bfile_getc(&file), 'x');
    EXPECT_EQ(bfile_getc(&file), 'y');
    EXPECT_EQ(bfile_getc(&file), 'z');
    EXPECT_EQ(bfile_getc(&file), -1);
    EXPECT_EQ(bfile_prevc(&file), 'z');
    EXPECT_EQ(bfile_prevc(&file), 'y');
    char area[3];
    bfile_seek(&file, 0);
    EXPECT_EQ(bfile_read(&file, area, 3), 0);
    EXPECT_EQ(bfile_read(&file, area, 1), -1);
    bfile_close(&file);
}

TEST_F(BFile, MissingFileCannotBeOpened) {
    EXPECT_EQ(bfile_open(&file, dir.file("none.txt").c_str()), -1);
    EXPECT_GE(bfile_create(&file, dir.file("new.txt").c_str()), 0);
    EXPECT_EQ(bfile_close(&file), 0);
    EXPECT_TRUE(file_there(dir.file("new.txt")));
}

} // namespace

namespace {

// The memory variant reads a caller's area as the file would read; it writes nothing.
TEST(BFileMemory, ReadsLikeAFileAndRefusesWrites) {
    const std::string bytes = "abc\r\n\nline three\nlast\x1a\x1a";
    bfile file;
    ASSERT_EQ(bfile_open_memory(&file, bytes.data(), bytes.size()), 0);
    char line[100];
    EXPECT_EQ(bfile_read_line(&file, line, 99), 3);
    EXPECT_STREQ(line, "abc");
    EXPECT_EQ(bfile_read_line(&file, line, 99), 0);
    EXPECT_EQ(bfile_read_line(&file, line, 99), 10);
    EXPECT_EQ(bfile_read_line(&file, line, 99), 4);
    EXPECT_EQ(bfile_read_line(&file, line, 99), -1);
    bfile_seek_text_end(&file);
    EXPECT_EQ(bfile_tell(&file), (int64_t)bytes.size() - 2);
    EXPECT_EQ(bfile_read_line_back(&file, line, 99), 0);
    EXPECT_STREQ(line, "line three");
    EXPECT_EQ(bfile_putc(&file, 'x'), -1);
    EXPECT_EQ(bfile_write(&file, "xy", 2), -1);
    EXPECT_EQ(bfile_close(&file), 0);
    EXPECT_EQ(bytes, "abc\r\n\nline three\nlast\x1a\x1a");

    TempDir dir;
    bfile_memory_file(dir.file("named.txt").c_str(), bytes.data(), 3);
    ASSERT_GE(bfile_open(&file, dir.file("named.txt").c_str()), 0);
    EXPECT_EQ(bfile_read_line(&file, line, 99), 3);
    EXPECT_STREQ(line, "abc");
    bfile_close(&file);
    bfile_memory_file(nullptr, nullptr, 0);
    EXPECT_LT(bfile_open(&file, dir.file("named.txt").c_str()), 0);
}

} // namespace
