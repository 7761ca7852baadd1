// The layout of the main window on Win32: the strips' panels, lines and item controls, the main
// list, their places in the client area, the keyboard order between them and the commands they
// post to the main window.
#include "frame/layout.h"
#include "controls/controls.h"
#include "frame/app.h"
#include "frame/dialog.h"
#include "frame/dpi.h"
#include "frame/memory.h"
#include "frame/strip_parse.h"
#include "frame/text.h"
#include "frame/window_dpi.h"

#include <windows.h>
#include <stdio.h>

enum {
    LINES_MAX = 2,
    HEADER_FIRST_X = 4,
    FOOTER_FIRST_X = 2,
    ITEM_TOP = 2,
    STRIP_HEIGHT_UNITS = 12,
    ITEM_HEIGHT_UNITS = 10,
    LARGE_ITEM_PIXELS = 22, // rows taller than this take the large bitmaps
    BITMAP_NAME_MAX = 6 + STRIP_TEXT_MAX + 1,
    ESCAPE = 27,
};

struct box {
    int x, y, width, height;
};

struct strip_record {
    int enabled;
    strip_item *items; // STRIP_ITEMS_MAX records while the strip exists
    int count;
    HWND panel;
    HWND lines[LINES_MAX]; // above the panel; below it (header only)
    box panel_box;
    // Kept to place the items anew at another DPI without creating them again.
    char description[STRIP_DESCRIPTION_MAX + 1];
    char bitmaps[STRIP_ITEMS_MAX][STRIP_TEXT_MAX + 1]; // the name each bitmap item shows
};

struct item_kind {
    char letter;
    const char *class_name;
    DWORD style;
    int bitmap;     // the item text names a bitmap, the window text stays empty
    int font;       // gets the application font
    int subclassed; // runs through strip_keyboard_proc
};

static const DWORD CHILD = WS_CHILD | WS_VISIBLE;
static const item_kind KINDS[] = {
    {'B', CONTROL_CLASS_GRBU, CHILD, 1, 0, 0},
    {'D', CONTROL_CLASS_DISP, CHILD, 1, 0, 0},
    {'E', CONTROL_CLASS_EDIT, CHILD | TS_FRAME_SUNKEN, 0, 1, 1},
    {'S', CONTROL_CLASS_SHOW, CHILD | TS_FACE | TS_FRAME_SUNKEN, 0, 1, 0},
    {'T', CONTROL_CLASS_SHOW, CHILD | TS_FACE, 0, 0, 0},
};

static strip_record strips[2];
static struct {
    HWND window;
    WNDPROC saved;
    int select_command;
    int open_command;
} main_list;
static double scale;
static int layout_dpi;
static int layout_exists;

// The edit item that user input is being handed to: a change it reports meanwhile is the
// user's, and its id is posted once.
struct input_mark {
    int active;
    int id;
    int posted;
};
static input_mark marked;

static LRESULT CALLBACK strip_keyboard_proc(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam);

int strip_unit(int n) {
    return strip_pixels(scale, n);
}

static LRESULT list_send(UINT message, WPARAM wparam, LPARAM lparam) {
    return main_list.window ? SendMessageA(main_list.window, message, wparam, lparam) : LB_ERR;
}

static HWND main_window(void) {
    return (HWND)frame_main_window();
}

static void post_command(int id) {
    PostMessageA(main_window(), WM_COMMAND, (WPARAM)id, 0);
}

static HWND create_child(const char *class_name, const char *text, DWORD style, const box *b) {
    return CreateWindowExA(0, class_name, text, style, b->x, b->y, b->width, b->height,
                           main_window(), nullptr, (HINSTANCE)frame_instance(), nullptr);
}

static void move(HWND window, const box *b) {
    if (window) MoveWindow(window, b->x, b->y, b->width, b->height, TRUE);
}

static void destroy(HWND *window) {
    if (*window) DestroyWindow(*window);
    *window = nullptr;
}

static strip_record *strip_of(int strip) {
    if (strip != STRIP_HEADER && strip != STRIP_FOOTER) return nullptr;
    strip_record *s = &strips[strip];
    return s->enabled && s->items ? s : nullptr;
}

