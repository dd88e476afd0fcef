; The Windows installer of the Solvarn printer check, made by tools/windows/build-windows.sh:
;   makensis -DVERSION=1.0 -DVERSION_QUAD=1.0.0.0 -DCOMPANY=... -DCOPYRIGHT=...
;            -DSTAGE=<folder with the programs> -DOUTFILE=<setup.exe> -DICON=<.ico>
;            -DLICENCE=<licence text> -DPATHEDIT=<pathedit.exe> -DRUNNING_MARKER=<mutex name>
;            -DFILE_LIST=<.nsh naming the staged files and folders> installer.nsi
; It installs everything in STAGE into one folder, puts the window and its uninstaller in the
; Start menu, can add the folder to the system PATH for solvarn-sjekk, and registers an
; uninstaller that removes all of it again. There is one installation: an earlier one in another
; folder is removed once the new files are in place, and its PATH choice carries over.
; Neither touches a file while one of the programs runs. Silent: setup.exe /S [/ADDTOPATH]
; [/D=folder]; uninstall.exe /S [_?=folder]. Exit statuses below (EXIT_...).
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
!define README "LES-MEG.txt"

; The exit statuses, for an admin's tools (docs/windows.md). NSIS's own: 0 done, 1 cancelled
; by the user.
!define EXIT_PATH_LEFT 2 ; done, but the PATH was asked for and left alone
!define EXIT_RUNNING 3 ; a program runs: nothing changed
!define EXIT_FOLDER 4 ; the folder cannot be made or written: nothing installed
!define EXIT_FILES 5 ; a file could not be written or removed (details below each use)

; pathedit's exit status: 0 changed, 1 nothing to do; anything else left the PATH alone.
!define PATHEDIT_UNCHANGED 1
!define PATH_NOT_ADDED "Mappen ble ikke lagt til i PATH: PATH er for lang eller kunne ikke endres trygt, og er latt være som den var (pathedit: $0).$\r$\n$\r$\nsolvarn-sjekk kan startes fra $INSTDIR."
!define PATH_NOT_REMOVED "Mappen kunne ikke tas ut av PATH, som er latt være som den var (pathedit: $0)."
!define RUNNING_TEXT "${PRODUCT} kjører (vinduet eller solvarn-sjekk). Lukk programmet, og klikk Prøv igjen.$\r$\n$\r$\nAvbryt avslutter uten å endre noe."
!define FOLDER_TEXT "Mappen $INSTDIR kan ikke opprettes eller skrives til. Ingenting er installert."
!define FILES_NOT_WRITTEN "Noen filer i $INSTDIR kunne ikke skrives (se detaljene). Kjør installasjonen på nytt når ingen andre programmer bruker dem."
!define OLD_NOT_REMOVED "Den forrige installasjonen i $OldFolder kunne ikke fjernes (avinstallering: $0). Den nye er tatt bort igjen, og den forrige står som før."
!define FILES_NOT_REMOVED "Noen filer i $INSTDIR kunne ikke slettes (se detaljene). Avinstalleringen kan kjøres på nytt når ingen andre programmer bruker dem."

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${PRODUCT_KEY}" "InstallDir"
RequestExecutionLevel admin
; Sharp at 150 % and more: Windows would otherwise scale the pages up as a picture.
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"

; Where an earlier installation is (from its uninstall entry), "" when there is none; and
; whether that one put its folder on the PATH.
Var OldFolder
Var OldAddedToPath
; 1 when this installer made the program folder, so that a failure takes it away again.
Var FolderMade

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; "Velkommen til veiviseren for installasjon av Solvarn printersjekk 1.0" takes three lines.
!define MUI_WELCOMEPAGE_TITLE_3LINES
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
; The description under the list, which keeps its width for the PATH component's name; two
; lines of text fit there.
!define MUI_COMPONENTSPAGE_SMALLDESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE_3LINES
; "Kjør Solvarn printersjekk 1.0": started as the signed-in user, not with the installer's
; administrator rights.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartWindowAsUser
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

