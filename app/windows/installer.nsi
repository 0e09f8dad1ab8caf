; The Windows installer, made by scripts/build-windows.sh with Debian's makensis:
;   makensis -DVERSION=1.3.0 -DFOLDER=build-windows/kobako -DICON=kobako.ico
;            -DOUTFILE=build-windows/kobako-setup.exe app/windows/installer.nsi
; A per-user install: no administrator rights, the program in %LOCALAPPDATA%\Programs\Kobako, a
; Start-menu entry that keeps the files in %APPDATA%\Kobako, an entry in "Apps & features".
; The uninstaller takes away the program and its entries and leaves the user's files alone.
; Its texts are in Japanese or English, as the system's language is.
; A 64-bit installer for the 64-bit program (the 32-bit one needs 32-bit Windows support).
Target amd64-unicode
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kobako"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Kobako"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kobako"
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Kobako"
VIAddVersionKey /LANG=0 "FileDescription" "Kobako setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright 2024-2026 The Kobako developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kobako.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--data-home"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first is the one for every other system language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File /r "${FOLDER}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Kobako.lnk" "$INSTDIR\kobako.exe" "--data-home"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kobako"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kobako developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kobako.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: the folder may have been chosen on the command line (/D=).
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Kobako.lnk"
    Delete "$INSTDIR\kobako.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\qt.conf"
    Delete "$INSTDIR\uninstall.exe"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\translations"
    RMDir /r "$INSTDIR\help"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Start at login would start a program that is gone.
    DeleteRegValue HKCU "${RUN_KEY}" "Kobako"
SectionEnd
