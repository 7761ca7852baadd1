// The working-time settings: reading them with their defaults, their values' forms, and the
// settings dialog's rules (present fields, changes, saving and refusing impossible values).
#include "timerec/worktime_edit.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct Worktime : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    void SetUp() override {
        settings_set_file(dir.file("TORKKX.ini").c_str());
        set_now(2026, 3, 11, 9, 30);
    }
    void TearDown() override { settings_set_file(""); }
    void settings(const std::string &lines) {
        write_file(dir.file("TORKKX.ini"), "[Arbeitszeit]\r\n" + lines);
    }
    static std::string stored(const char *key) {
        char value[SETTINGS_VALUE];
        settings_read(WORKTIME_SECTION, key, value);
        return value;
    }
    static std::string fields_text(const worktime_fields &f) {
        std::string text = f.from;
        for (const auto &target : f.targets) text += std::string(" ") + target;
        return text + "|" + f.begin + "|" + f.opening + "|" + f.absences;
    }
    static void type(char *field, const char *text) { text_copy_max(field, text, WORKTIME_FIELD); }
};

TEST(WorktimeValues, DurationsAndVersions) {
    struct {
        const char *text;
        bool sign;
        long minutes; // -1: refused
    } durations[] = {
        {"8:00", false, 480},
        {"08:00", false, 480},
        {" 7:45 ", false, 465},
        {"-1:30", true, -90},
        {"-1:30", false, -1},
        {"+1:30", true, -1},
        {"8:5", false, -1},
        {"8:60", false, -1},
        {"8:000", false, -1},
        {"", false, -1},
        {"x", true, -1},
        {"123456:00", true, -1},
        {"99999:59", true, 5999999},
    };
    for (const auto &d : durations) {
        long minutes = -1;
        int result = worktime_parse_duration(d.text, &minutes, d.sign);
        EXPECT_EQ(result == 0 ? minutes : -1, d.minutes) << d.text;
    }
    const char *refused[] = {
        "2026-01-01 8:00 8:00 8:00 8:00 8:00 0:00",           // six targets
        "2026-01-01 8:00 8:00 8:00 8:00 8:00 0:00 0:00 1:00", // eight
        "2026-02-30 8:00 8:00 8:00 8:00 8:00 0:00 0:00",      // no day
        "1900-01-01 8:00 8:00 8:00 8:00 8:00 0:00 0:00",      // before 1901
        "2026-01-01 8:00 8:00 8:00 8:00 24:01 0:00 0:00",     // more than a day
    };
    worktime_version version;
    for (const char *text : refused) EXPECT_EQ(worktime_parse_version(text, &version), -1) << text;
    ASSERT_EQ(worktime_parse_version(" 2026-01-01 8:00 08:30 8:00 8:00 24:00 0:00 0:00 ", &version),
              0);
    char text[WORKTIME_VERSION_TEXT + 1];
    worktime_version_text(text, &version);
    EXPECT_STREQ(text, "2026-01-01 8:00 8:30 8:00 8:00 24:00 0:00 0:00");
}

TEST_F(Worktime, SettingsReadWithTheirDefaultsAndUnreadableValuesNamed) {
    worktime w;
    worktime_load(&w);
    EXPECT_EQ(worktime_target(&w, "2026-03-11", 2), 480);
    EXPECT_EQ(worktime_target(&w, "2026-03-11", 5), 0);
    EXPECT_STREQ(w.begin, "");
    EXPECT_EQ(w.opening, 0);
    EXPECT_TRUE(worktime_is_absence(&w, "URLAUB"));
    EXPECT_TRUE(worktime_is_absence(&w, "KRANK Kind"));
    EXPECT_FALSE(worktime_is_absence(&w, "URLAUBX"));
    EXPECT_FALSE(worktime_is_absence(&w, "KD URLAUB"));

    settings("Soll1=2026-06-01 6:00 6:00 6:00 6:00 6:00 0:00 0:00\r\n"
             "Soll3=2026-01-01 7:00 7:00 7:00 7:00 7:00 0:00 0:00\r\n"
             "Soll4=2026-03-01 viel\r\n"
             "Beginn=2026-02-30\r\nUebertrag=-12:30\r\nAbwesenheit=FREI; Kur ;;\r\n");
    worktime_load(&w);
    ASSERT_EQ(w.version_count, 2);
    EXPECT_EQ(worktime_target(&w, "2025-12-31", 0), 480);
    EXPECT_EQ(worktime_target(&w, "2026-01-01", 0), 420);
    EXPECT_EQ(worktime_target(&w, "2026-05-31", 0), 420);
    EXPECT_EQ(worktime_target(&w, "2026-06-01", 0), 360);
    EXPECT_STREQ(w.begin, "");
    EXPECT_EQ(w.opening, -750);
    EXPECT_TRUE(worktime_is_absence(&w, "Kur"));
    EXPECT_FALSE(worktime_is_absence(&w, "URLAUB"));
    EXPECT_EQ(messages.status, (std::vector<std::string>{
                                   "Arbeitszeit: Soll4=2026-03-01 viel ist ung\xFCltig und wird "
                                   "nicht verwendet.",
                                   "Arbeitszeit: Beginn=2026-02-30 ist ung\xFCltig und wird nicht "
                                   "verwendet.",
                               }));
}

