// The main window's booking rules: choosable entries, the moment a choice takes, indicator and
// title, typed moments, and the week check that offers the export once per new week.
#include "frame/settings.h"
#include "timerec/booking.h"
#include "timerec/directories.h"
#include "test_support.h"
#include <gtest/gtest.h>

TEST(Booking, OnlyEntriesWithAnIdentifierCanBeChosen) {
    EXPECT_TRUE(booking_can_choose("P4711          Projekt"));
    EXPECT_TRUE(booking_can_choose("---"));
    EXPECT_FALSE(booking_can_choose(""));
    EXPECT_FALSE(booking_can_choose("   \t"));
    EXPECT_FALSE(booking_can_choose(" Kunden"));
    EXPECT_FALSE(booking_can_choose(";Kommentar"));
}

TEST(Booking, ChoosingTakesNowExceptOnAnOpenDay) {
    EXPECT_TRUE(booking_takes_now("2026-12-07", "---", "2026-12-08"));    // pause of yesterday
    EXPECT_TRUE(booking_takes_now("2026-12-08", "P4711", "2026-12-08"));  // booking of today
    EXPECT_FALSE(booking_takes_now("2026-12-07", "P4711", "2026-12-08")); // open day
}

TEST(Booking, EntryProjectIsTheIdentifierColumn) {
    char project[BOOKING_ENTRY_ID + 1];
    booking_entry_project(project, "KD 4711        Kundenprojekt");
    EXPECT_STREQ(project, "KD 4711        ");
    booking_entry_project(project, "---");
    EXPECT_STREQ(project, "---");
}

TEST(Booking, IndicatorAndTitleFollowTheLastProject) {
    EXPECT_STREQ(booking_indicator("---"), "AUS");
    EXPECT_STREQ(booking_indicator("-"), "AUS");
    EXPECT_STREQ(booking_indicator("P4711"), "EIN");
    char title[BOOKING_TITLE];
    booking_title(title, sizeof title, "P4711");
    EXPECT_STREQ(title, "Zeiterfassung - P4711");
    booking_title(title, sizeof title, "");
    EXPECT_STREQ(title, "Zeiterfassung -");
}

TEST(Booking, ImpossibleMomentsAreRefused) {
    EXPECT_TRUE(booking_moment_valid("2024-02-29", "23:59"));
    EXPECT_TRUE(booking_moment_valid("2026-12-08", "00:00"));
    const char *dates[] = {"2026-13-01", "2026-02-29", "2026-04-31",  "2026-00-10", "2026-12-00",
                           "    -  -  ", "2026-1-1",   "2026-12-08x", "2026/12/08"};
    for (const char *date : dates) EXPECT_FALSE(booking_moment_valid(date, "09:00")) << date;
    const char *times[] = {"24:00", "09:60", "9:00", "  :  ", "09:000"};
    for (const char *time : times) EXPECT_FALSE(booking_moment_valid("2026-12-08", time)) << time;
    platform_time moment;
    EXPECT_EQ(booking_parse_moment("2026-12-08 09:30", &moment), 0);
    EXPECT_EQ(moment.year, 2026);
    EXPECT_EQ(moment.minute, 30);
    EXPECT_EQ(booking_parse_moment("2026-02-31 09:00", &moment), -1);
    EXPECT_EQ(booking_parse_moment("2026-12-08T09:30", &moment), -1);
}

struct BookingWeek : ::testing::Test {
    TempDir dir;
    void SetUp() override { settings_set_file(dir.file("TORKKX.ini").c_str()); }
    void TearDown() override { settings_set_file(""); }
};

TEST_F(BookingWeek, ANewWeekOffersTheExportOnce) {
    settings_write_int(SETTINGS_SECTION, "LastWeek", 49);
    set_now(2026, 12, 8, 9, 0); // week 50
    EXPECT_EQ(booking_week_check(), 1);
    EXPECT_EQ(settings_read_int(SETTINGS_SECTION, "LastWeek"), 50);
    EXPECT_EQ(booking_week_check(), 0);
}

TEST_F(BookingWeek, AMissingOrZeroWeekIsOnlyStored) {
    set_now(2027, 1, 1, 9, 0); // week 53 of 2026
    EXPECT_EQ(booking_week_check(), 0);
    EXPECT_EQ(settings_read_int(SETTINGS_SECTION, "LastWeek"), 53);
    settings_write_int(SETTINGS_SECTION, "LastWeek", 0);
    EXPECT_EQ(booking_week_check(), 0);
}
