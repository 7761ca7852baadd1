// File operations: copy with time stamp, exists and size, directory paths.
#include "frame/files.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string.h>
#ifndef _WIN32
#include <unistd.h>
#endif

TEST(Files, CopyReplacesTheTargetAndTakesTheTimeStamp) {
    TempDir dir;
    std::string source = dir.file("source.pdb"), target = dir.file("target.pdb");
    std::string content(40000, 'c');
    for (size_t i = 0; i < content.size(); i++) content[i] = (char)(i * 7);
    write_file(source, content);
    write_file(target, std::string(100000, 'o'));
    filetime_rec stamp = {103, 6, 18, 14, 5, 8};
    ASSERT_EQ(file_time_set(source.c_str(), &stamp), 0);
    ASSERT_EQ(file_copy(source.c_str(), target.c_str()), 0);
    EXPECT_EQ(read_file(target), content);
    filetime_rec copied;
    ASSERT_EQ(file_time_get(target.c_str(), &copied), 0);
    EXPECT_EQ(memcmp(&copied, &stamp, sizeof stamp), 0);
}

TEST(Files, CopyOfAMissingSourceLeavesNoTarget) {
    TempDir dir;
    EXPECT_EQ(file_copy(dir.file("none").c_str(), dir.file("target").c_str()), -1);
    EXPECT_FALSE(file_there(dir.file("target")));
    filetime_rec time;
    EXPECT_EQ(file_time_get(dir.file("none").c_str(), &time), -1);
}

TEST(Files, CopyNeverWritesThroughALinkOrOverAFolder) {
    TempDir dir;
    std::string source = dir.file("source"), target = dir.file("target");
    write_file(source, "new");
    make_dir(dir.file("folder").c_str());
    EXPECT_EQ(file_copy(source.c_str(), dir.file("folder").c_str()), -1);
#ifndef _WIN32
    // Someone else's file behind a link in the target's place, and behind one planted where the
    // copy's temporary file goes: the copy replaces the link, never what it points to.
    write_file(dir.file("victim"), "precious");
    write_file(dir.file("other"), "precious too");
    ASSERT_EQ(symlink(dir.file("victim").c_str(), target.c_str()), 0);
    ASSERT_EQ(symlink(dir.file("other").c_str(), (target + ".new").c_str()), 0);
    ASSERT_EQ(file_copy(source.c_str(), target.c_str()), 0);
    EXPECT_EQ(read_file(dir.file("victim")), "precious");
    EXPECT_EQ(read_file(dir.file("other")), "precious too");
#else
    ASSERT_EQ(file_copy(source.c_str(), target.c_str()), 0);
#endif
    EXPECT_EQ(read_file(target), "new");
    EXPECT_FALSE(file_there(target + ".new"));
}

TEST(Files, ExistsAndSize) {
    TempDir dir;
    write_file(dir.file("five"), "12345");
    EXPECT_EQ(file_exists(dir.file("five").c_str()), 1);
    EXPECT_EQ(file_size(dir.file("five").c_str()), 5);
    EXPECT_EQ(file_exists(dir.file("none").c_str()), 0);
    EXPECT_EQ(file_size(dir.file("none").c_str()), -1);
}

TEST(Files, MakePathCreatesNestedFolders) {
    TempDir dir;
    std::string nested = dir.file("one/two/three");
    EXPECT_EQ(make_path(nested.c_str()), 0);
    EXPECT_EQ(platform_path_kind(nested.c_str()), 2);
    EXPECT_EQ(make_path((nested + "/").c_str()), 0);
    // A file in the way cannot become a folder.
    write_file(dir.file("plain"), "x");
    EXPECT_EQ(make_path(dir.file("plain/sub").c_str()), 2);
}

TEST(Files, MakePathBelowTheCurrentFolder) {
    TempDir dir;
    char before[PATH_MAX_TEXT];
    ASSERT_EQ(current_dir(before, sizeof before), 0);
    ASSERT_EQ(change_dir(dir.path.c_str()), 0);
    EXPECT_EQ(make_path("  rel/inner  "), 0);
    change_dir(before);
    EXPECT_EQ(platform_path_kind(dir.file("rel/inner").c_str()), 2);
    char after[PATH_MAX_TEXT];
    current_dir(after, sizeof after);
    EXPECT_STREQ(after, before);
}

#ifdef _WIN32
TEST(Files, MakePathOnAMissingDriveGivesOne) {
    EXPECT_EQ(make_path("Q:\\korvex\\test"), 1);
}
#endif
