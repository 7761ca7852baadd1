// Services of the system below the user's registry key and the start of programs. They exist
// on Windows; elsewhere every call fails and system_services_available says so.
#pragma once

enum { REG_TEXT_MAX = 80, REG_VALUES_MAX = 100 };

// 1 where the registry and program start exist (Windows), else 0.
int system_services_available(void);

// Sets value name of key (below HKEY_CURRENT_USER, which must exist) as a REG_DWORD; 0, or -1.
int reg_write_dword(const char *key, const char *name, unsigned long number);
// Sets value name of key (below HKEY_CURRENT_USER, created when missing) as a REG_SZ text;
// 0, or -1.
int reg_write_text(const char *key, const char *name, const char *text);
// Removes value name of key; 0 (also when there was no such value), or -1.
int reg_delete_value(const char *key, const char *name);
// At most REG_TEXT_MAX bytes of a text value into out (REG_TEXT_MAX + 1 bytes); 0, or -1 with
// out empty.
int reg_read_string(const char *key, const char *name, char *out);

// Called with each value's name and data (texts of at most REG_TEXT_MAX bytes; data of other
// types as far as it is text).
typedef void (*reg_value_fn)(const char *name, const char *data, void *context);
// Calls function for each value of key, at most REG_VALUES_MAX; 1 when at least one value was
// found, else 0 (also when the key cannot be opened).
int reg_enum_values(const char *key, reg_value_fn function, void *context);

// Starts the command line (every '/' made '\') as a program in a normally shown window; 0, or
// -1 when it could not be started.
int run_program(const char *command_line);
