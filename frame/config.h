// The program's character read from its configuration resource: window class, title, font,
// icons, single-instance rule, DDE server, styles, settings file and background.
#pragma once
#include <stddef.h>

enum {
    CONFIG_CLASS = 40,
    CONFIG_NAME = 80,
    CONFIG_FONT = 20,
    CONFIG_LARGE_ICON = 20,
    CONFIG_SMALL_ICON = 23,
    CONFIG_WP_FILE = 20,
    CONFIG_WP_SECTION = 22,
    CONFIG_BITMAP = 40,
    CONFIG_ENTRY = 103, // characters of one entry
};

// What the background brush is made of; the last BGColor or BGBitmap entry wins.
enum { BACKGROUND_SYSTEM = 0, BACKGROUND_COLOR = 1, BACKGROUND_BITMAP = 2 };

struct frame_config {
    char class_name[CONFIG_CLASS + 1];
    char name[CONFIG_NAME + 1];
    char font[CONFIG_FONT + 1];
    char large_icon[CONFIG_LARGE_ICON + 1];
    char small_icon[CONFIG_SMALL_ICON + 1];
    int single;
    int dde_server;
    unsigned long class_style;
    unsigned long window_style;
    char wp_file[CONFIG_WP_FILE + 1];
    char wp_section[CONFIG_WP_SECTION + 1];
    int background;
    int background_rgb[3];
    char background_bitmap[CONFIG_BITMAP + 1];
};

// The values that hold when the resource does not name them.
void config_defaults(frame_config *config);
// Reads the entries of a configuration resource of size bytes ("Key value" each followed by two
// NUL bytes, ending where an entry would begin with a NUL) over the values already in config.
// Entries without a space and with unknown keys are ignored. The number of entries taken.
int config_parse(frame_config *config, const unsigned char *data, size_t size);
