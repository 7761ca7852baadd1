// Help requests handed to the system's help program.
#include "frame/app.h"
#include "frame/dialog.h"
#include "frame/frame.h"
#include "frame/help.h"
#include "frame/path.h"
#include "frame/platform.h"
#include <windows.h>

void frame_help(int command) {
    char program[PATH_MAX_TEXT + 1] = "", file[PATH_MAX_TEXT + 1];
    platform_program_path(program, sizeof program);
    help_file_path(file, sizeof file, program);
    HWND main = (HWND)frame_main_window();
    if (command == HELP_ASK_CONTENTS) {
        WinHelpA(main, file, HELP_CONTENTS, 0);
    } else if (command == HELP_ASK_ACTIVE) {
        char name[DLG_NAME_MAX + 1], keyword[HELP_KEYWORD_MAX + 1];
        dialog_active_name(name, sizeof name);
        help_keyword(keyword, sizeof keyword, name);
        WinHelpA(main, file, HELP_PARTIALKEY, (ULONG_PTR)keyword);
    }
}
