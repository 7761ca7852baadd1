// kxcli's handheld commands as a user runs them: what they print, the messages and exit status.
#include "frame/path.h"
#include "handheld/pdb.h"
#include "tests/unit/cli_runner.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>

namespace {

struct PalmCli : ::testing::Test {
    TempDir dir;
    std::string saved_dir;
    void SetUp() override {
        char here[PATH_MAX_TEXT + 1];
        current_dir(here, sizeof here);
        saved_dir = here;
        change_dir(dir.path.c_str()); // kxcli builds the databases in its current directory
        make_dir(dir.file("backup").c_str());
        write_file(dir.file("kx.ini"),
                   "[Installation]\r\nUsePalm=1\r\nPalmBak=" + dir.path + "backup/\r\n");
    }
    void TearDown() override { change_dir(saved_dir.c_str()); }
    CliResult run(const std::string &arguments) {
        return run_kxcli("--ini \"" + dir.file("kx.ini") + "\" --workdir \"" + dir.path +
                         "\" --commondir \"" + dir.path + "\" --now \"2003-06-18 14:05\" " +
                         arguments);
    }
};

TEST_F(PalmCli, ImportPrintsRecordsReadAndLinesGained) {
    write_file(dir.file("2003.txt"), "2003-06-18  07:50   ---\n");
    ASSERT_EQ(pdb_build_begin(), 0);
    pdb_build_add("2003-06-18 08:30 KD4711     Besprechung");
    pdb_build_add("2003-06-18 07:50 ---        ");
    pdb_build_add("2004-01-02 08:00 P2         ");
    ASSERT_EQ(pdb_build_write(dir.file("backup/Zeiten.PDB").c_str()), 0);
    CliResult import = run("palm import");
    EXPECT_EQ(import.exit, 0);
    EXPECT_EQ(import.out, "2003.txt: 1 added, 1 duplicates skipped, 0 replaced (1 -> 2 lines)\n"
                          "2004.txt: 1 added, 0 duplicates skipped, 0 replaced (0 -> 1 lines)\n"
                          "records read: 3\n");
    EXPECT_EQ(import.err, "");
}

TEST_F(PalmCli, RecordsWithImpossibleDatesAreCountedUnreadable) {
    write_file(dir.file("2003.txt"), "2003-06-18  07:50   ---\n");
    ASSERT_EQ(pdb_build_begin(), 0);
    pdb_build_add("0001-00-00 08:30 KD4711     Schrott");
    pdb_build_add("2003-02-30 08:30 KD4711     ");
    pdb_build_add("2003-06-18 25:61 KD4711     ");
    pdb_build_add("2003-06-18 08:30 KD4711     gut");
    ASSERT_EQ(pdb_build_write(dir.file("backup/Zeiten.PDB").c_str()), 0);
    CliResult import = run("palm import");
    EXPECT_EQ(import.out, "2003.txt: 1 added, 0 duplicates skipped, 0 replaced (1 -> 2 lines)\n"
                          "records read: 1\n");
    EXPECT_EQ(import.err, "3 Eintr\xE4ge der Palmtop-Datei " + dir.file("backup/Zeiten.PDB") +
                              " sind besch\xE4"
                              "digt und fehlen.\n");
    EXPECT_FALSE(file_there(dir.file("0001.txt")));
}

TEST_F(PalmCli, BuildThenDump) {
    write_file(dir.file("Projekte.txt"), "KD4711          Kunde\r\n");
    CliResult built = run("palm build-projects");
    EXPECT_EQ(built.exit, 0);
    EXPECT_EQ(built.out, "Projekte.PDB: 2 records\n");
    CliResult dump = run("pdb dump Projekte.PDB");
    EXPECT_EQ(dump.exit, 0);
    EXPECT_EQ(dump.out.substr(0, 40), "name: Projekte\nattributes: 8\nversion: 1\n");
    EXPECT_NE(dump.out.find("created: 3138789900 2003-06-18 14:05:00\n"), std::string::npos);
    EXPECT_NE(dump.out.find("record 1: offset 125, attributes 0, id 1, 42 bytes: KD4711     "
                            "Kunde                         \n"),
              std::string::npos);
    EXPECT_EQ(run("pdb dump Fehlt.PDB").exit, 1);
}

TEST_F(PalmCli, InstallWithFilesOnlyNamesThem) {
    CliResult install = run("palm install --times");
    EXPECT_EQ(install.exit, 0);
    char path[PATH_MAX_TEXT + 1];
    current_dir(path, sizeof path);
    path_add_separator(path, sizeof path);
    EXPECT_EQ(install.err, "Bitte installieren Sie auf dem Handheld:\n" + std::string(path) +
                               "Zeiten.PDB\n\n\n");
    EXPECT_EQ(run("palm install").exit, 2);
}

TEST_F(PalmCli, CheckAnnouncesABackupOnce) {
    write_file(dir.file("backup/Zeiten.PDB"), "backup");
    EXPECT_EQ(run("palm check").out.substr(0, 20), "new handheld times: ");
    EXPECT_EQ(run("palm check").out, "no new handheld times\n");
}

} // namespace
