// The handheld settings of section "Installation": loading, saving in their stored form, the
// question whether anything changed, the Palm desktop's default locations and the install flag.
#include "handheld/palm_setup.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/system.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "handheld/palm.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include <stdio.h>
#include <string.h>

const char PALM_PREFERENCES_KEY[] = "Software\\U.S. Robotics\\Pilot Desktop\\Preferences";
static const char PALM_BASE[] = "C:\\Programme\\Palm";
static const char INSTALLER[] = "QuickInstall.exe";
static const char FLAG_PATTERN[] = "Install*";
enum { USER_MAX = 40 };

void palm_setup_load(palm_setup *stored) {
    memset(stored, 0, sizeof *stored);
    stored->mode = settings_read_int(SETTINGS_SECTION, "UsePalm");
    settings_read(SETTINGS_SECTION, "PalmBak", stored->backup);
    settings_read(SETTINGS_SECTION, "PalmIns", stored->install);
    settings_read(SETTINGS_SECTION, "PalmReg", stored->flag);
    settings_read(SETTINGS_SECTION, "Palm4QI", stored->program);
}

void palm_setup_folder(char *out, const char *field) {
    text_copy_max(out, field, PALM_FIELD_MAX);
    size_t length = strlen(out);
    if (length > 0 && !path_is_separator(out[length - 1]) && length < PALM_FIELD_MAX) {
        out[length] = '/';
        out[length + 1] = 0;
    }
}

void palm_setup_normalize(palm_setup *stored, const palm_setup *fields) {
    memset(stored, 0, sizeof *stored);
    stored->mode = fields->mode;
    palm_setup_folder(stored->backup, fields->backup);
    palm_setup_folder(stored->install, fields->install);
    text_copy_max(stored->flag, fields->flag, PALM_REG_NAME_MAX);
    text_copy_max(stored->program, fields->program, PALM_FIELD_MAX);
}

// Every value is written even after a failure; the user hears of it once.
int palm_setup_save(const palm_setup *fields) {
    palm_setup stored;
    palm_setup_normalize(&stored, fields);
    int failed = 0;
    // A mode of -1 (none chosen) leaves the stored mode as it is.
    if (stored.mode >= 0) {
        char mode[16];
        snprintf(mode, sizeof mode, "%d", stored.mode);
        failed |= settings_store(SETTINGS_SECTION, "UsePalm", mode) != 0;
    }
    const char *const values[][2] = {{"PalmBak", stored.backup},
                                     {"PalmIns", stored.install},
                                     {"PalmReg", stored.flag},
                                     {"Palm4QI", stored.program}};
    for (const auto &value : values)
        failed |= settings_store(SETTINGS_SECTION, value[0], value[1]) != 0;
    if (!failed) return 0;
    msg_warn(text(TXT_CANNOT_WRITE_SETTINGS), settings_file());
    return -1;
}

int palm_setup_changed(const palm_setup *fields) {
    palm_setup loaded, stored, saved;
    palm_setup_load(&loaded);
    palm_setup_normalize(&stored, &loaded);
    palm_setup_normalize(&saved, fields);
    if (saved.mode < 0) saved.mode = stored.mode;
    return saved.mode != stored.mode || strcmp(saved.backup, stored.backup) != 0 ||
           strcmp(saved.install, stored.install) != 0 || strcmp(saved.flag, stored.flag) != 0 ||
           strcmp(saved.program, stored.program) != 0;
}

void palm_setup_defaults(palm_setup *fields, const char *user) {
    // A name cut to USER_MAX keeps the folders whole within a field.
    char name[USER_MAX + 1];
    text_copy_max(name, user && user[0] ? user : "?", USER_MAX);
    // "M.Mueller" is the folder "M"; a dot that begins the name is part of it.
    char *dot = strchr(name + 1, '.');
    if (dot) *dot = 0;
    snprintf(fields->backup, sizeof fields->backup, "%s\\%s\\%s\\", PALM_BASE, name, "Backup");
    snprintf(fields->install, sizeof fields->install, "%s\\%s\\%s\\", PALM_BASE, name, "Install");
    snprintf(fields->program, sizeof fields->program, "%s\\%s", PALM_BASE, INSTALLER);
}

static void note_flag(const char *name, const char *, void *context) {
    if (text_match(FLAG_PATTERN, name)) text_copy_max((char *)context, name, PALM_FIELD_MAX);
}

int palm_setup_find_flag(char *flag) {
    flag[0] = 0;
    reg_enum_values(PALM_HOTSYNC_KEY, note_flag, flag);
    return flag[0] ? 0 : -1;
}
