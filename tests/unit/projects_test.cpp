// The project file: line kinds, the template copy, the main list's order, and the dialog's
// editing rules with saving.
#include "frame/files.h"
#include "frame/text.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include "timerec/project_edit.h"
#include "timerec/projects.h"
#include "tests/unit/report_fixture.h"
#include <string.h>

namespace {

struct Projects : ReportTest {
    TempDir common;
    void SetUp() override {
        ReportTest::SetUp();
        text_copy_max(CommonDir, common.path.c_str(), DIRECTORY_MAX);
    }
    std::string project_file() const { return common.file("Projekte.txt"); }
    Lines main_list(int *result = nullptr) {
        project_list list = {};
        int filled = projects_fill_main_list(&list, dir.file("Muster.txt").c_str());
        if (result) *result = filled;
        Lines lines;
        for (int i = 0; i < list.count; i++) lines.push_back(list.lines[i].text);
        project_list_clear(&list);
        return lines;
    }
    void book(const char *project) {
        journal("2004", booking_line("2004-02-02", "08:00", "P1") +
                            booking_line("2004-02-02", "09:00", project) +
                            booking_line("2004-02-02", "10:00", "---"));
        journal_forget_file();
    }
};

TEST_F(Projects, LinesAreReadWithTheirKinds) {
    std::string long_line(120, 'L');
    write_file(project_file(), "; Kommentar\r\n Kunden\r\n\r\nP1\tText   \r\nP2  \r\n" + long_line +
                                   "\n\x1a"
                                   "after the end\n");
    project_list list = {};
    ASSERT_EQ(projects_read(&list, project_file().c_str()), 0);
    ASSERT_EQ(list.count, 6);
    Lines texts;
    for (int i = 0; i < list.count; i++) texts.push_back(list.lines[i].text);
    EXPECT_EQ(texts, (Lines{"; Kommentar", " Kunden", "", "P1      Text", "P2",
                            long_line.substr(0, PROJECT_LINE)}));
    std::vector<bool> entries;
    for (int i = 0; i < list.count; i++) entries.push_back(projects_is_entry(&list.lines[i]));
    EXPECT_EQ(entries, (std::vector<bool>{false, false, false, true, true, true}));
    project_list_clear(&list);
    EXPECT_EQ(projects_read(&list, common.file("none.txt").c_str()), -1);
}

TEST_F(Projects, TheLastBookedProjectComesOnTopByPrefix) {
    write_file(project_file(), "; 4711 ist ein Kommentar\r\n"
                               "4711           Haupt\r\n"
                               "K2             Anderes\r\n"
                               "4711-02        Teil\r\n"
                               " 4711 Ueberschrift\r\n");
    book("4711 Test");
    EXPECT_EQ(main_list(),
              (Lines{"4711           Haupt", "4711-02        Teil", "---", "4711           Haupt",
                     "K2             Anderes", "4711-02        Teil", " 4711 Ueberschrift"}));
    journal("2004", booking_line("2004-02-02", "08:00", "---"));
    journal_forget_file();
    EXPECT_EQ(main_list().front(), "---"); // nothing booked yet: nothing on top
    EXPECT_EQ(main_list().size(), 5u);
}

TEST_F(Projects, AMissingFileIsCopiedFromTheTemplate) {
    book("P1");
    write_file(dir.file("Muster.txt"), "P1              Muster\r\n");
    filetime_rec stamp = {103, 6, 18, 14, 5, 8};
    ASSERT_EQ(file_time_set(dir.file("Muster.txt").c_str(), &stamp), 0);
    EXPECT_EQ(main_list(), (Lines{"P1              Muster", "---", "P1              Muster"}));
    EXPECT_EQ(read_file(project_file()), "P1              Muster\r\n");
    filetime_rec copied;
    ASSERT_EQ(file_time_get(project_file().c_str(), &copied), 0);
    EXPECT_EQ(memcmp(&copied, &stamp, sizeof stamp), 0);
}

TEST_F(Projects, WithoutFileAndTemplateOnlyThePauseIsListed) {
    int result;
    EXPECT_EQ(main_list(&result), Lines{"---"});
    EXPECT_EQ(result, -1);
    EXPECT_EQ(messages.last_status(), "Projektdatei " + project_file() + " nicht gefunden.");
}

struct ProjectDialog : Projects {
    project_editor editor;
    void SetUp() override {
        Projects::SetUp();
        write_file(project_file(), "; Kunden\r\nP1              Eins\r\n Heading\r\n"
                                   "; Intern\r\nP2              Zwei\r\n; Ende\r\n");
        project_edit_open(&editor);
    }
    void TearDown() override { project_edit_close(&editor); }
    Lines entries() const {
        Lines lines;
        for (int i = 0; i < project_edit_count(&editor); i++)
            lines.push_back(project_edit_entry(&editor, i));
        return lines;
    }
    std::string shown() const {
        char id[PROJECT_FIELD + 1] = "<none>", description[PROJECT_FIELD + 1] = "<none>";
        project_edit_show(&editor, id, description);
        return std::string(id) + "|" + description;
    }
};

TEST_F(ProjectDialog, ShowsEveryLineButTheComments) {
    EXPECT_EQ(entries(), (Lines{"P1              Eins", " Heading", "P2              Zwei"}));
    EXPECT_EQ(editor.selected, 0);
    EXPECT_EQ(shown(), "P1|Eins");
    project_edit_select(&editor, 1);
    EXPECT_EQ(shown(), "Heading|");
    EXPECT_FALSE(editor.modified);
    EXPECT_FALSE(editor.saved);
}

TEST_F(ProjectDialog, TypingChangesTheSelectedEntry) {
    project_edit_select(&editor, 2);
    project_edit_update(&editor, "ABCDEFGHIJKLMNOPQR", "Neu");
    EXPECT_EQ(entries()[2], "ABCDEFGHIJKLMNO Neu");
    EXPECT_TRUE(editor.modified);
    EXPECT_EQ(shown(), "ABCDEFGHIJKLMNO|Neu");
    project_edit_load(&editor); // "Verwerfen"
    EXPECT_EQ(entries()[2], "P2              Zwei");
    EXPECT_FALSE(editor.modified);
    EXPECT_EQ(editor.selected, 0);
}

TEST_F(ProjectDialog, InsertAndDeleteKeepTheSelectionInPlace) {
    project_edit_select(&editor, 1);
    project_edit_insert(&editor);
    EXPECT_EQ(entries(), (Lines{"P1              Eins", "", " Heading", "P2              Zwei"}));
    EXPECT_EQ(editor.selected, 1);
    EXPECT_EQ(shown(), "|");
    EXPECT_FALSE(editor.modified);
    project_edit_select(&editor, 3);
    project_edit_delete(&editor);
    EXPECT_EQ(editor.selected, 2); // the deleted one was last
    project_edit_delete(&editor);
    project_edit_delete(&editor);
    project_edit_delete(&editor);
    EXPECT_EQ(project_edit_count(&editor), 0);
    EXPECT_EQ(editor.selected, -1);
    EXPECT_EQ(shown(), "<none>|<none>");
    project_edit_update(&editor, "X", "typed into no entry");
    EXPECT_EQ(project_edit_count(&editor), 0);
    project_edit_insert(&editor); // on an empty list: appended, not selected
    EXPECT_EQ(entries(), Lines{""});
    EXPECT_EQ(editor.selected, -1);
}

// Comments are never shown but stay where they stood, so saving from the dialog loses nothing
// that was written into the file by hand.
TEST_F(ProjectDialog, SavingWritesCrLfAndKeepsTheComments) {
    project_edit_select(&editor, 0);
    project_edit_delete(&editor);
    project_edit_insert(&editor);
    project_edit_update(&editor, "P3", "Drei");
    ASSERT_EQ(project_edit_save(&editor), 0);
    EXPECT_EQ(read_file(project_file()), "; Kunden\r\nP3              Drei\r\n Heading\r\n"
                                         "; Intern\r\nP2              Zwei\r\n; Ende\r\n");
    EXPECT_FALSE(editor.modified);
    EXPECT_TRUE(editor.saved);
    EXPECT_FALSE(file_there(project_file() + ".new"));
}

TEST_F(ProjectDialog, AFileThatCannotBeWrittenIsReportedAndNothingChanges) {
    project_edit_update(&editor, "P9", "");
    text_copy_max(CommonDir, (common.path + "missing/").c_str(), DIRECTORY_MAX);
    EXPECT_EQ(project_edit_save(&editor), -1);
    EXPECT_EQ(messages.warnings,
              Lines{"Kann Projektdatei " + common.path + "missing/Projekte.txt nicht schreiben."});
    EXPECT_TRUE(editor.modified);
    EXPECT_FALSE(editor.saved);
}

} // namespace

