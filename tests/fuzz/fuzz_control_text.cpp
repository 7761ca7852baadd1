// Fuzzes the texts the controls take from their callers and users: creation texts, values,
// escape commands, typed characters and keys, clipboard text and display commands. Nothing may
// overrun, and the edit field keeps its text, caret and selection inside its cells.
#include "controls/disp/disp_command.h"
#include "controls/edit/edit_field.h"
#include "controls/edit/escape.h"
#include "controls/show/show_field.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

static const number_seps SEPARATORS[] = {{',', '.'}, {'.', ','}, {'.', ' '}};

static void check_field(const edit_record *field) {
    if (strnlen(field->text, sizeof field->text) >= sizeof field->text) abort();
    if (field->caret < 0 || field->caret > field->head.cells) abort();
    if (field->anchor < -1 || field->anchor > field->head.cells) abort();
}

// Splits the input at bytes 0 into texts; the first byte of the input chooses sizes.
struct input {
    const char *text;
    size_t left;
};

static const char *next_text(input *in) {
    if (in->left == 0) return "";
    const char *start = in->text;
    size_t length = strnlen(start, in->left);
    in->text += length < in->left ? length + 1 : length;
    in->left -= length < in->left ? length + 1 : length;
    return start;
}

static void run_edit(input *in, int cells, const number_seps *seps) {
    edit_record field = {};
    field.head.width = 8 + cells * 8;
    field.head.height = 20;
    field.head.style = 0x60;
    field_metrics(&field.head, 8, 16, EDIT_CELLS_MAX);
    edit_create(&field, next_text(in), seps);
    char out[EDIT_CELLS_MAX + 1];
    while (in->left > 0) {
        const char *text = next_text(in);
        int clipboard;
        switch ((unsigned char)text[0] % 8) {
        case 0:
            edit_set_value(&field, text, text[1] & 1, seps);
            break;
        case 1:
            edit_escape(&field, text);
            break;
        case 2:
            for (const char *c = text + 1; *c; c++) edit_char(&field, (unsigned char)*c);
            break;
        case 3:
            for (const char *c = text + 1; *c; c++)
                edit_key(&field, (unsigned char)*c, *c & 1, *c & 2, &clipboard);
            break;
        case 4:
            edit_paste(&field, text + 1);
            break;
        case 5:
            edit_focus_enter(&field, seps);
            break;
        case 6:
            edit_focus_exit(&field, seps);
            edit_apply_pending(&field, seps);
            break;
        default:
            edit_place_caret(&field, edit_cell_at(&field, (signed char)text[1] * 4), text[0] & 1);
            edit_selection_text(&field, out, sizeof out);
            break;
        }
        check_field(&field);
        edit_get_value(&field, out, (int)sizeof out, seps);
        if ((int)strlen(out) > field.head.cells) abort();
    }
}

static void run_show_and_display(const char *text, int cells, const number_seps *seps) {
    static show_record show;
    memset(&show, 0, sizeof show);
    show.head.width = 8 + cells * 8;
    field_metrics(&show.head, 8, 16, SHOW_CELLS_MAX);
    show_create(&show, text, seps);
    show_set_value(&show, text, seps);
    show_escape(&show, text);
    char out[SHOW_TEXT_MAX + 1];
    show_get_value(&show, out, (int)sizeof out, seps);

    disp_command command;
    disp_parse(&command, text, cells, cells / 2);
    int32_t box[4] = {0, 0, 0, 0}, click[2] = {1, 2};
    disp_box_set(box, 7, &command);
    char reply[DISP_REPLY] = "";
    disp_reply(reply, command.text, cells, cells, click, box);
    int rect[4] = {command.numbers[0], command.numbers[1], command.numbers[2], command.numbers[3]};
    disp_fit(rect, command.numbers[2], command.numbers[3]);
    (void)disp_box_text(text);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    // A terminated copy, so every text ends inside the buffer.
    char *bytes = (char *)malloc(size + 1);
    memcpy(bytes, data + 1, size - 1);
    bytes[size - 1] = 0;
    int cells = data[0] % 64;
    const number_seps *seps = &SEPARATORS[data[0] / 64 % 3];
    run_show_and_display(bytes, data[0] * 5, seps);
    input in = {bytes, size - 1};
    run_edit(&in, data[0] < 250 ? cells : 300, seps);
    free(bytes);
    return 0;
}
