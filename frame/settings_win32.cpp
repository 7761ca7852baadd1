// Settings values through the system's profile functions (the Windows build).
#include "frame/settings.h"
#include <windows.h>

void settings_read(const char *section, const char *key, char *buffer) {
    GetPrivateProfileStringA(section, key, "", buffer, SETTINGS_VALUE, settings_file());
}

int settings_store(const char *section, const char *key, const char *value) {
    return WritePrivateProfileStringA(section, key, value, settings_file()) ? 0 : -1;
}
