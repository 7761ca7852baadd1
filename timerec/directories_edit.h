// The rules of the directory settings dialog: the values its four fields would store, whether
// they differ from the present ones, and saving them to the settings file.
#pragma once
#include "timerec/directories.h"

enum { DIRECTORY_FIELD = 80, PERSON_FIELD = 10 };

// The texts of the dialog's fields: work, common and export directory, person identifier.
struct directory_fields {
    char work[DIRECTORY_FIELD + 1];
    char common[DIRECTORY_FIELD + 1];
    char export_dir[DIRECTORY_FIELD + 1];
    char person[DIRECTORY_FIELD + 1];
};

// The present values into the fields.
void directories_edit_present(directory_fields *fields);
// The folder a field stores (out holds DIRECTORY_MAX + 1 bytes): the text trimmed, with "/"
// appended when it ends without separator; the present folder when fewer than two characters
// are left.
void directories_edit_folder(char *out, const char *field, const char *present);
// The person identifier a field stores (out holds PERSON_MAX + 1 bytes): its first 10
// characters, trimmed; an empty text is taken too.
void directories_edit_person(char *out, const char *field);
// 1 when a field differs from its present value, both as it stands and as it would be stored (a
// folder without the separator the save appends, or a person cut to 10 characters, is no change).
int directories_edit_changed(const directory_fields *fields);
// Writes the four values to section "Installation" and makes them the present ones; 0. When a
// value cannot be written: the warning about the settings file, the present values stay, -1.
int directories_edit_save(const directory_fields *fields);