static const item_kind *kind_of(char letter) {
    for (const item_kind &kind : KINDS)
        if (kind.letter == letter) return &kind;
    return nullptr;
}

static int line_count(int which) {
    return which == STRIP_HEADER ? 2 : 1;
}

// Where a strip's panel and separator lines lie in the client area.
static void strip_boxes(int which, const RECT *client, box *panel, box lines[LINES_MAX]) {
    int h = strip_unit(STRIP_HEIGHT_UNITS), width = client->right - client->left;
    if (which == STRIP_HEADER) {
        lines[0] = {client->left, client->top, width, 1};
        *panel = {client->left, client->top + 1, width, h};
        lines[1] = {client->left, client->top + h + 1, width, 1};
    } else {
        *panel = {client->left, client->bottom - h, width, h};
        lines[0] = {client->left, client->bottom - h - 1, width, 1};
    }
}

static box list_box(const RECT *client) {
    int h = strip_unit(STRIP_HEIGHT_UNITS);
    int header = strips[STRIP_HEADER].enabled, footer = strips[STRIP_FOOTER].enabled;
    int height = (client->bottom - client->top) - (header ? h + 2 : 0) - (footer ? h + 1 : 0) - 2;
    return {client->left, client->top + (header ? h + 3 : 0), client->right - client->left,
            height < 0 ? 0 : height};
}

static box item_box(const strip_record *s, const strip_item *item) {
    const box *panel = &s->panel_box;
    return {panel->x + item->x, panel->y + ITEM_TOP,
            strip_item_width(scale, item->width, item->x, panel->width),
            strip_unit(ITEM_HEIGHT_UNITS)};
}

// Loads "BMPG_name" or "BMPK_name" from the program and hands it to the control, which keeps a
// copy; a name that is missing hands a null bitmap.
static void hand_bitmap(HWND window, const char *name_text) {
    char name[BITMAP_NAME_MAX];
    char size = strip_unit(ITEM_HEIGHT_UNITS) > LARGE_ITEM_PIXELS ? 'G' : 'K';
    snprintf(name, sizeof name, "BMP%c_%s", size, name_text);
    HBITMAP bitmap = LoadBitmapA((HINSTANCE)frame_instance(), name);
    COPYDATASTRUCT data = {CD_BITMAP, sizeof bitmap, &bitmap};
    SendMessageA(window, WM_COPYDATA, (WPARAM)main_window(), (LPARAM)&data);
    if (bitmap) DeleteObject(bitmap);
}

// The strip unit of a window at dpi: an eighth of the dialog base height there.
static double scale_at(int dpi) {
    return dialog_base_height(dpi) * 0.125;
}

static void item_hand_bitmap(strip_record *s, int index, const char *name) {
    text_copy_max(s->bitmaps[index], name, STRIP_TEXT_MAX);
    hand_bitmap((HWND)s->items[index].window, name);
}

static void item_create(strip_record *s, int index) {
    strip_item *item = &s->items[index];
    const item_kind *kind = kind_of(item->kind);
    if (!kind) return;
    box place = item_box(s, item);
    if (kind->bitmap) place.width = strip_unit(item->width);
    HWND window =
        create_child(kind->class_name, kind->bitmap ? "" : item->text, kind->style, &place);
    item->window = window;
    if (!window) return;
    if (kind->font) SendMessageA(window, WM_SETFONT, (WPARAM)frame_app()->font, 0);
    if (kind->bitmap) item_hand_bitmap(s, index, item->text);
    if (kind->subclassed)
        item->saved_procedure =
            SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)strip_keyboard_proc);
}

static void strip_clear_items(strip_record *s) {
    for (int i = 0; i < s->count; i++) {
        strip_item *item = &s->items[i];
        HWND window = (HWND)item->window;
        if (item->saved_procedure)
            SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)item->saved_procedure);
        item->saved_procedure = 0;
        destroy(&window);
        item->window = nullptr;
    }
    s->count = 0;
}

