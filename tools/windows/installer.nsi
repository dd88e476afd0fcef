; The Windows installer of the Solvarn printer check, made by tools/windows/build-windows.sh:
;   makensis -DVERSION=1.0 -DVERSION_QUAD=1.0.0.0 -DCOMPANY=... -DCOPYRIGHT=...
;            -DSTAGE=<folder with the programs> -DOUTFILE=<setup.exe> -DICON=<.ico>
;            -DLICENCE=<licence text> -DPATHEDIT=<pathedit.exe>
;            -DUNINSTALL_LIST=<.nsh that deletes the staged files> installer.nsi
; It installs everything in STAGE into one folder, puts the window and its uninstaller in the
; Start menu, can add the folder to the system PATH for solvarn-sjekk, and registers an
; uninstaller that removes all of it again. Silent: setup.exe /S [/ADDTOPATH] [/D=folder];
; uninstall.exe /S. The exit status is 0, or 2 when the PATH was asked for and left alone.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define PRODUCT "Solvarn printersjekk"
!define PUBLISHER "${COMPANY}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\SolvarnPrintersjekk"
!define PRODUCT_KEY "Software\Solvarn\Printersjekk"
!define SHORTCUT_FOLDER "$SMPROGRAMS\${PRODUCT}"
!define SHORTCUT "${SHORTCUT_FOLDER}\${PRODUCT}.lnk"
!define UNINSTALL_SHORTCUT "${SHORTCUT_FOLDER}\Avinstaller ${PRODUCT}.lnk"
; pathedit's exit status: 0 changed, 1 nothing to do; anything else left the PATH alone.
!define PATHEDIT_UNCHANGED 1
!define PATH_NOT_ADDED "Mappen ble ikke lagt til i PATH: PATH er for lang eller kunne ikke endres trygt, og er latt være som den var (pathedit: $0).$\r$\n$\r$\nsolvarn-sjekk kan startes fra $INSTDIR."
!define PATH_NOT_REMOVED "Mappen kunne ikke tas ut av PATH, som er latt være som den var (pathedit: $0)."

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${PRODUCT_KEY}" "InstallDir"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
; "Velkommen til veiviseren for installasjon av Solvarn printersjekk 1.0" takes three lines.
!define MUI_WELCOMEPAGE_TITLE_3LINES
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_RUN "$INSTDIR\solvarn-printersjekk.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Norwegian"

; Properties, Details in Explorer, as for the programs.
VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_NORWEGIAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_NORWEGIAN} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_NORWEGIAN} "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_NORWEGIAN} "FileDescription" "Installasjonsprogram for ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_NORWEGIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_NORWEGIAN} "ProductVersion" "${VERSION}"

Section "${PRODUCT}" SectionProgram
    SectionIn RO
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; Version 1.0's entry stood directly in the Start menu; now it is in a folder.
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    CreateDirectory "${SHORTCUT_FOLDER}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\solvarn-printersjekk.exe" "" \
        "$INSTDIR\solvarn-printersjekk.exe" 0
    CreateShortcut "${UNINSTALL_SHORTCUT}" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${PRODUCT_KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\solvarn-printersjekk.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Off unless chosen on the components page, or with /ADDTOPATH when silent. The PATH is
; edited by pathedit (setup/), not here: NSIS's strings end at 1024 characters, and a longer
; PATH read into one would be written back cut.
Section /o "Legg solvarn-sjekk til i PATH" SectionPath
    InitPluginsDir
    File "/oname=$PLUGINSDIR\pathedit.exe" "${PATHEDIT}"
    nsExec::ExecToLog '"$PLUGINSDIR\pathedit.exe" add "$INSTDIR"'
    Pop $0
    ${If} $0 == 0
        ; Remembered, so that the uninstaller takes out only what the installer put in.
        WriteRegDWORD HKLM "${PRODUCT_KEY}" "AddedToPath" 1
    ${ElseIf} $0 == ${PATHEDIT_UNCHANGED}
        DetailPrint "Mappen står allerede i PATH."
    ${Else}
        DetailPrint "PATH ble ikke endret (pathedit: $0)."
        MessageBox MB_OK|MB_ICONEXCLAMATION "${PATH_NOT_ADDED}" /SD IDOK
        SetErrorLevel 2
    ${EndIf}
SectionEnd

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} krever 64-biters Windows."
        Abort
    ${EndIf}
    SetRegView 64
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ADDTOPATH" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SectionPath} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    ReadRegDWORD $0 HKLM "${PRODUCT_KEY}" "AddedToPath"
    ${If} $0 == 1
        InitPluginsDir
        File "/oname=$PLUGINSDIR\pathedit.exe" "${PATHEDIT}"
        nsExec::ExecToLog '"$PLUGINSDIR\pathedit.exe" remove "$INSTDIR"'
        Pop $0
        ${If} $0 != 0
        ${AndIf} $0 != ${PATHEDIT_UNCHANGED}
            DetailPrint "PATH ble ikke endret (pathedit: $0)."
            MessageBox MB_OK|MB_ICONEXCLAMATION "${PATH_NOT_REMOVED}" /SD IDOK
            SetErrorLevel 2
        ${EndIf}
    ${EndIf}

    Delete "${SHORTCUT}"
    Delete "${UNINSTALL_SHORTCUT}"
    RMDir "${SHORTCUT_FOLDER}"
    ; Only the files the installer put there: a folder chosen by hand may hold others.
    !include "${UNINSTALL_LIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "${PRODUCT_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Solvarn"
SectionEnd
