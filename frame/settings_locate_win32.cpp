// Where the program's settings file lies: beside the program, taken over from the Windows
// folder at the first start so that settings of an older installation are kept.
#include "frame/frame_parts.h"
#include "frame/path.h"
#include "frame/settings.h"
#include <windows.h>
#include <string.h>

void frame_settings_locate(const char *configured) {
    char path[SETTINGS_NAME_MAX + 1];
    settings_program_path(path, sizeof path, configured);
    if (path_name_index(configured) == 0 && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        char old[SETTINGS_NAME_MAX + 1];
        UINT length = GetWindowsDirectoryA(old, sizeof old);
        if (length > 0 && length + 1 + strlen(configured) < sizeof old) {
            strcat(old, "\\");
            strcat(old, configured);
            CopyFileA(old, path, TRUE);
        }
    }
    settings_set_file(path);
}
