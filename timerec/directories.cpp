// The folders of the time recording and the person identifier, with their defaults.
#include "timerec/directories.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/settings.h"
#include "frame/text.h"

char WorkDir[DIRECTORY_MAX + 1];
char CommonDir[DIRECTORY_MAX + 1];
char ExportDir[DIRECTORY_MAX + 1];
char Person[PERSON_MAX + 1];
const char SETTINGS_SECTION[] = "Installation";

// The folder of the running program file, taken from the system rather than from the command
// line, so a program started by a relative name still finds its folder.
void directories_program_folder(char *out, int size) {
    char program[PATH_MAX_TEXT + 1];
    if (platform_program_path(program, sizeof program) != 0) program[0] = 0;
    path_dir(out, (size_t)size, program);
}

void directories_set_defaults(void) {
    directories_program_folder(WorkDir, sizeof WorkDir);
    text_copy_max(CommonDir, WorkDir, DIRECTORY_MAX);
    text_copy_max(ExportDir, WorkDir, DIRECTORY_MAX);
    text_copy_max(Person, "?", PERSON_MAX);
}

// A value read that is not empty replaces the default (cut to the area it goes to).
static void load_value(const char *key, char *value, int capacity) {
    char read[SETTINGS_VALUE];
    settings_read(SETTINGS_SECTION, key, read);
    if (read[0]) text_copy_max(value, read, capacity);
}

void directories_load(void) {
    directories_set_defaults();
    load_value("WorkDir", WorkDir, DIRECTORY_MAX);
    load_value("CommonDir", CommonDir, DIRECTORY_MAX);
    load_value("ExportDir", ExportDir, DIRECTORY_MAX);
    load_value("Person", Person, PERSON_MAX);
}
