// The exchange with the handheld: record layouts both ways, taking over backed-up times into the
// year files, building the databases, the installation modes and the backup check.
#include "frame/files.h"
#include "frame/path.h"
#include "frame/settings.h"
#include "frame/system.h"
#include "frame/text.h"
#include "handheld/palm.h"
#include "handheld/palm_merge_report.h"
#include "handheld/palm_setup.h"
#include "handheld/pdb.h"
#include "timerec/directories.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>

namespace {

TEST(PalmRecords, TimeRecordsBecomeJournalLines) {
    const struct {
        const char *record, *line;
    } cases[] = {
        {"2003-06-18 08:30 KD4711     Besprechung",
         "2003-06-18  08:30   KD4711              Besprechung"},
        {"2003-06-18 08:30 KD4711     ", "2003-06-18  08:30   KD4711"}, // 28 characters: no text
        {"2003-06-18 08:30 KD4711     X", "2003-06-18  08:30   KD4711              X"},
        {"2003-06-18 17:00 ---        ", "2003-06-18  17:00   ---"},
        {"2003-06-18 09:00 P1         a\nb\r\x1a"
         "c",
         "2003-06-18  09:00   P1                  a b  c"},
        {"2003", "2003"},
        {"", ""},
    };
    for (const auto &c : cases) {
        char line[PALM_LINE_MAX];
        palm_record_to_line(line, c.record);
        EXPECT_STREQ(line, c.line) << c.record;
    }
    // A record longer than the 100-byte record buffer is cut there.
    std::string record = "2003-06-18 08:30 P1         " + std::string(200, 't');
    char line[PALM_LINE_MAX];
    palm_record_to_line(line, record.c_str());
    EXPECT_EQ(std::string(line), "2003-06-18  08:30   P1                  " + std::string(71, 't'));
}

TEST(PalmRecords, JournalLinesBecomeTimeRecords) {
    const struct {
        const char *line, *record;
    } cases[] = {
        {"2003-06-18  08:30   KD4711              Besprechung",
         "2003-06-18 08:30 KD4711     Besprechung"},
        {"2003-06-18  08:30   ABCDEFGHIJKLMNO     Text", "2003-06-18 08:30 ABCDEFGHIJ Text"},
        {"2003-06-18  17:00   ---", "2003-06-18 17:00 ---        "},
        {"2003-06-18  08:30   P1                  "
         "012345678901234567890123456789012345678 xyz",
         "2003-06-18 08:30 P1         012345678901234567890123456789012345678"},
        {"  2003-06-18  08:30   P1\t\t\tNotiz  ", "2003-06-18 08:30 P1         Notiz"},
    };
    for (const auto &c : cases) {
        char record[PALM_LINE_MAX];
        palm_line_to_record(record, c.line);
        EXPECT_STREQ(record, c.record) << c.line;
    }
}

TEST(PalmRecords, ProjectRecords) {
    const struct {
        const char *line, *record;
    } cases[] = {
        {"KD4711          Kunde Dietrich", "KD4711     Kunde Dietrich                "},
        {"ABCDEFGHIJKLMNO Fuenfzehn Zeichen", "ABCDEFGHIJ Fuenfzehn Zeichen             "},
        {"KURZ", "KURZ       "},
        {"1234567890123456", "1234567890 "},
        {"P1              dddddddddddddddddddddddddddddddddddddddd",
         "P1         dddddddddddddddddddddddddddddd"},
    };
    for (const auto &c : cases) {
        char record[PALM_LINE_MAX];
        palm_project_record(record, c.line);
        EXPECT_STREQ(record, c.record) << c.line;
    }
}

void note_year(const journal_merge_year *year, void *context) {
    (*(std::vector<journal_merge_year> *)context).push_back(*year);
}

struct Palm : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    std::string work, backup, saved_dir;
    void SetUp() override {
        set_now(2003, 6, 18, 14, 5);
        settings_set_file(dir.file("TORKKX.ini").c_str());
        work = dir.file("work/");
        backup = dir.file("backup/");
        use_work_dir(work);
        text_copy_max(CommonDir, dir.path.c_str(), DIRECTORY_MAX);
        make_dir(backup.c_str());
        settings_write(SETTINGS_SECTION, "PalmBak", backup.c_str());
        char here[PATH_MAX_TEXT + 1];
        current_dir(here, sizeof here);
        saved_dir = here;
        change_dir(dir.path.c_str());
        palm_backup_check_rearm();
    }
    void TearDown() override {
        change_dir(saved_dir.c_str());
        settings_set_file("");
    }
    std::string here(const std::string &name) {
        char path[PATH_MAX_TEXT + 1];
        palm_local_path(path, sizeof path, name.c_str());
        return path;
    }
    void write_database(const std::string &path, const std::vector<std::string> &records) {
        ASSERT_EQ(pdb_build_begin(), 0);
        for (const std::string &record : records) pdb_build_add(record.c_str());
        ASSERT_EQ(pdb_build_write(path.c_str()), 0);
    }
    std::vector<std::string> records_of(const std::string &path) {
        std::vector<std::string> records;
        int count = pdb_open(path.c_str());
        for (int i = 0; i < count; i++) {
            char record[PALM_RECORD_BUFFER];
            pdb_read_record(i, record, sizeof record);
            records.push_back(record);
        }
        pdb_close();
        return records;
    }
};

