// The main window's booking side shared by its files: the strip, the main list, the flags of the
// start-up and the commands that open dialogs.
#pragma once
#include "timerec/journal.h"
#include "timerec/options.h"
#include <stdint.h>

// Shows the last booking of the journal in the strip, sets the indicator and the window title.
void main_show_last_booking(void);
// Rebuilds the main list from the project file with the last booked project on top.
void main_fill_list(void);
// The day-closure check on the strip as it stands; when it has nothing to say, the status line
// names a control library that could not be loaded. 1 when the status line says something.
int main_check_day_closure(void);
int main_report_missing_library(void);
// Choose the selected list entry, confirm the strip's booking, mark it changed.
void main_choose(void);
void main_confirm(void);
void main_mark_changed(void);
// Books as confirming the strip does: the line appended, the list filled anew with the project
// on top, the strip showing the new last booking. 0, or -1 with the reason in the status line
// (the strip is then left as it was). Every booking of the program goes through here.
int main_book(const char *date, const char *time, const char *project, const char *note);
// Menu command 1180: takes back the newest change of this run, the list and strip following.
void main_undo(void);
// Names the step undo would take back in the menu item, greyed when there is none.
void main_show_undo(void);
// Puts bookings into the journal at their places in time order as one change (one undo step),
// the list and strip following as after main_book; 0, or -1 with the reason shown.
int main_insert(const booking *bookings, int count);
// The start-up check chain (command 1910): handheld backup, week check, then the strip, and when
// nothing else is said, the findings of the journal check.
void main_startup_checks(void);
// Marks the project list as changed, so the next activation rebuilds the list and offers the
// exchange (set by the editor command and by saving in the project dialog).
void main_projects_changed(void);

// Posts WM_COMMAND id to the main window, so that it runs once the present message is done.
void main_post_command(int id);

// The menu commands that open dialogs: 1 when id is one and was handled.
int menu_open_dialog(int id);

// The options of the notification area and the reminders as loaded; loaded anew after a save.
const kx_options *main_options(void);
void main_options_changed(void);

// The notification-area icon (tray_win32.cpp): added at start, removed at the end; it follows
// the indicator ("AUS", "EIN", "ANDERS"), refreshes its tooltip, shows balloons. tray_message is
// 1 when it handled a message of the main window.
void tray_start(void);
void tray_stop(void);
void tray_show_state(const char *indicator);
void tray_refresh(void);
void tray_balloon(const char *message);
int tray_message(unsigned message, uintptr_t wparam, intptr_t lparam);

// The reminders (reminders_win32.cpp): their timer runs from start to end; reminders_message is
// 1 when it handled a message of the main window.
void reminders_start(void);
void reminders_stop(void);
int reminders_message(unsigned message, uintptr_t wparam, intptr_t lparam);
// The user clicked the last balloon.
void reminders_balloon_clicked(void);
