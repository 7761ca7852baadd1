// The handheld settings as their dialog edits them: the values of section "Installation", the
// default locations of a HotSync user, and the search for HotSync's install flag.
#pragma once
#include "frame/settings.h"

enum { PALM_REG_NAME_MAX = 40, PALM_FIELD_MAX = 80 };

// What the dialog's fields hold, or what the settings file holds.
struct palm_setup {
    int mode;                         // UsePalm; -1 when none is chosen
    char backup[PALM_FIELD_MAX + 1];  // PalmBak
    char install[PALM_FIELD_MAX + 1]; // PalmIns
    char flag[PALM_FIELD_MAX + 1];    // PalmReg
    char program[PALM_FIELD_MAX + 1]; // Palm4QI
};

extern const char PALM_PREFERENCES_KEY[]; // the Palm desktop's key holding "LastUserName"

void palm_setup_load(palm_setup *stored);
// A folder as it is stored (out holds PALM_FIELD_MAX + 1 bytes): "/" appended unless it is empty
// or ends in a separator.
void palm_setup_folder(char *out, const char *folder);
// The values as they are stored: folders end with a separator, the flag is cut to its length.
void palm_setup_normalize(palm_setup *stored, const palm_setup *fields);
// Writes the fields as palm_setup_normalize makes them (the mode only when one is chosen); 0, or
// -1 after a warning that the settings file could not be written.
int palm_setup_save(const palm_setup *fields);
// 1 when saving the fields would change what the settings file holds.
int palm_setup_changed(const palm_setup *fields);
// The backup and install folders and the installer program that the Palm desktop gives the
// HotSync user (NULL or "" when none is known); the mode and the flag stay.
void palm_setup_defaults(palm_setup *fields, const char *user);
// The name of the last value of HotSync's key that matches "Install*" into flag
// (PALM_FIELD_MAX + 1 bytes); 0, or -1 with flag empty when there is none.
int palm_setup_find_flag(char *flag);