; INSTALLED_FILES and INSTALLED_FOLDERS: each staged file and folder, relative to the program
; folder, handed to a macro.
!include "${FILE_LIST}"

!macro DeleteInstalledFile FILE
    Delete "$INSTDIR\${FILE}"
!macroend
!macro RemoveInstalledFolder FOLDER
    RMDir "$INSTDIR\${FOLDER}"
!macroend
; A file that a running program holds (an older version has no mark) cannot be opened for
; writing: $R7 becomes 1. Opening it so changes nothing in it.
!macro ProbeInstalledFile FILE
    ${If} ${FileExists} "$R9\${FILE}"
        ClearErrors
        FileOpen $R8 "$R9\${FILE}" a
        ${If} ${Errors}
            DetailPrint "I bruk: $R9\${FILE}"
            StrCpy $R7 1
        ${Else}
            FileClose $R8
        ${EndIf}
    ${EndIf}
!macroend

; Whether the programs' mark (RunningMarker) is there in a namespace: $R7 becomes 1. A mark
; made by another user may refuse access, and is there all the same.
!macro FindRunningMarker NAMESPACE
    ; SYNCHRONIZE, the least right to ask for.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${NAMESPACE}\${RUNNING_MARKER}") p .R5 ?e'
    Pop $R4
    ${If} $R5 != 0
        System::Call 'kernel32::CloseHandle(p R5)'
        StrCpy $R7 1
    ${ElseIf} $R4 = 5 ; ERROR_ACCESS_DENIED
        StrCpy $R7 1
    ${EndIf}
!macroend

; The installer's and the uninstaller's own copies of the functions they share.
!macro SHARED_FUNCTIONS UN
; Whether one of the programs runs: their mark, or a file held in the folder $R9 (which may be
; ""). $R7 is 1 when one runs.
Function ${UN}ProgramRuns
    StrCpy $R7 0
    !insertmacro FindRunningMarker "Global"
    !insertmacro FindRunningMarker "Local"
    ${If} $R9 != ""
        !insertmacro INSTALLED_FILES ProbeInstalledFile
    ${EndIf}
FunctionEnd

; Waits for the programs to be closed before a file in the folder $R9 is touched: asks (Prøv
; igjen / Avbryt), and silently ends at once with EXIT_RUNNING.
Function ${UN}UntilClosed
    again:
    Call ${UN}ProgramRuns
    ${If} $R7 == 0
        Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING_TEXT}" /SD IDCANCEL IDRETRY again
    DetailPrint "${PRODUCT} kjører: ingenting er endret."
    SetErrorLevel ${EXIT_RUNNING}
    Abort
FunctionEnd

; Deletes the staged files and folders from $INSTDIR (not what else the folder may hold); the
; error flag is set when a file that is there could not be deleted.
Function ${UN}DeleteInstalledFiles
    ClearErrors
    !insertmacro INSTALLED_FILES DeleteInstalledFile
    ${If} ${Errors}
        Return
    ${EndIf}
    !insertmacro INSTALLED_FOLDERS RemoveInstalledFolder
    ClearErrors
FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

; Makes the program folder and sees that it can be written, before anything else is touched;
; ends with EXIT_FOLDER when it cannot (a drive that is not there, no rights).
Function MakeFolder
    StrCpy $FolderMade 0
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        ClearErrors
        CreateDirectory "$INSTDIR"
        ${If} ${Errors}
            Goto failed
        ${EndIf}
        StrCpy $FolderMade 1
    ${EndIf}
    ClearErrors
    FileOpen $0 "$INSTDIR\solvarn-skrivetest.tmp" w
    ${If} ${Errors}
        Goto failed
    ${EndIf}
    FileClose $0
    Delete "$INSTDIR\solvarn-skrivetest.tmp"
    Return
    failed:
    ${If} $FolderMade == 1
        RMDir "$INSTDIR"
    ${EndIf}
    DetailPrint "Mappen kan ikke opprettes eller skrives til: $INSTDIR"
    MessageBox MB_OK|MB_ICONSTOP "${FOLDER_TEXT}" /SD IDOK
    SetErrorLevel ${EXIT_FOLDER}
    Abort
