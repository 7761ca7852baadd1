// Fuzzes the reports with arbitrary year files, read from memory: statistics in every mode, the
// weekly report and the detail view, with their copy texts, the statistics chart and the periods
// in every format. Nothing may crash or overrun. (The export file is fuzzed with the other
// writers.)
#include "frame/bfile.h"
#include "frame/memory.h"
#include "frame/texts.h"
#include "tests/fuzz/fuzz_support.h"
#include "timerec/directories.h"
#include "timerec/periods.h"
#include "timerec/stat_chart.h"
#include "timerec/statalk.h"
#include "timerec/stdetail.h"
#include "timerec/wchtalk.h"
#include <stdint.h>
#include <string.h>

static char folder[64];
static char year_file[128];

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz_setup(folder, sizeof folder, "reports");
    snprintf(WorkDir, sizeof WorkDir, "%s", folder);
    snprintf(ExportDir, sizeof ExportDir, "%s", folder);
    snprintf(Person, sizeof Person, "FZ");
    snprintf(year_file, sizeof year_file, "%s2024.txt", folder);
    fuzz_write_file(year_file, nullptr, 0); // there on disk; its bytes come from memory
    // The sum lists and the text ring are had once, as the program has them while it runs.
    statalk_alloc();
    wchtalk_alloc();
    text(0);
    return 0;
}

// Every chart command fits what the display control reads of a command.
static void check_command(const char *command, void *) {
    if (strlen(command) > 100) abort();
}

// The chart of the statistics as listed, for the display field (whose height cuts rows off) and
// as SVG, which stays ASCII whatever the names hold.
static void chart(int mode, size_t size) {
    static stat_chart listed;
    stat_chart_take_listed(&listed, mode);
    stat_chart_layout(&listed, (int)(size % 700), (int)(size % 300));
    stat_chart_commands(&listed, check_command, nullptr);
    stat_chart_layout(&listed, CHART_PICTURE_WIDTH, 0);
    report_text svg;
    report_text_begin(&svg, "statalk");
    stat_chart_svg(&listed, &svg);
    for (size_t i = 0; i < svg.length; i++) { // ASCII text without the controls XML forbids
        unsigned char c = (unsigned char)svg.text[i];
        if (c >= 0x80 || (c < 0x20 && c != '\r' && c != '\n')) abort();
    }
    ffree(report_text_take(&svg));
}

// Every line of the periods' text ends with its line feed within the longest line written.
static int check_periods(const char *bytes, size_t length, void *) {
    for (size_t at = 0, line = 0; at < length; at++, line++) {
        if (bytes[at] == '\n') line = 0;
        if (line > 1024) abort();
    }
    return 0;
}

static void add_copy_line(const char *line, void *context) {
    if (strlen(line) > STDETAIL_LINE) abort();
    stdetail_copy_line((report_text *)context, line, 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int blocks = fmalloc_count();
    bfile_memory_file(year_file, data, size);

    // One statistics mode and one copy form (plain or table) per input, chosen by its length,
    // keep the runs fast; the fuzzer's inputs of every length reach all of them.
    int table = (int)(size & 1);
    int mode = STAT_PROJECT + (int)(size / 2 % 3);
    statalk_evaluate("2024", "01-01", "12-31", mode, mode == STAT_WEEK);
    ffree(statalk_copy(table));
    chart(mode, size);

    wchtalk_evaluate("2024", "01-01", "12-31", 0);
    ffree(wchtalk_copy(table));

    report_text copy;
    report_text_begin(&copy, "stdetail");
    stdetail_collect("", "2024-00-00", "2024-99-99", 1, add_copy_line, &copy);
    ffree(report_text_take(&copy));
    periods_write("2024", "01-01", "12-31", (int)(size % 3), check_periods, nullptr);
    bfile_memory_file(nullptr, nullptr, 0);
    if (fmalloc_count() != blocks) abort(); // every block went back
    return 0;
}
