/* Names and item ids of the dialog manager's test dialogs, shared by dialog_test.rc and the
   tests (plain #defines, since the resource compiler reads this file too). */
#ifndef DIALOG_TEST_H
#define DIALOG_TEST_H

#define DLG_FULL "DB9001"  /* an edit, a list box, a combo box, a check box, OK and Cancel */
#define DLG_SMALL "DB9002" /* an edit and Cancel */
#define DLG_TINY "DB9003"  /* Cancel only */
#define DLG_MISSING "DB9999"

#define ID_TEST_EDIT 101
#define ID_TEST_LIST 102
#define ID_TEST_COMBO 103
#define ID_TEST_CHECK 104

#endif
