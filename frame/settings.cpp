// The settings file's name and the integer values, over the text values of the platform.
#include "frame/settings.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <limits.h>
#include <stdio.h>
#include <string.h>

static char file_name[SETTINGS_NAME_MAX + 1];

void settings_set_file(const char *name) {
    text_copy_max(file_name, name, SETTINGS_NAME_MAX);
}

const char *settings_file(void) {
    return file_name;
}

int settings_write(const char *section, const char *key, const char *text) {
    if (settings_store(section, key, text) == 0) return 0;
    msg_warn(::text(TXT_CANNOT_WRITE_SETTINGS), file_name);
    return -1;
}

int settings_write_int(const char *section, const char *key, int number) {
    char digits[16];
    snprintf(digits, sizeof digits, "%d", number);
    return settings_write(section, key, digits);
}

enum { INT_DIGITS_READ = 19 };

// Like the runtime's atoi on the first 19 characters, kept within the range of an int.
int settings_read_int(const char *section, const char *key) {
    char value[SETTINGS_VALUE];
    settings_read(section, key, value);
    value[INT_DIGITS_READ] = 0;
    const char *p = value;
    while (text_is_space((unsigned char)*p)) p++;
    int sign = *p == '-' ? -1 : 1;
    if (*p == '-' || *p == '+') p++;
    long long number = 0;
    for (; *p >= '0' && *p <= '9'; p++)
        if (number <= INT_MAX) number = number * 10 + (*p - '0');
    number *= sign;
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return (int)number;
}

const char SETTINGS_PROGRAM_FILE[] = "TORKKX.ini";

void settings_program_path(char *out, size_t size, const char *name) {
    out[0] = 0;
    bool bare = path_name_index(name) == 0;
    if (bare) {
        char program[PATH_MAX_TEXT + 1];
        if (platform_program_path(program, sizeof program) == 0) path_dir(out, size, program);
    }
    size_t used = strlen(out);
    text_copy_max(out + used, name, (int)(size - used - 1));
}
