; The Windows installer: the game for the current user alone, without administrator rights.
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.3 -DVERSION4=1.0.3.0 -DSTAGE=folder -DDATA=data \
;            -DICON=rapiko.ico -DOUTFILE=setup.exe rapiko.nsi
;
; STAGE holds rapiko.exe, README.txt, licences\ (LICENSE.txt the game's own)
; and DATA\ (back.bmp, rapdata.ini, words\). The player's results are in
; %APPDATA%\Rapiko, which the game makes; the uninstaller leaves them unless
; the player asks otherwise. The wizard speaks the language of Windows'
; interface where it is one of the game's (English, French, German, Japanese).

; A 64-bit installer for the 64-bit game (and Wine without its 32-bit half runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define NAME "Rapiko"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rapiko"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Rapiko"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "${NAME}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${NAME} ${VERSION} installer"
VIAddVersionKey /LANG=0 "CompanyName" "The Rapiko developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\rapiko.exe"
!define MUI_UNCOMPONENTSPAGE_TEXT_TOP "$(KeptResults)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\licences\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The first is the one for any other language of Windows.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Japanese"

LangString GameRunning ${LANG_ENGLISH} "Rapiko is running. Close it, then choose Retry."
LangString GameRunning ${LANG_FRENCH} "Rapiko est ouvert. Fermez-le, puis choisissez Réessayer."
LangString GameRunning ${LANG_GERMAN} "Rapiko läuft. Beenden Sie es und wählen Sie dann Wiederholen."
LangString GameRunning ${LANG_JAPANESE} "Rapiko が起動しています。終了してから「再試行」を選んでください。"
LangString KeptResults ${LANG_ENGLISH} "Your results and settings in $APPDATA\Rapiko are kept, unless you tick them below."
LangString KeptResults ${LANG_FRENCH} "Vos résultats et réglages dans $APPDATA\Rapiko sont gardés, sauf si vous les cochez ci-dessous."
LangString KeptResults ${LANG_GERMAN} "Ihre Ergebnisse und Einstellungen in $APPDATA\Rapiko bleiben erhalten, außer Sie wählen sie unten aus."
LangString KeptResults ${LANG_JAPANESE} "$APPDATA\Rapiko の成績と設定は、下で選ばない限り残ります。"
LangString ResultsSection ${LANG_ENGLISH} "Your results and settings"
LangString ResultsSection ${LANG_FRENCH} "Vos résultats et réglages"
LangString ResultsSection ${LANG_GERMAN} "Ihre Ergebnisse und Einstellungen"
LangString ResultsSection ${LANG_JAPANESE} "成績と設定"

; A running game holds rapiko.exe: the wizard asks to close it, a silent
; install ends with status 2 and the old program untouched.
Function CloseTheGame
  IfFileExists "$INSTDIR\rapiko.exe" 0 free
  retry:
  ClearErrors
  FileOpen $0 "$INSTDIR\rapiko.exe" a
  IfErrors 0 opened
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(GameRunning)" /SD IDCANCEL IDRETRY retry
  Abort
  opened:
  FileClose $0
  free:
FunctionEnd

Section "Rapiko"
  SetShellVarContext current
  Call CloseTheGame
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
  CreateShortcut "$SMPROGRAMS\${NAME}\${NAME} results.lnk" "$APPDATA\Rapiko"

  ; The system's list of programs, for this user.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Rapiko developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rapiko.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there, by name, and nothing else: the
; results in %APPDATA%\Rapiko stay unless the player ticks them.
Section "-un.Rapiko"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${NAME}\${NAME}.lnk"
  Delete "$SMPROGRAMS\${NAME}\${NAME} (in a window).lnk"
  Delete "$SMPROGRAMS\${NAME}\${NAME} results.lnk"
  RMDir "$SMPROGRAMS\${NAME}"
  Delete "$INSTDIR\rapiko.exe"
  Delete "$INSTDIR\README.txt"
  RMDir /r "$INSTDIR\licences"
  RMDir /r "$INSTDIR\${DATA}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(ResultsSection)"
  SetShellVarContext current
  RMDir /r "$APPDATA\Rapiko"
SectionEnd
