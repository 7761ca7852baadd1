// The system services on Windows: values below HKEY_CURRENT_USER and WinExec.
#include "frame/system.h"
#include "frame/text.h"
#include <windows.h>
#include <string.h>

// Value names reach 16383 characters; the areas take any name and a generous text value whole,
// and the callback gets them cut.
enum { COMMAND_LINE_MAX = 2048, WINEXEC_STARTED = 31, REG_NAME_AREA = 16384, REG_DATA_AREA = 4096 };

int system_services_available(void) {
    return 1;
}

static HKEY open_key(const char *key) {
    HKEY handle;
    return RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &handle) == ERROR_SUCCESS
               ? handle
               : nullptr;
}

int reg_write_dword(const char *key, const char *name, unsigned long number) {
    HKEY handle = open_key(key);
    if (!handle) return -1;
    DWORD value = (DWORD)number;
    LONG result = RegSetValueExA(handle, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS ? 0 : -1;
}

int reg_write_text(const char *key, const char *name, const char *text) {
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return -1;
    LONG result =
        RegSetValueExA(handle, name, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS ? 0 : -1;
}

int reg_delete_value(const char *key, const char *name) {
    HKEY handle;
    LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &handle);
    if (opened == ERROR_FILE_NOT_FOUND) return 0;
    if (opened != ERROR_SUCCESS) return -1;
    LONG result = RegDeleteValueA(handle, name);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? 0 : -1;
}

// A name or text value of size bytes into out, cut at its NUL or at REG_TEXT_MAX bytes.
static void take_text(char *out, const char *bytes, DWORD size) {
    DWORD length = 0;
    while (length < size && length < REG_TEXT_MAX && bytes[length]) length++;
    memcpy(out, bytes, length);
    out[length] = 0;
}

int reg_read_string(const char *key, const char *name, char *out) {
    out[0] = 0;
    HKEY handle = open_key(key);
    if (!handle) return -1;
    static char data[REG_DATA_AREA];
    DWORD type = 0, size = sizeof data;
    LONG result = RegQueryValueExA(handle, name, nullptr, &type, (BYTE *)data, &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return -1;
    take_text(out, data, size);
    return 0;
}

int reg_enum_values(const char *key, reg_value_fn function, void *context) {
    HKEY handle = open_key(key);
    if (!handle) return 0;
    int found = 0;
    static char name[REG_NAME_AREA], data[REG_DATA_AREA];
    for (DWORD index = 0; index < REG_VALUES_MAX; index++) {
        DWORD name_size = sizeof name, data_size = sizeof data, type = 0;
        LONG result = RegEnumValueA(handle, index, name, &name_size, nullptr, &type, (BYTE *)data,
                                    &data_size);
        if (result == ERROR_MORE_DATA) {
            // Data too long for the area: the name alone, the data left empty.
            name_size = sizeof name;
            data_size = 0;
            result =
                RegEnumValueA(handle, index, name, &name_size, nullptr, &type, nullptr, nullptr);
        }
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS) continue;
        char short_name[REG_TEXT_MAX + 1], short_data[REG_TEXT_MAX + 1];
        take_text(short_name, name, name_size);
        bool is_text = type == REG_SZ || type == REG_EXPAND_SZ;
        take_text(short_data, data, is_text ? data_size : 0);
        found = 1;
        function(short_name, short_data, context);
    }
    RegCloseKey(handle);
    return found;
}

int run_program(const char *command_line) {
    char line[COMMAND_LINE_MAX + 1];
    text_copy_max(line, command_line, COMMAND_LINE_MAX);
    for (char *p = line; *p; p++)
        if (*p == '/') *p = '\\';
    return WinExec(line, SW_SHOWNORMAL) > WINEXEC_STARTED ? 0 : -1;
}