TEST_F(Worktime, FieldsRoundTripThroughTheSettingsFile) {
    worktime present;
    worktime_load(&present);
    worktime_fields f;
    worktime_edit_present(&present, &f);
    EXPECT_EQ(fields_text(f), "2026-01-01 8:00 8:00 8:00 8:00 8:00 0:00 0:00||0:00|URLAUB;KRANK");
    EXPECT_EQ(worktime_edit_changed(&present, &f), 0);

    type(f.from, "2026-04-01");
    type(f.targets[4], "06:00");
    type(f.begin, "2025-07-01");
    type(f.opening, "-3:15");
    type(f.absences, "URLAUB; KUR");
    EXPECT_EQ(worktime_edit_changed(&present, &f), 1);
    ASSERT_EQ(worktime_edit_save(&f), 0);
    EXPECT_EQ(stored("Soll1"), "2026-04-01 8:00 8:00 8:00 8:00 6:00 0:00 0:00");
    EXPECT_EQ(stored("Beginn"), "2025-07-01");
    EXPECT_EQ(stored("Uebertrag"), "-3:15");
    EXPECT_EQ(stored("Abwesenheit"), "URLAUB;KUR");
    worktime_load(&present);
    worktime_fields again;
    worktime_edit_present(&present, &again);
    EXPECT_EQ(fields_text(again),
              "2026-04-01 8:00 8:00 8:00 8:00 6:00 0:00 0:00|2025-07-01|-3:15|URLAUB;KUR");
    EXPECT_EQ(worktime_edit_changed(&present, &again), 0);

    // A later date adds a version; the same date replaces it; the targets that hold already
    // change nothing; an empty absence list is kept as such.
    type(again.from, "2026-09-01");
    type(again.targets[0], "04:00");
    ASSERT_EQ(worktime_edit_save(&again), 0);
    type(again.targets[0], "05:00");
    ASSERT_EQ(worktime_edit_save(&again), 0);
    type(again.from, "2026-10-01");
    type(again.absences, " ");
    ASSERT_EQ(worktime_edit_save(&again), 0);
    EXPECT_EQ(stored("Soll1"), "2026-04-01 8:00 8:00 8:00 8:00 6:00 0:00 0:00");
    EXPECT_EQ(stored("Soll2"), "2026-09-01 5:00 8:00 8:00 8:00 6:00 0:00 0:00");
    EXPECT_EQ(stored("Soll3"), "");
    EXPECT_EQ(stored("Abwesenheit"), ";");
    worktime_load(&present);
    EXPECT_EQ(present.absence_count, 0);
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(Worktime, ImpossibleValuesAreRefusedWithAMessageAndNotStored) {
    worktime present;
    worktime_load(&present);
    struct {
        int field; // 0 from, 1 a target, 2 begin, 3 opening, 4 absences
        const char *text;
        const char *message;
    } cases[] = {
        {0, "2026-02-29", "Ung\xFCltiges Datum f\xFCr g\xFCltig ab: 2026-02-29\n"},
        {1, "25:00", "Ung\xFCltige Sollzeit: 25:00\n"},
        {1, "  :30", "Ung\xFCltige Sollzeit:   :30\n"},
        {2, "2100-01-01", "Ung\xFCltiger Beginn des Saldos: 2100-01-01\n"},
        {3, "1,5",
         "Ung\xFCltiger \xDC"
         "bertrag: 1,5\n"},
        {4, "SEHR LANGES PROJEKT", "Ung\xFCltige Abwesenheitsprojekte: SEHR LANGES PROJEKT\n"},
    };
    for (const auto &c : cases) {
        worktime_fields f;
        worktime_edit_present(&present, &f);
        char *fields[] = {f.from, f.targets[2], f.begin, f.opening, f.absences};
        type(fields[c.field], c.text);
        EXPECT_EQ(worktime_edit_changed(&present, &f), 1) << c.text;
        EXPECT_EQ(worktime_edit_save(&f), -1) << c.text;
        ASSERT_FALSE(messages.warnings.empty());
        EXPECT_EQ(messages.warnings.back().substr(0, strlen(c.message)), c.message);
    }
    EXPECT_FALSE(file_there(dir.file("TORKKX.ini")));

    // A settings file that cannot be written is said, and the save fails.
    std::string unwritable = dir.file("fehlt/TORKKX.ini");
    settings_set_file(unwritable.c_str());
    worktime_fields f;
    worktime_edit_present(&present, &f);
    type(f.opening, "1:00");
    EXPECT_EQ(worktime_edit_save(&f), -1);
    EXPECT_EQ(messages.warnings.back(),
              "Kann Einstellungsdatei " + unwritable + " nicht schreiben.");
}

} // namespace
