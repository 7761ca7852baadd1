// What a help request asks of the help system: the help file beside the program, the keyword of
// the active dialog and the page of the HTML help that the keyword names.
#pragma once
#include <stddef.h>

enum { HELP_ASK_CONTENTS = 1991, HELP_ASK_ACTIVE = 1992, HELP_KEYWORD_MAX = 40 };

// The keyword of the help's contents (and of the main window).
#define HELP_CONTENTS_KEYWORD "MenuIndex"

// The program file's path with its extension replaced by "HLP" (or ".HLP" appended).
void help_file_path(char *out, size_t size, const char *program);
// The same with "chm": the compiled HTML help beside the program.
void help_html_file_path(char *out, size_t size, const char *program);
// "ZZ_" and the active dialog's name, or "MenuIndex" when no dialog is active.
void help_keyword(char *out, size_t size, const char *active_name);
// The file name of the HTML help page a keyword names, the contents page for a keyword no page
// names (a dialog newer than the help file).
const char *help_page(const char *keyword);
