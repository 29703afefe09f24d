; The Lumen installer: lumen.exe, holter.exe and the documents in one
; folder, a Start menu entry that opens the demo home (made on first start
; by lumen-desktop.cmd, as the Linux lumen-desktop does), and an uninstaller.
; makensis -DSTAGE=<folder with the files> -DVERSION=x.y.z -DOUTFILE=... lumen.nsi
Unicode true
Name "Lumen"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Lumen"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Lumen"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Lumen"
  CreateShortCut "$SMPROGRAMS\Lumen\Lumen.lnk" "$INSTDIR\lumen-desktop.cmd" "" "$INSTDIR\lumen.exe" 0
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen" "DisplayName" "Lumen ${VERSION}"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen" "UninstallString" "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Lumen\Lumen.lnk"
  RMDir "$SMPROGRAMS\Lumen"
  RMDir /r "$INSTDIR"
  DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen"
SectionEnd
