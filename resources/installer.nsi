; The installer of ZunRun: for the current user, without administrator
; rights. It installs both programs, the read-me, the help, the examples,
; the editor files, the license and the change log; makes a Start-menu
; folder (ZunRun Help, Examples, Uninstall); opens .zunscript files with
; zunrun.exe (and offers "Edit" in Notepad); can add its folder to the
; user's PATH; and registers an uninstaller that removes exactly what it
; added.
;
;   setup.exe /S            installs silently (PATH left alone)
;   setup.exe /S /PATH=yes  the same, with the PATH entry (/PATH=no: without)
;   setup.exe /D=FOLDER     another folder (last on the line, no quotes)
;   uninstall.exe /S        removes silently
;
; makensis -DVERSION=1.0.2 -DVERSION4=1.0.2.0 -DCOMPANY=.. -DCOPYRIGHT=..
;          -DFILES=<files.nsh> -DICON=<zunrun.ico> -DOUT=<setup file> installer.nsi
; (cmake/package.cmake does this; FILES is the list of staged files it
; writes, with the macros InstallFiles and UninstallFiles)

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh
!include "${FILES}"

!define PROGID "ZunRun.Script"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZunRun"
!define MENU "$SMPROGRAMS\ZunRun"
; HKEY_CURRENT_USER as a 64-bit handle (sign-extended), for the System plug-in.
!define HKCU_HANDLE -2147483647

Name "ZunRun ${VERSION}"
OutFile "${OUT}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\ZunRun"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "ZunRun"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "ZunRun ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

ComponentText "ZunRun is always installed. Adding its folder to your PATH lets a console find zunrunc.exe by its name."
Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var Created    ; the outermost folder the setup created for $INSTDIR ("": not even that one)
Var PathText   ; the user's PATH
Var PathType   ; its type: 1 REG_SZ, 2 REG_EXPAND_SZ, 0 none, -1 not usable here
Var PathChars  ; its length in characters
Var Found      ; what FindPathEntry found

; Wine's shell reads file types only from the machine's classes, not from
; the user's: there they are written too (and removed with the rest).
!macro IfWine LABEL_NOT
  EnumRegKey $1 HKLM "Software\Wine" 0
  StrCmp $1 "" ${LABEL_NOT}
!macroend

; .zunscript files open with zunrun.exe, show its icon, and can be edited
; in Notepad: in the classes of SHCTX (the user's, or the machine's).
!macro Associate
  WriteRegStr SHCTX "Software\Classes\.zunscript" "" "${PROGID}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "ZUN Script"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" '"$INSTDIR\zunrun.exe",0'
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell" "" "open"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\zunrun.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\edit" "" "Edit"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\edit\command" "" 'notepad.exe "%1"'
!macroend

; The extension goes only while it still opens with ZunRun.
!macro Dissociate
  ReadRegStr $0 SHCTX "Software\Classes\.zunscript" ""
  StrCmp $0 "${PROGID}" 0 +2
    DeleteRegKey SHCTX "Software\Classes\.zunscript"
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
!macroend

; What the setup and the uninstaller both do (NSIS wants the uninstaller's
; functions named "un.").
!macro SharedFunctions UN

; Removes the folder $R0, then each folder above it up to $R1 (the
; outermost one the setup created), while they are empty. A $R1 that is not
; above $R0 counts as none.
Function ${UN}RemoveCreatedFolders
  StrLen $1 $R1
  StrCpy $2 $R0 $1
  StrCpy $3 $R0 1 $1
  ${If} $3 != "\"
  ${AndIf} $3 != ""
    StrCpy $R1 ""
  ${EndIf}
  ${If} $2 != $R1
    StrCpy $R1 ""
  ${EndIf}
  ${Do}
    RMDir $R0
    ${If} ${FileExists} "$R0\*.*"
    ${OrIf} $R1 == ""
    ${OrIf} $R0 == $R1
      ${ExitDo}
    ${EndIf}
    ${GetParent} $R0 $R0
  ${LoopUntil} $R0 == ""
FunctionEnd

