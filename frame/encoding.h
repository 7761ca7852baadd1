// Windows-1252, the program's own texts, and UTF-8, which terminals and other programs read.
#pragma once

// Converts between UTF-8 and Windows-1252 (characters it lacks become '?'); out has size bytes
// and is cut at a whole character.
void encoding_to_utf8(char *out, int size, const char *text);
void encoding_from_utf8(char *out, int size, const char *text);
