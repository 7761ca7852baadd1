// Handing the built databases and the handheld program over for installation: named to the
// user, copied into the HotSync install folder with the registry flag set, or passed to the
// installer program, as the installation mode says.
#include "frame/files.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/settings.h"
#include "frame/system.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "handheld/palm.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include <stdio.h>
#include <string.h>

enum { INSTALL_FILES = 3, COMMAND_LINE_MAX = 4 * (PATH_MAX_TEXT + 3) + 3 };

// The selected files: their paths in the current directory and in the install folder ("" for
// the unselected ones).
struct install_files {
    char source[INSTALL_FILES][PATH_MAX_TEXT + 1];
    char target[INSTALL_FILES][PATH_MAX_TEXT + 1];
    char folder[SETTINGS_VALUE + 1];
};

static void select_files(install_files *files, const int selected[INSTALL_FILES]) {
    static const char *const names[INSTALL_FILES] = {PALM_TIMES_PDB, PALM_PROJECTS_PDB,
                                                     PALM_PROGRAM};
    memset(files, 0, sizeof *files);
    settings_read(SETTINGS_SECTION, "PalmIns", files->folder);
    path_add_separator(files->folder, sizeof files->folder);
    for (int i = 0; i < INSTALL_FILES; i++) {
        if (!selected[i]) continue;
        palm_local_path(files->source[i], sizeof files->source[i], names[i]);
        snprintf(files->target[i], sizeof files->target[i], "%s%s", files->folder, names[i]);
    }
}

// Two paths that name the same file as far as their text tells (case and separators aside).
static bool same_path(const char *a, const char *b) {
    char first[PATH_MAX_TEXT + 1], second[PATH_MAX_TEXT + 1];
    text_copy_max(first, a, PATH_MAX_TEXT);
    text_copy_max(second, b, PATH_MAX_TEXT);
    path_backslashes(first);
    path_backslashes(second);
    text_upper(first);
    text_upper(second);
    return strcmp(first, second) == 0;
}

// Palm Desktop 3: the files copied into the install folder, then the HotSync flag set.
static int install_by_copy(const install_files *files) {
    int result = 0;
    for (int i = 0; i < INSTALL_FILES; i++) {
        if (!files->source[i][0]) continue;
        // Without an install folder the copy would go onto the file itself and empty it.
        if (text_is_blank(files->folder) || same_path(files->source[i], files->target[i])) {
            msg_warn(text(TXT_PALM_NO_INSTALL_FOLDER), files->folder);
            return -1;
        }
        if (file_copy(files->source[i], files->target[i]) != 0) {
            msg_warn(text(TXT_PALM_NOT_COPIED), files->source[i], files->target[i]);
            result = -1;
        }
    }
    char value[SETTINGS_VALUE];
    settings_read(SETTINGS_SECTION, "PalmReg", value);
    if (text_is_blank(value)) return result;
    if (!system_services_available()) {
        msg_warn(text(TXT_REGISTRY_NEEDS_WINDOWS), PALM_HOTSYNC_KEY, value);
        return -1;
    }
    if (reg_write_dword(PALM_HOTSYNC_KEY, value, 1) != 0) {
        msg_warn(text(TXT_REGISTRY_NOT_SET), PALM_HOTSYNC_KEY, value);
        return -1;
    }
    return result;
}

// A word of the command line, in quotes when it holds a blank (out holds PATH_MAX_TEXT + 3 bytes).
static void quoted(char *out, const char *word) {
    const char *quote = strchr(word, ' ') ? "\"" : "";
    snprintf(out, PATH_MAX_TEXT + 3, "%s%s%s", quote, word, quote);
}

// Palm Desktop 4: the installer program started with the paths of the files.
static int install_by_program(const install_files *files) {
    char program[SETTINGS_VALUE], words[1 + INSTALL_FILES][PATH_MAX_TEXT + 3];
    settings_read(SETTINGS_SECTION, "Palm4QI", program);
    quoted(words[0], program);
    for (int i = 0; i < INSTALL_FILES; i++) quoted(words[1 + i], files->source[i]);
    char line[COMMAND_LINE_MAX + 1];
    snprintf(line, sizeof line, "%s %s %s %s", words[0], words[1], words[2], words[3]);
    path_backslashes(line);
    if (!system_services_available()) {
        msg_warn(text(TXT_PROGRAM_NEEDS_WINDOWS), line);
        return -1;
    }
    if (run_program(line) != 0) {
        msg_warn(text(TXT_PROGRAM_NOT_STARTED), line);
        return -1;
    }
    return 0;
}

int palm_install(int times, int projects, int program) {
    const int selected[INSTALL_FILES] = {times, projects, program};
    install_files files;
    select_files(&files, selected);
    switch (palm_mode()) {
    case PALM_FILES_ONLY:
        msg_info(text(TXT_PLEASE_INSTALL), files.source[0], files.source[1], files.source[2]);
        return 0;
    case PALM_DESKTOP_3:
        return install_by_copy(&files);
    case PALM_DESKTOP_4:
        return install_by_program(&files);
    default:
        return 0;
    }
}
