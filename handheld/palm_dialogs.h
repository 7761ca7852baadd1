// The handheld dialogs as the main window's commands open them: the exchange for each reason it
// opens, and the handheld settings.
#pragma once

void exchange_open_menu(void);
void exchange_open_new_times(void);
void exchange_open_projects_edited(void);
void palm_settings_open(void);
