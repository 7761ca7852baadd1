// Appending against failures and other writers: a booking adds one whole line or leaves the year
// file byte-identical, a Ctrl+Z line at the end gives way to the booking, and a writer holding the
// lock is waited for a bounded time.
#include "frame/file_lock.h"
#include "frame/platform.h"
#include "timerec/journal.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string booked = "2026-12-08  09:30   KD4711              Text\n";
const std::string first = "2026-12-08  08:00   P1\n";

struct JournalAppend : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    void SetUp() override {
        use_work_dir(dir.path);
        set_now(2026, 12, 8, 9, 0);
    }
    std::string year_file() const { return dir.file("2026.txt"); }
};

void add_minutes(const char *, const char *, int minutes, void *context) {
    *(int *)context += minutes;
}

TEST_F(JournalAppend, WholeLineOrNothingUnderEveryFailure) {
    const std::string blanks = "\n" + std::string(100, ' ') + "\n\n";
    struct {
        std::string before, after;
    } cases[] = {
        {first, first + booked},
        {"2026-12-08  08:00   P1", first + booked}, // last line without a line feed
        {first + "\x1a\n", first + booked},         // an old editor's end mark
        {first + "\x1a\x1a", first + booked},       // trailing end marks
        {first + blanks, first + booked + blanks.substr(booked.size())}, // blanks overwritten
    };
    for (const auto &c : cases) {
        write_file(year_file(), c.before);
        int result = 0, failed = 0;
        int injected = run_with_faults(
            [&] { result = journal_append("2026-12-08", "09:30", "KD4711", "Text"); },
            [&](bool struck) {
                EXPECT_EQ(read_file(year_file()), result == 0 ? c.after : c.before);
                EXPECT_TRUE(result == 0 || struck);
                if (result != 0) {
                    failed++;
                    EXPECT_EQ(messages.status.back(),
                              "Kann Zeitendatei " + year_file() + " nicht schreiben.");
                }
                write_file(year_file(), c.before);
            });
        EXPECT_GE(failed, 2) << "write and sync each fail once";
        EXPECT_GE(injected, failed);
        EXPECT_EQ(files_in(dir.path), (std::vector<std::string>{"2026.txt", "2026.txt.lock"}));
    }
}

#ifdef _WIN32
// The lock file beside a year file is hidden on Windows, also one an earlier version left visible.
TEST_F(JournalAppend, LockFilesAreHidden) {
    journal_current_file();
    std::string lock = year_file() + ".lock";
    write_file(lock, "");
    ASSERT_EQ(journal_append("2026-12-08", "09:30", "KD4711", ""), 0);
    const long hidden = 0x2; // FILE_ATTRIBUTE_HIDDEN
    EXPECT_TRUE(platform_file_attributes(lock.c_str()) & hidden);
}
#endif

TEST_F(JournalAppend, BookingsAfterACtrlZLineAreCounted) {
    write_file(year_file(), first + "\x1a\n");
    ASSERT_EQ(journal_append("2026-12-08", "09:00", "P2", ""), 0);
    ASSERT_EQ(journal_append("2026-12-08", "10:00", "---", ""), 0);
    int minutes = 0;
    journal_walk("2026", "2026-12-08", "2026-12-08", add_minutes, &minutes);
    EXPECT_EQ(minutes, 120);
}

TEST_F(JournalAppend, AWriterHoldingTheLockIsWaitedForAndNamed) {
    journal_current_file();
    std::string before = read_file(year_file());
    long long other = platform_lock_open((year_file() + ".lock").c_str());
    ASSERT_EQ(platform_lock_try(other), 0);
    file_lock_set_wait(30);
    EXPECT_EQ(journal_append("2026-12-08", "09:30", "KD4711", "Text"), -1);
    EXPECT_EQ(read_file(year_file()), before);
    EXPECT_EQ(messages.status.front(),
              "Datei " + year_file() + " wird gerade von einem anderen Programm geschrieben.");
    platform_lock_close(other);
    EXPECT_EQ(journal_append("2026-12-08", "09:30", "KD4711", "Text"), 0);
    EXPECT_EQ(read_file(year_file()), before + booked);
    file_lock_set_wait(FILE_LOCK_WAIT);
}

} // namespace
