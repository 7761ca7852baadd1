// Command line words: white space separated, double-quoted words, bounded storage.
#include "frame/args.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/app.h"

namespace {

// Splits the given command line anew and restores the record's line afterwards.
struct command_line {
    const char *saved;
    explicit command_line(const char *line) : saved(frame_app()->command_line) {
        frame_app()->command_line = line;
        args_reset();
    }
    ~command_line() {
        frame_app()->command_line = saved;
        args_reset();
    }
};

TEST(Args, SplitsWordsAndQuotedWords) {
    struct {
        const char *line;
        const char *words[4]; // NULL after the last word
    } cases[] = {
        {"\"C:\\Program Files\\Korvex\\kx.exe\" -a  b",
         {"C:\\Program Files\\Korvex\\kx.exe", "-a", "b", NULL}},
        {"kx.exe", {"kx.exe", NULL}},
        {"  \tkx.exe\t x  ", {"kx.exe", "x", NULL}},
        {"kx \"\" y", {"kx", "", "y", NULL}},
        {"kx \"open end", {"kx", "open end", NULL}},
        {"a\"b c", {"a\"b", "c", NULL}},
        {"", {NULL}},
        {"   ", {NULL}},
    };
    for (const auto &c : cases) {
        command_line line(c.line);
        int n = 0;
        for (; c.words[n]; n++) EXPECT_STREQ(arg(n), c.words[n]) << c.line << " word " << n;
        EXPECT_STREQ(arg(n), "") << c.line;
        EXPECT_STREQ(arg(-1), "") << c.line;
    }
}

TEST(Args, NoCommandLineGivesNoWords) {
    command_line line(NULL);
    EXPECT_STREQ(arg(0), "");
}

TEST(Args, SplitOnceUntilReset) {
    command_line line("first");
    EXPECT_STREQ(arg(0), "first");
    frame_app()->command_line = "second";
    EXPECT_STREQ(arg(0), "first");
    args_reset();
    EXPECT_STREQ(arg(0), "second");
}

TEST(Args, LongWordsAndManyWordsAreCut) {
    std::string line = std::string(300, 'x') + " y";
    for (int i = 0; i < 100; i++) line += " w" + std::to_string(i);
    command_line words(line.c_str());
    EXPECT_EQ(std::string(arg(0)), std::string(260, 'x'));
    EXPECT_STREQ(arg(1), "y");
    EXPECT_STREQ(arg(63), "w61");
    EXPECT_STREQ(arg(64), "");
}

} // namespace