TEST_F(Palm, TakeOverMergesEveryYearAndTwiceChangesNothing) {
    write_database(backup + "Zeiten.PDB",
                   {"2003-06-18 08:30 KD4711     Besprechung", "2003-06-18 12:00 ---        ",
                    "2004-01-02 08:00 P2         "});
    make_dir(work.c_str());
    write_file(work + "2003.txt", "2003-06-18  07:50   ---\n2003-06-18  08:30   ALT\n");
    palm_conversion conversion;
    std::vector<journal_merge_year> years;
    EXPECT_EQ(palm_take_over(&conversion, note_year, &years), 2);
    EXPECT_EQ(conversion.records, 3);
    EXPECT_EQ(read_file(work + "2003.txt"), "2003-06-18  07:50   ---\n"
                                            "2003-06-18  08:30   KD4711              Besprechung\n"
                                            "2003-06-18  12:00   ---\n");
    EXPECT_EQ(read_file(work + "2004.txt"), "2004-01-02  08:00   P2\n");
    ASSERT_EQ(years.size(), 2u);
    EXPECT_EQ(years[0].lines_before, 2);
    EXPECT_EQ(years[0].lines_after, 3);

    std::string once = read_file(work + "2003.txt");
    years.clear();
    EXPECT_EQ(palm_take_over(&conversion, note_year, &years), 2);
    EXPECT_EQ(read_file(work + "2003.txt"), once);
    EXPECT_EQ(years[0].lines_after, years[0].lines_before);
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(Palm, MissingBackupTakesOverNothingSilently) {
    palm_conversion conversion;
    EXPECT_EQ(palm_take_over(&conversion, nullptr, nullptr), 0);
    EXPECT_EQ(conversion.state, PALM_NO_BACKUP);
    EXPECT_EQ(read_file(work + "Zeiten.txt"), "");
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(Palm, DamagedBackupTakesOverNothingAndSaysSo) {
    make_dir(work.c_str());
    write_file(work + "2003.txt", "2003-06-18  07:50   ---\n");
    std::string header(PDB_HEADER, '\0');
    header[77] = 5; // five records, but no record list
    write_file(backup + "Zeiten.PDB", header + "2003-06-18 08:30 P1");
    palm_conversion conversion;
    EXPECT_EQ(palm_take_over(&conversion, nullptr, nullptr), -1);
    EXPECT_EQ(conversion.state, PALM_DAMAGED);
    EXPECT_EQ(read_file(work + "2003.txt"), "2003-06-18  07:50   ---\n");
    EXPECT_EQ(read_file(work + "Zeiten.txt"), "");
    EXPECT_EQ(messages.warnings, std::vector<std::string>{"Palmtop-Datei " + backup +
                                                          "Zeiten.PDB ist besch\344digt, nichts "
                                                          "\374bernommen."});
}

TEST_F(Palm, RecordsOutsideTheFileAreLeftOutAndCounted) {
    write_database(backup + "Zeiten.PDB", {"2003-06-18 08:30 P1         ", "2003-06-18 09:00 ---"});
    std::string bytes = read_file(backup + "Zeiten.PDB");
    bytes[PDB_HEADER + 8 + 1] = 0x7f; // second record's offset far beyond the end
    write_file(backup + "Zeiten.PDB", bytes);
    palm_conversion conversion;
    EXPECT_EQ(palm_take_over(&conversion, nullptr, nullptr), 1);
    EXPECT_EQ(conversion.records, 1);
    EXPECT_EQ(conversion.unreadable, 1);
    EXPECT_EQ(read_file(work + "2003.txt"), "2003-06-18  08:30   P1\n");
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>{"1 Eintr\344ge der Palmtop-Datei " + backup +
                                       "Zeiten.PDB sind besch\344digt und fehlen."});
}

TEST_F(Palm, BuildsTimesOfTheCurrentYearFile) {
    make_dir(work.c_str());
    write_file(work + "2003.txt", "2003-06-18  08:30   ABCDEFGHIJKLMNO     Besprechung\r\n"
                                  "\n   \n2003-06-18  12:00   ---\n");
    EXPECT_EQ(palm_build_times(), 2);
    EXPECT_EQ(records_of(here("Zeiten.PDB")),
              (std::vector<std::string>{"2003-06-18 08:30 ABCDEFGHIJ Besprechung",
                                        "2003-06-18 12:00 ---        "}));
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(Palm, BuildSaysHowManyRecordsItLeftOut) {
    make_dir(work.c_str());
    std::string lines;
    // Records of 29 bytes: the data area is full after 2035 of them.
    for (int i = 0; i < 2040; i++) lines += "2003-06-18  08:30   P1\n";
    write_file(work + "2003.txt", lines);
    EXPECT_EQ(palm_build_times(), 2035);
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>{"5 Eintr\344ge passen nicht in " + here("Zeiten.PDB") +
                                       " und fehlen dort."});
}

// A busy year holds far more bookings than the database: the handheld gets the latest ones, in
// the year file's order, and the message counts the earlier ones left out.
TEST_F(Palm, BuildKeepsTheLatestBookingsOfABusyYear) {
    make_dir(work.c_str());
    std::string lines;
    std::vector<std::string> records;
    for (int day = 0; day < 365 && records.size() < 4000; day++) {
        char date[11];
        snprintf(date, sizeof date, "2003-%02d-%02d", 1 + day / 31 % 12, 1 + day % 28);
        for (int hour = 8; hour < 19; hour++) {
            char line[80], record[80];
            snprintf(line, sizeof line, "%-12.10s%02d:00   %-20.15sTag %d", date, hour, "KD4711",
                     day);
            snprintf(record, sizeof record, "%s %02d:00 KD4711     Tag %d", date, hour, day);
            lines += std::string(line) + (hour == 12 ? "\n  \n" : "\n");
            records.push_back(record);
        }
    }
    write_file(work + "2003.txt", lines);
    int written = palm_build_times();
    ASSERT_GT(written, 900);
    ASSERT_LT(written, (int)records.size());
    std::vector<std::string> latest(records.end() - written, records.end());
    std::vector<std::string> built = records_of(here("Zeiten.PDB"));
    EXPECT_EQ(built, latest);
    EXPECT_NE(built.front().substr(0, 7), "2003-01");
    // The database is full: one more of the records before would not have fitted.
    size_t bytes = 0;
    for (const std::string &record : built) bytes += record.size() + 1;
    EXPECT_GE(bytes - (built.back().size() + 1) + records[records.size() - written - 1].size() + 1,
              (size_t)PDB_DATA_FULL);
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>{std::to_string(records.size() - written) +
                                       " Eintr\344ge passen nicht in " + here("Zeiten.PDB") +
                                       " und fehlen dort."});
}

