// The exchange's file names and the settings it reads from section "Installation".
#include "frame/path.h"
#include "frame/settings.h"
#include "handheld/palm.h"
#include "timerec/directories.h"
#include <stdio.h>

const char PALM_TIMES_PDB[] = "Zeiten.PDB";
const char PALM_PROJECTS_PDB[] = "Projekte.PDB";
const char PALM_PROGRAM[] = "korvex.prc";
const char PALM_HOTSYNC_KEY[] = "Software\\U.S. Robotics\\Pilot Desktop\\HotSync Manager";

int palm_mode(void) {
    return settings_read_int(SETTINGS_SECTION, "UsePalm");
}

void palm_backup_path(char *out, size_t size) {
    char folder[SETTINGS_VALUE];
    settings_read(SETTINGS_SECTION, "PalmBak", folder);
    snprintf(out, size, "%s%s", folder, PALM_TIMES_PDB);
}

void palm_local_path(char *out, size_t size, const char *name) {
    char folder[PATH_MAX_TEXT + 2];
    if (current_dir(folder, sizeof folder - 1) != 0) folder[0] = 0;
    path_add_separator(folder, sizeof folder);
    snprintf(out, size, "%s%s", folder, name);
}
