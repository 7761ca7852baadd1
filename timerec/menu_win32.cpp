// The commands that open the program's dialogs, in one table: menu items and the commands the
// start-up and the dialogs post.
#include "handheld/palm_dialogs.h"
#include "resources/kx_ids.h"
#include "timerec/day_editor.h"
#include "timerec/main_window.h"
#include "timerec/report_dialogs.h"
#include "timerec/setup_dialogs.h"

struct dialog_command {
    int id;
    void (*open)(void);
};

static const dialog_command dialog_commands[] = {
    {CMD_PROJECTS, projects_open_dialog},
    {CMD_VERIFY, verify_open},
    {CMD_STATISTICS, statistics_open},
    {CMD_WEEKLY, weekly_open},
    {CMD_MONTH, timesheet_open},
    {CMD_DAY, day_editor_open_today},
    {CMD_UNDO, main_undo},
    {CMD_EXPORT, export_open},
    {CMD_EXCHANGE, exchange_open_menu},
    {CMD_EXCHANGE_NEW_TIMES, exchange_open_new_times},
    {CMD_EXCHANGE_PROJECTS, exchange_open_projects_edited},
    {CMD_DIRECTORIES, directories_open_dialog},
    {CMD_WORKTIME, worktime_open_dialog},
    {CMD_PALM_SETTINGS, palm_settings_open},
    {CMD_OPTIONS, options_open_dialog},
};

int menu_open_dialog(int id) {
    for (const dialog_command &command : dialog_commands) {
        if (command.id != id) continue;
        command.open();
        return 1;
    }
    return 0;
}
