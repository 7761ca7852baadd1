// Fuzzes the journal's readers with arbitrary year files: the last booking and project read
// backwards, the walk, appending and merging. Nothing may crash, overrun or lose a line.
#include "frame/clock.h"
#include "frame/messages.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static char folder[64];
static char year_file[128];
static char merge_source[128];

static void quiet(int kind, const char *text) {}
static void count_period(const char *date, const char *project, int minutes, void *context) {
    ++*(long *)context;
    (void)journal_walk_text();
}

static void write_file(const char *path, const uint8_t *data, size_t size) {
    FILE *file = fopen(path, "wb");
    if (!file) abort();
    fwrite(data, 1, size, file);
    fclose(file);
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    snprintf(folder, sizeof folder, "/tmp/kx-fuzz-%d/", (int)getpid());
    mkdir(folder, 0777);
    snprintf(WorkDir, sizeof WorkDir, "%s", folder);
    snprintf(year_file, sizeof year_file, "%s2024.txt", folder);
    snprintf(merge_source, sizeof merge_source, "%sZeiten.txt", folder);
    for (int kind = 0; kind < MSG_KINDS; kind++)
        if (kind != MSG_FATAL) messages_set_sink(kind, quiet);
    platform_time now = {2024, 3, 5, 17, 30, 0};
    clock_fix(&now);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    write_file(year_file, data, size);
    journal_forget_file();
    booking last;
    journal_last_booking(&last);
    char project[JOURNAL_PROJECT + 1];
    journal_last_project(project);
    long periods = 0;
    journal_walk("2024", "2024-01-01", "2024-12-31", count_period, &periods);

    // Appending keeps every byte up to the last one that is not white space (before the
    // trailing Ctrl+Z bytes): only blank lines after the last booking may be overwritten.
    journal_append("2024-03-05", "17:30", "FUZZ", "text");
    size_t text_end = size;
    while (text_end > 0 && data[text_end - 1] == 26) text_end--;
    size_t keep = text_end;
    while (keep > 0 && strchr(" \t\r\n\v\f", data[keep - 1]) && data[keep - 1]) keep--;
    FILE *file = fopen(year_file, "rb");
    if (!file) abort();
    static uint8_t after[1 << 17];
    size_t got = fread(after, 1, sizeof after, file);
    fclose(file);
    if (keep > sizeof after) keep = sizeof after;
    if (got < keep || memcmp(after, data, keep) != 0) abort();

    // The same bytes merged as handheld lines into a fresh year file.
    write_file(merge_source, data, size);
    unlink(year_file);
    journal_merge(merge_source, nullptr, nullptr);
    return 0;
}
