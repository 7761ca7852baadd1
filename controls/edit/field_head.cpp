// The head the records of the edit and show controls share.
#include "controls/edit/field_head.h"

int field_margin(const field_head *head) {
    return head->margin > 0 ? head->margin : FIELD_MARGIN;
}

void field_metrics(field_head *head, int char_width, int char_height, int cells_max) {
    head->char_width = char_width;
    head->char_height = char_height;
    // A font without a width would divide by zero; it counts as one pixel wide.
    int cells = (head->width - 2 * field_margin(head)) / (char_width > 0 ? char_width : 1);
    head->cells = cells < 0 ? 0 : cells > cells_max ? cells_max : cells;
    head->text_top = (head->height - char_height) / 2;
}

int field_escape_look(field_head *head, const escape_command *command) {
    switch (command->letter) {
    case 'H':
        head->background = escape_colour(command);
        return 1;
    case 'V':
        head->text_colour = escape_colour(command);
        return 1;
    case 'S':
        head->style = escape_style(head->style, command->numbers[0]);
        return 1;
    default:
        return 0;
    }
}
