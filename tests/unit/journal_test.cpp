// The journal's year files: creation, the last booking and project read backwards, appending in
// fixed columns, and the start-up check of the day's closure.
#include "timerec/journal.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct Journal : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    void SetUp() override {
        use_work_dir(dir.path);
        set_now(2003, 12, 7, 9, 41);
    }
    std::string year_file() const { return dir.file("2003.txt"); }
    booking last() {
        booking b;
        journal_last_booking(&b);
        return b;
    }
};

TEST_F(Journal, CurrentFileIsCreatedWithAPauseLine) {
    use_work_dir(dir.file("new/sub/"));
    std::string path = journal_current_file();
    EXPECT_EQ(path, dir.file("new/sub/2003.txt"));
    EXPECT_EQ(read_file(path), "2003-12-07  09:41   ---\n");
    EXPECT_TRUE(messages.status.empty());
}

TEST_F(Journal, CurrentFileStaysFixedUntilForgotten) {
    journal_current_file();
    set_now(2004, 1, 1, 0, 5);
    EXPECT_EQ(std::string(journal_current_file()), year_file());
    journal_forget_file();
    EXPECT_EQ(std::string(journal_current_file()), dir.file("2004.txt"));
    EXPECT_EQ(read_file(dir.file("2004.txt")), "2004-01-01  00:05   ---\n");
}

TEST_F(Journal, ExistingFileIsNeverRecreated) {
    write_file(year_file(), "2003-12-06  08:00   P1\n");
    journal_current_file();
    EXPECT_EQ(read_file(year_file()), "2003-12-06  08:00   P1\n");
}

TEST_F(Journal, UncreatableFileIsReportedOnceAndNothingIsWritten) {
    write_file(dir.file("blocked"), "a file where the folder should be");
    use_work_dir(dir.file("blocked/"));
    journal_current_file();
    EXPECT_EQ(messages.status, std::vector<std::string>{"Zeitendatei fehlt."});
    EXPECT_EQ(journal_append("2003-12-07", "10:00", "P1", ""), -1);
    EXPECT_EQ(messages.status.back(),
              "Kann Zeitendatei " + dir.file("blocked/") + "2003.txt nicht schreiben.");
    booking b = last();
    EXPECT_STREQ(b.date, "2003-12-07");
    EXPECT_STREQ(b.time, "09:41");
    EXPECT_STREQ(b.project, "---");
}

TEST_F(Journal, AppendWritesFixedColumns) {
    journal_current_file();
    ASSERT_EQ(journal_append("2003-12-07", "09:45", "P4711", "Besprechung"), 0);
    ASSERT_EQ(journal_append("2003-12-07", "10:00", "K", ""), 0);
    // Overlong fields are cut to their columns: date 10, time 5, project 15.
    ASSERT_EQ(journal_append("2003-12-07xxxxx", "11:15:59", "ABCDEFGHIJKLMNOPQ", "t"), 0);
    EXPECT_EQ(read_file(year_file()), "2003-12-07  09:41   ---\n"
                                      "2003-12-07  09:45   P4711               Besprechung\n"
                                      "2003-12-07  10:00   K                   \n"
                                      "2003-12-07  11:15   ABCDEFGHIJKLMNO     t\n");
}

TEST_F(Journal, AppendKeepsEveryFieldOnItsLine) {
    journal_current_file();
    ASSERT_EQ(journal_append("2003-12-07", "09:45", "P\n1", "two\nlines\r\x1a"), 0);
    EXPECT_EQ(read_file(year_file()), "2003-12-07  09:41   ---\n"
                                      "2003-12-07  09:45   P 1                 two lines  \n");
}

// What an editor leaves after the last booking: CR LF endings, blank lines, end-of-file marks.
TEST_F(Journal, AppendGoesRightAfterTheLastBooking) {
    const struct {
        std::string content, expected;
    } cases[] = {
        {"2003-12-07  08:00   P1\r\n", "2003-12-07  08:00   P1\r\nNEW\n"},
        {"2003-12-07  08:00   P1\n\n  \n\n", "2003-12-07  08:00   P1\nNEW\n"},
        {"2003-12-07  08:00   P1\n\x1a", "2003-12-07  08:00   P1\nNEW\n"},
        {"2003-12-07  08:00   P1\n" + std::string(45, '\x1a'),
         "2003-12-07  08:00   P1\nNEW\n" + std::string(4, '\x1a')},
        // A last line without a line end gets one; nothing of it is lost.
        {"2003-12-07  08:00   P1", "2003-12-07  08:00   P1\nNEW\n"},
        {"2003-12-07  08:00   P1\x1a", "2003-12-07  08:00   P1\nNEW\n"},
        {"", "NEW\n"},
        // The file is never shortened: what the new line does not reach stays.
        {std::string(50, '\n'), "NEW\n" + std::string(9, '\n')},
    };
    for (const auto &c : cases) {
        write_file(year_file(), c.content);
        journal_forget_file();
        ASSERT_EQ(journal_append("NEW", "", "", ""), 0);
        std::string expected = c.expected;
        size_t at = expected.find("NEW");
        expected.replace(at, 3, std::string("NEW") + std::string(37, ' '));
        EXPECT_EQ(read_file(year_file()), expected) << "content: " << c.content;
    }
}

