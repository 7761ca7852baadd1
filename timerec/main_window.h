// The main window's booking side shared by its files: the strip, the main list, the flags of the
// start-up and the commands that open dialogs.
#pragma once

// Shows the last booking of the journal in the strip, sets the indicator and the window title.
void main_show_last_booking(void);
// Rebuilds the main list from the project file with the last booked project on top.
void main_fill_list(void);
// The day-closure check on the strip as it stands; when it has nothing to say, the status line
// names a control library that could not be loaded.
void main_check_day_closure(void);
void main_report_missing_library(void);
// Choose the selected list entry, confirm the strip's booking, mark it changed.
void main_choose(void);
void main_confirm(void);
void main_mark_changed(void);
// The start-up check chain (command 1910): handheld backup, week check, then the strip.
void main_startup_checks(void);
// Marks the project list as changed, so the next activation rebuilds the list and offers the
// exchange (set by the editor command and by saving in the project dialog).
void main_projects_changed(void);

// Posts WM_COMMAND id to the main window, so that it runs once the present message is done.
void main_post_command(int id);

// The menu commands that open dialogs: 1 when id is one and was handled.
int menu_open_dialog(int id);
