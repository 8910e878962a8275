; The set-up program of the release for Windows 95 to XP: it installs
; Morvane.exe and Morvane.dll, a Start menu shortcut, the entry in Add/Remove
; Programs and an uninstaller. ANSI, so that Windows 9x runs it; no plug-ins,
; so that nothing beyond the set-up program itself has to load there.
;
;   makensis -DVERSION=1.0.0 -DPROGRAM=Morvane.exe -DLIBRARY=Morvane.dll
;            -DICON=icon102.ico -DOUTFILE=Morvane-1.0.0-setup.exe morvane.nsi
;
; The uninstaller leaves the settings under HKEY_LOCAL_MACHINE alone: they
; belong to the camera's set-up, which other software shares.

Unicode false
SetCompressor /SOLID zlib
RequestExecutionLevel admin
XPStyle on
AllowSkipFiles off
SetOverwrite on
ShowInstDetails nevershow
ShowUninstDetails nevershow

!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
!define UNINSTALLER "Uninstall.exe"
!define PUBLISHER "Kivo Corporation"
; Morvane's main window: a dialog titled "Morvane".
!define MAIN_WINDOW_CLASS "#32770"
!define MAIN_WINDOW_TITLE "Morvane"

Name "Morvane"
Caption "Morvane ${VERSION} Set-up"
UninstallCaption "Removing Morvane ${VERSION}"
BrandingText "${PUBLISHER}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES\Morvane"
; Installing again goes into the folder of the earlier install.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Morvane"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "Morvane ${VERSION} Set-up"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

DirText "Morvane will be installed in the folder below. To install it elsewhere, press \
    Browse and choose another folder. The camera's own driver should be installed first." \
    "Install Morvane in this folder" "Browse..." "Choose the folder for Morvane:"
SpaceTexts "Space needed: " "Space free: "
InstallButtonText "Install"
CompletedText "Morvane is installed. Start it from the Start menu."
UninstallText "Morvane will be removed from the folder below. Your streaming settings stay \
    on this computer." "Removing from:"
UninstallButtonText "Remove"
MiscButtonText "< Back" "Next >" "Cancel" "Close"
DetailsButtonText "Show details"
FileErrorText "The file $\r$\n$\r$\n$0$\r$\n$\r$\ncould not be written. Close Morvane if it is \
    running and press Retry, or press Cancel to stop the set-up."

Page directory "" "" OnLeaveFolderPage
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; RefuseWhileRunning: while Morvane runs, its files cannot be replaced or
; removed. Asks to close it; without a window to ask in (silent mode) or
; when the user gives up, the set-up ends with error level 2.
!macro REFUSE_WHILE_RUNNING prefix
Function ${prefix}RefuseWhileRunning
    check:
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
    ${If} $0 = 0
        Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Morvane is running. Close it, then press Retry." /SD IDCANCEL IDRETRY check
    SetErrorLevel 2
    Quit
FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

; FolderWritable: $0 is 1 when the install folder exists (or was created) and
; a file can be written in it, else 0, with nothing left behind.
Function FolderWritable
    StrCpy $0 0
    StrCpy $1 0
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $1 1
    ${EndIf}
    ClearErrors
    CreateDirectory "$INSTDIR"
    ${IfNot} ${Errors}
        FileOpen $2 "$INSTDIR\Morvane.tmp" w
        ${IfNot} ${Errors}
            FileClose $2
            Delete "$INSTDIR\Morvane.tmp"
            StrCpy $0 1
        ${EndIf}
    ${EndIf}
    ${If} $0 = 0
    ${AndIf} $1 = 1
        RMDir "$INSTDIR"
    ${EndIf}
FunctionEnd

!define UNWRITABLE_TEXT "Morvane cannot be installed in $INSTDIR: that folder cannot be \
    written to.$\r$\n$\r$\nChoose another folder, or run the set-up as a user who may \
    install programs."

Function OnLeaveFolderPage
    Call FolderWritable
    ${If} $0 = 0
        MessageBox MB_OK|MB_ICONSTOP "${UNWRITABLE_TEXT}"
        Abort
    ${EndIf}
FunctionEnd

Function .onInit
    SetShellVarContext all
    Call RefuseWhileRunning
FunctionEnd

Section "Morvane"
    ; In silent mode the folder page was never shown: check here too.
    Call FolderWritable
    ${If} $0 = 0
        MessageBox MB_OK|MB_ICONSTOP "${UNWRITABLE_TEXT}" /SD IDOK
        Abort "Morvane was not installed."
    ${EndIf}
    SetOutPath "$INSTDIR"
    File "/oname=Morvane.exe" "${PROGRAM}"
    File "/oname=Morvane.dll" "${LIBRARY}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortCut "$SMPROGRAMS\Morvane.lnk" "$INSTDIR\Morvane.exe" "" "$INSTDIR\Morvane.exe" 0

    ClearErrors
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Morvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Morvane.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "Morvane's entry in Add/Remove Programs could not be \
            written. Run the set-up again as a user who may install programs." /SD IDOK
        Abort "Morvane's entry in Add/Remove Programs is missing."
    ${EndIf}
SectionEnd

Function un.onInit
    SetShellVarContext all
    Call un.RefuseWhileRunning
FunctionEnd

Section "Uninstall"
    Delete "$INSTDIR\Morvane.exe"
    Delete "$INSTDIR\Morvane.dll"
    ${If} ${FileExists} "$INSTDIR\Morvane.exe"
    ${OrIf} ${FileExists} "$INSTDIR\Morvane.dll"
        MessageBox MB_OK|MB_ICONSTOP "Morvane's files in $INSTDIR could not be removed. \
            Close Morvane and remove it again." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    Delete "$SMPROGRAMS\Morvane.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only when empty: whatever the user put there stays.
    RMDir "$INSTDIR"
SectionEnd
