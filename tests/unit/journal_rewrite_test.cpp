// Rewriting year files safely: the merge report counts what happened to every line, the previous
// version is kept as <year>.bak, temporary files are made new (never through a link) with the
// year file's permissions, and files that are no plain files or too large are refused.
#include "frame/files.h"
#include "frame/platform.h"
#include "timerec/journal.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void note_year(const journal_merge_year *year, void *context) {
    *(journal_merge_year *)context = *year;
}

struct Rewrite : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    journal_merge_year outcome = {};
    void SetUp() override {
        use_work_dir(dir.path);
        set_now(2026, 12, 8, 9, 0);
    }
    std::string year_file() const { return dir.file("2026.txt"); }
    int merge(const std::string &lines) {
        write_file(dir.file("Zeiten.txt"), lines);
        return journal_merge(dir.file("Zeiten.txt").c_str(), note_year, &outcome);
    }
};

const std::string booked = "2026-12-08  08:00   ---\n"
                           "2026-12-08  09:30   KD 4711\n"
                           "2026-12-08  09:30   AB 1000\n";

TEST_F(Rewrite, ReportCountsAddedDuplicatesAndReplaced) {
    write_file(year_file(), booked);
    merge("2026-12-08  10:00   X\n2026-12-08  08:00   ---\n2026-12-08  11:00   Y\n"
          "2026-12-08  12:00   ---\n");
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.added, 3);
    EXPECT_EQ(outcome.duplicates, 1);
    EXPECT_EQ(outcome.replaced, 1); // of two lines at 09:30 the byte-wise greatest stays
    EXPECT_EQ(outcome.lines_before, 3);
    EXPECT_EQ(outcome.lines_after, 5);
    EXPECT_EQ(read_file(year_file()), "2026-12-08  08:00   ---\n2026-12-08  09:30   KD 4711\n"
                                      "2026-12-08  10:00   X\n2026-12-08  11:00   Y\n"
                                      "2026-12-08  12:00   ---\n");
}

TEST_F(Rewrite, PreviousVersionIsKeptAsBackup) {
    write_file(year_file(), booked);
    merge("2026-12-08  10:00   X\n");
    EXPECT_EQ(read_file(dir.file("2026.bak")), booked);
    std::string first_merge = read_file(year_file());
    merge("2026-12-08  11:00   Y\n");
    EXPECT_EQ(read_file(dir.file("2026.bak")), first_merge);
}

TEST_F(Rewrite, YearFileOverTheLimitIsRefusedUnread) {
    int handle = file_create(year_file().c_str());
    ASSERT_GE(handle, 0);
    ASSERT_EQ(file_truncate(handle, JOURNAL_FILE_MAX + 1), 0); // sparse: costs no disk
    file_close(handle);
    EXPECT_EQ(merge("2026-12-08  10:00   X\n"), 0);
    EXPECT_EQ(outcome.result, -1);
    EXPECT_EQ(file_size(year_file().c_str()), JOURNAL_FILE_MAX + 1);
    ASSERT_FALSE(messages.warnings.empty());
    EXPECT_EQ(messages.warnings.front(),
              "Zeitendatei " + year_file() + " ist gr\366\337er als 64 MB und wird nicht gelesen.");
}

#ifndef _WIN32
TEST_F(Rewrite, PermissionsOfTheYearFileStay) {
    write_file(year_file(), booked);
    chmod(year_file().c_str(), 0600);
    merge("2026-12-08  10:00   X\n");
    struct stat info;
    ASSERT_EQ(stat(year_file().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(dir.file("2026.bak").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// A link planted where the temporary file goes is removed, not written through.
TEST_F(Rewrite, LinkInPlaceOfTheTemporaryFileIsNeverFollowed) {
    write_file(year_file(), booked);
    write_file(dir.file("victim.txt"), "someone else's year\n");
    ASSERT_EQ(symlink(dir.file("victim.txt").c_str(), dir.file("2026.txt.new").c_str()), 0);
    merge("2026-12-08  10:00   X\n");
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(read_file(dir.file("victim.txt")), "someone else's year\n");
    EXPECT_EQ(files_in(dir.path),
              (std::vector<std::string>{"2026.bak", "2026.bak.lock", "2026.txt", "2026.txt.lock",
                                        "Zeiten.txt", "victim.txt"}));
}

// A pipe is neither waited on nor replaced; nor is a folder.
TEST_F(Rewrite, PipesAndFoldersAreRefusedWithoutWaiting) {
    for (bool pipe : {true, false}) {
        unlink(year_file().c_str());
        rmdir(year_file().c_str());
        ASSERT_EQ(pipe ? mkfifo(year_file().c_str(), 0600) : mkdir(year_file().c_str(), 0700), 0);
        EXPECT_EQ(merge("2026-12-08  10:00   X\n"), 0);
        EXPECT_EQ(outcome.result, -1);
        EXPECT_EQ(platform_path_kind(year_file().c_str()), pipe ? PATH_OTHER : PATH_DIRECTORY);
        EXPECT_EQ(journal_append("2026-12-08", "10:00", "X", ""), -1);
        journal_forget_file();
    }
}
#endif

} // namespace