TEST_F(Palm, YearFileThatCannotBeReadBuildsNothing) {
    make_dir(work.c_str());
    make_dir((work + "2003.txt").c_str());
    EXPECT_EQ(palm_build_times(), -1);
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>{"Zeitendatei " + work + "2003.txt nicht gefunden."});
    EXPECT_FALSE(file_there(here("Zeiten.PDB")));
}

TEST_F(Palm, BuildsProjectsWithThePauseEntryFirst) {
    write_file(dir.file("Projekte.txt"), "; Kommentar\r\n\r\nKD4711          Kunde\r\n"
                                         "ABCDEFGHIJKLMNO Lang\r\nP2\tTab\r\n\x1a");
    EXPECT_EQ(palm_build_projects(), 4);
    EXPECT_EQ(records_of(here("Projekte.PDB")),
              (std::vector<std::string>{
                  "---        Pause/Arbeitsende", "KD4711     Kunde                         ",
                  "ABCDEFGHIJ Lang                          ", "P2      Ta "}));
    remove(dir.file("Projekte.txt").c_str());
    EXPECT_EQ(palm_build_projects(), -1);
    EXPECT_EQ(messages.warnings, std::vector<std::string>{"Projektdatei " + dir.path +
                                                          "Projekte.txt nicht gefunden."});
}