static HWND create_panel(const box *place) {
    return create_child(CONTROL_CLASS_SHOW, "", CHILD | WS_CLIPSIBLINGS | TS_FACE, place);
}

static void strip_open(int which, const RECT *client) {
    strip_record *s = &strips[which];
    box lines[LINES_MAX];
    strip_boxes(which, client, &s->panel_box, lines);
    int below = line_count(which) - 1; // the header's second line, the footer's only one
    if (below > 0) s->lines[0] = create_child("STATIC", "", CHILD | SS_BLACKFRAME, &lines[0]);
    s->panel = create_panel(&s->panel_box);
    s->lines[below] = create_child("STATIC", "", CHILD | SS_BLACKFRAME, &lines[below]);
    s->items = (strip_item *)fmalloc(STRIP_ITEMS_MAX, sizeof(strip_item));
    s->count = 0;
}

static void strip_close(strip_record *s) {
    if (s->items) strip_clear_items(s);
    for (HWND &line : s->lines) destroy(&line);
    destroy(&s->panel);
    ffree(s->items);
    s->items = nullptr;
    s->enabled = 0;
}

void layout_open(int header, int footer, int select_command, int open_command) {
    if (layout_exists) return;
    layout_dpi = window_dpi(main_window());
    scale = scale_at(layout_dpi);
    strips[STRIP_HEADER].enabled = header != 0;
    strips[STRIP_FOOTER].enabled = footer != 0;
    RECT client;
    GetClientRect(main_window(), &client);
    if (header) strip_open(STRIP_HEADER, &client);
    if (footer) strip_open(STRIP_FOOTER, &client);
    main_list.select_command = select_command;
    main_list.open_command = open_command;
    if (select_command != 0 || open_command != 0) {
        box place = list_box(&client);
        main_list.window = create_child(
            "LISTBOX", "", CHILD | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, &place);
        if (main_list.window)
            main_list.saved = (WNDPROC)SetWindowLongPtrA(main_list.window, GWLP_WNDPROC,
                                                         (LONG_PTR)strip_keyboard_proc);
    }
    layout_exists = 1;
}

static void strip_resize(int which, const RECT *client) {
    strip_record *s = &strips[which];
    if (!s->enabled) return;
    box lines[LINES_MAX];
    strip_boxes(which, client, &s->panel_box, lines);
    for (int i = 0; i < line_count(which); i++) move(s->lines[i], &lines[i]);
    move(s->panel, &s->panel_box);
    for (int i = 0; i < s->count; i++) {
        box place = item_box(s, &s->items[i]);
        move((HWND)s->items[i].window, &place);
    }
}

void layout_resize(void) {
    if (!layout_exists) return;
    RECT client;
    GetClientRect(main_window(), &client);
    strip_resize(STRIP_HEADER, &client);
    strip_resize(STRIP_FOOTER, &client);
    box place = list_box(&client);
    move(main_list.window, &place);
}

void layout_close(void) {
    if (!layout_exists) return;
    layout_exists = 0;
    strip_close(&strips[STRIP_HEADER]);
    strip_close(&strips[STRIP_FOOTER]);
    if (main_list.window)
        SetWindowLongPtrA(main_list.window, GWLP_WNDPROC, (LONG_PTR)main_list.saved);
    destroy(&main_list.window);
    main_list.saved = nullptr;
}

static void post_button_commands(int which, HWND sender) {
    const strip_record *s = strip_of(which);
    if (!s || !sender) return;
    for (int i = 0; i < s->count; i++)
        if (s->items[i].kind == 'B' && (HWND)s->items[i].window == sender)
            post_command(s->items[i].id);
}

static void list_on_notify(int code) {
    if (code == LBN_SELCHANGE && main_list.select_command != 0)
        post_command(main_list.select_command);
    else if (code == LBN_DBLCLK && main_list.open_command != 0)
        post_command(main_list.open_command);
}

// Edit controls report a change with their child id, which is 0 in the strip, and no window:
// the change belongs to the item whose input is being handed on.
static void edit_on_notify(int code) {
    if ((code != EN_UPDATE && code != EN_CHANGE) || !marked.active || marked.posted) return;
    marked.posted = 1;
    post_command(marked.id);
}

