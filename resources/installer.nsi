; The installer of ZunRun: for the current user, without administrator
; rights. It installs both programs, the README and the examples, opens
; .zunscript files with zunrun.exe (and offers "Edit" in Notepad), and
; registers an uninstaller that removes exactly what it added.
; /S installs or uninstalls silently.
;
; makensis -DVERSION=1.0 -DSTAGE=<folder of what is installed> -DICON=<zunrun.ico>
;          -DOUT=<setup file> resources/installer.nsi
; (the build does this: target zun_package)

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PROGID "ZunRun.Script"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZunRun"

Name "ZunRun ${VERSION}"
OutFile "${OUT}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\ZunRun"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

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

Section "ZunRun"
  SetOutPath "$INSTDIR"
  File "${STAGE}\zunrun.exe"
  File "${STAGE}\zunrunc.exe"
  File "${STAGE}\README.md"
  SetOutPath "$INSTDIR\examples"
  File "${STAGE}\examples\*.zunscript"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  !insertmacro Associate
  !insertmacro IfWine not_wine
    SetShellVarContext all
    !insertmacro Associate
    SetShellVarContext current
  not_wine:

  ; The list of installed programs.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "ZunRun"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\zunrun.exe",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; the associations changed
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\zunrun.exe"
  Delete "$INSTDIR\zunrunc.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\examples\*.zunscript"
  RMDir "$INSTDIR\examples"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext current
  !insertmacro Dissociate
  !insertmacro IfWine not_wine
    SetShellVarContext all
    !insertmacro Dissociate
    SetShellVarContext current
  not_wine:
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
