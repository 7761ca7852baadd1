// Pieces of the frame's program start that live in files of their own.
#pragma once

// The DDE service under the class name: registered at start, removed at the end.
void dde_start(const char *service_name);
void dde_stop(void);

// Sets the settings file from the configured name: a bare name lies in the program's folder
// (copied there at the first start from the Windows folder, where older versions kept it).
void frame_settings_locate(const char *configured);
