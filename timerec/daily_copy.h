// The daily copies of the year files: before the first change of a calendar day to a year file,
// the file as it was goes to "Sicherung" in the work folder as <year>.<YYYY-MM-DD>.txt; the
// newest DAILY_COPIES of each year are kept.
#pragma once

enum { DAILY_COPIES = 14, DAILY_COPY_REACH = 800 }; // days looked back for older copies

// Makes today's copy of the year file path unless it is there; a copy that cannot be made is said
// in the status line (message 328) and never stops the change. 0, or -1 when no copy was made.
int daily_copy_make(const char *path);
