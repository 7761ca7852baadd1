// The folders of the time recording and the person identifier, shared by all its modules.
#pragma once

enum { DIRECTORY_MAX = 80, PERSON_MAX = 12 };

// Work directory (year files), common directory (project file), export directory: each ends with
// a separator as the defaults and the settings dialog set them.
extern char WorkDir[DIRECTORY_MAX + 1];
extern char CommonDir[DIRECTORY_MAX + 1];
extern char ExportDir[DIRECTORY_MAX + 1];
// The user's initials, the export code; "?" when none was entered.
extern char Person[PERSON_MAX + 1];

// The program's folder (with its final separator) into out.
void directories_program_folder(char *out, int size);
// The program's folder three times and "?".
void directories_set_defaults(void);
// The defaults, then each of WorkDir, CommonDir, ExportDir and Person that section
// "Installation" of the settings file holds (taken as it stands; a longer person is cut).
void directories_load(void);

// The section of the settings file that holds the time recording's keys.
extern const char SETTINGS_SECTION[];
