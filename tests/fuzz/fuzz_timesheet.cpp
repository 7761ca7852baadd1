// Fuzzes the monthly timesheet's readers with arbitrary bytes, read from memory: as the holidays
// file (inputs of odd length) or as the year file (even length), each time the whole sheet with
// both copy texts; and the first line as each kind of working-time setting. Nothing may crash,
// overrun or keep a block.
#include "frame/bfile.h"
#include "frame/memory.h"
#include "frame/texts.h"
#include "tests/fuzz/fuzz_support.h"
#include "timerec/directories.h"
#include "timerec/holidays.h"
#include "timerec/timesheet.h"
#include "timerec/worktime.h"
#include <stdint.h>
#include <string.h>

static char folder[64];
static char year_file[128];
static char holidays_file[128];

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz_setup(folder, sizeof folder, "timesheet");
    snprintf(WorkDir, sizeof WorkDir, "%s", folder);
    snprintf(CommonDir, sizeof CommonDir, "%s", folder);
    snprintf(year_file, sizeof year_file, "%s2024.txt", folder);
    holidays_path(holidays_file, sizeof holidays_file);
    // Both there on disk; the bytes of one of them come from memory.
    const char day[] = "2024-03-04  08:00   KD\n2024-03-04  16:00   ---\n";
    fuzz_write_file(year_file, (const uint8_t *)day, sizeof day - 1);
    const char holiday[] = "2024-03-29 Karfreitag\n";
    fuzz_write_file(holidays_file, (const uint8_t *)holiday, sizeof holiday - 1);
    text(0);
    return 0;
}

// The settings readers on the input's first line (at most one settings value long).
static void parse_settings(const uint8_t *data, size_t size) {
    char value[80] = "";
    size_t length = 0;
    while (length < size && length < sizeof value - 1 && data[length] != '\n') length++;
    memcpy(value, data, length);
    value[length] = 0;
    worktime w;
    worktime_defaults(&w);
    worktime_version version;
    long minutes;
    worktime_parse_version(value, &version);
    worktime_parse_duration(value, &minutes, true);
    if (worktime_parse_absences(value, &w) > WORKTIME_ABSENCES) abort();
    char joined[80];
    worktime_absences_text(joined, &w);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int blocks = fmalloc_count();
    parse_settings(data, size);
    bfile_memory_file(size & 1 ? holidays_file : year_file, data, size);
    static timesheet sheet;
    if (timesheet_evaluate(&sheet, 2024, 3) == 0) {
        ffree(timesheet_copy(&sheet, 0));
        ffree(timesheet_copy(&sheet, 1));
    }
    bfile_memory_file(nullptr, nullptr, 0);
    if (fmalloc_count() != blocks) abort(); // every block went back
    return 0;
}
