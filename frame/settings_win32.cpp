// Settings values through the system's profile functions (the Windows build).
#include "frame/settings.h"
#include "frame/messages.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <windows.h>

void settings_read(const char *section, const char *key, char *buffer) {
    GetPrivateProfileStringA(section, key, "", buffer, SETTINGS_VALUE, settings_file());
}

int settings_write(const char *section, const char *key, const char *value) {
    if (WritePrivateProfileStringA(section, key, value, settings_file())) return 0;
    msg_warn(text(TXT_CANNOT_WRITE_SETTINGS), settings_file());
    return -1;
}
