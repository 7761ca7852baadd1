// What the display control's commands draw into its picture: background and frame, lines,
// rectangles, texts, bitmap files, metafiles and handed bitmaps.
#include "controls/disp/disp_window.h"
#include "controls/disp/picture_file.h"
#include "controls/edit/control_frame.h"
#include "controls/edit/control_styles.h"
#include "frame/memory.h"

#include <string.h>

// A memory device context with the picture selected; NULL when there is no picture.
struct picture_dc {
    HDC dc;
    HGDIOBJ old_bitmap;
};

static int open_picture(HWND window, const disp_record *display, picture_dc *target) {
    target->dc = nullptr;
    if (!display->picture) return -1;
    HDC screen = GetDC(window);
    target->dc = CreateCompatibleDC(screen);
    ReleaseDC(window, screen);
    if (!target->dc) return -1;
    target->old_bitmap = SelectObject(target->dc, display->picture);
    return 0;
}

static void close_picture(picture_dc *target) {
    SelectObject(target->dc, target->old_bitmap);
    DeleteDC(target->dc);
}

static void draw_background(HWND window, HDC dc, const disp_record *display) {
    RECT fill = control_fill_rect(display->style, display->width, display->height);
    int brush = display->style & TS_FACE ? LTGRAY_BRUSH : WHITE_BRUSH;
    FillRect(dc, &fill, (HBRUSH)GetStockObject(brush));
    control_draw_frame(dc, control_frame_kind(display->style), display->width, display->height,
                       control_line(window));
}

void disp_draw_background(HWND window, disp_record *display) {
    picture_dc target;
    if (open_picture(window, display, &target) != 0) return;
    draw_background(window, target.dc, display);
    close_picture(&target);
}

void disp_new_picture(HWND window, disp_record *display) {
    if (display->picture) DeleteObject(display->picture);
    HDC screen = GetDC(window);
    display->picture = CreateCompatibleBitmap(screen, display->width, display->height);
    ReleaseDC(window, screen);
    disp_draw_background(window, display);
}

static void draw_line(HDC dc, const disp_record *display, const int *n) {
    HPEN pen = CreatePen(PS_SOLID, 1, display->colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, n[0], n[1], nullptr);
    LineTo(dc, n[2], n[3]);
    SelectObject(dc, old);
    DeleteObject(pen);
}

static void draw_rect(HDC dc, const disp_record *display, const int *n, int filled) {
    RECT rect = {n[0], n[1], n[2], n[3]};
    HBRUSH brush = CreateSolidBrush(display->colour);
    if (filled)
        FillRect(dc, &rect, brush);
    else
        FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

// Sets font, colour and transparent background for a text; restore_text undoes it.
struct text_state {
    HGDIOBJ font;
    int mode;
    COLORREF colour;
    UINT align;
};

static void prepare_text(HDC dc, const disp_record *display, UINT align, text_state *saved) {
    saved->font = SelectObject(dc, display->font);
    saved->mode = SetBkMode(dc, TRANSPARENT);
    saved->colour = SetTextColor(dc, display->colour);
    saved->align = SetTextAlign(dc, align);
}

static void restore_text(HDC dc, const text_state *saved) {
    SetTextAlign(dc, saved->align);
    SetTextColor(dc, saved->colour);
    SetBkMode(dc, saved->mode);
    SelectObject(dc, saved->font);
}

static void draw_text(HDC dc, const disp_record *display, const disp_command *command) {
    UINT align = command->id == DISP_CTEXT   ? TA_CENTER
                 : command->id == DISP_RTEXT ? TA_RIGHT
                                             : TA_LEFT;
    text_state saved;
    prepare_text(dc, display, TA_BASELINE | align, &saved);
    TextOutA(dc, command->numbers[0], command->numbers[1], command->text,
             (int)strlen(command->text));
    restore_text(dc, &saved);
}

static void draw_box_text(HDC dc, disp_record *display, const char *message) {
    RECT box = {display->box[BOX_LOX], display->box[BOX_LOY], display->box[BOX_RUX],
                display->box[BOX_RUY]};
    const char *text = disp_box_text(message);
    text_state saved;
    prepare_text(dc, display, TA_TOP | TA_LEFT, &saved);
    int height = DrawTextA(dc, text, (int)strlen(text), &box, DT_WORDBREAK | DT_NOPREFIX);
    restore_text(dc, &saved);
    display->text_bottom = display->box[BOX_LOY] + height;
}

// A bitmap file made into a bitmap of the window's kind; NULL when the file cannot be read or
// is not a plausible bitmap.
static HBITMAP load_bitmap(HWND window, const char *name) {
    unsigned char *file;
    size_t length, bits;
    if (picture_read_file(name, &file, &length) != 0) return nullptr;
    HBITMAP bitmap = nullptr;
    if (bitmap_file_check(file, length, &bits) == 0) {
        const BITMAPINFOHEADER *header = (const BITMAPINFOHEADER *)(file + BITMAP_FILE_HEADER);
        HDC screen = GetDC(window);
        bitmap = CreateDIBitmap(screen, header, CBM_INIT, file + bits, (const BITMAPINFO *)header,
                                DIB_RGB_COLORS);
        ReleaseDC(window, screen);
    }
    ffree(file);
    return bitmap;
}

static void draw_bitmap_file(HWND window, HDC dc, const disp_command *command) {
    HBITMAP bitmap = load_bitmap(window, command->text);
    BITMAP info;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info) {
        if (bitmap) DeleteObject(bitmap);
        return;
    }
    const int *n = command->numbers;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    if (command->id == DISP_BMP) {
        BitBlt(dc, n[0], n[1], info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    } else {
        int rect[4] = {n[0], n[1], n[2], n[3]};
        disp_fit(rect, info.bmWidth, info.bmHeight);
        int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1], source, 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
        SetStretchBltMode(dc, old_mode);
    }
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
}

