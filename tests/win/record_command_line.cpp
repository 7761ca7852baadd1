// A stand-in installer for tests: writes its command line into the file named by the
// environment variable KX_RECORD_FILE, then sets the event named by KX_RECORD_EVENT.
#include <windows.h>
#include <stdio.h>

int main(void) {
    char file_name[MAX_PATH], event_name[MAX_PATH];
    if (!GetEnvironmentVariableA("KX_RECORD_FILE", file_name, sizeof file_name) ||
        !GetEnvironmentVariableA("KX_RECORD_EVENT", event_name, sizeof event_name))
        return 1;
    FILE *file = fopen(file_name, "wb");
    if (!file) return 1;
    fputs(GetCommandLineA(), file);
    fclose(file);
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, event_name);
    if (!event) return 1;
    SetEvent(event);
    CloseHandle(event);
    return 0;
}
