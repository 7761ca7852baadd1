// Fuzzes the project file reader with arbitrary files, read from memory: the main list and the
// dialog's load and edits. Lines stay within bounds. (Saving is fuzzed with the other writers.)
#include "frame/bfile.h"
#include "tests/fuzz/fuzz_support.h"
#include "timerec/directories.h"
#include "timerec/project_edit.h"
#include "timerec/projects.h"
#include <stdint.h>
#include <string.h>

static char folder[64];
static char project_file[128];

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz_setup(folder, sizeof folder, "projects");
    snprintf(WorkDir, sizeof WorkDir, "%s", folder);
    snprintf(CommonDir, sizeof CommonDir, "%s", folder);
    snprintf(project_file, sizeof project_file, "%sProjekte.txt", folder);
    // The last booked project, so that the main list puts entries on top.
    char journal[128];
    snprintf(journal, sizeof journal, "%s2024.txt", folder);
    const char line[] = "2024-03-05  08:00   4711\n";
    fuzz_write_file(journal, (const uint8_t *)line, sizeof line - 1);
    fuzz_write_file(project_file, nullptr, 0); // there on disk; its bytes come from memory
    return 0;
}

static void check_lines(const project_list *list) {
    for (int i = 0; i < list->count; i++) {
        const char *text = list->lines[i].text;
        size_t length = strnlen(text, PROJECT_LINE + 1);
        if (length > PROJECT_LINE || memchr(text, '\r', length) || memchr(text, '\t', length) ||
            memchr(text, '\n', length))
            abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    bfile_memory_file(project_file, data, size);
    // Each input goes to one of the two readers (by its length), which keeps the runs fast.
    if (size & 1) {
        project_list main_list = {};
        projects_fill_main_list(&main_list, "/nonexistent/Muster.txt");
        check_lines(&main_list);
        project_list_clear(&main_list);
        bfile_memory_file(nullptr, nullptr, 0);
        return 0;
    }
    project_editor editor;
    project_edit_open(&editor);
    check_lines(&editor.file);
    char id[PROJECT_FIELD + 1], description[PROJECT_FIELD + 1];
    project_edit_show(&editor, id, description);
    project_edit_update(&editor, description, id);
    project_edit_insert(&editor);
    project_edit_delete(&editor);
    check_lines(&editor.file);
    project_edit_close(&editor);
    bfile_memory_file(nullptr, nullptr, 0);
    return 0;
}
