// The masked edit field under the user's hands: keys, typed characters, caret, selection and
// the text that goes to and comes from the clipboard.
#include "controls/edit/edit_field.h"
#include "frame/text.h"

#include <string.h>

static int is_printable(int c) {
    return (c >= 32 && c <= 126) || (c >= 160 && c <= 255);
}

static int is_digit(int c) {
    return c >= '0' && c <= '9';
}

// Whether the type takes a character typed in insert mode.
static int type_takes(int type, int c) {
    if (type == '0') return is_digit(c) || c == '-';
    if ((type >= '1' && type <= '5') || type == '9')
        return is_digit(c) || c == '-' || c == '.' || c == ',';
    if (type == 'Z') return is_digit(c);
    return 1;
}

// Brings the text to exactly cells characters, so that every edit works on whole cells even
// when a key arrives before the first value or focus has padded it.
static void fit_text(edit_record *field) {
    text_pad(field->text, field->text, field->head.cells);
    if (field->caret > field->head.cells) field->caret = field->head.cells;
    if (field->anchor > field->head.cells) field->anchor = field->head.cells;
}

static int accept(edit_record *field) {
    field->changed_since_paint = 1;
    field->edit_state = 1;
    field->pending[0] = 0;
    return EDIT_ACCEPTED | EDIT_REPAINT;
}

int edit_selection(const edit_record *field, int *lo, int *hi) {
    if (field->anchor < 0 || field->anchor == field->caret) return 0;
    *lo = field->anchor < field->caret ? field->anchor : field->caret;
    *hi = field->anchor < field->caret ? field->caret : field->anchor;
    return 1;
}

int edit_selection_text(const edit_record *field, char *out, int size) {
    int lo, hi;
    if (size <= 0) return 0;
    out[0] = 0;
    if (!edit_selection(field, &lo, &hi)) return 0;
    int count = hi - lo < size - 1 ? hi - lo : size - 1;
    int length = (int)strlen(field->text);
    if (lo + count > length) count = length > lo ? length - lo : 0;
    memcpy(out, field->text + lo, (size_t)count);
    out[count] = 0;
    return count;
}

// Removes count cells at position, filling the freed cells at the end with blanks.
static void remove_cells(edit_record *field, int position, int count) {
    int cells = field->head.cells;
    memmove(field->text + position, field->text + position + count,
            (size_t)(cells - position - count));
    memset(field->text + cells - count, ' ', (size_t)count);
}

void edit_remove_selection(edit_record *field) {
    int lo, hi;
    fit_text(field);
    if (!edit_selection(field, &lo, &hi)) return;
    remove_cells(field, lo, hi - lo);
    field->caret = lo;
    field->anchor = -1;
}

// Clipboard text keeps its first line only, and control characters become blanks: a line
// break or tab taken into a one-line value would break the fixed-column files it ends up in.
void edit_paste(edit_record *field, const char *clipboard_text) {
    fit_text(field);
    int room = field->head.cells - field->caret;
    int count = 0;
    while (count < room && clipboard_text[count] && clipboard_text[count] != '\r' &&
           clipboard_text[count] != '\n')
        count++;
    char *at = field->text + field->caret;
    memmove(at + count, at, (size_t)(room - count));
    for (int i = 0; i < count; i++) {
        unsigned char c = (unsigned char)clipboard_text[i];
        at[i] = (char)(c < 32 || c == 127 ? ' ' : c);
    }
}

int edit_place_caret(edit_record *field, int cell, int extend) {
    int flags = 0;
    if (cell < 0) cell = 0;
    if (cell > field->head.cells) cell = field->head.cells;
    if (!extend) {
        if (field->anchor != -1) flags = EDIT_REPAINT;
        field->anchor = -1;
    } else if (field->free_entry) {
        if (field->anchor == -1) field->anchor = field->caret;
        flags = EDIT_REPAINT;
    }
    field->caret = cell;
    return flags;
}

int edit_cell_at(const edit_record *field, int x) {
    int width = field->head.char_width > 0 ? field->head.char_width : 1;
    int cell = (x - field_margin(&field->head)) / width;
    int end = edit_value_end(field);
    return cell > end ? end : cell;
}

