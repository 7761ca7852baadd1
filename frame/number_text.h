// Decimal numbers as German texts: decimal comma, thousands points, right-aligned in a width.
#pragma once

enum { NUMBER_TEXT_MAX = 40 };

// text holds NUMBER_TEXT_MAX + 1 bytes (a width above NUMBER_TEXT_MAX is cut to it).
// decimals 0-5 places; 9: up to 5 places without trailing zeros; -k: at least k places, up to 5.
// Rounds half away from zero on the decimal value, the same in every build.
void number_text(char *text, double value, int width, int decimals);
