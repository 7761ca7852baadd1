// The one way the editing dialogs treat changes that are not saved yet: Escape and the close box
// offer them for saving and close unless that save fails; the program's end asks the same with a
// way back ("Abbrechen"); the save button closes only after a save that worked.
#pragma once
#include <windows.h>

struct dialog_edits {
    bool (*changed)(void); // the fields hold what is not stored
    int (*save)(void);     // stores the fields; 0, or -1 once the failure has been shown
    void (*discard)(void); // lets the changes go: afterwards changed() is false
};

// Takes the messages that close the current dialog (Escape, the close box, and the frame's
// question at the program's end, CMD_QUERY_CLOSE); true when it took one, with what the
// dialog's handler must answer in *answer.
bool dialog_edits_message(const dialog_edits *edits, UINT message, WPARAM wparam, int *answer);
// Stores the fields and closes the current dialog; a save that fails keeps it open.
void dialog_edits_save_and_close(const dialog_edits *edits);
// For the close function: a dialog closed any other way still offers its changes for saving.
void dialog_edits_on_close(const dialog_edits *edits);
