; The Lumen installer: lumen.exe, holter.exe and the documents in one
; folder, a Start menu entry for all users that opens the demo home (made on
; first start by lumen-desktop.cmd, as the Linux lumen-desktop does), and an
; uninstaller that removes all of it. The demo home in %LOCALAPPDATA%\Lumen
; holds the user's corrections and stays.
; makensis -DSTAGE=<folder with the files> -DVERSION=x.y.z -DOUTFILE=... lumen.nsi
Unicode true
Name "Lumen"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Lumen"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "lumen.ico"
UninstallIcon "lumen.ico"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen"

Section "Lumen"
  SetShellVarContext all
  SetRegView 64
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Lumen"
  CreateShortCut "$SMPROGRAMS\Lumen\Lumen.lnk" "$INSTDIR\lumen-desktop.cmd" "" "$INSTDIR\lumen.exe" 0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Lumen ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumen.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$INSTDIR\uninstall.exe"
SectionEnd

; Only what the installer put there goes: a folder the user chose may hold
; files of their own.
Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  Delete "$SMPROGRAMS\Lumen\Lumen.lnk"
  RMDir "$SMPROGRAMS\Lumen"
  Delete "$INSTDIR\lumen.exe"
  Delete "$INSTDIR\holter.exe"
  Delete "$INSTDIR\lumen-desktop.cmd"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\docs\*.md"
  RMDir "$INSTDIR\docs"
  Delete "$INSTDIR\uninstall.exe"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
