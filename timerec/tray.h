// What the notification-area icon shows apart from the window: its tooltip (the running booking
// and today's working time) and the bookable entries of its menu (the last projects booked and
// the pause).
#pragma once
#include "timerec/journal.h"
#include "timerec/projects.h"
#include <stddef.h>

enum { TRAY_TIP = 127, TRAY_RECENT = 5, TRAY_LABEL = PROJECT_LINE + 1 };

// The counted minutes of today, the running booking up to now included (quietly: a day left
// open is the start-up check's to report, not the tooltip's).
long tray_today_minutes(void);
// "KD 4711 seit 08:12 – heute 6:12" for the last booking and today's minutes; a pause reads
// "Pause seit ...", a booking of an earlier day gives its date too.
void tray_tooltip(char *out, size_t size, const booking *last, long today_minutes);

// One bookable entry: the project it books and its label, the identifier and, after a tab, the
// description of the project file.
struct tray_entry {
    char project[JOURNAL_PROJECT + 1];
    char label[TRAY_LABEL + 1];
};
struct tray_menu {
    tray_entry entries[TRAY_RECENT + 1];
    int count;
};
// The last TRAY_RECENT projects booked, the latest first, then the pause "---".
void tray_menu_entries(tray_menu *menu);
