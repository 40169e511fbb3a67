; Korvane's installer: for the current user, into the user's programs folder, without
; administrator rights. cmake/Packaging.cmake runs makensis with -INPUTCHARSET UTF8 and names
; in BUILD_DEFINES the file that defines VERSION, VERSION_QUAD, TERMS, PROGRAM, README, ICON and
; OUTFILE.

Unicode true
; The program is 64-bit only, and so is the installer.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include /CHARSET=UTF8 "${BUILD_DEFINES}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane"
!define PROFILE_PARENT "Software\Local AppWizard-Generated Applications"
!define FILE_TYPE "Korvane.Document"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "Korvane"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Korvane"
; Installing again goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Korvane ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\korvane.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\说明.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "Korvane"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "Korvane ${VERSION} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "${TERMS}"

; The program registers its file type at every start through HKEY_CLASSES_ROOT. Without
; administrator rights Windows keeps such writes only where the keys already exist below
; HKEY_CURRENT_USER, so the installer makes them there first, with the program's own values.
Function RegisterFileType
  StrCpy $0 '"$INSTDIR\korvane.exe"'
  StrCpy $1 "Software\Classes\${FILE_TYPE}"
  WriteRegStr HKCU "$1" "" "Asm Document"
  WriteRegStr HKCU "$1\DefaultIcon" "" "$INSTDIR\korvane.exe,1"
  WriteRegStr HKCU "$1\shell\open\command" "" '$0 "%1"'
  WriteRegStr HKCU "$1\shell\open\ddeexec" "" '[open("%1")]'
  WriteRegStr HKCU "$1\shell\print\command" "" '$0 /p "%1"'
  WriteRegStr HKCU "$1\shell\printto\command" "" '$0 /pt "%1" "%2" "%3" "%4"'
  ; Like the program, .asm is taken only when no other program has it.
  ReadRegStr $2 HKCR ".asm" ""
  ${If} $2 == ""
  ${OrIf} $2 == "${FILE_TYPE}"
    WriteRegStr HKCU "Software\Classes\.asm" "" "${FILE_TYPE}"
    WriteRegStr HKCU "Software\Classes\.asm\ShellNew" "NullFile" ""
  ${EndIf}
FunctionEnd

Section "Korvane"
  SetOutPath "$INSTDIR"
  File "/oname=korvane.exe" "${PROGRAM}"
  File "/oname=korvane-dos.exe" "${DOS_MACHINE}"
  File "/oname=korvane-51.exe" "${MCS51_MACHINE}"
  File "/oname=korvane-asm51.exe" "${MCS51_ASSEMBLER}"
  File "/oname=说明.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Korvane.lnk" "$INSTDIR\korvane.exe"
  Call RegisterFileType

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Korvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

; Removes the file type below ROOT\PREFIX, and .asm with it only while .asm still points at it.
!macro RemoveFileType ROOT PREFIX
  DeleteRegKey ${ROOT} "${PREFIX}${FILE_TYPE}"
  ReadRegStr $0 ${ROOT} "${PREFIX}.asm" ""
  ${If} $0 == "${FILE_TYPE}"
    DeleteRegValue ${ROOT} "${PREFIX}.asm\ShellNew" "NullFile"
    DeleteRegKey /ifempty ${ROOT} "${PREFIX}.asm\ShellNew"
    DeleteRegValue ${ROOT} "${PREFIX}.asm" ""
    DeleteRegKey /ifempty ${ROOT} "${PREFIX}.asm"
  ${EndIf}
!macroend

Section "Uninstall"
  ; A running Korvane keeps its program file.
  retry:
  ClearErrors
  Delete "$INSTDIR\korvane.exe"
  ${If} ${Errors}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Korvane 正在运行。请先关闭它，再点“重试”。" \
      /SD IDCANCEL IDRETRY retry
    Abort "Korvane 正在运行，没有卸载。"
  ${EndIf}
  Delete "$INSTDIR\korvane-dos.exe"
  Delete "$INSTDIR\korvane-51.exe"
  Delete "$INSTDIR\korvane-asm51.exe"
  Delete "$INSTDIR\说明.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files the user saved here stay, and so does their folder.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Korvane.lnk"

  !insertmacro RemoveFileType HKCU "Software\Classes\"
  ; Where the program's own registration went elsewhere (a machine-wide write that was allowed),
  ; it goes too, but only while it still opens this installation's program.
  ReadRegStr $0 HKCR "${FILE_TYPE}\shell\open\command" ""
  ${If} $0 == '"$INSTDIR\korvane.exe" "%1"'
    !insertmacro RemoveFileType HKCR ""
  ${EndIf}

  DeleteRegKey HKCU "${PROFILE_PARENT}\Korvane"
  DeleteRegKey /ifempty HKCU "${PROFILE_PARENT}"
  ; The compiler settings, where the machine-wide key was refused; and the machine-wide ones,
  ; which last now, where this user may remove them (elsewhere the removal fails quietly).
  DeleteRegKey HKCU "Software\korvane"
  DeleteRegKey HKLM "Software\korvane"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
