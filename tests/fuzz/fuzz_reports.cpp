// Fuzzes the reports with arbitrary year files: statistics in every mode, the export, the weekly
// report and the detail view, with their copy texts. Nothing may crash or overrun.
#include "frame/clock.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/texts.h"
#include "timerec/directories.h"
#include "timerec/statalk.h"
#include "timerec/stdetail.h"
#include "timerec/wchtalk.h"
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static char folder[64];
static char year_file[128];

static void quiet(int kind, const char *text) {}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    snprintf(folder, sizeof folder, "/tmp/kx-fuzz-reports-%d/", (int)getpid());
    mkdir(folder, 0777);
    snprintf(WorkDir, sizeof WorkDir, "%s", folder);
    snprintf(ExportDir, sizeof ExportDir, "%s", folder);
    snprintf(Person, sizeof Person, "FZ");
    snprintf(year_file, sizeof year_file, "%s2024.txt", folder);
    for (int kind = 0; kind < MSG_KINDS; kind++)
        if (kind != MSG_FATAL) messages_set_sink(kind, quiet);
    platform_time now = {2024, 3, 5, 17, 30, 0};
    clock_fix(&now);
    return 0;
}

static void add_copy_line(const char *line, void *context) {
    if (strlen(line) > STDETAIL_LINE) abort();
    stdetail_copy_line((report_text *)context, line, 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    text(0); // the text ring stays allocated once used
    int blocks = fmalloc_count();
    FILE *file = fopen(year_file, "wb");
    if (!file) abort();
    fwrite(data, 1, size, file);
    fclose(file);

    statalk_alloc();
    for (int mode = STAT_PROJECT; mode <= STAT_WEEK; mode++) {
        statalk_evaluate("2024", "01-01", "12-31", mode, mode == STAT_WEEK);
        ffree(statalk_copy(0));
        ffree(statalk_copy(1));
    }
    char path[300];
    statalk_export("2024", "00-00", "99-99", path, sizeof path);
    statalk_free();

    wchtalk_alloc();
    wchtalk_evaluate("2024", "01-01", "12-31", 0);
    ffree(wchtalk_copy(0));
    ffree(wchtalk_copy(1));
    wchtalk_free();

    report_text copy;
    report_text_begin(&copy, "stdetail");
    stdetail_collect("", "2024-00-00", "2024-99-99", 1, add_copy_line, &copy);
    ffree(report_text_take(&copy));
    if (fmalloc_count() != blocks) abort(); // every block went back
    return 0;
}
