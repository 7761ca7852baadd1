// The help file's name and the help keyword of the active dialog.
#include "frame/help.h"
#include "frame/path.h"
#include "frame/text.h"
#include <stdio.h>

void help_file_path(char *out, size_t size, const char *program) {
    text_copy_max(out, program, (int)size - 1);
    path_set_ext(out, "HLP", size);
}

void help_keyword(char *out, size_t size, const char *active_name) {
    if (active_name && active_name[0])
        snprintf(out, size, "ZZ_%s", active_name);
    else
        snprintf(out, size, "MenuIndex");
}
