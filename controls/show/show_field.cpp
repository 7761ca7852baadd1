// The show field: creation, values in and out, escape commands and alignment.
#include "controls/show/show_field.h"
#include "controls/edit/control_styles.h"
#include "controls/edit/escape.h"
#include "controls/edit/value_form.h"
#include "frame/text.h"

#include <string.h>

static void set_type(show_record *field, int letter) {
    field->type = (char)letter;
    field->auto_decimals = letter == 'N';
    if (letter == 'N') field->type = '9';
}

// The value padded or cut to cells, in its display form, without trailing blanks.
static void set_shown(show_record *field, const char *value, const number_seps *seps) {
    char padded[SHOW_CELLS_MAX + 1];
    text_pad(padded, value, field->head.cells);
    value_display(field->text, padded, field->type, field->head.cells, seps);
    text_trim_right(field->text);
}

void show_create(show_record *field, const char *creation_text, const number_seps *seps) {
    char text[SHOW_TEXT_MAX + 1];
    text_copy_max(text, creation_text, SHOW_TEXT_MAX);
    set_type(field, text[0] ? (unsigned char)text[0] : 'T');
    const char *rest = text[0] ? text + 1 : text;
    if (*rest == '=') rest++;
    set_shown(field, rest, seps);
}

void show_cut_to_cells(show_record *field) {
    if (field->type != 0 && (int)strlen(field->text) > field->head.cells)
        field->text[field->head.cells] = 0;
}

void show_set_value(show_record *field, const char *value, const number_seps *seps) {
    if (field->auto_decimals) field->type = (char)value_auto_type(value);
    if (field->type == 0)
        text_copy_max(field->text, value, SHOW_TEXT_MAX);
    else
        set_shown(field, value, seps);
}

void show_get_value(const show_record *field, char *out, int size, const number_seps *seps) {
    if (size <= 0 || out == nullptr) return;
    if (field->type == 0) {
        text_copy_max(out, field->text, size - 1);
        return;
    }
    char value[SHOW_CELLS_MAX + 1];
    value_canonical(value, field->text, field->type, field->head.cells, seps);
    text_trim_right(value);
    text_copy_max(out, value, size - 1);
}

int show_escape(show_record *field, const char *text) {
    escape_command command;
    escape_parse(&command, text);
    if (field_escape_look(&field->head, &command)) return 1;
    if (command.letter == 'T') set_type(field, (unsigned char)command.argument[0]);
    return 0;
}

int show_margin(const show_record *field) {
    return field->type == 0 ? 0 : field_margin(&field->head);
}

int show_text_x(const show_record *field, int text_width) {
    int margin = show_margin(field);
    int room = field->head.width - 2 * margin - text_width;
    if (field->head.style & TS_RIGHT) return margin + room;
    if (field->head.style & TS_CENTER) return margin + room / 2;
    return margin;
}