TEST(PalmExchange, PresetStepsByReason) {
    const struct {
        int mode;
        palm_steps steps;
    } cases[] = {
        {PALM_OPEN_MENU, {1, 0, 1}},
        {PALM_OPEN_NEW_TIMES, {1, 0, 0}},
        {PALM_OPEN_PROJECTS_EDITED, {0, 0, 1}},
    };
    for (const auto &c : cases) {
        palm_steps steps = {9, 9, 9};
        palm_exchange_preset(c.mode, &steps);
        EXPECT_EQ(steps.take_over, c.steps.take_over) << c.mode;
        EXPECT_EQ(steps.install_times, c.steps.install_times) << c.mode;
        EXPECT_EQ(steps.install_projects, c.steps.install_projects) << c.mode;
    }
}

// Switched off, only the menu's exchange says why nothing opens: the offer after the project
// list was edited must not pester someone who works without a handheld.
TEST_F(Palm, ExchangeSwitchedOffDoesNotOpen) {
    EXPECT_EQ(palm_exchange_allowed(), 0);
    EXPECT_EQ(palm_exchange_offered(PALM_OPEN_PROJECTS_EDITED), 0);
    EXPECT_EQ(palm_exchange_offered(PALM_OPEN_NEW_TIMES), 0);
    EXPECT_EQ(palm_exchange_offered(PALM_OPEN_MENU), 0);
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>(
                  2, "Der Palmtop-Abgleich ist in den Einstellungen nicht aktiviert."));
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_FILES_ONLY);
    EXPECT_EQ(palm_exchange_allowed(), 1);
    for (int mode : {PALM_OPEN_MENU, PALM_OPEN_NEW_TIMES, PALM_OPEN_PROJECTS_EDITED})
        EXPECT_EQ(palm_exchange_offered(mode), 1);
    EXPECT_EQ(messages.warnings.size(), 2u);
}

