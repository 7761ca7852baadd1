// One day edited as a whole and single bookings put in or taken out: every byte of other days
// stays, a day whose lines changed meanwhile is not overwritten, a failed rewrite leaves the file
// as it was, and undo takes back exactly what was written.
#include "frame/memory.h"
#include "timerec/daily_copy.h"
#include "timerec/journal.h"
#include "timerec/journal_day.h"
#include "timerec/journal_undo.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct JournalDay : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    journal_day day = {};
    void SetUp() override {
        use_work_dir(dir.path);
        set_now(2026, 12, 8, 11, 0);
    }
    void TearDown() override {
        journal_day_free(&day);
        undo_clear();
    }
    std::string year_file() const { return dir.file("2026.txt"); }
    std::string listed() {
        char *copy = journal_day_copy(&day);
        std::string text = copy;
        ffree(copy);
        return text;
    }
};

const std::string other = "2026-12-07  08:00   A\n2026-12-07  17:00   ---\n";
const std::string next = "2026-12-09  08:00   X\n";

TEST_F(JournalDay, ListsTheDayInTimeOrderWithThePeriodEachOpens) {
    struct {
        int day;
        std::string lines, listed;
    } cases[] = {
        // Lines out of order and one booked after the next day's: all listed in time order.
        {7,
         "2026-12-07  12:00   ---\n2026-12-07  08:00   A                   Text\n" + next +
             "2026-12-07  09:30   B\n",
         "08:00\tA\t1:30\tText\r\n09:30\tB\t2:30\t\r\n12:00\t---\t\t\r\n"},
        {7, "2026-12-07  08:00   A\n", "08:00\tA\toffen\t\r\n"}, // an open day
        {8, "2026-12-08  08:00   A\n", "08:00\tA\t3:00\t\r\n"},  // today: running until now
        {8, "2026-12-08  9.30    A\n", "9.30 \tA\t\t\r\n"},      // no time of day: no period
    };
    for (const auto &c : cases) {
        write_file(year_file(), c.lines);
        journal_day_free(&day);
        ASSERT_EQ(journal_day_read(&day, c.day == 7 ? "2026-12-07" : "2026-12-08"), 0);
        EXPECT_EQ(listed(), c.listed) << c.lines;
    }
}

// What the edits do to the file: the day's lines in time order at the place of its first line,
// every other byte as it was.
TEST_F(JournalDay, SavingReplacesOnlyTheDaysLines) {
    const std::string tail = "\x1a"
                             "2026-12-08  23:00   hidden\n";
    struct {
        std::string before;
        std::function<void(journal_day *)> edit;
        std::string after;
    } cases[] = {
        {other + "2026-12-08  09:00   B\n" + next + "2026-12-08  08:00   A\n" + tail,
         [](journal_day *) {}, // opened and saved: the day moves together
         other + "2026-12-08  08:00   A\n2026-12-08  09:00   B\n" + next + tail},
        {"2026-12-07  08:00   A\r\n2026-12-08  08:00   B\r\n",
         [](journal_day *d) { journal_day_add(d, "10:30", "C", "neu"); },
         "2026-12-07  08:00   A\r\n2026-12-08  08:00   B\r\n"
         "2026-12-08  10:30   C                   neu\r\n"},
        {other + next, [](journal_day *d) { journal_day_add(d, "08:00", "N", ""); },
         other + "2026-12-08  08:00   N                   \n" + next},
        {"2026-12-07  08:00   A", [](journal_day *d) { journal_day_add(d, "08:00", "N", ""); },
         "2026-12-07  08:00   A\n2026-12-08  08:00   N                   \n"},
        {other + "2026-12-08  08:00   A\n2026-12-08  08:00   A\n" + next,
         [](journal_day *d) { journal_day_delete(d, 1); }, // a double booking
         other + "2026-12-08  08:00   A\n" + next},
        {other + "  2026-12-08  08:00   A" + std::string(150, 'x') + "\n" + next,
         [](journal_day *d) { journal_day_change(d, 0, "07:45", "A", "kurz"); },
         other + "2026-12-08  07:45   A                   kurz\n" + next},
        {other + "2026-12-08  08:00   A\n" + next, [](journal_day *d) { journal_day_delete(d, 0); },
         other + next},
        // Carriage returns before a line feed end the line, as the readers see it.
        {"2026-12-07  08:00   A\r\n2026-12-08  08:00   B\r\r\n", [](journal_day *) {},
         "2026-12-07  08:00   A\r\n2026-12-08  08:00   B\r\n"},
    };
    for (const auto &c : cases) {
        write_file(year_file(), c.before);
        journal_day_free(&day);
        ASSERT_EQ(journal_day_read(&day, "2026-12-08"), 0);
        c.edit(&day);
        EXPECT_EQ(journal_day_save(&day), 0);
        EXPECT_EQ(read_file(year_file()), c.after) << c.before;
    }
}

