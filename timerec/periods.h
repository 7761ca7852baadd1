// The counted periods of a range, one line each, for other programs: a CSV file as a German
// spreadsheet opens it, and a timeclock file as the plain-text ledgers read it.
#pragma once
#include <stddef.h>

enum periods_format {
    PERIODS_CSV = 0,       // Windows-1252
    PERIODS_CSV_UTF8 = 1,  // UTF-8 after a byte-order mark
    PERIODS_TIMECLOCK = 2, // UTF-8, "i" and "o" lines
};

// Takes the next bytes of the text (a file, standard output); 0, or -1 when they cannot be kept.
typedef int (*periods_write_fn)(const char *bytes, size_t length, void *context);

// Writes the counted periods of the year file of year from year-from_md to year-to_md (month-day
// texts as the dialog fields hold them) in format, handing the text to write in pieces. A period
// a timeclock file cannot hold (negative minutes, a date or time the ledgers do not read) is left
// out there and named with status message 383. The number of lines of periods written, or -1
// without a year file (status message 23) or when write failed.
int periods_write(const char *year, const char *from_md, const char *to_md, int format,
                  periods_write_fn write, void *context);

// Tests: the year file is walked in stretches by threads of their own also when it is small
// (where the machine has a second core); or only when it is large, as usual.
void periods_stretches_always(bool always);

// The CSV file the export dialog offers: export directory + year + person identifier + ".csv".
void periods_csv_path(char *out, size_t size, const char *year);
// Writes the CSV file of the range to path through the temporary-file replace: the number of
// periods, or -1 with path as it was (status message 23 without a year file, warning 382 when
// the file cannot be written).
int periods_save_csv(const char *year, const char *from_md, const char *to_md, const char *path);