static void layout_on_command(WPARAM wparam, LPARAM lparam) {
    post_button_commands(STRIP_HEADER, (HWND)lparam);
    post_button_commands(STRIP_FOOTER, (HWND)lparam);
    if (main_list.window && (HWND)lparam == main_list.window) list_on_notify(HIWORD(wparam));
    if (lparam == 0) edit_on_notify(HIWORD(wparam));
}

void layout_message(unsigned message, uintptr_t wparam, intptr_t lparam) {
    if (!layout_exists) return;
    if (message == WM_COMMAND)
        layout_on_command(wparam, lparam);
    else if (message == WM_SIZE)
        layout_resize();
}

static int first_x_of(int strip) {
    return strip == STRIP_HEADER ? HEADER_FIRST_X : FOOTER_FIRST_X;
}

// The items of a strip placed for the current scale and given the font for it; what they hold
// stays.
static void strip_rescale(int which) {
    strip_record *s = strip_of(which);
    if (!s) return;
    static strip_item placed[STRIP_ITEMS_MAX];
    int count = strip_parse(s->description, scale, first_x_of(which), placed, STRIP_ITEMS_MAX);
    for (int i = 0; i < s->count && i < count; i++) {
        s->items[i].x = placed[i].x;
        const item_kind *kind = kind_of(s->items[i].kind);
        if (s->items[i].window && kind && kind->font)
            SendMessageA((HWND)s->items[i].window, WM_SETFONT, (WPARAM)frame_app()->font, TRUE);
    }
}

// The bitmaps again for the items' new size: the large or the small set, and a display's picture
// made anew at its size (it would keep the size it was made at).
static void strip_renew_bitmaps(int which) {
    strip_record *s = strip_of(which);
    for (int i = 0; s && i < s->count; i++) {
        const item_kind *kind = kind_of(s->items[i].kind);
        if (!s->items[i].window || !kind || !kind->bitmap) continue;
        if (s->items[i].kind == 'D') SetWindowTextA((HWND)s->items[i].window, "CLEAR");
        item_hand_bitmap(s, i, s->bitmaps[i]);
    }
}

void layout_set_dpi(int dpi) {
    if (!layout_exists || dpi_valid(dpi) == layout_dpi) return;
    layout_dpi = dpi_valid(dpi);
    scale = scale_at(layout_dpi);
    strip_rescale(STRIP_HEADER);
    strip_rescale(STRIP_FOOTER);
    list_send(WM_SETFONT, (WPARAM)frame_app()->font, TRUE);
    layout_resize();
    strip_renew_bitmaps(STRIP_HEADER);
    strip_renew_bitmaps(STRIP_FOOTER);
}

void strip_define(int strip, const char *description) {
    strip_record *s = strip_of(strip);
    if (!s) return;
    strip_clear_items(s);
    destroy(&s->panel);
    text_copy_max(s->description, description ? description : "", STRIP_DESCRIPTION_MAX);
    s->count = strip_parse(s->description, scale, first_x_of(strip), s->items, STRIP_ITEMS_MAX);
    for (int i = 0; i < s->count; i++) item_create(s, i);
    s->panel = create_panel(&s->panel_box);
}

void strip_set_text(int strip, int id, const char *text) {
    strip_record *s = strip_of(strip);
    if (!s) return;
    if (!text) text = "";
    input_mark outer = marked; // what the program puts in is never the user's change
    marked.active = 0;
    for (int i = 0; i < s->count; i++) {
        HWND window = (HWND)s->items[i].window;
        if (s->items[i].id != id || !window) continue;
        if (kind_of(s->items[i].kind)->bitmap) {
            item_hand_bitmap(s, i, text);
        } else {
            SetWindowTextA(window, text);
            UpdateWindow(window);
        }
    }
    marked = outer;
}

void strip_get_text(int strip, int id, char *buffer, int size) {
    const strip_record *s = strip_of(strip);
    if (!s || !buffer || size <= 0) return;
    for (int i = 0; i < s->count; i++)
        if (s->items[i].id == id && s->items[i].window)
            GetWindowTextA((HWND)s->items[i].window, buffer, size);
}

