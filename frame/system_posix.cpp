// The system services where there is no registry and no WinExec (the native build): every call
// fails, so callers can say that it needs Windows.
#include "frame/system.h"

int system_services_available(void) {
    return 0;
}

int reg_write_dword(const char *key, const char *name, unsigned long number) {
    return -1;
}

int reg_write_text(const char *key, const char *name, const char *text) {
    return -1;
}

int reg_delete_value(const char *key, const char *name) {
    return -1;
}

int reg_read_string(const char *key, const char *name, char *out) {
    out[0] = 0;
    return -1;
}

int reg_enum_values(const char *key, reg_value_fn function, void *context) {
    return 0;
}

int run_program(const char *command_line) {
    return -1;
}
