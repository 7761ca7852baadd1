// Values of the edit and show controls by type letter.
#include "controls/edit/value_form.h"
#include "frame/text.h"

#include <string.h>

enum { AUTO_READ = 80, DATE_LENGTH = 10 };

void value_display(char *out, const char *value, int type, int cells, const number_seps *seps) {
    if (number_type(type))
        number_display(out, value, cells, number_decimals(type), seps);
    else
        text_copy_max(out, value, cells);
}

// "dd.mm.yyyy" by position to "yyyy-mm-dd"; characters beyond the end of the text count as
// blanks.
static void date_canonical(char *out, const char *shown) {
    static const signed char order[DATE_LENGTH] = {6, 7, 8, 9, -1, 3, 4, -1, 0, 1};
    size_t length = strnlen(shown, DATE_LENGTH);
    for (int i = 0; i < DATE_LENGTH; i++) {
        int from = order[i];
        out[i] = from < 0 ? '-' : (size_t)from < length ? shown[from] : ' ';
    }
    out[DATE_LENGTH] = 0;
}

void value_canonical(char *out, const char *shown, int type, int cells, const number_seps *seps) {
    if (cells < 0) cells = 0;
    if (type == 'd') {
        char date[DATE_LENGTH + 1];
        date_canonical(date, shown);
        text_copy_max(out, date, cells);
    } else if (number_type(type)) {
        number_canonical(out, shown, cells, number_decimals(type), seps);
    } else {
        text_copy_max(out, shown, cells);
    }
}

void value_edit(char *out, const char *shown, int type, int cells, const number_seps *seps) {
    if (number_type(type))
        number_edit(out, shown, cells, seps);
    else
        text_pad(out, shown, cells < 0 ? 0 : cells);
}

void value_from_edit(char *out, const char *edited, int type, int cells, const number_seps *seps) {
    if (cells < 0) cells = 0;
    if (number_type(type))
        number_from_edit(out, edited, cells, number_decimals(type), seps);
    else
        text_pad(out, edited, cells);
}

int value_auto_type(const char *value) {
    char text[AUTO_READ + 1];
    text_copy_max(text, value, AUTO_READ);
    text_trim(text);
    const char *point = strchr(text, '.');
    int places = point ? (int)strlen(point + 1) : 0;
    return '0' + (places > 5 ? 5 : places);
}
