// Every writing operation run with its n-th write, sync, rename, truncate or allocation failing,
// n = 1, 2, 3, ... until it succeeds: afterwards each of the user's files holds its old or its
// complete new content, no temporary file is left, and a failure was told to the user.
#include "frame/fault.h"
#include "frame/path.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "handheld/palm.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include "timerec/project_edit.h"
#include "timerec/statalk.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <map>
#include <stdio.h>
#include <string>

namespace {

typedef std::map<std::string, std::string> Files;

// The folder's files but the lock files, which stay by design.
Files snapshot(const std::string &folder) {
    Files files;
    for (const std::string &name : files_in(folder))
        if (name.size() < 5 || name.compare(name.size() - 5, 5, ".lock") != 0)
            files[name] = read_file(folder + name);
    return files;
}

const std::string journal_text = "2026-12-07  08:00   KD4711              Kunde\n"
                                 "2026-12-07  12:00   ---\n"
                                 "2026-12-08  08:00   AB1000\n";

struct Faults : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    std::string saved_dir;
    static int injected, survived;
    void SetUp() override {
        char here[PATH_MAX_TEXT + 1];
        current_dir(here, sizeof here);
        saved_dir = here;
        change_dir(dir.path.c_str()); // the Palm databases are built in the current folder
        use_work_dir(dir.path);
        text_copy_max(CommonDir, dir.path.c_str(), DIRECTORY_MAX);
        text_copy_max(ExportDir, dir.path.c_str(), DIRECTORY_MAX);
        text_copy_max(Person, "BM", PERSON_MAX);
        settings_set_file(dir.file("kx.ini").c_str());
        set_now(2026, 12, 8, 9, 0);
    }
    void TearDown() override { change_dir(saved_dir.c_str()); }
    static void TearDownTestSuite() {
        printf("faults injected: %d, runs that failed and left old-or-new: %d\n", injected,
               survived);
    }
    // Puts the files of before in place (and removes all others but locks).
    void restore(const Files &before) {
        for (const auto &file : snapshot(dir.path))
            if (!before.count(file.first)) remove(dir.file(file.first).c_str());
        for (const auto &file : before) write_file(dir.file(file.first), file.second);
    }
    // Runs operation (0 or more for success) on the files of before under every failure.
    void check(const Files &before, const std::function<int()> &operation, int kinds = FAULT_ANY) {
        restore(before);
        ASSERT_GE(operation(), 0);
        const Files after = snapshot(dir.path);
        ASSERT_NE(after, before) << "the operation changes nothing";
        restore(before);
        int result = 0;
        size_t told = 0;
        injected += run_with_faults(
            [&] {
                told = messages.status.size() + messages.warnings.size();
                journal_forget_file();
                result = operation();
            },
            [&](bool struck) {
                Files now = snapshot(dir.path);
                for (const auto &file : now) {
                    EXPECT_TRUE(after.count(file.first) || before.count(file.first))
                        << "left behind: " << file.first;
                    bool old = before.count(file.first) && before.at(file.first) == file.second;
                    bool fresh = after.count(file.first) && after.at(file.first) == file.second;
                    EXPECT_TRUE(old || fresh) << file.first << " torn";
                }
                if (result < 0) {
                    survived++;
                    EXPECT_GT(messages.status.size() + messages.warnings.size(), told);
                } else {
                    EXPECT_EQ(now, after);
                }
                restore(before);
            },
            kinds);
    }
};
int Faults::injected, Faults::survived;

TEST_F(Faults, Append) {
    check({{"2026.txt", journal_text}},
          [] { return journal_append("2026-12-08", "09:30", "KD4711", "Text"); });
}

TEST_F(Faults, Merge) {
    check({{"2026.txt", journal_text},
           {"2026.bak", "old\n"},
           {"Zeiten.txt", "2026-12-08  07:00   ---\n2026-12-07  13:00   XY\n"}},
          [this] {
              return journal_merge(dir.file("Zeiten.txt").c_str(), nullptr, nullptr) == 1 ? 0 : -1;
          });
}

// Only file operations fail here: a report that gets no memory for its text ends the program by
// design.
TEST_F(Faults, Export) {
    statalk_alloc();
    check(
        {{"2026.txt", journal_text}, {"2026BM.txt", "old export\r\n"}},
        [] {
            char path[PATH_MAX_TEXT + 1];
            return statalk_export("2026", "01-01", "12-31", path, sizeof path);
        },
        FAULT_FILE);
    statalk_free();
}

TEST_F(Faults, ProjectSave) {
    check({{"Projekte.txt", "KD4711          Kunde\r\n"}}, [] {
        project_editor editor;
        project_edit_open(&editor);
        project_edit_update(&editor, "KD4711", "Kunde Neu");
        int result = project_edit_save(&editor);
        project_edit_close(&editor);
        return result;
    });
}

TEST_F(Faults, Settings) {
    check({{"kx.ini", "[Installation]\r\nPerson=BM\r\n"}},
          [] { return settings_write("Installation", "WorkDir", "C:\\Zeiten\\"); });
}

// The template copy of a missing project file: Projekte.txt whole or not there at all.
TEST_F(Faults, TemplateCopy) {
    check({{"2026.txt", journal_text}, {"Muster.txt", "KD4711          Kunde\r\n"}}, [this] {
        project_list list = {};
        int result = projects_fill_main_list(&list, dir.file("Muster.txt").c_str());
        project_list_clear(&list);
        return result;
    });
}

TEST_F(Faults, PalmBuilds) {
    check({{"2026.txt", journal_text}, {"Projekte.txt", "KD4711          Kunde\r\n"}},
          [] { return palm_build_times() < 0 || palm_build_projects() < 0 ? -1 : 0; });
}

} // namespace
