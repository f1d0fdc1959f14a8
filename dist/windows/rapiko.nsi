; The Windows installer: the game for the current user alone, without administrator rights.
;
;   makensis -DVERSION=1.0.3 -DVERSION4=1.0.3.0 -DSTAGE=folder -DDATA=data \
;            -DICON=rapiko.ico -DOUTFILE=setup.exe rapiko.nsi
;
; STAGE holds rapiko.exe, README.txt, licences\ and DATA\ (back.bmp,
; rapdata.ini, words\). The player's results are in %APPDATA%\Rapiko, which
; the game makes; the uninstaller leaves them.

; A 64-bit installer for the 64-bit game (and Wine without its 32-bit half runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define NAME "Rapiko"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rapiko"

Name "${NAME}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\Rapiko"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} installer"
VIAddVersionKey "CompanyName" "The Rapiko developers"
VIAddVersionKey "LegalCopyright" "MIT licence"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Rapiko"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\rapiko.exe"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\licences"
  File /r "${STAGE}\licences\*"
  SetOutPath "$INSTDIR\${DATA}"
  File /r "${STAGE}\${DATA}\*"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${NAME}"
  CreateShortcut "$SMPROGRAMS\${NAME}\${NAME}.lnk" "$INSTDIR\rapiko.exe" "" "$INSTDIR\rapiko.exe" 0
  CreateShortcut "$SMPROGRAMS\${NAME}\${NAME} (in a window).lnk" "$INSTDIR\rapiko.exe" \
    "--window" "$INSTDIR\rapiko.exe" 0

  ; The system's list of programs, for this user.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Rapiko developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rapiko.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there, by name, and nothing else: the
; results in %APPDATA%\Rapiko stay.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${NAME}\${NAME}.lnk"
  Delete "$SMPROGRAMS\${NAME}\${NAME} (in a window).lnk"
  RMDir "$SMPROGRAMS\${NAME}"
  Delete "$INSTDIR\rapiko.exe"
  Delete "$INSTDIR\README.txt"
  RMDir /r "$INSTDIR\licences"
  RMDir /r "$INSTDIR\${DATA}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
