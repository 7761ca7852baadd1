// The masked edit field: creation, values from and to the caller, escape commands and the
// changes of focus.
#include "controls/edit/edit_field.h"
#include "controls/edit/control_styles.h"
#include "controls/edit/escape.h"
#include "controls/edit/value_form.h"
#include "frame/text.h"

#include <string.h>

static const char DATE_MASK[] = "##.##.####";
static const char TIME_MASK[] = "##:##";

// Sets type, mode and mask from a type letter and what follows it.
static void set_type(edit_record *field, int letter, const char *rest) {
    field->type = (char)letter;
    field->auto_decimals = 0;
    field->free_entry = 0;
    if (letter == 'D')
        text_copy_max(field->mask, DATE_MASK, EDIT_CELLS_MAX);
    else if (letter == 'H')
        text_copy_max(field->mask, TIME_MASK, EDIT_CELLS_MAX);
    else if (letter == 'F')
        text_copy_max(field->mask, rest, EDIT_CELLS_MAX);
    else
        field->free_entry = 1;
    if (letter == 'N') {
        field->type = '9';
        field->auto_decimals = 1;
    }
}

static void text_from_mask(edit_record *field) {
    int i = 0;
    for (; field->mask[i]; i++) {
        char m = field->mask[i];
        field->text[i] = m == '#' ? '0' : m == '$' ? ' ' : m;
    }
    field->text[i] = 0;
}

void edit_create(edit_record *field, const char *creation_text, const number_seps *seps) {
    const char *rest = creation_text[0] ? creation_text + 1 : "";
    if (*rest == '=') rest++;
    set_type(field, creation_text[0] ? (unsigned char)creation_text[0] : 'T', rest);
    field->caret = 0;
    field->anchor = -1;
    field->edit_state = 0;
    if (!field->free_entry) {
        text_from_mask(field);
        return;
    }
    char padded[EDIT_CELLS_MAX + 1];
    text_pad(padded, rest, field->head.cells);
    value_display(field->text, padded, field->type, field->head.cells, seps);
    text_trim(field->text);
}

static void keep_inside(int32_t *cell, int cells) {
    if (*cell > cells) *cell = cells;
}

void edit_cut_to_cells(edit_record *field) {
    if ((int)strlen(field->text) > field->head.cells) field->text[field->head.cells] = 0;
    keep_inside(&field->caret, field->head.cells);
    keep_inside(&field->anchor, field->head.cells);
}

int edit_set_value(edit_record *field, const char *value, int shift, const number_seps *seps) {
    if (field->auto_decimals) field->type = (char)value_auto_type(value);
    char padded[EDIT_CELLS_MAX + 1];
    text_pad(padded, value, field->head.cells);
    if ((field->head.style & TS_DEFER) && field->edit_state != 0) {
        memcpy(field->pending, padded, sizeof padded);
        field->edit_state = 2;
        return 0;
    }
    char shown[EDIT_CELLS_MAX + 1];
    value_display(shown, padded, field->type, field->head.cells, seps);
    if (field->focused)
        value_edit(field->text, shown, field->type, field->head.cells, seps);
    else
        text_pad(field->text, shown, field->head.cells);
    if (field->focused)
        edit_place_caret(field, field->free_entry ? edit_value_end(field) : 0, shift);
    return 1;
}

void edit_get_value(const edit_record *field, char *out, int size, const number_seps *seps) {
    if (size <= 0 || out == nullptr) return;
    char text[EDIT_CELLS_MAX + 1];
    if (field->focused)
        value_from_edit(text, field->text, field->type, field->head.cells, seps);
    else
        text_copy_max(text, field->text, EDIT_CELLS_MAX);
    char canonical[EDIT_CELLS_MAX + 1];
    value_canonical(canonical, text, field->type, field->head.cells, seps);
    int room = size - 1 < field->head.cells ? size - 1 : field->head.cells;
    text_copy_max(out, canonical, room);
    text_trim_right(out);
}

int edit_escape(edit_record *field, const char *text) {
    escape_command command;
    escape_parse(&command, text);
    if (field_escape_look(&field->head, &command)) return 1;
    if (command.letter == 'T')
        set_type(field, (unsigned char)command.argument[0],
                 command.argument[0] ? command.argument + 1 : "");
    return 0;
}

void edit_focus_enter(edit_record *field, const number_seps *seps) {
    field->dragging = 0;
    if (!field->focused) {
        char shown[EDIT_CELLS_MAX + 1];
        text_copy_max(shown, field->text, EDIT_CELLS_MAX);
        value_edit(field->text, shown, field->type, field->head.cells, seps);
    }
    field->focused = 1;
    if (field->free_entry) {
        field->caret = edit_value_end(field);
        field->anchor = field->caret != 0 ? 0 : -1;
    } else {
        field->anchor = -1;
        field->caret = 0;
    }
}

void edit_focus_exit(edit_record *field, const number_seps *seps) {
    field->anchor = -1;
    field->caret = 0;
    if (field->focused) {
        char edited[EDIT_CELLS_MAX + 1];
        text_copy_max(edited, field->text, EDIT_CELLS_MAX);
        value_from_edit(field->text, edited, field->type, field->head.cells, seps);
        text_pad(field->text, field->text, field->head.cells);
    }
    field->focused = 0;
}

int edit_apply_pending(edit_record *field, const number_seps *seps) {
    int applied = field->edit_state == 2;
    if (applied) {
        char shown[EDIT_CELLS_MAX + 1];
        value_display(shown, field->pending, field->type, field->head.cells, seps);
        text_pad(field->text, shown, field->head.cells);
    }
    field->edit_state = 0;
    return applied;
}

int edit_value_end(const edit_record *field) {
    int end = (int)strnlen(field->text, (size_t)field->head.cells);
    while (end > 0 && field->text[end - 1] == ' ') end--;
    return end;
}

int edit_value_hidden(const edit_record *field) {
    if (field->focused || !(field->head.style & TS_BLANKZERO)) return 0;
    for (const char *c = field->text; *c; c++)
        if (!strchr("0 .,+-", *c)) return 0;
    return 1;
}
