// The directory settings dialog's rules: what its fields store, when they count as changed, and
// a settings file that cannot be written.
#include "frame/settings.h"
#include "frame/text.h"
#include "timerec/directories_edit.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct DirectoryFields : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    directory_fields fields;
    void SetUp() override {
        settings_set_file(dir.file("TORKKX.ini").c_str());
        text_copy_max(WorkDir, "C:/Zeit/", DIRECTORY_MAX);
        text_copy_max(CommonDir, "S:\\Team\\", DIRECTORY_MAX);
        text_copy_max(ExportDir, "E:/", DIRECTORY_MAX);
        text_copy_max(Person, "AB", PERSON_MAX);
        directories_edit_present(&fields);
    }
    void TearDown() override { settings_set_file(""); }
    static std::string stored(const char *key) {
        char value[SETTINGS_VALUE];
        settings_read("Installation", key, value);
        return value;
    }
    void type(char *field, const char *text) { text_copy_max(field, text, DIRECTORY_FIELD); }
};

TEST_F(DirectoryFields, SavingTrimsAppendsTheSeparatorKeepsShortFoldersAndCutsThePerson) {
    type(fields.work, "  D:\\Daten\\Zeit  ");
    type(fields.common, " ");
    type(fields.export_dir, "X");
    type(fields.person, " ABCDEFGHIJKLMN");
    ASSERT_EQ(directories_edit_save(&fields), 0);
    EXPECT_STREQ(WorkDir, "D:\\Daten\\Zeit/");
    EXPECT_STREQ(CommonDir, "S:\\Team\\");
    EXPECT_STREQ(ExportDir, "E:/");
    EXPECT_STREQ(Person, "ABCDEFGHI"); // the first ten characters, then trimmed
    EXPECT_EQ(stored("WorkDir"), "D:\\Daten\\Zeit/");
    EXPECT_EQ(stored("CommonDir"), "S:\\Team\\");
    EXPECT_EQ(stored("ExportDir"), "E:/");
    EXPECT_EQ(stored("Person"), "ABCDEFGHI");

    type(fields.person, "");
    ASSERT_EQ(directories_edit_save(&fields), 0);
    EXPECT_STREQ(Person, ""); // an empty identifier is taken too
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(DirectoryFields, OnlyWhatSavingWouldChangeCountsAsAChange) {
    EXPECT_EQ(directories_edit_changed(&fields), 0);
    type(fields.work, "D:\\Neu");
    EXPECT_EQ(directories_edit_changed(&fields), 1);
    type(fields.person, "ABCDEFGHIJKL");
    ASSERT_EQ(directories_edit_save(&fields), 0);
    // The fields as typed, after the save: the appended "/" and the cut are no change.
    EXPECT_EQ(directories_edit_changed(&fields), 0);

    type(fields.common, ""); // saving keeps the folder
    EXPECT_EQ(directories_edit_changed(&fields), 0);
    type(fields.person, "ABCDEFGHIJ ");
    EXPECT_EQ(directories_edit_changed(&fields), 0);
    type(fields.person, "ABCDEFGHI");
    EXPECT_EQ(directories_edit_changed(&fields), 1);

    // A folder read from the file without separator is no change as it stands.
    text_copy_max(ExportDir, "E:\\Export", DIRECTORY_MAX);
    directories_edit_present(&fields);
    EXPECT_EQ(directories_edit_changed(&fields), 0);
}

TEST_F(DirectoryFields, ASettingsFileThatCannotBeWrittenKeepsThePresentValues) {
    settings_set_file((dir.path + "missing/TORKKX.ini").c_str());
    type(fields.work, "D:/Neu/");
    EXPECT_EQ(directories_edit_save(&fields), -1);
    EXPECT_EQ(messages.warnings, std::vector<std::string>{"Kann Einstellungsdatei " + dir.path +
                                                          "missing/TORKKX.ini nicht schreiben."});
    EXPECT_STREQ(WorkDir, "C:/Zeit/");
    EXPECT_EQ(directories_edit_changed(&fields), 1);
    EXPECT_EQ(directories_edit_save(&fields), -1); // reported at every attempt
    EXPECT_EQ(messages.warnings.size(), 2u);
}

} // namespace
