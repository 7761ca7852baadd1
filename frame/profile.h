// The profile text format of settings files, as pure text operations: finding a value and
// setting one while keeping every other line as it was.
#pragma once
#include <stddef.h>

// The value of key in section of the profile text (size bytes); section and key names compare
// without case, blanks around names and values are ignored, and one pair of quotes around a
// value is removed. At most out_size-1 characters into out; 0, or -1 (out "") when missing.
int profile_find(const char *text, size_t size, const char *section, const char *key, char *out,
                 size_t out_size);

// The profile text with key in section set to value, into out (out_size bytes): the key's line
// replaced, or a new line after the section's last entry, or a new section at the end (new lines
// end with CR LF). The length of the new text, or -1 when it does not fit.
long profile_set(const char *text, size_t size, const char *section, const char *key,
                 const char *value, char *out, size_t out_size);
