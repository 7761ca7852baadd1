// The profile text format of settings files: [section] lines and key=value lines.
#include "frame/profile.h"
#include "frame/text.h"
#include <string.h>

namespace {

// One line of the text: where it starts and ends (line end excluded) and where the next begins.
struct line_span {
    size_t start, end, next;
};

line_span line_at(const char *text, size_t size, size_t at) {
    const char *feed = (const char *)memchr(text + at, '\n', size - at);
    size_t next = feed ? (size_t)(feed - text) + 1 : size;
    size_t end = feed ? (size_t)(feed - text) : size;
    if (end > at && text[end - 1] == '\r') end--;
    return {at, end, next};
}

// The line's [start, end) without blanks around it.
void trimmed(const char *text, size_t *start, size_t *end) {
    while (*start < *end && text_is_space((unsigned char)text[*start])) (*start)++;
    while (*end > *start && text_is_space((unsigned char)text[*end - 1])) (*end)--;
}

bool same_name(const char *text, size_t start, size_t end, const char *name) {
    size_t length = strlen(name);
    while (length > 0 && text_is_space((unsigned char)name[length - 1])) length--;
    while (length > 0 && text_is_space((unsigned char)*name)) {
        name++;
        length--;
    }
    if (end - start != length) return false;
    for (size_t i = 0; i < length; i++)
        if (text_upper_char((unsigned char)text[start + i]) !=
            text_upper_char((unsigned char)name[i]))
            return false;
    return true;
}

// For a section line, the name's span; false for any other line.
bool section_name(const char *text, line_span line, size_t *start, size_t *end) {
    size_t s = line.start, e = line.end;
    trimmed(text, &s, &e);
    if (s >= e || text[s] != '[') return false;
    const char *close = (const char *)memchr(text + s, ']', e - s);
    if (!close) return false;
    *start = s + 1;
    *end = (size_t)(close - text);
    trimmed(text, start, end);
    return true;
}

// For a key line, the key's span and the position after its '='; false for any other line.
bool key_line(const char *text, line_span line, size_t *start, size_t *end, size_t *value) {
    size_t s = line.start, e = line.end;
    trimmed(text, &s, &e);
    if (s >= e || text[s] == ';' || text[s] == '[') return false;
    const char *equal = (const char *)memchr(text + s, '=', e - s);
    if (!equal) return false;
    *start = s;
    *end = (size_t)(equal - text);
    *value = *end + 1;
    trimmed(text, start, end);
    return true;
}

// Where a key stands in the text: its line, or where the section's entries end.
struct place {
    bool section_found, key_found;
    line_span key;        // the key's line when found
    size_t after_entries; // after the section's last non-blank line
};

place locate(const char *text, size_t size, const char *section, const char *key) {
    place found = {};
    bool inside = false;
    for (size_t at = 0; at < size;) {
        line_span line = line_at(text, size, at);
        size_t s, e, v;
        if (section_name(text, line, &s, &e)) {
            if (inside) break;
            inside = same_name(text, s, e, section);
            if (inside) {
                found.section_found = true;
                found.after_entries = line.next;
            }
        } else if (inside) {
            size_t ls = line.start, le = line.end;
            trimmed(text, &ls, &le);
            if (ls < le) found.after_entries = line.next;
            if (key_line(text, line, &s, &e, &v) && same_name(text, s, e, key)) {
                found.key_found = true;
                found.key = line;
                return found;
            }
        }
        at = line.next;
    }
    return found;
}

} // namespace

int profile_find(const char *text, size_t size, const char *section, const char *key, char *out,
                 size_t out_size) {
    if (out_size > 0) out[0] = 0;
    place found = locate(text, size, section, key);
    if (!found.key_found || out_size == 0) return -1;
    size_t s, e, v;
    key_line(text, found.key, &s, &e, &v);
    size_t start = v, end = found.key.end;
    trimmed(text, &start, &end);
    if (end - start >= 2 && (text[start] == '"' || text[start] == '\'') &&
        text[end - 1] == text[start]) {
        start++;
        end--;
    }
    size_t count = end - start < out_size - 1 ? end - start : out_size - 1;
    memcpy(out, text + start, count);
    out[count] = 0;
    return 0;
}

namespace {

// Appends bytes to out within its size; false when they do not fit.
bool put(char *out, size_t out_size, size_t *used, const char *bytes, size_t count) {
    if (*used + count >= out_size) return false;
    memcpy(out + *used, bytes, count);
    *used += count;
    return true;
}

bool put_text(char *out, size_t out_size, size_t *used, const char *text) {
    return put(out, out_size, used, text, strlen(text));
}

bool put_entry(char *out, size_t out_size, size_t *used, const char *key, const char *value) {
    return put_text(out, out_size, used, key) && put_text(out, out_size, used, "=") &&
           put_text(out, out_size, used, value);
}

} // namespace

long profile_set(const char *text, size_t size, const char *section, const char *key,
                 const char *value, char *out, size_t out_size) {
    place found = locate(text, size, section, key);
    size_t used = 0;
    bool fits;
    if (found.key_found) {
        // The key's line is replaced; its line end stays.
        fits = put(out, out_size, &used, text, found.key.start) &&
               put_entry(out, out_size, &used, key, value) &&
               put(out, out_size, &used, text + found.key.end, size - found.key.end);
    } else if (found.section_found) {
        size_t at = found.after_entries;
        bool ended = at > 0 && text[at - 1] == '\n';
        fits = put(out, out_size, &used, text, at) &&
               (ended || put_text(out, out_size, &used, "\r\n")) &&
               put_entry(out, out_size, &used, key, value) &&
               put_text(out, out_size, &used, "\r\n") &&
               put(out, out_size, &used, text + at, size - at);
    } else {
        bool ended = size == 0 || text[size - 1] == '\n';
        fits = put(out, out_size, &used, text, size) &&
               (ended || put_text(out, out_size, &used, "\r\n")) &&
               put_text(out, out_size, &used, "[") && put_text(out, out_size, &used, section) &&
               put_text(out, out_size, &used, "]\r\n") &&
               put_entry(out, out_size, &used, key, value) &&
               put_text(out, out_size, &used, "\r\n");
    }
    if (!fits) return -1;
    out[used] = 0;
    return (long)used;
}
