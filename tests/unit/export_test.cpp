// Export of working times: when it refuses, the file byte for byte, and what an export replaces.
#include "frame/text.h"
#include "timerec/directories.h"
#include "timerec/statalk.h"
#include "tests/unit/report_fixture.h"

namespace {

struct Export : ReportTest {
    TempDir export_dir;
    void SetUp() override {
        ReportTest::SetUp();
        text_copy_max(ExportDir, export_dir.path.c_str(), DIRECTORY_MAX);
        text_copy_max(Person, "ABC", PERSON_MAX);
        statalk_alloc();
    }
    void TearDown() override { statalk_free(); }
    int run(const char *year = "2003", std::string *path = nullptr) {
        char written[300];
        int result = statalk_export(year, "01-01", "12-31", written, sizeof written);
        if (path) *path = written;
        return result;
    }
};

TEST_F(Export, RefusesWithoutFolderOrIdentifier) {
    struct {
        const char *folder, *person;
        int outcome;
        bool message;
    } cases[] = {
        {"", "ABC", EXPORT_OFF, false},      {"  ", "ABC", EXPORT_OFF, false},
        {"x/", "---", EXPORT_OFF, false},    {"x/", "?", EXPORT_REFUSED, true},
        {"x/", "A?B", EXPORT_REFUSED, true}, {"x/", "", EXPORT_REFUSED, true},
        {"x/", "  ", EXPORT_REFUSED, true},  {"x/", "ABC", EXPORT_GO, false},
    };
    for (const auto &c : cases) {
        text_copy_max(ExportDir, c.folder, DIRECTORY_MAX);
        text_copy_max(Person, c.person, PERSON_MAX);
        messages.warnings.clear();
        EXPECT_EQ(statalk_export_check(), c.outcome) << c.folder << "|" << c.person;
        EXPECT_EQ(messages.warnings,
                  c.message ? Lines{"In den Einstellungen ist keine Exportkennung angegeben."}
                            : Lines{})
            << c.person;
    }
}

TEST_F(Export, TheFileByteForByte) {
    journal(
        "2003",
        booking_line("2003-03-03", "08:00", "KD 4711") + booking_line("2003-03-03", "12:00", "KD") +
            booking_line("2003-03-03", "12:30", "---") + booking_line("2003-12-30", "08:00", "X") +
            booking_line("2003-12-30", "12:00", "---") + booking_line("2003-01-02", "09:00", "X") +
            booking_line("2003-01-02", "09:15", "---"));
    std::string path;
    EXPECT_EQ(run("2003", &path), 1);
    EXPECT_EQ(path, export_dir.path + "2003ABC.txt");
    EXPECT_EQ(read_file(path), "2003  ABC        8.8  S \r\n"
                               "2003  ABC        4.5  T KD\r\n"
                               "2003  ABC        4.0  T KD 4711\r\n"
                               "2003  ABC        4.3  T X\r\n"
                               "2003  ABC        0.3  M 01\r\n"
                               "2003  ABC        4.5  M 03\r\n"
                               "2003  ABC        4.0  M 12\r\n"
                               "2003  ABC        0.3  W 01\r\n"
                               "2003  ABC        4.5  W 10\r\n"
                               "2003  ABC        4.0  W 53\r\n");
    EXPECT_FALSE(file_there(path + ".new"));
}

TEST_F(Export, LongYearAndIdentifierAreNotCut) {
    text_copy_max(Person, "ABCDEFGHIJ", PERSON_MAX);
    journal("2003",
            booking_line("2003-03-03", "08:00", "KD") + booking_line("2003-03-03", "16:30", "---"));
    std::string path;
    EXPECT_EQ(run("2003", &path), 1);
    EXPECT_EQ(read_file(path).substr(0, 30), "2003  ABCDEFGHIJ     8.5  S \r\n");
}

TEST_F(Export, NothingCountedLeavesAnOlderFileAlone) {
    journal("2003", booking_line("2003-03-03", "08:00", "---"));
    write_file(export_dir.file("2003ABC.txt"), "older");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(read_file(export_dir.file("2003ABC.txt")), "older");
    EXPECT_EQ(run("2002"), -1); // no year file
    EXPECT_FALSE(file_there(export_dir.file("2002ABC.txt")));
}

TEST_F(Export, TheYearEnteredNamesTheFileAndAnExportReplacesIt) {
    journal("2002",
            booking_line("2002-03-04", "08:00", "KD") + booking_line("2002-03-04", "09:00", "---"));
    write_file(export_dir.file("2002ABC.txt"), std::string(5000, 'o'));
    std::string path;
    EXPECT_EQ(run("2002", &path), 1);
    EXPECT_EQ(read_file(path).substr(0, 26), "2002  ABC        1.0  S \r\n");
    EXPECT_EQ(read_file(path).size(), 26u + 3 * 28); // no byte of the older file is left
}

TEST_F(Export, AFileThatCannotBeWrittenIsReported) {
    journal("2003",
            booking_line("2003-03-03", "08:00", "KD") + booking_line("2003-03-03", "09:00", "---"));
    text_copy_max(ExportDir, (export_dir.path + "missing/").c_str(), DIRECTORY_MAX);
    std::string path;
    EXPECT_EQ(run("2003", &path), -1);
    EXPECT_EQ(messages.warnings, Lines{"Kann Exportdatei " + path + " nicht schreiben."});
}

} // namespace
