// The settings file (profile format: [section] and key=value lines): text and integer values.
// On Windows the system's profile functions serve it; elsewhere a reader and writer of the same
// behaviour (section and key names compared without case, everything else kept when writing).
#pragma once
#include <stddef.h>

enum { SETTINGS_VALUE = 80, SETTINGS_NAME_MAX = 260 };

// The file name as the profile functions take it (a name without folder lies in the Windows
// folder on Windows); "" until set.
void settings_set_file(const char *name);
const char *settings_file(void);
// Writes the value; 0, or -1 with the warning that the settings file cannot be written (every
// setting written after it would be lost as well).
int settings_write(const char *section, const char *key, const char *text);
// The platform's writer behind settings_write.
int settings_store(const char *section, const char *key, const char *text);
int settings_write_int(const char *section, const char *key, int number);
// At most SETTINGS_VALUE - 1 characters into buffer (SETTINGS_VALUE bytes); "" when missing.
void settings_read(const char *section, const char *key, char *buffer);
// The value as a signed decimal number (blanks and a sign allowed, up to the first non-digit,
// at most 19 characters read); 0 when missing.
int settings_read_int(const char *section, const char *key);

// The settings file of the program's folder for a configured name: a bare name is taken from
// the program's folder (the Windows folder, where the profile functions would put it, may not
// be writable); a name with a folder stays as it is.
void settings_program_path(char *out, size_t size, const char *name);
// The name of the program's settings file.
extern const char SETTINGS_PROGRAM_FILE[];