// The times taken over are in the times database built next; a missing project list is said
// and the install step still names what there is.
TEST_F(Palm, ExchangeRunsTheStepsInOrder) {
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_FILES_ONLY);
    write_database(backup + "Zeiten.PDB", {"2003-06-18 08:30 KD4711     vom Handheld"});
    make_dir(work.c_str());
    write_file(work + "2003.txt", "2003-06-18  07:50   ---\n");
    const palm_steps all = {1, 1, 1};
    EXPECT_EQ(palm_exchange_run(&all, nullptr, nullptr), -1);
    EXPECT_EQ(records_of(here("Zeiten.PDB")),
              (std::vector<std::string>{"2003-06-18 07:50 ---        ",
                                        "2003-06-18 08:30 KD4711     vom Handheld"}));
    EXPECT_EQ(messages.warnings, std::vector<std::string>{"Projektdatei " + dir.path +
                                                          "Projekte.txt nicht gefunden."});
    EXPECT_EQ(messages.infos,
              std::vector<std::string>{"Bitte installieren Sie auf dem Handheld:\n" +
                                       here("Zeiten.PDB") + "\n" + here("Projekte.PDB") + "\n"});
}

struct PalmInstall : Palm {
    std::string install;
    void SetUp() override {
        Palm::SetUp();
        install = dir.file("install/");
        make_dir(install.c_str());
        settings_write(SETTINGS_SECTION, "PalmIns", install.c_str());
        write_file(here("Zeiten.PDB"), "times");
        write_file(here("Projekte.PDB"), "projects");
        write_file(here("korvex.prc"), "program");
    }
};

TEST_F(PalmInstall, FilesOnlyNamesTheSelectedFiles) {
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_FILES_ONLY);
    EXPECT_EQ(palm_install(1, 1, 0), 0);
    EXPECT_EQ(messages.infos,
              std::vector<std::string>{"Bitte installieren Sie auf dem Handheld:\n" +
                                       here("Zeiten.PDB") + "\n" + here("Projekte.PDB") + "\n"});
    EXPECT_FALSE(file_there(install + "Zeiten.PDB"));
}

TEST_F(PalmInstall, OffDoesNothing) {
    for (int mode : {(int)PALM_OFF, 7, -1}) {
        settings_write_int(SETTINGS_SECTION, "UsePalm", mode);
        EXPECT_EQ(palm_install(1, 1, 1), 0);
    }
    EXPECT_TRUE(messages.infos.empty());
    EXPECT_TRUE(messages.warnings.empty());
    EXPECT_FALSE(file_there(install + "Zeiten.PDB"));
}

TEST_F(PalmInstall, DesktopThreeCopiesTheSelectedFiles) {
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_DESKTOP_3);
    EXPECT_EQ(palm_install(0, 1, 1), 0); // no registry value named: no flag to set
    EXPECT_FALSE(file_there(install + "Zeiten.PDB"));
    EXPECT_EQ(read_file(install + "Projekte.PDB"), "projects");
    EXPECT_EQ(read_file(install + "korvex.prc"), "program");
    EXPECT_TRUE(messages.warnings.empty());

    remove(here("Zeiten.PDB").c_str());
    EXPECT_EQ(palm_install(1, 0, 0), -1);
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>{"Kann " + here("Zeiten.PDB") + " nicht nach " + install +
                                       "Zeiten.PDB kopieren."});
}

// Copying into a blank install folder would copy each file onto itself and empty it.
TEST_F(PalmInstall, DesktopThreeNeverCopiesAFileOntoItself) {
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_DESKTOP_3);
    for (std::string folder : {std::string(""), dir.path}) {
        settings_write(SETTINGS_SECTION, "PalmIns", folder.c_str());
        EXPECT_EQ(palm_install(1, 1, 1), -1);
    }
    EXPECT_EQ(read_file(here("korvex.prc")), "program");
    EXPECT_EQ(messages.warnings.size(), 2u);
}