TEST_F(JournalDay, InvalidFieldsAreRefused) {
    write_file(year_file(), other);
    ASSERT_EQ(journal_day_read(&day, "2026-12-08"), 0);
    for (const char *time : {"9.30", "24:00", "10:60", "10:3", "10:300"})
        EXPECT_EQ(journal_day_add(&day, time, "A", ""), -1) << time;
    EXPECT_EQ(journal_day_add(&day, "10:30", "  ", ""), -1);
    EXPECT_EQ(day.count, 0);
    EXPECT_EQ(messages.warnings.front(), "Ung\374ltige Uhrzeit: 9.30");
    EXPECT_EQ(messages.warnings.back(), "Bitte ein Projekt angeben.");
}

TEST_F(JournalDay, ChangesOfTheDayMeanwhileStopTheSaveOthersAreKept) {
    write_file(year_file(), other + "2026-12-08  08:00   A\n");
    ASSERT_EQ(journal_day_read(&day, "2026-12-08"), 0);
    journal_day_add(&day, "09:00", "B", "");
    ASSERT_EQ(journal_append("2026-12-09", "08:00", "X", ""), 0);
    EXPECT_EQ(journal_day_save(&day), 0);
    EXPECT_EQ(read_file(year_file()), other + "2026-12-08  08:00   A\n"
                                              "2026-12-08  09:00   B                   \n"
                                              "2026-12-09  08:00   X                   \n");
    journal_day_add(&day, "10:00", "C", "");
    ASSERT_EQ(journal_insert("2026-12-08", "12:00", "---", ""), 0);
    std::string meanwhile = read_file(year_file());
    EXPECT_EQ(journal_day_save(&day), JOURNAL_DAY_CHANGED);
    EXPECT_EQ(read_file(year_file()), meanwhile);
    EXPECT_EQ(day.count, 3); // the edits stay
    EXPECT_EQ(messages.warnings.back(), "Die Zeitendatei wurde inzwischen ge\344ndert.");
}

TEST_F(JournalDay, InsertAndRemoveAtTheirPlace) {
    const std::string day8 = "2026-12-08  08:00   A\n2026-12-08  10:30   B\n";
    struct {
        std::string before;
        bool insert;
        const char *time, *project;
        int result;
        std::string after;
    } cases[] = {
        {other + day8 + next, true, "10:30", "C", 0,
         other + day8 + "2026-12-08  10:30   C                   \n" + next},
        {other + day8 + next, true, "07:00", "C", 0,
         other + "2026-12-08  07:00   C                   \n" + day8 + next},
        {other + next, true, "07:00", "C", 0,
         other + "2026-12-08  07:00   C                   \n" + next},
        {other + day8 + next, false, "10:30", nullptr, 0, other + day8.substr(0, 22) + next},
        {other + day8 + next, false, "10:31", nullptr, -1, other + day8 + next},
        {other + day8 + day8, false, "08:00", "A", -1, other + day8 + day8},
        {other + day8 + next, false, "08:00", "B", -1, other + day8 + next},
    };
    for (const auto &c : cases) {
        write_file(year_file(), c.before);
        int result = c.insert ? journal_insert("2026-12-08", c.time, c.project, "")
                              : journal_remove("2026-12-08", c.time, c.project);
        EXPECT_EQ(result, c.result) << c.before << c.time;
        EXPECT_EQ(read_file(year_file()), c.after) << c.before << c.time;
    }
    EXPECT_EQ(messages.warnings[0], "Keine Buchung am 2026-12-08 um 10:31.");
    EXPECT_EQ(messages.warnings[1], "2 Buchungen am 2026-12-08 um 08:00, keine entfernt.");
}

TEST_F(JournalDay, WholeRewriteOrNothingUnderEveryFailure) {
    const std::string before = other + "2026-12-08  09:00   B\n" + next + "2026-12-08  08:00   A\n";
    const std::string saved = other + "2026-12-08  08:00   A\n2026-12-08  09:00   B\n" + next;
    write_file(year_file(), before);
    int failed = 0, result = 0;
    int injected = run_with_faults(
        [&] {
            journal_day_free(&day);
            result = journal_day_read(&day, "2026-12-08");
            if (result == 0) result = journal_day_save(&day);
        },
        [&](bool struck) {
            EXPECT_EQ(read_file(year_file()), result == 0 ? saved : before);
            EXPECT_TRUE(result == 0 || struck);
            failed += result != 0;
            EXPECT_FALSE(file_there(year_file() + ".new"));
            write_file(year_file(), before);
        });
    EXPECT_GE(failed, 3) << "write, sync and rename each fail once";
    EXPECT_GE(injected, failed);
}

