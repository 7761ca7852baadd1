/* Names of the program's resources and command ids, shared by kx.rc and the code (plain
   #defines, since the resource compiler reads this file too). */
#ifndef KX_IDS_H
#define KX_IDS_H

/* Resource names. */
#define RES_CONFIG "ANW_CONFIG"
#define RES_MENU "ANW_MENU"
#define RES_ACCEL "ANW_ACCEL"
#define RES_ABOUT "ANW_ABOUT"
#define RES_ICON "ANW_ICON"
#define RES_SMALL_ICON "SMALL_ICON"

/* Menu "ANW_MENU". Access keys: &Datei, &Bearbeiten, &Einstellen, &Hilfe;
   Datei: &Zeiten, &Projekte, Be&enden; Bearbeiten: &Statistik, &Wochenbericht, &Export,
   &Abgleich; Einstellen: &Verzeichnisse, &Palmtop; Hilfe: &Inhalt, &Copyright. */
#define CMD_TIMES 1000
#define CMD_PROJECTS 1150
#define CMD_EXIT 1998
#define CMD_STATISTICS 1100
#define CMD_WEEKLY 1140
#define CMD_EXPORT 1110
#define CMD_EXCHANGE 1130
#define CMD_DIRECTORIES 1200
#define CMD_PALM_SETTINGS 1201
#define CMD_HELP_CONTENTS 1991
#define CMD_ABOUT 1999

/* Commands posted inside the program. */
#define CMD_CONFIRM 1 /* IDOK: Enter in the strip or list */
#define CMD_DISCARD 2 /* IDCANCEL: Escape in the strip or list */
#define CMD_EDIT_PROJECTS 1010
#define CMD_EXCHANGE_NEW_TIMES 1131
#define CMD_EXCHANGE_PROJECTS 1132
#define CMD_STARTUP_LAYOUT 1900
#define CMD_STARTUP_CHECKS 1910
#define CMD_FOCUS_LIST 1920
#define CMD_HELP_ACTIVE 1992
#define CMD_FIRST_PAINT 1997
#define CMD_DRAG_QUERY 2060
#define CMD_DRAG_DROP 2061
#define CMD_DRAG_DOWN 2062
#define CMD_DRAG_MOVE 2063
#define CMD_DRAG_UP 2064

/* The booking strip, the main list and the status line of the main window. */
#define ID_INDICATOR 2000
#define ID_BUTTON_OK 2100
#define ID_BUTTON_CANCEL 2101
#define ID_DATE 3000
#define ID_TIME 3010
#define ID_PROJECT 3020
#define ID_TEXT 3030
#define ID_LIST_SELECT 3100
#define ID_LIST_OPEN 3101
#define ID_STATUS 3200

/* The about box "ANW_ABOUT". */
#define ID_ABOUT_NAME 100

#endif
