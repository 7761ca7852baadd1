// What the report dialogs share: their list lines, the clipboard copy and the selected line.
#include "timerec/report_dialogs.h"
#include "frame/desktop.h"
#include "frame/dialog.h"
#include "frame/memory.h"
#include <stdint.h>

// Appended where the report puts it, even in a sorted list box: the statistics orders its lines
// itself (case-insensitively, with a fixed order among names that differ only in case), and its
// copy text follows that order; the list box's own sort leaves such names in whatever order the
// system's comparison gives.
void report_list_line(const char *line, void *item) {
    dlg_list_insert((int)(intptr_t)item, -1, line);
}

int report_to_clipboard(char *text) {
    if (!text) return -1;
    int result = clipboard_set_text(text);
    ffree(text);
    return result;
}

int report_selected_line(int item, char *line, int size) {
    line[0] = 0;
    int selected = dlg_list_current(item);
    if (selected >= 0 && dlg_list_text(item, selected, line, size) < 0) line[0] = 0;
    return selected;
}
