// The dialogs that keep the program's set-up: the project list and the folders with the person
// identifier.
#pragma once

// Menu command 1150: opens the project dialog, or brings the open one to the front.
void projects_open_dialog(void);
// Menu command 1200: opens the directory settings, or brings the open ones to the front.
void directories_open_dialog(void);
// Einstellen > Optionen: dialog "DB1220" of the notification area and the reminders.
void options_open_dialog(void);
// Menu command 1210: opens the working-time settings, or brings the open ones to the front.
void worktime_open_dialog(void);
