; The installer: corvane-setup.exe, a 64-bit NSIS installer built by the
; Windows build (cmake/WindowsBuild.cmake), which defines
;   PROGRAM_DIR  the program folder as the build leaves it (corvane.exe,
;                Corvane.ini, Language\)
;   OUT_FILE     the installer to write
;   APP_ICON     the application icon
;   SOUND_FILES  a file of install and uninstall lines for the sound files
;                (empty while there are none)
; It installs into the program folder under Program Files, adds a Start-menu
; entry and an uninstaller, and never replaces or removes the user's
; settings file (Corvane.ini): the first installation places the default
; one, upgrades and removal leave it as the program last saved it.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

Name "Corvane"
OutFile "${OUT_FILE}"
Icon "${APP_ICON}"
UninstallIcon "${APP_ICON}"
InstallDir "$PROGRAMFILES64\Corvane"
InstallDirRegKey HKLM "Software\Corvane" "InstallDir"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Corvane"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${PROGRAM_DIR}/corvane.exe"
    ; The user's settings file: placed when missing, else left as it is.
    SetOverwrite off
    File "${PROGRAM_DIR}/Corvane.ini"
    SetOverwrite on
    SetOutPath "$INSTDIR\Language"
    File "${PROGRAM_DIR}/Language/*.ini"
    !define SOUND_INSTALL
    !include "${SOUND_FILES}"
    !undef SOUND_INSTALL

    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateDirectory "$SMPROGRAMS\Corvane"
    CreateShortcut "$SMPROGRAMS\Corvane\Corvane.lnk" "$INSTDIR\corvane.exe"
    CreateShortcut "$SMPROGRAMS\Corvane\Uninstall Corvane.lnk" "$INSTDIR\Uninstall.exe"

    WriteRegStr HKLM "Software\Corvane" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Corvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.2"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\corvane.exe"
    Delete "$INSTDIR\Language\*.ini"
    RMDir "$INSTDIR\Language"
    !define SOUND_UNINSTALL
    !include "${SOUND_FILES}"
    !undef SOUND_UNINSTALL
    Delete "$INSTDIR\Uninstall.exe"
    Delete "$SMPROGRAMS\Corvane\Corvane.lnk"
    Delete "$SMPROGRAMS\Corvane\Uninstall Corvane.lnk"
    RMDir "$SMPROGRAMS\Corvane"
    ; Corvane.ini stays, and with it the folder.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Corvane"
SectionEnd
