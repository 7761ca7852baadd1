// Help requests: the HTML help beside the program through HTML Help, without it the system's
// WinHelp program.
#include "frame/app.h"
#include "frame/dialog.h"
#include "frame/frame.h"
#include "frame/help.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <windows.h>

#include <stdio.h>

namespace {

enum { HH_DISPLAY_TOPIC = 0x0000, HH_CLOSE_ALL = 0x0012 };
typedef HWND(WINAPI *html_help_fn)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

html_help_fn html_help_function;

// HtmlHelpW of hhctrl.ocx, loaded at the first request from the system folder (never from the
// program's folder or the current one, where anyone may put a file of that name). The library
// stays loaded: the help window lives in it.
html_help_fn html_help() {
    static bool tried;
    if (tried) return html_help_function;
    tried = true;
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 13 >= MAX_PATH) return nullptr;
    wcscat(path, L"\\hhctrl.ocx");
    if (HMODULE library = LoadLibraryW(path))
        html_help_function = (html_help_fn)(void *)GetProcAddress(library, "HtmlHelpW");
    return html_help_function;
}

// Opens PAGE of the compiled help FILE; 0 (a file HTML Help cannot show is reported), or -1 when
// HTML Help is not there.
int html_help_show(HWND main, const char *file, const char *page) {
    html_help_fn show = html_help();
    if (!show) return -1;
    char topic[PATH_MAX_TEXT + 80];
    snprintf(topic, sizeof topic, "%s::/%s", file, page);
    wchar_t wide[PATH_MAX_TEXT + 80];
    if (!MultiByteToWideChar(CP_ACP, 0, topic, -1, wide, PATH_MAX_TEXT + 80)) return -1;
    if (!show(main, wide, HH_DISPLAY_TOPIC, 0)) msg_warn(text(TXT_HELP_UNAVAILABLE), file);
    return 0;
}

void win_help_show(HWND main, const char *program, int command, const char *keyword) {
    char file[PATH_MAX_TEXT + 1];
    help_file_path(file, sizeof file, program);
    if (command == HELP_ASK_CONTENTS)
        WinHelpA(main, file, HELP_CONTENTS, 0);
    else
        WinHelpA(main, file, HELP_PARTIALKEY, (ULONG_PTR)keyword);
}

} // namespace

void frame_help(int command) {
    if (command != HELP_ASK_CONTENTS && command != HELP_ASK_ACTIVE) return;
    char program[PATH_MAX_TEXT + 1] = "", chm[PATH_MAX_TEXT + 1];
    char name[DLG_NAME_MAX + 1] = "", keyword[HELP_KEYWORD_MAX + 1];
    platform_program_path(program, sizeof program);
    if (command == HELP_ASK_ACTIVE) dialog_active_name(name, sizeof name);
    help_keyword(keyword, sizeof keyword, name);
    HWND main = (HWND)frame_main_window();
    help_html_file_path(chm, sizeof chm, program);
    if (GetFileAttributesA(chm) != INVALID_FILE_ATTRIBUTES &&
        html_help_show(main, chm, help_page(keyword)) == 0)
        return;
    win_help_show(main, program, command, keyword);
}

// The help windows end with the program (HTML Help asks for this before the program ends).
void frame_help_close(void) {
    if (html_help_function) html_help_function(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