void list_focus(void) {
    if (main_list.window) SetFocus(main_list.window);
}

void list_reset(void) {
    list_send(WM_SETFONT, (WPARAM)frame_app()->font, 0);
    list_send(LB_RESETCONTENT, 0, 0);
}

int list_add(const char *text) {
    return (int)list_send(LB_ADDSTRING, 0, (LPARAM)text);
}

int list_insert(const char *text, int index) {
    return (int)list_send(LB_INSERTSTRING, (WPARAM)index, (LPARAM)text);
}

int list_current(void) {
    return (int)list_send(LB_GETCURSEL, 0, 0);
}

int list_text(int index, char *buffer, int size) {
    return main_list.window ? listbox_text(main_list.window, index, buffer, size) : LB_ERR;
}

// Tab goes round the header's edit items in table order and the main list (index -1); Shift+Tab
// the other way.
static void keyboard_tab(int index, int backward) {
    const strip_record *s = strip_of(STRIP_HEADER);
    int count = s ? s->count : 0, step = backward ? -1 : 1;
    int start = index >= 0 ? index + step : (backward ? count - 1 : 0);
    for (int i = start; i >= 0 && i < count; i += step) {
        if (s->items[i].saved_procedure) {
            SetFocus((HWND)s->items[i].window);
            return;
        }
    }
    if (index >= 0) list_focus();
}

// A character the strip handles itself in a header edit item (index) or the main list (-1);
// 1 when it did.
static int keyboard_on_char(int index, int character) {
    switch (character) {
    case '\t':
        keyboard_tab(index, GetKeyState(VK_SHIFT) < 0);
        return 1;
    case '\r':
    case ESCAPE:
        post_command(character == '\r' ? IDOK : IDCANCEL);
        list_focus();
        return 1;
    case ' ':
        if (index >= 0) return 0;
        if (main_list.open_command != 0) post_command(main_list.open_command);
        return 1;
    default:
        return 0;
    }
}

static int is_input(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_CUT ||
           message == WM_PASTE || message == WM_CLEAR || message == WM_UNDO;
}

// Hands a message to an edit item's own procedure, marking it while the message is input.
static LRESULT item_forward(const strip_item *item, HWND window, UINT message, WPARAM wparam,
                            LPARAM lparam) {
    WNDPROC saved = (WNDPROC)item->saved_procedure;
    if (!is_input(message)) return CallWindowProcA(saved, window, message, wparam, lparam);
    input_mark outer = marked;
    marked = {1, item->id, 0};
    LRESULT result = CallWindowProcA(saved, window, message, wparam, lparam);
    marked = outer;
    return result;
}

static int item_index(int which, HWND window) {
    const strip_record *s = strip_of(which);
    for (int i = 0; s && i < s->count; i++)
        if ((HWND)s->items[i].window == window && s->items[i].saved_procedure) return i;
    return -1;
}

// The window procedure of the edit items of both strips and of the main list. Header items and
// the list run the keyboard order; footer items keep every key to themselves.
static LRESULT CALLBACK strip_keyboard_proc(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
    int index = item_index(STRIP_HEADER, window);
    if (index >= 0) {
        if (message == WM_CHAR && keyboard_on_char(index, (int)wparam)) return 1;
        return item_forward(&strips[STRIP_HEADER].items[index], window, message, wparam, lparam);
    }
    index = item_index(STRIP_FOOTER, window);
    if (index >= 0)
        return item_forward(&strips[STRIP_FOOTER].items[index], window, message, wparam, lparam);
    if (!window || window != main_list.window) return 0;
    if (message == WM_CHAR && keyboard_on_char(-1, (int)wparam)) return 1;
    // The list box would select its first entry on the space bar's key-down when none is
    // selected, so that the open command following it would choose an entry the user never
    // picked. The space bar belongs to the open command alone.
    if (message == WM_KEYDOWN && wparam == VK_SPACE) return 0;
    return CallWindowProcA(main_list.saved, window, message, wparam, lparam);
}