FunctionEnd

; After a failure: takes this installer's files away again where the folder held no
; installation before (an earlier one here keeps whatever could not be replaced), and ends with
; EXIT_FILES and the message given on the stack.
Function FailWithFiles
    Exch $0
    ${If} $FolderMade == 1
    ${OrIf} $OldFolder != $INSTDIR
        Call DeleteInstalledFiles
        RMDir "$INSTDIR"
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
    SetErrorLevel ${EXIT_FILES}
    Abort
FunctionEnd

; The earlier installation in another folder, removed by its own uninstaller run from a copy
; (so that it can delete itself and its folder) and waited for.
Function RemoveOldInstallation
    DetailPrint "Fjerner den forrige installasjonen i $OldFolder"
    InitPluginsDir
    ClearErrors
    CopyFiles /SILENT "$OldFolder\uninstall.exe" "$PLUGINSDIR\forrige-avinstaller.exe"
    ExecWait '"$PLUGINSDIR\forrige-avinstaller.exe" /S _?=$OldFolder' $0
    ${If} ${Errors}
        StrCpy $0 "kunne ikke startes"
    ${ElseIf} $0 == ${EXIT_PATH_LEFT}
        ; Removed; only its PATH entry stays, as the user was told in its own words.
        StrCpy $0 0
    ${EndIf}
    ${If} $0 != 0
        Push "${OLD_NOT_REMOVED}"
        Call FailWithFiles
    ${EndIf}
FunctionEnd

Section "${PRODUCT}" SectionProgram
    SectionIn RO
    SetShellVarContext all
    ; Both folders: an older version without the mark holds its files.
    StrCpy $R9 "$INSTDIR"
    Call UntilClosed
    ${If} $OldFolder != ""
    ${AndIf} $OldFolder != $INSTDIR
        StrCpy $R9 "$OldFolder"
        Call UntilClosed
    ${EndIf}
    Call MakeFolder
    SetOutPath "$INSTDIR"
    ClearErrors
    File /r "${STAGE}\*.*"
    ${If} ${Errors}
        Push "${FILES_NOT_WRITTEN}"
        Call FailWithFiles
    ${EndIf}
    ${If} $OldFolder != ""
    ${AndIf} $OldFolder != $INSTDIR
        Call RemoveOldInstallation
    ${EndIf}
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
    ; The programs list's support page: whom to ask, and the readme.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Contact" "Din kontakt hos Kvanta (leverandøren)"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Readme" "$INSTDIR\${README}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "HelpLink" "$INSTDIR\${README}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    ; Waited for, so that a management tool gets the exit status (NSIS's uninstaller otherwise
    ; hands the work to a copy of itself and ends with 0 at once).
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Off unless chosen on the components page, with /ADDTOPATH when silent, or when the earlier
; installation had put its folder there. The PATH is edited by pathedit (setup/), not here:
; NSIS's strings end at 1024 characters, and a longer PATH read into one would be written back
; cut.
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
        SetErrorLevel ${EXIT_PATH_LEFT}
    ${EndIf}
SectionEnd

