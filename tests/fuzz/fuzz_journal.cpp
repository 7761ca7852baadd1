// Fuzzes the journal's readers with arbitrary year files, read from memory: the last booking and
// project read backwards, the walk and the check of the lines. Nothing may crash or overrun.
#include "frame/bfile.h"
#include "frame/text.h"
#include "tests/fuzz/fuzz_support.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include "timerec/journal_check.h"
#include <string.h>

static char folder[64];
static char year_file[128];

// A period's texts stay within their fields (the text within the line as its tabs expand).
static void count_period(const char *date, const char *project, int minutes, void *context) {
    if (strlen(date) > JOURNAL_DATE || strlen(project) > JOURNAL_PROJECT ||
        strlen(journal_walk_text()) > TEXT_TABS_MAX)
        abort();
    ++*(long *)context;
}

// Findings come in the order of their lines, each a line of the file, its text within the
// characters shown and its reason one of the known ones.
static void check_finding_order(const check_finding *finding, void *context) {
    long *last = (long *)context;
    if (finding->line <= *last || finding->reason < 0 || finding->reason >= CHECK_REASONS ||
        strlen(finding->text) > CHECK_TEXT_MAX)
        abort();
    *last = finding->line;
    char line[256];
    journal_check_line(line, sizeof line, "2024.txt", finding);
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz_setup(folder, sizeof folder, "journal");
    snprintf(WorkDir, sizeof WorkDir, "%s", folder);
    snprintf(year_file, sizeof year_file, "%s2024.txt", folder);
    fuzz_write_file(year_file, nullptr, 0); // there on disk; its bytes come from memory
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    bfile_memory_file(year_file, data, size);
    journal_forget_file();
    booking last;
    journal_last_booking(&last);
    char project[JOURNAL_PROJECT + 1];
    journal_last_project(project);
    long periods = 0;
    journal_walk("2024", "2024-01-01", "2024-12-31", count_period, &periods);
    long last_line = 0;
    if (journal_check(year_file, 2024, check_finding_order, &last_line) < 0) abort();
    bfile_memory_file(nullptr, nullptr, 0);
    return 0;
}