// Plays a checked metafile into the fitted rectangle. A placeable metafile also gets its
// bounding box as window, so that one without window records of its own fills the rectangle
// instead of being drawn at one pixel per unit.
static void play_metafile(HDC dc, const unsigned char *file, const metafile_layout *layout,
                          const int *rect) {
    HMETAFILE metafile = SetMetaFileBitsEx((UINT)layout->bits_size, file + layout->bits_offset);
    if (!metafile) return;
    const int *box = layout->box;
    int saved = SaveDC(dc);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetTextAlign(dc, 0);
    SetStretchBltMode(dc, COLORONCOLOR);
    if (layout->placeable && box[2] != box[0] && box[3] != box[1]) {
        SetWindowOrgEx(dc, box[0], box[1], nullptr);
        SetWindowExtEx(dc, box[2] - box[0], box[3] - box[1], nullptr);
    }
    SetViewportOrgEx(dc, rect[0], rect[1], nullptr);
    SetViewportExtEx(dc, rect[2] - rect[0], rect[3] - rect[1], nullptr);
    PlayMetaFile(dc, metafile);
    RestoreDC(dc, saved);
    DeleteMetaFile(metafile);
}

static void draw_metafile(HDC dc, const disp_command *command) {
    unsigned char *file;
    size_t length;
    if (picture_read_file(command->text, &file, &length) != 0) return;
    metafile_layout layout;
    if (metafile_check(file, length, &layout) == 0) {
        int rect[4] = {command->numbers[0], command->numbers[1], command->numbers[2],
                       command->numbers[3]};
        const int *box = layout.box;
        disp_fit(rect, layout.placeable ? box[2] - box[0] : 0,
                 layout.placeable ? box[3] - box[1] : 0);
        play_metafile(dc, file, &layout, rect);
    }
    ffree(file);
}

void disp_draw(HWND window, disp_record *display, const disp_command *command,
               const char *message) {
    picture_dc target;
    if (open_picture(window, display, &target) != 0) return;
    HDC dc = target.dc;
    switch (command->id) {
    case DISP_FRAME:
        draw_background(window, dc, display);
        break;
    case DISP_LINE:
        draw_line(dc, display, command->numbers);
        break;
    case DISP_RECT:
        draw_rect(dc, display, command->numbers, 0);
        break;
    case DISP_FILL:
        draw_rect(dc, display, command->numbers, 1);
        break;
    case DISP_TEXT:
    case DISP_CTEXT:
    case DISP_RTEXT:
        draw_text(dc, display, command);
        break;
    case DISP_BBXTEXT:
        draw_box_text(dc, display, message);
        break;
    case DISP_BMP:
    case DISP_BMPS:
        draw_bitmap_file(window, dc, command);
        break;
    case DISP_WMF:
        draw_metafile(dc, command);
        break;
    default:
        break;
    }
    close_picture(&target);
}

void disp_draw_copied(HWND window, disp_record *display, HBITMAP bitmap, int width, int height) {
    picture_dc target;
    if (open_picture(window, display, &target) != 0) return;
    control_draw_bitmap(target.dc, bitmap, (display->width - width) / 2,
                        (display->height - height) / 2, width, height);
    close_picture(&target);
}
