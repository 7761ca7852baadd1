// The options of the notification area and the reminders: their values, their defaults and
// their section of the settings file. (Starting with Windows lives in the registry instead.)
#pragma once

enum {
    OPTION_MINUTES_MIN = 1,
    OPTION_MINUTES_MAX = 1440,
    OPTION_MINUTES_FIELD = 4, // digits of a minutes field
    IDLE_MINUTES_DEFAULT = 15,
    LONG_MINUTES_DEFAULT = 600,
};

// The section of the settings file that holds the options.
extern const char OPTIONS_SECTION[];

struct kx_options {
    bool tray_minimize; // minimising hides the window; the icon stays
    bool idle_question; // ask after minutes without input whether to book a pause
    int idle_minutes;
    bool shutdown_moment; // keep the moment Windows ends the session while a project runs
    bool long_notice;     // say once when one project runs minutes without a booking
    int long_minutes;
};

void options_defaults(kx_options *options);
// The stored options; a missing or unreadable value takes its default, minutes out of range too.
void options_load(kx_options *options);
// Writes every option; 0, or -1 after the warning that the settings file cannot be written.
int options_save(const kx_options *options);
bool options_equal(const kx_options *a, const kx_options *b);
// A minutes field as a number: 1 and *minutes when it holds only digits (blanks around allowed)
// within OPTION_MINUTES_MIN..OPTION_MINUTES_MAX, else 0.
int options_minutes(const char *field, int *minutes);