namespace {

// A project file that is there but could not be read is never replaced by the empty list the
// dialog then shows.
TEST_F(ProjectDialog, AFileThatCouldNotBeReadIsNotOverwritten) {
    std::string before;
    for (int i = 0; i < 100; i++) before += "P" + std::to_string(i) + "\r\n";
    write_file(project_file(), before);
    fmalloc_inject_failures(2); // the read buffer, then the growing list of lines
    project_edit_load(&editor);
    fmalloc_inject_failures(0);
    EXPECT_EQ(project_edit_count(&editor), 0);
    project_edit_insert(&editor);
    EXPECT_EQ(project_edit_save(&editor), -1);
    EXPECT_EQ(messages.warnings.size(), 1u);
    EXPECT_EQ(read_file(project_file()), before);
    project_edit_load(&editor);
    EXPECT_EQ(project_edit_count(&editor), 100);
    EXPECT_EQ(project_edit_save(&editor), 0);
}

} // namespace

namespace {

// Someone else saving the shared file while the dialog shows it: a change of size, of time or
// of its existence is seen; the dialog's own save is not.
TEST_F(ProjectDialog, AChangeByAnotherUserIsSeenButNotTheDialogsOwnSave) {
    EXPECT_EQ(project_edit_changed_since_read(&editor), 0);
    project_edit_update(&editor, "P1", "Eins neu");
    ASSERT_EQ(project_edit_save(&editor), 0);
    EXPECT_EQ(project_edit_changed_since_read(&editor), 0);

    filetime_rec saved;
    ASSERT_EQ(file_time_get(project_file().c_str(), &saved), 0);
    std::string same_size = read_file(project_file());
    same_size[0] = '#';
    write_file(project_file(), same_size);
    file_time_set(project_file().c_str(), &saved);
    EXPECT_EQ(project_edit_changed_since_read(&editor), 0); // neither size nor time tell
    filetime_rec later = saved;
    later.minute = (unsigned char)((later.minute + 1) % 60);
    file_time_set(project_file().c_str(), &later);
    EXPECT_EQ(project_edit_changed_since_read(&editor), 1);
    project_edit_load(&editor);
    EXPECT_EQ(project_edit_changed_since_read(&editor), 0);

    write_file(project_file(), same_size + "P3\r\n");
    file_time_set(project_file().c_str(), &later);
    EXPECT_EQ(project_edit_changed_since_read(&editor), 1); // the size alone

    file_delete(project_file().c_str());
    project_edit_load(&editor);
    EXPECT_EQ(project_edit_changed_since_read(&editor), 0);
    write_file(project_file(), "P4\r\n");
    EXPECT_EQ(project_edit_changed_since_read(&editor), 1); // created meanwhile
}

} // namespace
