; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer. The build runs makensis with -DVERSION, -DEXE (the built
; vantok.exe), -DICON, -DLICENSE and -DOUTFILE.
; One user without administrator rights, or all users with them: /CurrentUser or /AllUsers on the
; command line, else the installer asks. /S installs and uninstalls without a window.
; 64-bit like the program; Debian's wine64 runs no 32-bit programs either.
Target amd64-unicode
SetCompressor /SOLID lzma

!define APP Vantok
!define APPKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define PROGID "Vantok.Picture"
!define PICK "Pick a Colour from the Screen"
!define APPS_KEY "Software\Classes\Applications\vantok.exe"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR ${APP}
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${APPKEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME InstallLocation
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductName "${APP}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileDescription "${APP} installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} LegalCopyright "GPL-3.0-or-later"

; The picture types the loader reads: Vantok is offered under "Open with" for each, and no type's
; default program changes.
!macro ForEachType MACRO
    !insertmacro ${MACRO} .bmp
    !insertmacro ${MACRO} .dib
    !insertmacro ${MACRO} .pcx
    !insertmacro ${MACRO} .png
    !insertmacro ${MACRO} .jpg
    !insertmacro ${MACRO} .jpeg
    !insertmacro ${MACRO} .jpe
    !insertmacro ${MACRO} .jfif
    !insertmacro ${MACRO} .gif
    !insertmacro ${MACRO} .ico
    !insertmacro ${MACRO} .cur
    !insertmacro ${MACRO} .pbm
    !insertmacro ${MACRO} .pgm
    !insertmacro ${MACRO} .ppm
    !insertmacro ${MACRO} .xbm
    !insertmacro ${MACRO} .xpm
!macroend

!macro OfferFor EXT
    WriteRegStr SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}" ""
    WriteRegStr SHCTX "${APPS_KEY}\SupportedTypes" "${EXT}" ""
!macroend

; Only what the installer wrote goes; a type's key stays when something else keeps a value in it.
!macro WithdrawFrom EXT
    DeleteRegValue SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}\OpenWithProgids"
    DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}"
!macroend

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "${APP} needs 64-bit Windows."
        Abort
    ${EndIf}
    SetRegView 64
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File "/oname=vantok.exe" "${EXE}"
    File "/oname=COPYING.txt" "${LICENSE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\vantok.exe"
    CreateShortcut "$SMPROGRAMS\${PICK}.lnk" "$INSTDIR\vantok.exe" "--grab"

    WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "Picture"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\vantok.exe,0"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\vantok.exe" "%1"'
    WriteRegStr SHCTX "${APPS_KEY}" "FriendlyAppName" "${APP}"
    WriteRegStr SHCTX "${APPS_KEY}\shell\open\command" "" '"$INSTDIR\vantok.exe" "%1"'
    !insertmacro ForEachType OfferFor

    WriteRegStr SHCTX "${APPKEY}" "DisplayName" "${APP}"
    WriteRegStr SHCTX "${APPKEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${APPKEY}" "DisplayIcon" "$INSTDIR\vantok.exe,0"
    WriteRegStr SHCTX "${APPKEY}" "Publisher" "The Vantok developers"
    WriteRegStr SHCTX "${APPKEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${APPKEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${APPKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${APPKEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${APPKEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD SHCTX "${APPKEY}" "EstimatedSize" $0
SectionEnd

Section Uninstall
    Delete "$INSTDIR\vantok.exe"
    Delete "$INSTDIR\COPYING.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${APP}.lnk"
    Delete "$SMPROGRAMS\${PICK}.lnk"

    !insertmacro ForEachType WithdrawFrom
    DeleteRegKey SHCTX "${APPS_KEY}"
    DeleteRegKey SHCTX "Software\Classes\${PROGID}"
    DeleteRegKey SHCTX "${APPKEY}"
SectionEnd