TEST_F(Journal, LastBookingSplitsTheColumns) {
    write_file(year_file(), "2003-12-06  08:00   ---\n"
                            "2003-12-07  08:15   P4711               Text mit  Leerzeichen  \r\n"
                            "\r\n\x1a");
    booking b = last();
    EXPECT_STREQ(b.date, "2003-12-07");
    EXPECT_STREQ(b.time, "08:15");
    EXPECT_STREQ(b.project, "P4711");
    EXPECT_STREQ(b.text, "Text mit  Leerzeichen");
}

TEST_F(Journal, ShortAndEmptyLinesReadAsEmptyFields) {
    write_file(year_file(), "\n  \n");
    booking b = last();
    EXPECT_STREQ(b.date, "          ");
    EXPECT_STREQ(b.time, "     ");
    EXPECT_STREQ(b.project, "");
    EXPECT_STREQ(b.text, "");
    write_file(year_file(), "2003-12-07  08");
    b = last();
    EXPECT_STREQ(b.date, "2003-12-07");
    EXPECT_STREQ(b.time, "08   ");
    EXPECT_STREQ(b.project, "");
}

// A last line longer than the backward limit keeps its first characters, so its columns hold.
TEST_F(Journal, LongLastLineKeepsItsColumns) {
    std::string note(300, 'n');
    write_file(year_file(), "2003-12-07  08:15   P4711               " + note + "\n");
    booking b = last();
    EXPECT_STREQ(b.date, "2003-12-07");
    EXPECT_STREQ(b.project, "P4711");
    EXPECT_EQ(std::string(b.text), std::string(JOURNAL_LAST_LINE - JOURNAL_TEXT_COLUMN, 'n'));
}

TEST_F(Journal, LastProjectSkipsPauses) {
    write_file(year_file(), "2003-12-06  08:00   P1\n"
                            "2003-12-06  09:00   K2  \n"
                            "2003-12-06  17:00   ---\n"
                            "2003-12-07  08:00   -Ende\n\n");
    char project[JOURNAL_PROJECT + 1];
    journal_last_project(project);
    EXPECT_STREQ(project, "K2");
    write_file(year_file(), "2003-12-06  17:00   ---\n2003-12-07  17:00   ---\n");
    journal_last_project(project);
    EXPECT_STREQ(project, "");
    write_file(dir.file("blocked"), "");
    use_work_dir(dir.file("blocked/"));
    journal_last_project(project);
    EXPECT_STREQ(project, "---");
}

TEST_F(Journal, PauseLineAndToday) {
    char line[JOURNAL_PAUSE_LINE + 1], today[JOURNAL_DATE + 1];
    journal_pause_line(line);
    journal_today(today);
    EXPECT_STREQ(line, "2003-12-07  09:41   ---");
    EXPECT_STREQ(today, "2003-12-07");
    char path[JOURNAL_PATH_MAX + 1];
    journal_year_path(path, sizeof path, 1999);
    EXPECT_EQ(std::string(path), dir.file("1999.txt"));
}

TEST_F(Journal, DayClosureCheck) {
    EXPECT_EQ(journal_check_day_closure("2003-12-07", "P1"), 0);
    EXPECT_EQ(journal_check_day_closure("2003-12-05", "---"), 0);
    EXPECT_EQ(journal_check_day_closure("2003-12-05", "P1"), 1);
    EXPECT_EQ(messages.last_status(), "Erfassung gestern nicht abgeschlossen.");
}

// The first start of a new year shows an open 31 December like any open day, and its closing
// booking goes to the old year's file; a closed old year leaves the new year's pause line shown.
TEST_F(Journal, OpenLastDayOfTheYearShowsAndClosesInItsOwnFile) {
    write_file(year_file(), "2003-12-31  16:00   P1\n");
    set_now(2004, 1, 2, 8, 0);
    booking b = last();
    EXPECT_STREQ(b.date, "2003-12-31");
    EXPECT_STREQ(b.project, "P1");
    EXPECT_EQ(journal_check_day_closure(b.date, b.project), 1);
    char project[JOURNAL_PROJECT + 1];
    journal_last_project(project);
    EXPECT_STREQ(project, "P1");

    EXPECT_EQ(journal_check_booking("2003-12-31", "17:00"), 0);
    EXPECT_EQ(journal_append("2003-12-31", "17:00", "---", ""), 0);
    EXPECT_EQ(read_file(year_file()), "2003-12-31  16:00   P1\n"
                                      "2003-12-31  17:00   ---                 \n");
    EXPECT_EQ(read_file(dir.file("2004.txt")), "2004-01-02  08:00   ---\n");
    b = last();
    EXPECT_STREQ(b.date, "2004-01-02");
    EXPECT_EQ(journal_check_day_closure(b.date, b.project), 0);
}

// Only this year and the end of last year's file can be booked; a program that ran into a new
// year books a date of that year into the new year's file.
TEST_F(Journal, BookingsGoToTheYearOfTheirDate) {
    journal_current_file();
    set_now(2004, 1, 1, 0, 5);
    EXPECT_EQ(journal_check_booking("2002-12-31", "10:00"), -1);
    EXPECT_EQ(journal_check_booking("2005-01-01", "10:00"), -1);
    EXPECT_EQ(messages.status.back(),
              "Datum 2005-01-01 geh\xF6rt nicht in die Zeitendatei " + year_file() + ".");
    EXPECT_EQ(journal_append("2004-01-01", "00:05", "P2", ""), 0);
    EXPECT_EQ(read_file(dir.file("2004.txt")), "2004-01-01  00:05   ---\n"
                                               "2004-01-01  00:05   P2                  \n");
    EXPECT_EQ(read_file(year_file()), "2003-12-07  09:41   ---\n");
}

} // namespace
