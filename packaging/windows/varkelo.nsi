; The Windows installer: a 64-bit program itself, in Russian, with a Start-menu shortcut and an uninstaller
; that takes away everything it put in place (the program itself writes nothing).
; Built by the "packages" target: makensis -INPUTCHARSET UTF8 -DVERSION=... -DSTAGE=<folder
; with varkelo.exe and LICENSE.txt> -DICON=... -DOUTFILE=... varkelo.nsi
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varkelo"

Name "Варкело"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Varkelo"
RequestExecutionLevel admin

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\varkelo.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "Варкело"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка программы Варкело"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "MIT License"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "Варкело работает только в 64-разрядной Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File "${STAGE}\varkelo.exe"
    File "${STAGE}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\Варкело.lnk" "$INSTDIR\varkelo.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Варкело"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\varkelo.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Varkelo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Варкело.lnk"
    Delete "$INSTDIR\varkelo.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
