; SPDX-License-Identifier: GPL-3.0-or-later
; The Lumen installer: lumen.exe, holter.exe, clean_wf.exe, the licence, the
; third-party notices and the documents in one
; folder, a Start menu entry for all users that opens the demo home (made on
; first start by lumen-desktop.cmd, as the Linux lumen-desktop does), and an
; uninstaller that removes all of it. The demo home in %LOCALAPPDATA%\Lumen
; holds the user's corrections and stays. Recordings (.edf, .bdf, .hea, .ecg)
; open in lumen.exe through the ProgID Lumen.Recording; an extension another
; program already opens keeps it, and Lumen is only offered under "Open with".
; makensis -DSTAGE=<folder with the files> -DVERSION=x.y.z -DOUTFILE=... lumen.nsi
Unicode true
!include LogicLib.nsh
Name "Lumen"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Lumen"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "lumen.ico"
UninstallIcon "lumen.ico"

; The GNU GPL is shown before anything is installed; its text and the
; notices of the libraries linked in go with the programs.
LicenseText "Lumen is free software under the GNU General Public License, version 3 or later."
LicenseData "${STAGE}\LICENSE.txt"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen"
!define CLASSES "Software\Classes"
!define PROGID "Lumen.Recording"
!define SHCNE_ASSOCCHANGED 0x08000000

!macro Associate EXTENSION
  ReadRegStr $0 HKLM "${CLASSES}\${EXTENSION}" ""
  ${If} $0 == ""
  ${OrIf} $0 == "${PROGID}"
    WriteRegStr HKLM "${CLASSES}\${EXTENSION}" "" "${PROGID}"
  ${EndIf}
  WriteRegStr HKLM "${CLASSES}\${EXTENSION}\OpenWithProgids" "${PROGID}" ""
!macroend

; The extension goes back to no program only while Lumen still opens it.
!macro Unassociate EXTENSION
  ReadRegStr $0 HKLM "${CLASSES}\${EXTENSION}" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKLM "${CLASSES}\${EXTENSION}" ""
  ${EndIf}
  DeleteRegValue HKLM "${CLASSES}\${EXTENSION}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKLM "${CLASSES}\${EXTENSION}\OpenWithProgids"
  DeleteRegKey /ifempty HKLM "${CLASSES}\${EXTENSION}"
!macroend

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
  WriteRegStr HKLM "${CLASSES}\${PROGID}" "" "Holter ECG recording"
  WriteRegStr HKLM "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\lumen.exe,0"
  WriteRegStr HKLM "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\lumen.exe" "%1"'
  !insertmacro Associate ".edf"
  !insertmacro Associate ".bdf"
  !insertmacro Associate ".hea"
  !insertmacro Associate ".ecg"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
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
  Delete "$INSTDIR\clean_wf.exe"
  Delete "$INSTDIR\lumen-desktop.cmd"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY.md"
  Delete "$INSTDIR\docs\*.md"
  RMDir "$INSTDIR\docs"
  Delete "$INSTDIR\uninstall.exe"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !insertmacro Unassociate ".edf"
  !insertmacro Unassociate ".bdf"
  !insertmacro Unassociate ".hea"
  !insertmacro Unassociate ".ecg"
  DeleteRegKey HKLM "${CLASSES}\${PROGID}"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
