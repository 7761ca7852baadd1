// In-place editing of terminated 8-bit texts (Windows-1252): trimming, tokens, padding,
// insertion, tabs, case, search, wildcard match and hexadecimal numbers.
// Helpers that can make a text longer take the size of the caller's area and cut to it.
#pragma once
#include <stddef.h>

enum { TEXT_TABS_MAX = 503 };

// Blank, tab, carriage return, line feed, vertical tab, form feed.
// One test of a bit instead of six comparisons: the journal's readers ask this of every line.
inline int text_is_space(int c) {
    const unsigned long long spaces =
        1ull << ' ' | 1ull << '\t' | 1ull << '\r' | 1ull << '\n' | 1ull << '\v' | 1ull << '\f';
    return (unsigned)c <= ' ' && (spaces >> c & 1);
}
// Removes white space at both ends; 0 when nothing is left, else 1.
int text_trim(char *text);
// text_trim for a text whose length is known; the new length.
size_t text_trim_length(char *text, size_t length);
// The length of the first length bytes of text without the white space at their end (nothing is
// written).
size_t text_trimmed_length(const char *text, size_t length);
// Removes white space at the end; 0 when nothing is left, else 1.
int text_trim_right(char *text);
// 1 when the text is empty or only white space.
int text_is_blank(const char *text);
// Trims text, moves its leading run of non-white-space characters into token (size bytes),
// removes it from text and trims text again; the length of the token as found.
int text_token(char *token, size_t size, char *text);
// The first character of text is the delimiter: out (size bytes) receives what follows up to the
// next delimiter or the end; text keeps the rest from that closing delimiter on.
void text_delimited(char *out, size_t size, char *text);
// Deletes count characters at position (at most up to the end).
void text_delete(char *text, int position, int count);
// Inserts insertion at position (negative: 0, beyond the end: the end); text has size bytes,
// and what does not fit is cut at the end.
void text_insert(const char *insertion, char *text, int position, size_t size);
// out (length + 1 bytes) receives exactly length characters: the start of text, then blanks.
void text_pad(char *out, const char *text, int length);
// Copies at most count characters and terminates; the number copied.
int text_copy_max(char *out, const char *text, int count);
// count times the character, terminated.
void text_fill(char *out, int count, int character);
// Upper-cases a-z and the code points 224 to 254.
void text_upper(char *text);
int text_upper_char(int c);
// Index of the first occurrence, case-sensitive, or -1.
int text_find(const char *text, const char *sought);
int text_index(const char *text, int character);
// Replaces tabs by blanks up to the next multiple of 8 columns; the result holds at most
// TEXT_TABS_MAX characters and never more than size-1.
void text_expand_tabs(char *text, size_t size);
// Skips white space and reads hexadecimal digits; 0 when none follow.
long hex_value(const char *text);
// Wildcard match of the whole text: '#' one digit, '*' any run, '?' any one character,
// everything else equal after upper-casing. 1 or 0.
int text_match(const char *pattern, const char *text);
