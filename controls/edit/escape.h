// Escape commands of the edit and show controls: ESC, a command letter and arguments, sent as
// window text to change colours, the style byte or the type.
#pragma once
#include <stdint.h>

enum { ESCAPE_READ = 80 };

struct escape_command {
    char letter;
    int numbers[3];                 // the first three blank-separated arguments as integers
    char argument[ESCAPE_READ + 1]; // everything after the letter, without blanks at the ends
};

// Reads at most the first ESCAPE_READ characters of text, which begins with ESC.
void escape_parse(escape_command *command, const char *text);
// RGB of the three numbers, each taken modulo 256.
uint32_t escape_colour(const escape_command *command);
// The style with its low byte cleared and n combined into it.
uint32_t escape_style(uint32_t style, int n);
