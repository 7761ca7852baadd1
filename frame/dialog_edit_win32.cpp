// Unsaved changes of the editing dialogs: asked about once, saved or let go, and never lost to a
// save that fails.
#include "frame/dialog_edit.h"
#include "frame/dialog.h"
#include "frame/msgbox.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"

// Escape and the close box: "Ja" saves and closes (a failed save keeps the dialog open), "Nein"
// lets the changes go and closes.
static void cancel(const dialog_edits *edits) {
    if (edits->changed()) {
        if (!ask(text(TXT_SAVE_CHANGES)))
            edits->discard();
        else if (edits->save() != 0)
            return;
    }
    dialog_close_current();
}

// The program is about to end: 1 keeps it running, because the user chose "Abbrechen" or the
// save failed; 0 lets this dialog close (with nothing left to ask).
static int refuses_to_close(const dialog_edits *edits) {
    if (!edits->changed()) return 0;
    int answer = ask_yes_no_cancel(text(TXT_SAVE_CHANGES));
    if (answer < 0) return 1;
    if (answer == 0) {
        edits->discard();
        return 0;
    }
    return edits->save() != 0;
}

bool dialog_edits_message(const dialog_edits *edits, UINT message, WPARAM wparam, int *answer) {
    *answer = 0;
    if (is_close_box(message, wparam)) {
        cancel(edits);
        *answer = 1;
        return true;
    }
    if (message != WM_COMMAND) return false;
    if (wparam == CMD_QUERY_CLOSE) {
        *answer = refuses_to_close(edits);
        return true;
    }
    if (LOWORD(wparam) != IDCANCEL) return false;
    cancel(edits);
    return true;
}

void dialog_edits_save_and_close(const dialog_edits *edits) {
    if (edits->save() == 0) dialog_close_current();
}

void dialog_edits_on_close(const dialog_edits *edits) {
    if (edits->changed() && ask(text(TXT_SAVE_CHANGES))) edits->save();
}
