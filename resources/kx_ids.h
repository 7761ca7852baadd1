/* Names of the program's resources and command ids, shared by kx.rc and the code (plain
   #defines, since the resource compiler reads this file too). */
#ifndef KX_IDS_H
#define KX_IDS_H

/* Resource names. */
#define RES_CONFIG "ANW_CONFIG"
#define RES_MENU "ANW_MENU"
#define RES_ACCEL "ANW_ACCEL"
#define RES_ABOUT "ANW_ABOUT"
#define RES_APP_ICON "ANW_ICON"
#define RES_SMALL_ICON "SMALL_ICON"

/* Menu "ANW_MENU". Access keys: &Datei, &Bearbeiten, &Einstellen, &Hilfe;
   Datei: &Zeiten, &Projekte, Be&enden; Bearbeiten: &Statistik, &Wochenbericht, &Monatsbericht,
   &Export, &Abgleich, &Tag bearbeiten, &R\374ckg\344ngig; Einstellen: &Verzeichnisse, &Optionen,
   &Arbeitszeit, &Palmtop; Hilfe: &Inhalt, &Copyright. */
#define CMD_TIMES 1000
#define CMD_PROJECTS 1150
#define CMD_VERIFY 1160
#define CMD_EXIT 1998
#define CMD_STATISTICS 1100
#define CMD_WEEKLY 1140
#define CMD_MONTH 1190
#define CMD_DAY 1170
#define CMD_UNDO 1180
#define CMD_EXPORT 1110
#define CMD_EXCHANGE 1130
#define CMD_DIRECTORIES 1200
#define CMD_WORKTIME 1210
#define CMD_PALM_SETTINGS 1201
#define CMD_OPTIONS 1220
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
#define CMD_QUERY_CLOSE 1996 /* the program is ending: may the dialog close? (1 keeps it) */
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

/* Dialog names (templates of kx.rc). */
#define DLG_STATISTICS "DB1100"
#define DLG_EXPORT "DB1110"
#define DLG_DETAIL "DB1120"
#define DLG_EXCHANGE "DB1130"
#define DLG_WEEKLY "DB1140"
#define DLG_PROJECTS "DB1150"
#define DLG_VERIFY "DB1160"
#define DLG_DIRECTORIES "DB1200"
#define DLG_PALM_SETTINGS "DB1201"
#define DLG_OPTIONS "DB1220"
#define DLG_IDLE "DB1240"
#define DLG_MONTH "DB1190"
#define DLG_DAY "DB1170"
#define DLG_WORKTIME "DB1210"

/* Statistics "DB1100" and export "DB1110" (access keys in each group's comment of kx.rc's
   templates). */
#define ID_STAT_YEAR 3000
#define ID_STAT_YEAR_TO 3001
#define ID_STAT_FROM 3010
#define ID_STAT_TO 3020
#define ID_STAT_MODE 3030
#define ID_STAT_MINUTES 3040
#define ID_EXPORT_FILE 3040
#define ID_STAT_LIST 3100
#define ID_STAT_TABLE 3110
#define ID_STAT_CHART 3120
#define ID_STAT_EVALUATE 2500
#define ID_STAT_COPY 2501
#define ID_EXPORT_WRITE 2502
#define ID_STAT_DETAIL 2503
#define ID_EXPORT_CSV 2504

/* Detail view "DB1120". */
#define ID_DETAIL_PREFIX 3000
#define ID_DETAIL_FROM 3010
#define ID_DETAIL_TO 3020
#define ID_DETAIL_LIST 3100
#define ID_DETAIL_TABLE 3110
#define ID_DETAIL_COPY 2500
#define ID_DETAIL_REFILL 2590 /* sent to an open view to show new values */

/* Exchange with the handheld "DB1130". */
#define ID_EXCHANGE_TAKE_OVER 3010
#define ID_EXCHANGE_TIMES 3030
#define ID_EXCHANGE_PROJECTS 3040
#define ID_EXCHANGE_START 2500

/* Weekly report "DB1140". */
#define ID_WEEK_YEAR 3000
#define ID_WEEK_YEAR_TO 3001
#define ID_WEEK_FROM 3010
#define ID_WEEK_TO 3020
#define ID_WEEK_MINUTES 3040
#define ID_WEEK_LIST 3100
#define ID_WEEK_TABLE 3110
#define ID_WEEK_EVALUATE 2500
#define ID_WEEK_COPY 2501
#define ID_WEEK_DETAIL 2503
#define ID_WEEK_BACK 2510
#define ID_WEEK_FORWARD 2511

/* Project list "DB1150". Access keys: &Projekt, &Beschreibung, &Anlegen, &L\366schen,
   &Speichern, &Verwerfen, &Editor. */
#define ID_PROJ_ID 3000
#define ID_PROJ_DESCRIPTION 3010
#define ID_PROJ_LIST 3100
#define ID_PROJ_SAVE 2500
#define ID_PROJ_DISCARD 2501
#define ID_PROJ_EDITOR 2502
#define ID_PROJ_NEW 2510
#define ID_PROJ_DELETE 2511

/* Directories "DB1200". Access keys: &Projekt/Kostentr\344ger-Liste, &Zeitdateien,
   e&xportierten Arbeitszeiten, V&isum, &Speichern, &Verwerfen. */
