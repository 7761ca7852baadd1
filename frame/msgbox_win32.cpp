// Message boxes: every window of the program is disabled while one is shown, and the window
// that was active is active again afterwards.
#include "frame/msgbox.h"
#include "frame/app.h"
#include "frame/dialog.h"
#include "frame/messages.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <windows.h>

enum { CAPTION_MAX = 79 };

static int show_box(HWND owner, const char *text, const char *caption, UINT flags) {
    HWND active = GetActiveWindow();
    dialog_enable_all(0);
    int answer = MessageBoxA(owner, text, caption, flags);
    dialog_enable_all(2);
    if (active) SetActiveWindow(active);
    return answer;
}

static void box_sink(int kind, const char *text) {
    static const UINT icons[MSG_KINDS] = {0, MB_ICONINFORMATION, MB_ICONWARNING, MB_ICONERROR};
    HWND owner = (HWND)frame_main_window();
    if (kind != MSG_FATAL) {
        show_box(owner, text, frame_title(), MB_OK | icons[kind]);
        return;
    }
    // The fatal box does not give the windows back: the process ends after it.
    dialog_enable_all(0);
    MessageBoxA(owner, text, frame_title(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    char last_words[MSG_TEXT_MAX + 1];
    text_copy(TXT_PROGRAM_ENDS, last_words, sizeof last_words);
    FatalAppExitA(0, last_words);
}

void msgbox_install(void) {
    messages_set_sink(MSG_INFO, box_sink);
    messages_set_sink(MSG_WARN, box_sink);
    messages_set_sink(MSG_FATAL, box_sink);
}

// A question captioned with the active window's title.
static int question(const char *text, UINT buttons) {
    char caption[CAPTION_MAX + 1] = "";
    HWND active = GetActiveWindow();
    if (active) GetWindowTextA(active, caption, sizeof caption);
    return show_box(nullptr, text, caption, buttons | MB_ICONQUESTION | MB_TASKMODAL);
}

int ask_yes_no(const char *text, int default_no) {
    return question(text, MB_YESNO | (default_no ? MB_DEFBUTTON2 : 0)) == IDYES;
}

int ask_yes_no_cancel(const char *text) {
    int answer = question(text, MB_YESNOCANCEL);
    return answer == IDYES ? 1 : answer == IDNO ? 0 : -1;
}

int ask(const char *text) {
    return ask_yes_no(text, 0);
}
