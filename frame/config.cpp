// Reading the configuration resource: entries of "Key value" separated by two NUL bytes.
#include "frame/config.h"
#include "frame/text.h"
#include <stdlib.h>
#include <string.h>

void config_defaults(frame_config *config) {
    memset(config, 0, sizeof *config);
    strcpy(config->class_name, "TORKtest");
    strcpy(config->name, "TORK Testprogramm");
    strcpy(config->font, "Fixedsys");
    strcpy(config->large_icon, "ANW_ICON");
    strcpy(config->small_icon, "ANW_ICON");
    config->dde_server = 1;
    config->class_style = 0x8;          // CS_DBLCLKS
    config->window_style = 0x3CF0000UL; // WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_MAXIMIZE
}

// Hexadecimal digits after optional white space; a "0x" prefix stops at the x and reads 0.
static unsigned long hex_number(const char *text) {
    return (unsigned long)hex_value(text);
}

static void take_color(frame_config *config, const char *value) {
    char *end;
    for (int i = 0; i < 3; i++) {
        config->background_rgb[i] = (int)strtol(value, &end, 10);
        value = end;
    }
    config->background = BACKGROUND_COLOR;
}

struct text_key {
    const char *key;
    size_t offset;
    size_t capacity;
};

#define TEXT_KEY(key, field)                                                                       \
    { key, offsetof(frame_config, field), sizeof(frame_config::field) - 1 }
static const text_key text_keys[] = {
    TEXT_KEY("Class", class_name),
    TEXT_KEY("Name", name),
    TEXT_KEY("Font", font),
    TEXT_KEY("LargeIcon", large_icon),
    TEXT_KEY("SmallIcon", small_icon),
    TEXT_KEY("WPFile", wp_file),
    TEXT_KEY("WPSection", wp_section),
};
#undef TEXT_KEY

// One entry "Key value": 1 when its key is known, else 0.
static int take_entry(frame_config *config, char *entry) {
    char *space = strchr(entry, ' ');
    if (!space) return 0;
    *space = 0;
    const char *key = entry, *value = space + 1;
    while (text_is_space((unsigned char)*value)) value++;
    for (const text_key &known : text_keys) {
        if (strcmp(key, known.key) != 0) continue;
        text_copy_max((char *)config + known.offset, value, (int)known.capacity);
        return 1;
    }
    if (strcmp(key, "Single") == 0)
        config->single = atoi(value);
    else if (strcmp(key, "DDEServer") == 0)
        config->dde_server = atoi(value);
    else if (strcmp(key, "CStyle") == 0)
        config->class_style = hex_number(value);
    else if (strcmp(key, "WStyle") == 0)
        config->window_style = hex_number(value);
    else if (strcmp(key, "BGColor") == 0)
        take_color(config, value);
    else if (strcmp(key, "BGBitmap") == 0) {
        text_copy_max(config->background_bitmap, value, CONFIG_BITMAP);
        config->background = BACKGROUND_BITMAP;
    } else
        return 0;
    return 1;
}

int config_parse(frame_config *config, const unsigned char *data, size_t size) {
    int taken = 0;
    size_t at = 0;
    while (at < size && data[at] != 0) {
        char entry[CONFIG_ENTRY + 1];
        size_t length = 0;
        while (at < size && data[at] != 0) {
            if (length < CONFIG_ENTRY) entry[length++] = (char)data[at];
            at++;
        }
        entry[length] = 0;
        taken += take_entry(config, entry);
        // The entry's two terminating NUL bytes.
        for (int nul = 0; nul < 2 && at < size && data[at] == 0; nul++) at++;
    }
    return taken;
}