TEST_F(PalmInstall, RegistryAndProgramStartSayTheyNeedWindows) {
    if (system_services_available()) GTEST_SKIP() << "the Windows build sets and starts for real";
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_DESKTOP_3);
    settings_write(SETTINGS_SECTION, "PalmReg", "Install6");
    EXPECT_EQ(palm_install(1, 0, 0), -1);
    EXPECT_EQ(read_file(install + "Zeiten.PDB"), "times"); // the copy is still done
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_DESKTOP_4);
    settings_write(SETTINGS_SECTION, "Palm4QI", "C:/Palm/Quick Install.exe");
    EXPECT_EQ(palm_install(0, 1, 0), -1);
    std::string projects = here("Projekte.PDB");
    path_backslashes(&projects[0]);
    EXPECT_EQ(messages.warnings,
              (std::vector<std::string>{
                  "Registry-Eintrag nur unter Windows m\366glich:\n"
                  "Software\\U.S. Robotics\\Pilot Desktop\\HotSync Manager Install6",
                  "Programmstart nur unter Windows m\366glich:\n"
                  "\"C:\\Palm\\Quick Install.exe\"  " +
                      projects + " "}));
}

TEST(PalmStamp, TwelveUpperCaseHexDigits) {
    const filetime_rec time = {103, 6, 18, 14, 5, 9};
    char stamp[PALM_STAMP + 1];
    palm_stamp(stamp, &time);
    EXPECT_STREQ(stamp, "6706120E0509");
}

TEST_F(Palm, BackupCheckAnnouncesEachBackupOnce) {
    write_file(backup + "Zeiten.PDB", "backup");
    filetime_rec time = {103, 6, 18, 14, 5, 9};
    file_time_set((backup + "Zeiten.PDB").c_str(), &time);
    EXPECT_EQ(palm_backup_check(), 0); // exchange switched off
    settings_write_int(SETTINGS_SECTION, "UsePalm", PALM_DESKTOP_3);
    EXPECT_EQ(palm_backup_check(), 0); // only the first call of a run looks
    palm_backup_check_rearm();
    EXPECT_EQ(palm_backup_check(), 1); // empty PalmLast: the existing backup is new
    char last[SETTINGS_VALUE];
    settings_read(SETTINGS_SECTION, "PalmLast", last);
    EXPECT_STREQ(last, "6706120E0509");
    palm_backup_check_rearm();
    EXPECT_EQ(palm_backup_check(), 0); // the same backup in the next run
    time.minute = 6;
    file_time_set((backup + "Zeiten.PDB").c_str(), &time);
    palm_backup_check_rearm();
    EXPECT_EQ(palm_backup_check(), 1);
    remove((backup + "Zeiten.PDB").c_str());
    palm_backup_check_rearm();
    EXPECT_EQ(palm_backup_check(), 0);
}

} // namespace