TEST_F(JournalDay, UndoTakesBackWhatWasWrittenWhileItIsThere) {
    write_file(year_file(), other + "2026-12-08  08:00   A\n");
    const std::string start = read_file(year_file());
    ASSERT_EQ(journal_append("2026-12-08", "10:30", "KD 4711", ""), 0);
    undo_record_booking("10:30", "KD 4711");
    ASSERT_EQ(journal_insert("2026-12-08", "09:00", "B", ""), 0);
    undo_record_booking("09:00", "B");
    ASSERT_EQ(journal_day_read(&day, "2026-12-08"), 0);
    journal_day_delete(&day, 0);
    ASSERT_EQ(journal_day_save(&day), 0);
    undo_record_day("2026-12-08");
    char label[UNDO_LABEL + 1];
    EXPECT_TRUE(undo_menu_text(label));
    EXPECT_STREQ(label, "&R\374ckg\344ngig: Tag 2026-12-08");
    EXPECT_EQ(undo_last(), 0);
    EXPECT_EQ(undo_last(), 0);
    undo_menu_text(label);
    EXPECT_STREQ(label, "&R\374ckg\344ngig: Buchung 10:30 KD 4711");
    EXPECT_EQ(undo_last(), 0);
    EXPECT_EQ(read_file(year_file()), start);
    EXPECT_FALSE(undo_menu_text(label));
    EXPECT_STREQ(label, "&R\374ckg\344ngig");

    // Another writer in between: nothing is taken back, and the steps are gone.
    ASSERT_EQ(journal_append("2026-12-08", "10:30", "KD 4711", ""), 0);
    undo_record_booking("10:30", "KD 4711");
    ASSERT_EQ(journal_append("2026-12-08", "11:00", "C", ""), 0);
    std::string meanwhile = read_file(year_file());
    EXPECT_EQ(undo_last(), -1);
    EXPECT_EQ(read_file(year_file()), meanwhile);
    EXPECT_FALSE(undo_menu_text(label));
    EXPECT_EQ(messages.warnings.back(), "Nicht r\374ckg\344ngig gemacht: die Zeitendatei " +
                                            year_file() + " wurde seitdem ge\344ndert.");
}

// Time away booked afterwards: the pause and the project taken up again are one step.
TEST_F(JournalDay, SeveralBookingsGoInAsOneChange) {
    const std::string before = other + "2026-12-08  08:00   A\n2026-12-08  10:00   B\n";
    write_file(year_file(), before);
    booking lines[2] = {{"2026-12-08", "09:00", "---", ""}, {"2026-12-08", "09:30", "A", "x"}};
    ASSERT_EQ(journal_insert_all(lines, 2), 0);
    EXPECT_EQ(read_file(year_file()),
              other + "2026-12-08  08:00   A\n" + "2026-12-08  09:00   ---" + std::string(17, ' ') +
                  "\n2026-12-08  09:30   A                   x\n" + "2026-12-08  10:00   B\n");
    undo_record_booking("09:00", "---");
    EXPECT_EQ(undo_last(), 0);
    EXPECT_EQ(read_file(year_file()), before);
    booking years[2] = {{"2026-12-08", "09:00", "---", ""}, {"2027-01-01", "09:30", "A", ""}};
    EXPECT_EQ(journal_insert_all(years, 2), -1);
    EXPECT_EQ(read_file(year_file()), before);
}

TEST_F(JournalDay, UndoKeepsTheNewestSteps) {
    write_file(year_file(), other);
    for (int i = 0; i < UNDO_STEPS + 5; i++) {
        char time[6];
        snprintf(time, sizeof time, "08:%02d", i);
        ASSERT_EQ(journal_append("2026-12-08", time, "A", ""), 0);
        undo_record_booking(time, "A");
    }
    int undone = 0;
    while (undo_last() == 0) undone++;
    EXPECT_EQ(undone, UNDO_STEPS);
    EXPECT_EQ(read_file(year_file()).size(), other.size() + 5 * 41);
}

TEST_F(JournalDay, TheFirstChangeOfADayKeepsACopyOfTheFileAsItWas) {
    write_file(year_file(), other);
    for (int day = 1; day <= DAILY_COPIES + 3; day++) {
        set_now(2026, 11, day, 9, 0);
        ASSERT_EQ(journal_append("2026-11-01", "09:00", "A", ""), 0);
        ASSERT_EQ(journal_insert("2026-11-01", "08:00", "B", ""), 0);
    }
    std::vector<std::string> copies = files_in(dir.file("Sicherung"));
    ASSERT_EQ(copies.size(), (size_t)DAILY_COPIES);
    EXPECT_EQ(copies.front(), "2026.2026-11-04.txt");
    // Each copy holds the file as it was before that day's first change: two lines per day.
    EXPECT_EQ(read_file(dir.file("Sicherung/2026.2026-11-17.txt")).size(),
              other.size() + 16 * 2 * 41);

    // A copy that cannot be made is said, and the booking is made all the same.
    TempDir blocked;
    use_work_dir(blocked.path);
    write_file(blocked.file("2026.txt"), other);
    write_file(blocked.file("Sicherung"), "in the way");
    EXPECT_EQ(journal_append("2026-11-01", "10:00", "C", ""), 0);
    EXPECT_EQ(messages.status.back(), "Kann die Tagessicherung " + blocked.file("Sicherung") +
                                          "/2026.2026-11-17.txt nicht anlegen.");
}

} // namespace