int edit_select_all(edit_record *field) {
    if (!field->free_entry) return 0;
    field->caret = edit_value_end(field);
    field->anchor = field->caret != 0 ? 0 : -1;
    return EDIT_REPAINT;
}

static int key_back(edit_record *field) {
    if (!field->free_entry) {
        if (field->caret > 0) field->caret--;
    } else if (field->anchor != -1 && field->anchor != field->caret) {
        edit_remove_selection(field);
    } else if (field->caret > 0) {
        field->caret--;
        remove_cells(field, field->caret, 1);
    }
    return accept(field);
}

static int key_delete(edit_record *field, int shift, int *clipboard) {
    if (shift) {
        *clipboard = EDIT_CLIP_CUT;
        return accept(field);
    }
    if (!field->free_entry) return 0;
    if (field->anchor != -1 && field->anchor != field->caret)
        edit_remove_selection(field);
    else if (field->caret < field->head.cells)
        remove_cells(field, field->caret, 1);
    return accept(field);
}

static int key_right(const edit_record *field) {
    int end = edit_value_end(field);
    return field->caret < field->head.cells && field->caret < end ? field->caret + 1 : field->caret;
}

// Ctrl with C, V or X (either case): copy, paste or cut; -1 for any other key.
static int clipboard_key(edit_record *field, int key, int ctrl, int *clipboard) {
    int letter = key >= 'a' && key <= 'z' ? key - 32 : key;
    if (!ctrl || (letter != 'C' && letter != 'V' && letter != 'X')) return -1;
    *clipboard = letter == 'C' ? EDIT_CLIP_COPY : letter == 'V' ? EDIT_CLIP_PASTE : EDIT_CLIP_CUT;
    return letter == 'C' ? 0 : accept(field);
}

int edit_key(edit_record *field, int key, int shift, int ctrl, int *clipboard) {
    *clipboard = EDIT_CLIP_NONE;
    fit_text(field);
    switch (key) {
    case EDIT_KEY_BACK:
        return key_back(field);
    case EDIT_KEY_DELETE:
        return key_delete(field, shift, clipboard);
    case EDIT_KEY_HOME:
        return edit_place_caret(field, 0, shift);
    case EDIT_KEY_END:
        return edit_place_caret(field, edit_value_end(field), shift);
    case EDIT_KEY_LEFT:
    case EDIT_KEY_UP:
        return edit_place_caret(field, field->caret > 0 ? field->caret - 1 : 0, shift);
    case EDIT_KEY_RIGHT:
    case EDIT_KEY_DOWN:
        return edit_place_caret(field, key_right(field), shift);
    case EDIT_KEY_INSERT:
        if (shift) {
            *clipboard = EDIT_CLIP_PASTE;
            return accept(field);
        }
        if (ctrl) *clipboard = EDIT_CLIP_COPY;
        return 0;
    default:
        return clipboard_key(field, key, ctrl, clipboard);
    }
}

// Mask mode: the cell takes the character when its mask allows; the caret goes on to the
// next cell that takes input, or to the end of the mask.
static void type_masked(edit_record *field, int c) {
    int mask_length = (int)strlen(field->mask);
    int at = field->caret;
    if (at < mask_length && at < field->head.cells) {
        char m = field->mask[at];
        if ((m == '#' && is_digit(c)) || m == '$') field->text[at] = (char)c;
    }
    if (at < mask_length) {
        at++;
        while (at < mask_length && field->mask[at] != '#' && field->mask[at] != '$') at++;
    }
    field->caret = at > field->head.cells ? field->head.cells : at;
}

// Insert mode: the character goes in at the caret unless the field is full.
static void type_inserted(edit_record *field, int c) {
    edit_remove_selection(field);
    int cells = field->head.cells;
    if (cells == 0 || field->text[cells - 1] != ' ' || field->caret >= cells) return;
    char *at = field->text + field->caret;
    memmove(at + 1, at, (size_t)(cells - 1 - field->caret));
    *at = (char)c;
    field->caret++;
}

int edit_char(edit_record *field, int character) {
    int c = character & 0xFF;
    if (!is_printable(c)) return 0;
    fit_text(field);
    if (!field->free_entry) {
        type_masked(field, c);
    } else {
        if (!type_takes(field->type, c)) return 0;
        type_inserted(field, c);
    }
    return accept(field);
}
