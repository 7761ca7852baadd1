// The options in section "Optionen" of the settings file.
#include "timerec/options.h"
#include "frame/settings.h"
#include "frame/text.h"
#include <stdio.h>
#include <string.h>

const char OPTIONS_SECTION[] = "Optionen";

static const char KEY_TRAY[] = "TrayMinimize", KEY_IDLE[] = "IdleQuestion",
                  KEY_IDLE_MINUTES[] = "IdleMinutes", KEY_SHUTDOWN[] = "ShutdownMoment",
                  KEY_LONG[] = "LongNotice", KEY_LONG_MINUTES[] = "LongMinutes";

void options_defaults(kx_options *options) {
    options->tray_minimize = false;
    options->idle_question = true;
    options->idle_minutes = IDLE_MINUTES_DEFAULT;
    options->shutdown_moment = true;
    options->long_notice = true;
    options->long_minutes = LONG_MINUTES_DEFAULT;
}

bool options_equal(const kx_options *a, const kx_options *b) {
    return a->tray_minimize == b->tray_minimize && a->idle_question == b->idle_question &&
           a->idle_minutes == b->idle_minutes && a->shutdown_moment == b->shutdown_moment &&
           a->long_notice == b->long_notice && a->long_minutes == b->long_minutes;
}

int options_minutes(const char *field, int *minutes) {
    char digits[SETTINGS_VALUE];
    text_copy_max(digits, field, SETTINGS_VALUE - 1);
    text_trim(digits);
    size_t length = strlen(digits);
    if (length == 0 || length > OPTION_MINUTES_FIELD) return 0;
    int number = 0;
    for (size_t i = 0; i < length; i++) {
        if (digits[i] < '0' || digits[i] > '9') return 0;
        number = number * 10 + (digits[i] - '0');
    }
    if (number < OPTION_MINUTES_MIN || number > OPTION_MINUTES_MAX) return 0;
    *minutes = number;
    return 1;
}

static void load_flag(const char *key, bool *flag) {
    char value[SETTINGS_VALUE];
    settings_read(OPTIONS_SECTION, key, value);
    text_trim(value);
    if (strcmp(value, "0") == 0) *flag = false;
    if (strcmp(value, "1") == 0) *flag = true;
}

static void load_minutes(const char *key, int *minutes) {
    char value[SETTINGS_VALUE];
    settings_read(OPTIONS_SECTION, key, value);
    options_minutes(value, minutes);
}

void options_load(kx_options *options) {
    options_defaults(options);
    load_flag(KEY_TRAY, &options->tray_minimize);
    load_flag(KEY_IDLE, &options->idle_question);
    load_minutes(KEY_IDLE_MINUTES, &options->idle_minutes);
    load_flag(KEY_SHUTDOWN, &options->shutdown_moment);
    load_flag(KEY_LONG, &options->long_notice);
    load_minutes(KEY_LONG_MINUTES, &options->long_minutes);
}

int options_save(const kx_options *options) {
    const struct {
        const char *key;
        int value;
    } values[] = {
        {KEY_TRAY, options->tray_minimize},        {KEY_IDLE, options->idle_question},
        {KEY_IDLE_MINUTES, options->idle_minutes}, {KEY_SHUTDOWN, options->shutdown_moment},
        {KEY_LONG, options->long_notice},          {KEY_LONG_MINUTES, options->long_minutes},
    };
    // The first value that cannot be written has been reported; the rest would fail alike.
    for (const auto &value : values)
        if (settings_write_int(OPTIONS_SECTION, value.key, value.value) != 0) return -1;
    return 0;
}
