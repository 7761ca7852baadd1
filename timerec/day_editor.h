// The day editor "DB1170": one day's bookings listed in time order with the period each opens,
// edited in the dialog and saved as that day's lines of the year file.
#pragma once

// Opens the day editor on iso_date (YYYY-MM-DD; NULL: today), or shows that day in the open one
// (after its edits are saved or let go).
void day_editor_open(const char *iso_date);
// Menu command 1170: the day editor on today.
void day_editor_open_today(void);
