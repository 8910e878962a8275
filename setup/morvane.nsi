; The set-up program of the release for Windows 95 to XP: it installs
; Morvane.exe and Morvane.dll, a Start menu shortcut, the entry in Add/Remove
; Programs and an uninstaller. It speaks English and Japanese: the language of
; the user's system where it is one of them, else English; a dialog at start
; lets the user choose the other, and the library of the chosen language is
; installed as Morvane.dll. A silent install takes the system's language.
; ANSI, so that Windows 9x runs it; its one plug-in, LangDLL (the language
; dialog), imports only what Windows 95 has. Written in UTF-8: makensis stores
; each language's texts in its code page (Japanese: 932).
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DPROGRAM=Morvane.exe
;            -DLIBRARY=Morvane.dll -DLIBRARY_JA=ja/Morvane.dll
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

; English first: the language of every system the set-up does not speak.
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Japanese.nlf"

Name "Morvane"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${PUBLISHER}"
InstallDir "$PROGRAMFILES\Morvane"
; Installing again goes into the folder of the earlier install.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

; The version resource, in both languages (blocks 040904E4 and 041103A4).
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
!macro VERSION_KEYS LANGUAGE DESCRIPTION
VIAddVersionKey /LANG=${LANGUAGE} "ProductName" "Morvane"
VIAddVersionKey /LANG=${LANGUAGE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANGUAGE} "FileDescription" "${DESCRIPTION}"
VIAddVersionKey /LANG=${LANGUAGE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANGUAGE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANGUAGE} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
!macroend
!insertmacro VERSION_KEYS ${LANG_ENGLISH} "Morvane ${VERSION} Set-up"
!insertmacro VERSION_KEYS ${LANG_JAPANESE} "Morvane ${VERSION} セットアップ"

; Every text of the set-up in both languages.
!macro TEXT NAME ENGLISH JAPANESE
LangString ${NAME} ${LANG_ENGLISH} "${ENGLISH}"
LangString ${NAME} ${LANG_JAPANESE} "${JAPANESE}"
!macroend
!insertmacro TEXT Caption "Morvane ${VERSION} Set-up" "Morvane ${VERSION} セットアップ"
!insertmacro TEXT UninstallCaption "Removing Morvane ${VERSION}" "Morvane ${VERSION} の削除"
!insertmacro TEXT DirText "Morvane will be installed in the folder below. To install it \
    elsewhere, press Browse and choose another folder. The camera's own driver should be \
    installed first." "Morvane を次のフォルダにインストールします。別のフォルダにインストール\
    するには、[参照] を押してフォルダを選択してください。カメラのドライバは先にインストール\
    しておいてください。"
!insertmacro TEXT DirSubText "Install Morvane in this folder" "Morvane のインストール先"
!insertmacro TEXT DirBrowse "Browse..." "参照..."
!insertmacro TEXT DirBrowseText "Choose the folder for Morvane:" \
    "Morvane のフォルダを選択してください:"
!insertmacro TEXT SpaceNeeded "Space needed: " "必要なディスク領域: "
!insertmacro TEXT SpaceFree "Space free: " "空きディスク領域: "
!insertmacro TEXT InstallButton "Install" "インストール"
!insertmacro TEXT Completed "Morvane is installed. Start it from the Start menu." \
    "Morvane のインストールが完了しました。[スタート] メニューから起動してください。"
!insertmacro TEXT UninstallText "Morvane will be removed from the folder below. Your \
    streaming settings stay on this computer." "Morvane を次のフォルダから削除します。\
    ストリーミングの設定はこのコンピュータに残ります。"
!insertmacro TEXT UninstallFrom "Removing from:" "削除するフォルダ:"
!insertmacro TEXT UninstallButton "Remove" "削除"
!insertmacro TEXT Back "< Back" "< 戻る"
!insertmacro TEXT Next "Next >" "次へ >"
!insertmacro TEXT Cancel "Cancel" "キャンセル"
!insertmacro TEXT Close "Close" "閉じる"
!insertmacro TEXT Details "Show details" "詳細を表示"
!insertmacro TEXT FileError "The file $\r$\n$\r$\n$0$\r$\n$\r$\ncould not be written. Close \
    Morvane if it is running and press Retry, or press Cancel to stop the set-up." \
    "ファイル$\r$\n$\r$\n$0$\r$\n$\r$\nに書き込めませんでした。Morvane を実行中の場合は終了\
    してから [再試行] を、セットアップを中止するには [キャンセル] を押してください。"
!insertmacro TEXT Running "Morvane is running. Close it, then press Retry." \
    "Morvane が実行中です。終了してから [再試行] を押してください。"
!insertmacro TEXT Unwritable "Morvane cannot be installed in $INSTDIR: that folder cannot be \
    written to.$\r$\n$\r$\nChoose another folder, or run the set-up as a user who may \
    install programs." "$INSTDIR には書き込めないため、Morvane をインストールできません。\
    $\r$\n$\r$\n別のフォルダを選択するか、プログラムをインストールできるユーザーとして\
    セットアップを実行してください。"
!insertmacro TEXT NotInstalled "Morvane was not installed." "Morvane はインストールされません\
    でした。"
!insertmacro TEXT Newer "A newer Morvane, version $R4.$R5.$R6, is installed in $INSTDIR. \
    Replace it with version ${VERSION}?" "$INSTDIR には新しいバージョン ($R4.$R5.$R6) の \
    Morvane がインストールされています。バージョン ${VERSION} に置き換えますか?"
