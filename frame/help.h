// What a help request asks of the help system: the help file beside the program, and the
// keyword of the active dialog.
#pragma once
#include <stddef.h>

enum { HELP_ASK_CONTENTS = 1991, HELP_ASK_ACTIVE = 1992, HELP_KEYWORD_MAX = 40 };

// The program file's path with its extension replaced by "HLP" (or ".HLP" appended).
void help_file_path(char *out, size_t size, const char *program);
// "ZZ_" and the active dialog's name, or "MenuIndex" when no dialog is active.
void help_keyword(char *out, size_t size, const char *active_name);