; A reinstall into the same folder with the PATH choice unticked takes out what the earlier
; installation put in. (In another folder, the earlier uninstaller has done so.)
Section "-PathUnticked"
    ${If} ${SectionIsSelected} ${SectionPath}
    ${OrIf} $OldAddedToPath != 1
    ${OrIf} $OldFolder != $INSTDIR
        Return
    ${EndIf}
    InitPluginsDir
    File "/oname=$PLUGINSDIR\pathedit.exe" "${PATHEDIT}"
    nsExec::ExecToLog '"$PLUGINSDIR\pathedit.exe" remove "$INSTDIR"'
    Pop $0
    ${If} $0 == 0
    ${OrIf} $0 == ${PATHEDIT_UNCHANGED}
        DeleteRegValue HKLM "${PRODUCT_KEY}" "AddedToPath"
    ${Else}
        DetailPrint "PATH ble ikke endret (pathedit: $0)."
        MessageBox MB_OK|MB_ICONEXCLAMATION "${PATH_NOT_REMOVED}" /SD IDOK
        SetErrorLevel ${EXIT_PATH_LEFT}
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} \
        "Vinduet og solvarn-sjekk, med Qt og en snarvei i Start-menyen."
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionPath} \
        "Legger programmappen til i systemets PATH, slik at solvarn-sjekk kan startes fra enhver ny ledetekst."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} krever 64-biters Windows."
        Abort
    ${EndIf}
    SetRegView 64
    Call RequestedFolderTaken
    ; The earlier installation, where its uninstaller still is: the folder offered, and the
    ; PATH choice as it left it.
    StrCpy $OldFolder ""
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\uninstall.exe"
        StrCpy $OldFolder "$0"
        ReadRegDWORD $OldAddedToPath HKLM "${PRODUCT_KEY}" "AddedToPath"
    ${EndIf}
    ${If} $OldAddedToPath == 1
        SectionSetFlags ${SectionPath} ${SF_SELECTED}
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ADDTOPATH" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SectionPath} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

; A folder given with /D= that NSIS cannot take (on a drive that is not there) is replaced by
; the default without a word; the install would then go where it was not asked to. NSIS has
; taken /D= out of $CMDLINE: the process's own command line still has it.
Function RequestedFolderTaken
    System::Call 'kernel32::GetCommandLineW() t .r0'
    ClearErrors
    ${GetOptionsS} $0 "/D=" $1
    ${If} ${Errors}
        Return
    ${EndIf}
    StrCpy $2 $1 "" -1
    ${If} $2 == "\"
        StrCpy $1 $1 -1
    ${EndIf}
    ${If} $1 != $INSTDIR
        StrCpy $INSTDIR $1
        MessageBox MB_OK|MB_ICONSTOP "${FOLDER_TEXT}" /SD IDOK
        SetErrorLevel ${EXIT_FOLDER}
        Quit
    ${EndIf}
FunctionEnd

; The installer runs with administrator rights, and a program it starts would too; Explorer
; starts it as the signed-in user.
Function StartWindowAsUser
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\solvarn-printersjekk.exe"'
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

; Files first: while one cannot be deleted, the uninstaller, its entry, the Start menu and the
; PATH stay, so that it can be run again.
Section "Uninstall"
    SetShellVarContext all
    StrCpy $R9 "$INSTDIR"
    Call un.UntilClosed
    Call un.DeleteInstalledFiles
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "${FILES_NOT_REMOVED}" /SD IDOK
        SetErrorLevel ${EXIT_FILES}
        Abort
    ${EndIf}

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
            SetErrorLevel ${EXIT_PATH_LEFT}
        ${EndIf}
    ${EndIf}

    Delete "${SHORTCUT}"
    Delete "${UNINSTALL_SHORTCUT}"
    RMDir "${SHORTCUT_FOLDER}"
    ; Run in place (_?=), the uninstaller cannot delete itself while it runs: it and the then
    ; empty folder go at the next restart.
    ${If} $EXEDIR == $INSTDIR
        Delete /REBOOTOK "$INSTDIR\uninstall.exe"
        RMDir /REBOOTOK "$INSTDIR"
    ${Else}
        Delete "$INSTDIR\uninstall.exe"
        RMDir "$INSTDIR"
    ${EndIf}

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "${PRODUCT_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Solvarn"
SectionEnd