!insertmacro TEXT NoEntry "Morvane's entry in Add/Remove Programs could not be written. Run \
    the set-up again as a user who may install programs." "[アプリケーションの追加と削除] に \
    Morvane を登録できませんでした。プログラムをインストールできるユーザーとして\
    セットアップをもう一度実行してください。"
!insertmacro TEXT EntryMissing "Morvane's entry in Add/Remove Programs is missing." \
    "[アプリケーションの追加と削除] に Morvane が登録されていません。"
!insertmacro TEXT NotRemoved "Morvane's files in $INSTDIR could not be removed. Close \
    Morvane and remove it again." "$INSTDIR の Morvane のファイルを削除できませんでした。\
    Morvane を終了してから、もう一度削除してください。"

Caption "$(Caption)"
UninstallCaption "$(UninstallCaption)"
DirText "$(DirText)" "$(DirSubText)" "$(DirBrowse)" "$(DirBrowseText)"
SpaceTexts "$(SpaceNeeded)" "$(SpaceFree)"
InstallButtonText "$(InstallButton)"
CompletedText "$(Completed)"
UninstallText "$(UninstallText)" "$(UninstallFrom)"
UninstallButtonText "$(UninstallButton)"
MiscButtonText "$(Back)" "$(Next)" "$(Cancel)" "$(Close)"
DetailsButtonText "$(Details)"
FileErrorText "$(FileError)"

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
        "$(Running)" /SD IDCANCEL IDRETRY check
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

Function OnLeaveFolderPage
    Call FolderWritable
    ${If} $0 = 0
        MessageBox MB_OK|MB_ICONSTOP "$(Unwritable)"
        Abort
    ${EndIf}
FunctionEnd

; RefuseOverNewer: installing over a newer Morvane asks first; without a
; window to ask in (silent mode) or when the user says no, the set-up ends
; with error level 2 and leaves the newer one alone.
!searchparse "${VERSION}" "" VERSION_MAJOR "." VERSION_MINOR "." VERSION_PATCH
!define /math VERSION_HIGH_MAJOR ${VERSION_MAJOR} << 16
!define /math VERSION_HIGH ${VERSION_HIGH_MAJOR} | ${VERSION_MINOR}
!define /math VERSION_LOW ${VERSION_PATCH} << 16
Function RefuseOverNewer
    ClearErrors
    GetDLLVersion "$INSTDIR\Morvane.exe" $R0 $R1
    ${If} ${Errors}
        Return ; nothing installed there, or a Morvane without a version: older
    ${EndIf}
    ${If} $R0 U< ${VERSION_HIGH}
    ${OrIf} $R0 = ${VERSION_HIGH}
    ${AndIf} $R1 U<= ${VERSION_LOW}
        Return
    ${EndIf}
    IntOp $R4 $R0 >> 16
    IntOp $R5 $R0 & 0xFFFF
    IntOp $R6 $R1 >> 16
    MessageBox MB_YESNO|MB_ICONEXCLAMATION "$(Newer)" /SD IDNO IDYES replace
    SetErrorLevel 2
    Quit
    replace:
FunctionEnd

Function .onInit
    SetShellVarContext all
    ; $LANGUAGE starts as the user's default language where the set-up
    ; speaks it, else English; the dialog starts on it.
    ${IfNot} ${Silent}
        Push ""
        Push ${LANG_ENGLISH}
        Push "English"
        Push ${LANG_JAPANESE}
        Push "Japanese"
        Push A
        LangDLL::LangDialog "Installer Language" "Please select a language."
        Pop $LANGUAGE
        ${If} $LANGUAGE == "cancel"
            Abort
        ${EndIf}
    ${EndIf}
    Call RefuseWhileRunning
FunctionEnd

Section "Morvane"
    ; In silent mode the folder page was never shown: check here too.
    Call FolderWritable
    ${If} $0 = 0
        MessageBox MB_OK|MB_ICONSTOP "$(Unwritable)" /SD IDOK
        Abort "$(NotInstalled)"
    ${EndIf}
    Call RefuseOverNewer
    SetOutPath "$INSTDIR"
    File "/oname=Morvane.exe" "${PROGRAM}"
    ${If} $LANGUAGE = ${LANG_JAPANESE}
        File "/oname=Morvane.dll" "${LIBRARY_JA}"
    ${Else}
        File "/oname=Morvane.dll" "${LIBRARY}"
    ${EndIf}
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
    ; The uninstaller speaks the language the program was installed in.
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Language" $LANGUAGE
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "$(NoEntry)" /SD IDOK
        Abort "$(EntryMissing)"
    ${EndIf}
SectionEnd

Function un.onInit
    SetShellVarContext all
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "Language"
    ${If} $0 != ""
        StrCpy $LANGUAGE $0
    ${EndIf}
    Call un.RefuseWhileRunning
FunctionEnd

Section "Uninstall"
    Delete "$INSTDIR\Morvane.exe"
    Delete "$INSTDIR\Morvane.dll"
    ${If} ${FileExists} "$INSTDIR\Morvane.exe"
    ${OrIf} ${FileExists} "$INSTDIR\Morvane.dll"
        MessageBox MB_OK|MB_ICONSTOP "$(NotRemoved)" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    Delete "$SMPROGRAMS\Morvane.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only when empty: whatever the user put there stays.
    RMDir "$INSTDIR"
SectionEnd