namespace {

TEST(PalmSetup, DefaultLocationsOfTheHotSyncUser) {
    const struct {
        const char *user, *folder;
    } cases[] = {{"Mueller", "Mueller"}, {"M.Mueller", "M"}, {".abc", ".abc"},
                 {".a.b", ".a"},         {"", "?"},          {nullptr, "?"}};
    for (const auto &c : cases) {
        palm_setup fields = {2, "alt", "alt", "Install6", "alt"};
        palm_setup_defaults(&fields, c.user);
        std::string base = std::string("C:\\Programme\\Palm\\") + c.folder;
        EXPECT_EQ(fields.backup, base + "\\Backup\\") << c.folder;
        EXPECT_EQ(fields.install, base + "\\Install\\") << c.folder;
        EXPECT_STREQ(fields.program, "C:\\Programme\\Palm\\QuickInstall.exe");
        EXPECT_EQ(fields.mode, 2);
        EXPECT_STREQ(fields.flag, "Install6");
    }
}

// Folders are stored with a separator; what differs from the stored values only by it, or by the
// cut of the flag, is no change.
TEST_F(Palm, SetupSavesTheStoredFormAndKnowsWhenNothingChanged) {
    palm_setup fields = {PALM_DESKTOP_3, "C:\\Palm\\Backup", "", "", "C:\\Palm\\Q.exe"};
    snprintf(fields.flag, sizeof fields.flag, "%s", std::string(50, 'F').c_str());
    EXPECT_EQ(palm_setup_changed(&fields), 1);
    EXPECT_EQ(palm_setup_save(&fields), 0);
    palm_setup stored;
    palm_setup_load(&stored);
    EXPECT_EQ(stored.mode, PALM_DESKTOP_3);
    EXPECT_STREQ(stored.backup, "C:\\Palm\\Backup/");
    EXPECT_STREQ(stored.install, "");
    EXPECT_EQ(std::string(stored.flag), std::string(PALM_REG_NAME_MAX, 'F'));
    EXPECT_STREQ(stored.program, "C:\\Palm\\Q.exe");
    EXPECT_EQ(palm_setup_changed(&fields), 0);
    EXPECT_EQ(palm_setup_changed(&stored), 0);
    fields.mode = -1; // nothing chosen in the list
    EXPECT_EQ(palm_setup_changed(&fields), 0);
    for (auto field :
         {&palm_setup::backup, &palm_setup::install, &palm_setup::flag, &palm_setup::program}) {
        palm_setup edited = stored;
        snprintf(edited.*field, PALM_FIELD_MAX + 1, "X");
        EXPECT_EQ(palm_setup_changed(&edited), 1);
    }
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(Palm, SetupSaveThatCannotWriteSaysSoEveryTime) {
    make_dir(dir.file("ini").c_str());
    settings_set_file(dir.file("ini").c_str()); // a folder: no file can be written
    palm_setup fields = {PALM_FILES_ONLY, "", "", "", ""};
    EXPECT_EQ(palm_setup_save(&fields), -1);
    EXPECT_EQ(palm_setup_save(&fields), -1);
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>(2, "Kann Einstellungsdatei " + dir.file("ini") +
                                              " nicht schreiben."));
}

TEST_F(Palm, TakeOverReportsTheLinesAddedPerYear) {
    write_database(backup + "Zeiten.PDB",
                   {"2003-06-18 08:30 KD4711     Besprechung", "2004-01-02 08:00 P2         ",
                    "2004-01-02 09:00 ---        "});
    make_dir(work.c_str());
    write_file(work + "2003.txt", "2003-06-18  07:50   ---\n");
    palm_conversion conversion;
    palm_merge_report report;
    palm_merge_report_begin(&report);
    EXPECT_EQ(palm_take_over(&conversion, palm_merge_report_note, &report), 2);
    EXPECT_EQ(report.years, 2);
    EXPECT_STREQ(report.text, "Zeiten vom Palmtop \374bernommen:\n"
                              "2003.txt: 1 Zeile(n) hinzugef\374gt, jetzt 2\n"
                              "2004.txt: 2 Zeile(n) hinzugef\374gt, jetzt 2");
}

// A taken-over line that replaces the year file's line of the same date and time is added, though
// the file keeps its number of lines.
TEST_F(Palm, TakeOverReportCountsAReplacingLineAsAdded) {
    write_database(backup + "Zeiten.PDB", {"2003-06-18 08:30 KD4711     Besprechung"});
    make_dir(work.c_str());
    write_file(work + "2003.txt", "2003-06-18  07:50   ---\n2003-06-18  08:30   AB 1000\n");
    palm_conversion conversion;
    palm_merge_report report;
    palm_merge_report_begin(&report);
    EXPECT_EQ(palm_take_over(&conversion, palm_merge_report_note, &report), 1);
    EXPECT_STREQ(report.text, "Zeiten vom Palmtop \374bernommen:\n"
                              "2003.txt: 1 Zeile(n) hinzugef\374gt, jetzt 2");
}

} // namespace
