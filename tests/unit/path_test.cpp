// Path pieces: name part, directory part, separators and extensions, each cut to its area.
#include "frame/path.h"

#include <gtest/gtest.h>
#include <string.h>

namespace {

TEST(PathPieces, SplitsDirectoryAndName) {
    struct {
        const char *path, *dir, *name;
    } cases[] = {
        {"C:\\Programme\\Korvex\\kx.exe", "C:\\Programme\\Korvex\\", "kx.exe"},
        {"/home/a/2004.txt", "/home/a/", "2004.txt"},
        {"C:kx.exe", "C:", "kx.exe"},
        {"kx.exe", "", "kx.exe"},
        {"dir/", "dir/", ""},
        {"a\\b/c", "a\\b/", "c"},
        {"", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(path_name_index(c.path), (int)strlen(c.dir)) << c.path;
        char dir[64], name[64];
        path_dir(dir, sizeof dir, c.path);
        EXPECT_STREQ(dir, c.dir);
        strcpy(name, c.path);
        path_drop_dir(name);
        EXPECT_STREQ(name, c.name);
    }
}

TEST(PathPieces, DirectoryIsCutToItsArea) {
    char dir[8];
    memset(dir, 'G', sizeof dir);
    path_dir(dir, 5, "abcdefgh/x");
    EXPECT_STREQ(dir, "abcd");
    EXPECT_EQ(dir[5], 'G');
}

TEST(PathSeparators, AddStripUnifyAndBackslashes) {
    struct {
        const char *in, *added, *stripped, *unified, *backslashed;
    } cases[] = {
        {"C:\\Daten", "C:\\Daten\\", "C:\\Daten", "C:\\Daten", "C:\\Daten"},
        {"C:\\Daten\\", "C:\\Daten\\", "C:\\Daten", "C:\\Daten\\", "C:\\Daten\\"},
        {"/a\\b", "/a\\b\\", "/a\\b", "/a/b", "\\a\\b"},
        {"a\\b/c", "a\\b/c/", "a\\b/c", "a\\b\\c", "a\\b\\c"},
        {"Daten", "Daten/", "Daten", "Daten", "Daten"},
        {"", "", "", "", ""},
    };
    for (const auto &c : cases) {
        char path[32];
        strcpy(path, c.in);
        path_add_separator(path, sizeof path);
        EXPECT_STREQ(path, c.added) << c.in;
        strcpy(path, c.in);
        path_strip_separator(path);
        EXPECT_STREQ(path, c.stripped) << c.in;
        strcpy(path, c.in);
        path_unify(path);
        EXPECT_STREQ(path, c.unified) << c.in;
        strcpy(path, c.in);
        path_backslashes(path);
        EXPECT_STREQ(path, c.backslashed) << c.in;
    }
    EXPECT_TRUE(path_is_separator('/') && path_is_separator('\\'));
    EXPECT_FALSE(path_is_separator(':'));
}

TEST(PathSeparators, AddSeparatorNeedsRoom) {
    char path[8] = "abcdef";
    path_add_separator(path, 7);
    EXPECT_STREQ(path, "abcdef");
    path_add_separator(path, 8);
    EXPECT_STREQ(path, "abcdef/");
}

TEST(PathExtension, SetsAndDropsExtensionOfNamePart) {
    struct {
        const char *in, *extension, *set, *dropped;
    } cases[] = {
        {"C:\\Korvex\\kx", "hlp", "C:\\Korvex\\kx.hlp", "C:\\Korvex\\kx"},
        {"C:\\Korvex\\KX.EXE", "hlp", "C:\\Korvex\\KX.hlp", "C:\\Korvex\\KX"},
        {"a.b\\name", "txt", "a.b\\name.txt", "a.b\\name"},
        {"x.tar.gz", "zip", "x.tar.zip", "x.tar"},
        {"name.", "txt", "name.txt", "name"},
        {"", "txt", ".txt", ""},
    };
    for (const auto &c : cases) {
        char path[40];
        strcpy(path, c.in);
        path_set_ext(path, c.extension, sizeof path);
        EXPECT_STREQ(path, c.set) << c.in;
        strcpy(path, c.in);
        path_drop_ext(path);
        EXPECT_STREQ(path, c.dropped) << c.in;
    }
}

TEST(PathExtension, ExtensionIsCutToTheArea) {
    struct {
        const char *in, *extension;
        size_t size;
        const char *out;
    } cases[] = {
        {"name.x", "long", 8, "name.lo"},
        {"name", "long", 8, "name.lo"},
        {"name", "long", 6, "name."},
        {"name", "long", 5, "name"}, // not even the point fits
    };
    for (const auto &c : cases) {
        char path[16];
        memset(path, 'G', sizeof path);
        strcpy(path, c.in);
        path_set_ext(path, c.extension, c.size);
        EXPECT_STREQ(path, c.out) << c.in << " in " << c.size;
        EXPECT_EQ(path[c.size], 'G') << c.in << " in " << c.size;
    }
}

} // namespace
