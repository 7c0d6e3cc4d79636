; The Windows installer, in Russian: a 32-bit program itself, so that it runs on every Windows
; from 7 on. It puts the 64-bit program on 64-bit Windows and the 32-bit one on 32-bit Windows,
; with a Start-menu shortcut and an uninstaller that takes away everything it put in place
; (the program itself writes nothing). No file times are stored, so that two builds of one
; commit give the same installer.
; Built by the "packages" target: makensis -INPUTCHARSET UTF8 -DVERSION=... -DPROGRAM64=...
; -DPROGRAM32=... -DLICENSE=... -DICON=... -DOUTFILE=... varkelo.nsi
Target x86-unicode
ManifestDPIAware true
ManifestSupportedOS all
SetCompressor /SOLID lzma
SetDateSave off

!include "MUI2.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varkelo"

Name "Варкело"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Varkelo"
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
    ${If} ${RunningX64}
        SetRegView 64
        ${If} $INSTDIR == "$PROGRAMFILES\Varkelo" ; not chosen with /D=
            StrCpy $INSTDIR "$PROGRAMFILES64\Varkelo"
        ${EndIf}
    ${EndIf}
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    ${If} ${RunningX64}
        File "${PROGRAM64}"
    ${Else}
        File "${PROGRAM32}"
    ${EndIf}
    File "/oname=LICENSE.txt" "${LICENSE}"
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
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
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
