// Saving and restoring a window's placement through the settings file.
#include "frame/placement.h"
#include "frame/settings.h"
#include "frame/window_dpi.h"
#include <windows.h>

void placement_save(void *window, const char *key, const char *section) {
    WINDOWPLACEMENT place = {};
    place.length = sizeof place;
    if (!GetWindowPlacement((HWND)window, &place)) return;
    const long numbers[PLACEMENT_NUMBERS] = {(long)place.flags,
                                             (long)place.showCmd,
                                             place.ptMinPosition.x,
                                             place.ptMinPosition.y,
                                             place.ptMaxPosition.x,
                                             place.ptMaxPosition.y,
                                             place.rcNormalPosition.left,
                                             place.rcNormalPosition.top,
                                             place.rcNormalPosition.right,
                                             place.rcNormalPosition.bottom};
    char value[PLACEMENT_TEXT];
    placement_format(value, sizeof value, numbers, window_dpi(window));
    settings_write(section, key, value);
}

void placement_restore(void *window, const char *key, const char *section, int position_only) {
    char value[SETTINGS_VALUE];
    settings_read(section, key, value);
    long n[PLACEMENT_NUMBERS];
    int saved_dpi;
    if (!value[0] || placement_parse(value, n, &saved_dpi) != 0) return;
    // Saved at another DPI (the user changed the scaling since): the window keeps its content's
    // size, not its size in pixels.
    placement_rescale(n, saved_dpi, window_dpi(window));
    WINDOWPLACEMENT place = {};
    place.length = sizeof place;
    if (position_only) {
        GetWindowPlacement((HWND)window, &place);
        OffsetRect(&place.rcNormalPosition, (int)n[6] - place.rcNormalPosition.left,
                   (int)n[7] - place.rcNormalPosition.top);
    } else {
        place.flags = (UINT)n[0];
        place.showCmd = (UINT)n[1];
        // A window closed while minimised comes back as it was before, never as an icon the
        // user would have to look for.
        if (place.showCmd == SW_SHOWMINIMIZED || place.showCmd == SW_MINIMIZE ||
            place.showCmd == SW_SHOWMINNOACTIVE)
            place.showCmd =
                (place.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        place.ptMinPosition = {(LONG)n[2], (LONG)n[3]};
        place.ptMaxPosition = {(LONG)n[4], (LONG)n[5]};
        place.rcNormalPosition = {(LONG)n[6], (LONG)n[7], (LONG)n[8], (LONG)n[9]};
    }
    SetWindowPlacement((HWND)window, &place);
}
