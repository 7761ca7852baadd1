; Korvex-Setup.exe: installs Korvex for the current user alone, without administrator rights, into
; the user's own programs folder, with start-menu entries for the program and its help and an
; uninstaller that keeps the data.
; makensis -DKX_PROGRAM=<folder of kx.exe and the libraries> -DKX_RESOURCES=<folder of Muster.txt
; and LIESMICH.txt> -DKX_OUTFILE=<setup file> -DKX_VERSION=<the build's version> korvex.nsi
; A 64-bit installer, as kx.exe itself is a 64-bit program.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!ifndef KX_PROGRAM | KX_RESOURCES | KX_OUTFILE | KX_VERSION
    !error "KX_PROGRAM, KX_RESOURCES, KX_OUTFILE and KX_VERSION must be defined"
!endif

!define KX_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvex"
; The per-user start with Windows that the program's options set.
!define KX_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The class of the program's main window, to see that it is running.
!define KX_WINDOW_CLASS "TORKKX"

Name "Korvex"
BrandingText "Korvex"
OutFile "${KX_OUTFILE}"
; The program's folder is its default work, common and export folder and holds its settings
; file: it must stay writable for the user, hence not "Program Files".
InstallDir "$LOCALAPPDATA\Programs\Korvex"
InstallDirRegKey HKCU "${KX_UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!define MUI_ICON "${__FILEDIR__}\..\art\kx.ico"
!define MUI_UNICON "${__FILEDIR__}\..\art\kx.ico"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "$(KX_WELCOME)"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kx.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LIESMICH.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(KX_UNINSTALL_TOP)"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; The setup file's own version resource, with the program's version.
VIProductVersion "${KX_VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "Korvex"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${KX_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${KX_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Korvex Installation"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" ""

LangString KX_WELCOME ${LANG_GERMAN} "Dieser Assistent installiert Korvex nur für Sie, ohne Administratorrechte, in Ihren eigenen Programmordner.$\r$\n$\r$\nZeitendateien, Projektliste und Einstellungen, die dort schon liegen, bleiben bei einer neuen Installation und bei der Deinstallation erhalten.$\r$\n$\r$\n$_CLICK"
LangString KX_UNINSTALL_TOP ${LANG_GERMAN} "Korvex wird aus dem unten angegebenen Verzeichnis entfernt. Zeitendateien, Projektliste, Einstellungen und alle anderen eigenen Dateien darin bleiben erhalten. Klicken Sie auf Deinstallieren, um die Deinstallation zu starten."
LangString KX_RUNNING ${LANG_GERMAN} "Korvex läuft noch. Beenden Sie Korvex und klicken Sie dann auf Wiederholen."

; KX_WAIT_UNTIL_CLOSED: asks the user to end a running Korvex; the installation stops if they
; cancel (and at once in silent mode).
!macro KX_WAIT_UNTIL_CLOSED
    check_running:
    FindWindow $0 "${KX_WINDOW_CLASS}"
    StrCmp $0 0 not_running
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(KX_RUNNING)" /SD IDCANCEL IDRETRY check_running
    SetErrorLevel 2
    Quit
    not_running:
!macroend

Function .onInit
    !insertmacro KX_WAIT_UNTIL_CLOSED
FunctionEnd

Function un.onInit
    !insertmacro KX_WAIT_UNTIL_CLOSED
FunctionEnd

Section "Korvex"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${KX_PROGRAM}\kx.exe"
    File "${KX_PROGRAM}\torkedit.dll"
    File "${KX_PROGRAM}\torkshow.dll"
    File "${KX_PROGRAM}\torkdisp.dll"
    File "${KX_PROGRAM}\torkgrbu.dll"
    File "${KX_PROGRAM}\kx.chm"
    File "${KX_RESOURCES}\Muster.txt"
    File "${KX_RESOURCES}\LIESMICH.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortCut "$SMPROGRAMS\Korvex.lnk" "$INSTDIR\kx.exe" "" "$INSTDIR\kx.exe" 0
    CreateShortCut "$SMPROGRAMS\Korvex Hilfe.lnk" "$INSTDIR\kx.chm"

    WriteRegStr HKCU "${KX_UNINSTALL_KEY}" "DisplayName" "Korvex"
    WriteRegStr HKCU "${KX_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kx.exe"
    WriteRegStr HKCU "${KX_UNINSTALL_KEY}" "DisplayVersion" "${KX_VERSION}"
    WriteRegStr HKCU "${KX_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${KX_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegStr HKCU "${KX_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKCU "${KX_UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${KX_UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes exactly what the installer put there. Year files, project lists, the settings file,
; exports and anything else the user keeps in the folder stay; the folder goes only when empty.
Section "Uninstall"
    SetShellVarContext current
    Delete "$INSTDIR\kx.exe"
    Delete "$INSTDIR\torkedit.dll"
    Delete "$INSTDIR\torkshow.dll"
    Delete "$INSTDIR\torkdisp.dll"
    Delete "$INSTDIR\torkgrbu.dll"
    Delete "$INSTDIR\kx.chm"
    Delete "$INSTDIR\Muster.txt"
    Delete "$INSTDIR\LIESMICH.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Korvex.lnk"
    Delete "$SMPROGRAMS\Korvex Hilfe.lnk"
    DeleteRegValue HKCU "${KX_RUN_KEY}" "Korvex"
    DeleteRegKey HKCU "${KX_UNINSTALL_KEY}"
SectionEnd
