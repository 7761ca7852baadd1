// The frame that turns the application's hooks into a Windows program: entry point, main window,
// message loop, about box, help and DDE server.
#pragma once
#include <stdint.h>

// Hooks the application supplies.
int app_init(void);   // run state 0; -1 ends the program
int app_create(void); // main window, menu and font exist; -1 ends the program
void app_message(unsigned message, uintptr_t wparam, intptr_t lparam);
void app_exit(void);
void app_dde_execute(const char *topic, const char *command);

// The whole program: from reading the configuration to the orderly shutdown; the exit code.
int frame_main(void *instance, const char *command_line, int show);

// Restores the main window (of this or of another running copy of the program) when it is
// minimised or hidden and brings it to the front.
void frame_bring_forward(void *main_window);

// Help: 1991 the help file's contents, 1992 the help for the active dialog; from the HTML help
// beside the program when it is there, else from WinHelp.
void frame_help(int command);
// Closes the help windows a help request opened.
void frame_help_close(void);