; Reads the user's PATH (HKCU\Environment, Path) into $PathText, $PathType
; and $PathChars. Its type comes from the API: NSIS reads both string types
; alike, and an expandable PATH must stay expandable. NSIS strings hold
; ${NSIS_MAX_STRLEN} characters: a longer PATH is unusable here, since
; writing back a cut one would lose entries.
Function ${UN}ReadUserPath
  StrCpy $PathText ""
  StrCpy $PathChars 0
  System::Call 'advapi32::RegGetValueW(p ${HKCU_HANDLE}, w "Environment", w "Path", i 0x1000ffff, *i 0 r1, p 0, *i 0 r2) i .r0'
  ${If} $0 == 2  ; ERROR_FILE_NOT_FOUND
    StrCpy $PathType 0
  ${ElseIf} $0 != 0
  ${OrIf} $1 < 1
  ${OrIf} $1 > 2
    StrCpy $PathType -1
  ${Else}
    StrCpy $PathType $1
    ReadRegStr $PathText HKCU "Environment" "Path"
    StrLen $PathChars $PathText
    IntOp $2 $2 / 2  ; bytes, with the closing zero
    ${If} $2 >= ${NSIS_MAX_STRLEN}
      StrCpy $PathType -1
    ${EndIf}
  ${EndIf}
FunctionEnd

; Writes $PathText back with the type it had (a new PATH is expandable, as
; Windows makes it) and tells the running programs.
Function ${UN}WriteUserPath
  ${If} $PathType == 1
    WriteRegStr HKCU "Environment" "Path" $PathText
  ${Else}
    WriteRegExpandStr HKCU "Environment" "Path" $PathText
  ${EndIf}
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
FunctionEnd

; $Found: where the last entry of $PathText that is $0 (ignoring case, as
; Windows does) begins; below 0 when there is none.
Function ${UN}FindPathEntry
  StrLen $1 $PathText
  StrLen $2 $0
  IntOp $Found $1 - $2
  ${DoWhile} $Found >= 0
    StrCpy $3 $PathText $2 $Found
    ${If} $3 == $0
      StrCpy $3 ";"
      ${If} $Found > 0
        IntOp $4 $Found - 1
        StrCpy $3 $PathText 1 $4
      ${EndIf}
      IntOp $4 $Found + $2
      StrCpy $4 $PathText 1 $4
      ${If} $3 == ";"
        ${If} $4 == ";"
        ${OrIf} $4 == ""
          Return
        ${EndIf}
      ${EndIf}
    ${EndIf}
    IntOp $Found $Found - 1
  ${Loop}
FunctionEnd

