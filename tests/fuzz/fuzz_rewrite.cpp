// Fuzzes the operations that write files, with arbitrary files on disk: appending to a year file,
// a day saved and a booking inserted, merging, the project dialog's save and the export. Nothing
// may crash, overrun or lose a line. (The readers have their faster targets, which read from
// memory.)
#include "frame/memory.h"
#include "tests/fuzz/fuzz_support.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include "timerec/journal_day.h"
#include "timerec/project_edit.h"
#include "timerec/statalk.h"
#include <string.h>

static char folder[64];
static char year_file[128];
static char merge_source[128];
static char project_file[128];

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz_setup(folder, sizeof folder, "rewrite");
    snprintf(WorkDir, sizeof WorkDir, "%s", folder);
    snprintf(CommonDir, sizeof CommonDir, "%s", folder);
    snprintf(ExportDir, sizeof ExportDir, "%s", folder);
    snprintf(Person, sizeof Person, "FZ");
    snprintf(year_file, sizeof year_file, "%s2024.txt", folder);
    snprintf(merge_source, sizeof merge_source, "%sZeiten.txt", folder);
    snprintf(project_file, sizeof project_file, "%sProjekte.txt", folder);
    return 0;
}

static bool blank_or_end_mark(uint8_t c) {
    return c == 26 || (c && strchr(" \t\r\n\v\f", c));
}

// Appending keeps every byte up to the last one that is neither white space nor Ctrl+Z: only
// lines of blanks and end marks after the last booking may be overwritten.
static void append(const uint8_t *data, size_t size) {
    fuzz_write_file(year_file, data, size);
    journal_forget_file();
    journal_append("2024-03-05", "17:30", "FUZZ", "text");
    size_t keep = size;
    while (keep > 0 && blank_or_end_mark(data[keep - 1])) keep--;
    FILE *file = fopen(year_file, "rb");
    if (!file) abort();
    static uint8_t after[1 << 17];
    size_t got = fread(after, 1, sizeof after, file);
    fclose(file);
    if (keep > sizeof after) keep = sizeof after;
    if (got < keep || memcmp(after, data, keep) != 0) abort();
}

static char *listed_day(const char *date) {
    journal_day day;
    if (journal_day_read(&day, date) != 0) return nullptr;
    char *copy = journal_day_copy(&day);
    journal_day_free(&day);
    return copy;
}

// A day saved unchanged lists as before, and saving it again changes no byte; a booking
// inserted into it then lists with it.
static void save_day(const uint8_t *data, size_t size) {
    fuzz_write_file(year_file, data, size);
    const char *date = "2024-03-05";
    char *before = listed_day(date);
    journal_day day;
    if (!before || journal_day_read(&day, date) != 0 || journal_day_save(&day) != 0) abort();
    journal_day_free(&day);
    char *after = listed_day(date);
    if (!after || strcmp(before, after) != 0) abort();
    static uint8_t saved[1 << 17], again[1 << 17];
    FILE *file = fopen(year_file, "rb");
    size_t saved_size = fread(saved, 1, sizeof saved, file);
    fclose(file);
    if (journal_day_read(&day, date) != 0 || journal_day_save(&day) != 0) abort();
    journal_day_free(&day);
    file = fopen(year_file, "rb");
    size_t again_size = fread(again, 1, sizeof again, file);
    fclose(file);
    if (saved_size != again_size || memcmp(saved, again, saved_size) != 0) abort();
    if (journal_insert(date, "12:34", "FUZZ", "") != 0) abort();
    char *inserted = listed_day(date);
    if (!inserted || !strstr(inserted, "12:34\tFUZZ\t")) abort();
    ffree(before);
    ffree(after);
    ffree(inserted);
}

// A save followed by a load gives back every project line that was read, in order.
static void save_projects(const uint8_t *data, size_t size) {
    fuzz_write_file(project_file, data, size);
    project_editor editor;
    project_edit_open(&editor);
    project_list read = {};
    for (int i = 0; i < editor.file.count; i++)
        project_list_insert(&read, i, editor.file.lines[i].text, editor.file.lines[i].comment);
    if (project_edit_save(&editor) != 0) abort();
    project_edit_load(&editor);
    if (editor.file.count != read.count) abort();
    for (int i = 0; i < read.count; i++)
        if (strcmp(editor.file.lines[i].text, read.lines[i].text) != 0 ||
            editor.file.lines[i].comment != read.lines[i].comment)
            abort();
    project_edit_close(&editor);
    project_list_clear(&read);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    append(data, size);
    save_day(data, size);
    statalk_alloc();
    char path[300];
    statalk_export("2024", "00-00", "99-99", path, sizeof path);
    statalk_free();
    // The same bytes merged as handheld lines into a fresh year file.
    fuzz_write_file(merge_source, data, size);
    unlink(year_file);
    journal_merge(merge_source, nullptr, nullptr);
    save_projects(data, size);
    return 0;
}
