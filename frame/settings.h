// The settings file (profile format: [section] and key=value lines): text and integer values.
// On Windows the system's profile functions serve it; elsewhere a reader and writer of the same
// behaviour (section and key names compared without case, everything else kept when writing).
#pragma once

enum { SETTINGS_VALUE = 80, SETTINGS_NAME_MAX = 260 };

// The file name as the profile functions take it (a name without folder lies in the Windows
// folder on Windows); "" until set.
void settings_set_file(const char *name);
const char *settings_file(void);
// Writes the value (0, or -1 when the file could not be written).
// 0, or -1 with warning 99.
int settings_write(const char *section, const char *key, const char *text);
int settings_write_int(const char *section, const char *key, int number);
// At most SETTINGS_VALUE - 1 characters into buffer (SETTINGS_VALUE bytes); "" when missing.
void settings_read(const char *section, const char *key, char *buffer);
// The value as a signed decimal number (blanks and a sign allowed, up to the first non-digit,
// at most 19 characters read); 0 when missing.
int settings_read_int(const char *section, const char *key);
