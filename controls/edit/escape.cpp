// Escape commands of the edit and show controls.
#include "controls/edit/escape.h"
#include "controls/edit/control_styles.h"
#include "frame/text.h"

#include <string.h>

void escape_parse(escape_command *command, const char *text) {
    memset(command, 0, sizeof *command);
    char read[ESCAPE_READ + 1];
    text_copy_max(read, text, ESCAPE_READ);
    if (read[0] == 0 || read[1] == 0) return;
    command->letter = read[1];
    text_copy_max(command->argument, read + 2, ESCAPE_READ);
    text_trim(command->argument);
    char rest[ESCAPE_READ + 1];
    memcpy(rest, command->argument, sizeof rest);
    for (int i = 0; i < 3; i++) {
        char word[ESCAPE_READ + 1];
        text_token(word, sizeof word, rest);
        command->numbers[i] = control_int(word);
    }
}

uint32_t escape_colour(const escape_command *command) {
    return (uint32_t)(command->numbers[0] & 0xFF) | (uint32_t)(command->numbers[1] & 0xFF) << 8 |
           (uint32_t)(command->numbers[2] & 0xFF) << 16;
}

uint32_t escape_style(uint32_t style, int n) {
    return (style & ~0xFFu) | (uint32_t)n;
}
