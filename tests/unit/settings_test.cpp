// Settings files: the profile text format, values read and written in both builds, and the
// directory values loaded from section "Installation".
#include "frame/profile.h"
#include "frame/settings.h"
#include "tests/unit/test_support.h"
#include "timerec/directories.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>

namespace {

std::string found(const std::string &text, const char *section, const char *key) {
    char out[80];
    return profile_find(text.data(), text.size(), section, key, out, sizeof out) == 0 ? out
                                                                                      : "<missing>";
}

std::string set(const std::string &text, const char *section, const char *key, const char *value) {
    char out[1000];
    long length = profile_set(text.data(), text.size(), section, key, value, out, sizeof out);
    return length < 0 ? "<too long>" : std::string(out, (size_t)length);
}

TEST(Profile, FindsValuesWithoutCaseAndBlanks) {
    std::string text = "; comment=no\r\n"
                       "[Global]\r\nWorkDir=global\r\n"
                       " [ installation ] \r\n"
                       "  workdir  =  C:\\Zeit\\  \r\n"
                       "Person=\"AB\"\r\n"
                       "Quoted='x\r\n"
                       "NoValue\r\n"
                       "[Other]\r\nPerson=other\r\n";
    EXPECT_EQ(found(text, "Installation", "WorkDir"), "C:\\Zeit\\");
    EXPECT_EQ(found(text, "INSTALLATION", "person"), "AB");
    EXPECT_EQ(found(text, "Installation", "Quoted"), "'x");
    EXPECT_EQ(found(text, "Installation", "NoValue"), "<missing>");
    EXPECT_EQ(found(text, "Installation", "; comment"), "<missing>");
    EXPECT_EQ(found(text, "Missing", "Person"), "<missing>");
    EXPECT_EQ(found(text, "Other", "Person"), "other");
}

TEST(Profile, SettingKeepsEverythingElse) {
    std::string text = "[Global]\r\nMainWindow=0 1 2\r\n\r\n[Installation]\r\nWorkDir=old\r\n"
                       "Person=AB\r\n\r\n[Other]\nx=1\n";
    EXPECT_EQ(set(text, "installation", "WORKDIR", "new"),
              "[Global]\r\nMainWindow=0 1 2\r\n\r\n[Installation]\r\nWORKDIR=new\r\n"
              "Person=AB\r\n\r\n[Other]\nx=1\n");
    EXPECT_EQ(set(text, "Installation", "LastWeek", "49"),
              "[Global]\r\nMainWindow=0 1 2\r\n\r\n[Installation]\r\nWorkDir=old\r\n"
              "Person=AB\r\nLastWeek=49\r\n\r\n[Other]\nx=1\n");
    EXPECT_EQ(set("[A]\nk=v", "B", "Key", "Value"), "[A]\nk=v\r\n[B]\r\nKey=Value\r\n");
    EXPECT_EQ(set("", "B", "Key", ""), "[B]\r\nKey=\r\n");
    EXPECT_EQ(set("[B]", "B", "Key", "1"), "[B]\r\nKey=1\r\n");
}

TEST(Profile, HostileTextsStayInBounds) {
    std::string text = std::string("[\0]\n=\n[[]]\n[Installation\n=x\n", 28) +
                       std::string(5000, '[') + "\nPerson=" + std::string(200, 'p');
    EXPECT_EQ(found(text, "Installation", "Person"), "<missing>");
    char out[4];
    EXPECT_EQ(profile_find("[a]\nk=long value", 16, "a", "k", out, sizeof out), 0);
    EXPECT_STREQ(out, "lon");
    EXPECT_EQ(profile_set("[a]\n", 4, "a", "k", "v", out, sizeof out), -1);
}

struct Settings : ::testing::Test {
    TempDir dir;
    void SetUp() override { settings_set_file(dir.file("TORKKX.ini").c_str()); }
    void TearDown() override { settings_set_file(""); }
};

TEST_F(Settings, WrittenValuesReadBackAndLeaveOthersAlone) {
    write_file(dir.file("TORKKX.ini"), "[Global]\r\nMainWindow=0 1 -1 -1 -1 -1 10 10 600 400\r\n"
                                       "[Installation]\r\nPerson=XY\r\n");
    EXPECT_EQ(settings_write("Installation", "WorkDir", "D:\\Zeit\\"), 0);
    EXPECT_EQ(settings_write_int("installation", "LastWeek", 49), 0);
    EXPECT_EQ(settings_write("Installation", "person", "AB"), 0);
    char value[SETTINGS_VALUE];
    settings_read("INSTALLATION", "workdir", value);
    EXPECT_STREQ(value, "D:\\Zeit\\");
    settings_read("Installation", "Person", value);
    EXPECT_STREQ(value, "AB");
    EXPECT_EQ(settings_read_int("Installation", "LastWeek"), 49);
    settings_read("Global", "MainWindow", value);
    EXPECT_STREQ(value, "0 1 -1 -1 -1 -1 10 10 600 400");
    std::string content = read_file(dir.file("TORKKX.ini"));
    EXPECT_EQ(content.find("[Installation]"), content.rfind("[Installation]"));
}

TEST_F(Settings, IntegersAndMissingKeys) {
    settings_write("S", "digits", "12abc");
    settings_write("S", "signed", "  -7");
    settings_write("S", "huge", "99999999999999999999");
    EXPECT_EQ(settings_read_int("S", "digits"), 12);
    EXPECT_EQ(settings_read_int("S", "signed"), -7);
    EXPECT_EQ(settings_read_int("S", "missing"), 0);
    EXPECT_EQ(settings_read_int("S", "huge"), 2147483647);
    char value[SETTINGS_VALUE];
    settings_read("S", "missing", value);
    EXPECT_STREQ(value, "");
}

TEST_F(Settings, LongValuesArriveCut) {
    std::string long_value(150, 'v');
    settings_write("S", "long", long_value.c_str());
    char value[SETTINGS_VALUE + 8];
    memset(value, 'x', sizeof value);
    settings_read("S", "long", value);
    EXPECT_EQ(strlen(value), (size_t)SETTINGS_VALUE - 1);
    EXPECT_EQ(value[SETTINGS_VALUE], 'x');
}

TEST_F(Settings, DirectoriesComeFromSectionInstallation) {
    directories_load();
    std::string program_folder = WorkDir;
    EXPECT_FALSE(program_folder.empty());
    EXPECT_STREQ(CommonDir, WorkDir);
    EXPECT_STREQ(ExportDir, WorkDir);
    EXPECT_STREQ(Person, "?");
    write_file(dir.file("TORKKX.ini"), "[Installation]\r\nWorkDir=D:\\Zeit\r\nExportDir=\r\n"
                                       "Person=ABCDEFGHIJKLMNOP\r\n");
    directories_load();
    EXPECT_STREQ(WorkDir, "D:\\Zeit"); // taken as it stands, without a final separator
    EXPECT_EQ(std::string(CommonDir), program_folder);
    EXPECT_EQ(std::string(ExportDir), program_folder);
    EXPECT_STREQ(Person, "ABCDEFGHIJKL");
}

} // namespace
