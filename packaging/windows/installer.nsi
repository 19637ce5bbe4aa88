; SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
;
; SPDX-License-Identifier: GPL-3.0-or-later

; The Windows installer, made on Debian by scripts/build-windows.sh from the
; installed folder:
;   makensis -DVERSION=1.0.0 -DSOURCE=FOLDER -DPICTURES=FOLDER -DUNINSTALL_LIST=FILE
;            -DOUTFILE=SETUP.exe installer.nsi
; Installs for the user alone or, with administrator rights, for all users
; (/CurrentUser or /AllUsers on the command line, /S for no questions),
; with Start-menu entries for the panel, for the simulator with its railway
; window, for the two documents and for the uninstaller, which Windows lists.
; Its pages carry the panel's icon (PICTURES holds the bitmaps the build
; renders from it), and the last one offers to start the panel.

; A 64-bit installer for 64-bit programs: it runs where they run, Wine's
; 64-bit loader included.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Model Railway Panel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!include MultiUser.nsh
!include MUI2.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "GPL-3.0-or-later, The Model Railway Panel authors"
; The line above the buttons names the product, not the tool that made the
; installer.
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${SOURCE}\model-railway-panel.ico"
!define MUI_UNICON "${SOURCE}\model-railway-panel.ico"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${PICTURES}\installer-header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "${PICTURES}\installer-header.bmp"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURES}\installer-finish.bmp"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\LICENSE-GPL-3.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\model-railway-panel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!define MUI_FINISHPAGE_NOREBOOTSUPPORT
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Install"
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\model-railway-panel.exe" \
        "" "$INSTDIR\model-railway-panel.ico"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Command Station Simulator.lnk" \
        "$INSTDIR\command-station-simulator.exe" "--view"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe" \
        "/$MultiUser.InstallMode"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\README.lnk" "$INSTDIR\README.txt"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Simulator manual.lnk" "$INSTDIR\Simulator manual.txt"

    ; SHCTX is the machine's registry for all users, the user's otherwise.
    WriteRegStr SHCTX "Software\${PRODUCT}" "InstallMode" "$MultiUser.InstallMode"
    WriteRegStr SHCTX "Software\${PRODUCT}" "InstallDir" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Model Railway Panel authors"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\model-railway-panel.ico"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there, file by file (the list the build
; writes from the folder it packs): the folder may be one the user chose,
; with files of their own in it.
Section "Uninstall"
    !include "${UNINSTALL_LIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT}\*.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    DeleteRegKey SHCTX "Software\${PRODUCT}"
SectionEnd
