// Hostile year files: NUL bytes, binary garbage, a 1 MB line, only carriage returns, only
// end-of-file marks. No reader crashes or overruns, and appending loses nothing.
#include "timerec/journal.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>

namespace {

void count(const char *date, const char *project, int minutes, void *context) {
    EXPECT_LE(strlen(date), (size_t)JOURNAL_DATE);
    EXPECT_LE(strlen(project), (size_t)JOURNAL_PROJECT);
    EXPECT_LE(strlen(journal_walk_text()), (size_t)JOURNAL_WALK_LINE);
    ++*(int *)context;
}

std::string garbage(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; i++) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = (char)(seed >> 16);
    }
    return bytes;
}

// Everything up to the last byte that is not white space (before trailing end marks) is content.
size_t content_length(const std::string &bytes) {
    size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\x1a') end--;
    while (end > 0 && strchr(" \t\r\n\v\f", bytes[end - 1]) && bytes[end - 1]) end--;
    return end;
}

TEST(JournalHostile, ReadersSurviveAndAppendingLosesNothing) {
    TempDir dir;
    MessageRecorder messages;
    use_work_dir(dir.path);
    set_now(2003, 12, 9, 10, 30);
    const std::string cases[] = {
        std::string("2003-12-09  08:00   P\0\0\0NUL", 27) + "\n" + std::string(50, '\0'),
        garbage(100000, 1),
        garbage(5000, 2) + "\n\n",
        "2003-12-09  08:00   " + std::string(1 << 20, 'M') + "\n2003-12-09  09:00   ---\n",
        "2003-12-09  08:00   P1\n" + std::string(1 << 20, 'M'),
        std::string(10000, '\r'),
        std::string(10000, '\x1a'),
        std::string(3000, '\n'),
        std::string(4096, '-'),
        "\x1a\n2003-12-09  08:00   P1\n",
    };
    for (const std::string &content : cases) {
        std::string path = dir.file("2003.txt");
        write_file(path, content);
        journal_forget_file();
        booking last;
        journal_last_booking(&last);
        char project[JOURNAL_PROJECT + 1];
        journal_last_project(project);
        int periods = 0;
        journal_walk("2003", "2003-01-01", "2003-12-31", count, &periods);
        ASSERT_EQ(journal_append("2003-12-09", "10:30", "NEU", "Text"), 0);
        std::string after = read_file(path);
        size_t keep = content_length(content);
        ASSERT_GE(after.size(), keep);
        EXPECT_TRUE(after.compare(0, keep, content, 0, keep) == 0)
            << "content size " << content.size();
        EXPECT_NE(after.find("2003-12-09  10:30   NEU                 Text\n"), std::string::npos);
    }
}

TEST(JournalHostile, MergeOfGarbageKeepsTheYearFileReadable) {
    TempDir dir;
    MessageRecorder messages;
    use_work_dir(dir.path);
    std::string existing = "2003-12-09  08:00   P1\n2003-12-09  09:00   ---\n";
    write_file(dir.file("2003.txt"), existing);
    // Garbage without end marks (an end mark would end the taken-over text there).
    std::string noise = garbage(20000, 3);
    for (char &c : noise)
        if (c == '\x1a') c = 'Z';
    write_file(dir.file("Zeiten.txt"),
               noise + "\n2003-12-09  07:00   ---\n" + std::string("2003\0binary", 11) + "\n");
    journal_merge(dir.file("Zeiten.txt").c_str(), nullptr, nullptr);
    std::string merged = read_file(dir.file("2003.txt"));
    EXPECT_NE(merged.find(existing), std::string::npos);
    EXPECT_NE(merged.find("2003-12-09  07:00   ---\n"), std::string::npos);
    EXPECT_NE(merged.find(std::string("2003\0binary\n", 12)), std::string::npos);
}

} // namespace
