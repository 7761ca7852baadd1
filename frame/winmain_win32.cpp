// The Windows entry point of the program: everything happens in the frame.
#include "frame/frame.h"
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    return frame_main(instance, GetCommandLineA(), show);
}
