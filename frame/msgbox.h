// The program's message boxes: information, warning, the fatal box, and yes/no questions. While
// a box is shown, the main window and every dialog are disabled.
#pragma once

// Routes msg_info, msg_warn and msg_fatal (and with them assert_fail) to message boxes.
void msgbox_install(void);
// A yes/no question captioned with the active window's title; 1 for yes, else 0.
int ask_yes_no(const char *text, int default_no);
// The same with yes as the default button.
int ask(const char *text);
// A yes/no/cancel question, yes the default: 1 yes, 0 no, -1 cancel.
int ask_yes_no_cancel(const char *text);