#define ID_DIR_WORK 3000
#define ID_DIR_WORK_BROWSE 3001
#define ID_DIR_COMMON 3010
#define ID_DIR_COMMON_BROWSE 3011
#define ID_DIR_EXPORT 3020
#define ID_DIR_EXPORT_BROWSE 3021
#define ID_DIR_PERSON 3030
#define ID_DIR_SAVE 2500
#define ID_DIR_DISCARD 2501

/* Handheld settings "DB1201". */
#define ID_PALM_MODE 3000
#define ID_PALM_BACKUP 3020
#define ID_PALM_BACKUP_BROWSE 3021
#define ID_PALM_INSTALL 3030
#define ID_PALM_INSTALL_BROWSE 3031
#define ID_PALM_REG_VALUE 3040
#define ID_PALM_REG_SEARCH 3041
#define ID_PALM_INSTALLER 3060
#define ID_PALM_INSTALLER_BROWSE 3061
#define ID_PALM_SAVE 2500
#define ID_PALM_DISCARD 2501
#define ID_PALM_INSTALL_PROGRAM 2502

/* Options "DB1220". Access keys: Mit &Windows starten, Minimiert in den &Infobereich, Nach
   &Abwesenheit fragen, &Minuten, Beim &Herunterfahren, &Lange laufendes Projekt, M&inuten,
   &Speichern, &Verwerfen. */
#define ID_OPT_AUTOSTART 3000
#define ID_OPT_TRAY 3010
#define ID_OPT_IDLE 3020
#define ID_OPT_IDLE_MINUTES 3021
#define ID_OPT_SHUTDOWN 3030
#define ID_OPT_LONG 3040
#define ID_OPT_LONG_MINUTES 3041
#define ID_OPT_SAVE 2500
#define ID_OPT_DISCARD 2501

/* The notification-area icon: its menu's commands (the recent projects are 1230 to 1234), the
   icon's own id and the message it sends. */
#define CMD_TRAY_PROJECT 1230
#define CMD_TRAY_PAUSE 1235
#define CMD_TRAY_OPEN 1236
#define CMD_TRAY_EXIT 1237
#define ID_TRAY_ICON 1238
#define WM_KX_TRAY (0x8000 + 1239) /* WM_APP + 1239 */

/* The question after time away "DB1240" (Ja is IDOK, Nein IDCANCEL), the reminders' timer, and
   the test hook that moves the clock of a test run (WM_COPYDATA with this dwData). */
#define ID_IDLE_TEXT 1241
#define ID_REMINDER_TIMER 1250
#define CD_TEST_INPUT 1251
/* Monthly timesheet "DB1190". Access keys: &Monat, &Anzeigen, &Detail..., Tag &bearbeiten...,
   &Tabelle, &Kopieren. */
#define ID_MONTH_YEAR 3000
#define ID_MONTH_MONTH 3010
#define ID_MONTH_LIST 3100
#define ID_MONTH_TABLE 3110
#define ID_MONTH_SHOW 2500
#define ID_MONTH_COPY 2501
#define ID_MONTH_DETAIL 2503
#define ID_MONTH_DAY 2504
#define ID_MONTH_BACK 2510
#define ID_MONTH_FORWARD 2511

/* Day editor "DB1170". Access keys: &Datum, &Uhrzeit, &Projekt, &Text, &Neu, \304&ndern,
   &L\366schen, &Speichern, &Verwerfen. */
#define ID_DAY_DATE 3000
#define ID_DAY_TIME 3010
#define ID_DAY_PROJECT 3020
#define ID_DAY_TEXT 3030
#define ID_DAY_LIST 3100
#define ID_DAY_SAVE 2500
#define ID_DAY_DISCARD 2501
#define ID_DAY_NEW 2504
#define ID_DAY_CHANGE 2505
#define ID_DAY_DELETE 2506
#define ID_DAY_BACK 2510
#define ID_DAY_FORWARD 2511

/* Working time "DB1210". Access keys: g\374ltig &ab, &Fassungen, &Beginn, &\334bertrag,
   Ab&wesenheit, &Speichern, &Verwerfen. The targets of Monday to Sunday follow each other. */
#define ID_WORK_FROM 3000
#define ID_WORK_MONDAY 3010
#define ID_WORK_TUESDAY 3011
#define ID_WORK_WEDNESDAY 3012
#define ID_WORK_THURSDAY 3013
#define ID_WORK_FRIDAY 3014
#define ID_WORK_SATURDAY 3015
#define ID_WORK_SUNDAY 3016
#define ID_WORK_BEGIN 3020
#define ID_WORK_OPENING 3030
#define ID_WORK_ABSENCES 3040
#define ID_WORK_VERSIONS 3100
#define ID_WORK_SAVE 2500
#define ID_WORK_DISCARD 2501

#endif

/* Journal check "DB1160". Access keys: &Editor..., &Tag bearbeiten..., &Aktualisieren. */
#define ID_VERIFY_SUMMARY 3000
#define ID_VERIFY_LIST 3100
#define ID_VERIFY_EDITOR 2500
#define ID_VERIFY_REFRESH 2501
#define ID_VERIFY_DAY 2502