!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; A previous installation (this version or an older one) is removed first
; by its own uninstaller, so that nothing it had and this one has not stays
; behind.
Function RemovePrevious
  ReadRegStr $5 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $6 HKCU "${UNINSTALL_KEY}" "CreatedFolder"
  StrCpy $Created ""
  ${If} $5 != ""
  ${AndIf} ${FileExists} "$5\uninstall.exe"
    DetailPrint "Removing the installation in $5"
    ExecWait '"$5\uninstall.exe" /S _?=$5'
    ; Run in place, it cannot remove itself nor its folders.
    Delete "$5\uninstall.exe"
    StrCpy $R0 $5
    StrCpy $R1 $6
    Call RemoveCreatedFolders
    ; A folder it had to leave (files of the user's in it) keeps its record.
    ${If} $5 == $INSTDIR
      StrCpy $Created $6
    ${EndIf}
  ${EndIf}

  ; The folders this installation creates, the outermost last.
  StrCpy $R0 $INSTDIR
  ${Do}
    ${If} ${FileExists} "$R0\*.*"
      ${ExitDo}
    ${EndIf}
    StrCpy $Created $R0
    ${GetParent} $R0 $R0
  ${LoopUntil} $R0 == ""
FunctionEnd

Section "ZunRun (required)" SecMain
  SectionIn RO
  Call RemovePrevious

  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  CreateDirectory "${MENU}"
  CreateShortCut "${MENU}\ZunRun Help.lnk" "$INSTDIR\Help\index.html"
  CreateShortCut "${MENU}\Examples.lnk" "$INSTDIR\Examples"
  CreateShortCut "${MENU}\Uninstall.lnk" "$INSTDIR\uninstall.exe"

  !insertmacro Associate
  !insertmacro IfWine not_wine
    SetShellVarContext all
    !insertmacro Associate
    SetShellVarContext current
  not_wine:

  ; The list of installed programs, and what the uninstaller needs to know.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "ZunRun"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\zunrun.exe",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} $Created != ""
    WriteRegStr HKCU "${UNINSTALL_KEY}" "CreatedFolder" "$Created"
  ${EndIf}

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; the associations changed
SectionEnd

; The folder at the end of the user's PATH, once. An entry that is already
; there stays the user's: neither added again nor removed later. The text
; appended (with the ';' before it, if one was needed) is recorded for the
; uninstaller.
Section /o "Add zunrunc.exe to my PATH" SecPath
  Call ReadUserPath
  StrLen $1 $INSTDIR
  IntOp $1 $1 + $PathChars
  IntOp $1 $1 + 2  ; the ';' and the closing zero
  ${If} $PathType < 0
  ${OrIf} $1 >= ${NSIS_MAX_STRLEN}
    DetailPrint "PATH left as it is: it cannot be changed safely here."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Your PATH could not be read whole, so it was left as it is. Add $INSTDIR to it yourself if you want zunrunc.exe found by its name." /SD IDOK
    Return
  ${EndIf}
  StrCpy $0 $INSTDIR
  Call FindPathEntry
  ${If} $Found >= 0
    DetailPrint "PATH already holds $INSTDIR"
    Return
  ${EndIf}
  StrCpy $2 $PathText 1 -1
  ${If} $PathText == ""
  ${OrIf} $2 == ";"
    StrCpy $3 $INSTDIR
  ${Else}
    StrCpy $3 ";$INSTDIR"
  ${EndIf}
  ${If} $PathType == 0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "PathCreated" 1
  ${EndIf}
  StrCpy $PathText "$PathText$3"
  Call WriteUserPath
  WriteRegStr HKCU "${UNINSTALL_KEY}" "PathEntry" $3
  DetailPrint "Added to PATH: $INSTDIR"
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PATH=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "yes"
      !insertmacro SelectSection ${SecPath}
    ${ElseIf} $1 == "no"
      !insertmacro UnselectSection ${SecPath}
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "/PATH= takes yes or no, not '$1'." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; Takes the entry the setup appended out of the user's PATH again, with the
; separator it brought, wherever the entry is now; the rest of PATH stays
; as it is, and so does its type. A PATH the setup created and that holds
; nothing else goes.
Function un.RemovePathEntry
  ReadRegStr $5 HKCU "${UNINSTALL_KEY}" "PathEntry"
  ${If} $5 == ""
    Return
  ${EndIf}
  Call un.ReadUserPath
  ${If} $PathType < 1
    DetailPrint "PATH left as it is: it cannot be changed safely here."
    Return
  ${EndIf}
  StrCpy $6 $5 1
  StrCpy $0 $5
  ${If} $6 == ";"
    StrCpy $0 $5 "" 1
  ${EndIf}
  Call un.FindPathEntry
  ${If} $Found < 0
    Return
  ${EndIf}
  StrLen $2 $0
  StrCpy $7 $Found         ; the cut, from $7 to $8
  IntOp $8 $Found + $2
  StrCpy $3 $PathText 1 $8
  ${If} $6 == ";"
  ${AndIf} $7 > 0
    IntOp $7 $7 - 1
  ${ElseIf} $3 == ";"
    IntOp $8 $8 + 1
  ${EndIf}
  StrCpy $1 $PathText $7
  StrCpy $3 $PathText "" $8
  StrCpy $PathText "$1$3"
  ReadRegDWORD $4 HKCU "${UNINSTALL_KEY}" "PathCreated"
  ${If} $PathText == ""
  ${AndIf} $4 == 1
    DeleteRegValue HKCU "Environment" "Path"
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${Else}
    Call un.WriteUserPath
  ${EndIf}
  DetailPrint "Removed from PATH: $0"
FunctionEnd

Section "Uninstall"
  Call un.RemovePathEntry
  ReadRegStr $Created HKCU "${UNINSTALL_KEY}" "CreatedFolder"

  !insertmacro UninstallFiles
  Delete "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  Delete "${MENU}\ZunRun Help.lnk"
  Delete "${MENU}\Examples.lnk"
  Delete "${MENU}\Uninstall.lnk"
  RMDir "${MENU}"

  !insertmacro Dissociate
  !insertmacro IfWine not_wine
    SetShellVarContext all
    !insertmacro Dissociate
    SetShellVarContext current
  not_wine:
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  StrCpy $R0 $INSTDIR
  StrCpy $R1 $Created
  Call un.RemoveCreatedFolders

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
