; The Windows installer: build-win/wiring-trainer-setup.exe (packaging/windows/CMakeLists.txt runs
; makensis with the defines below). Installs per machine under Program Files, with a Start-menu
; entry, a desktop shortcut and an entry in the list of installed programs; the uninstaller
; removes exactly what the installer added.
;   wiring-trainer-setup.exe /S [/D=C:\folder]    unattended, for a school's roll-out
;   "C:\Program Files\WiringTrainer\uninstall.exe" /S
; Defines: WT_EXE (the program), WT_OUT (the installer), WT_VERSION, and WT_ICON (the program's
; .ico, optional: without it the installer shows NSIS's own icon).
Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include x64.nsh

!define NAME "电机控制接线实训"
!define PUBLISHER "电机控制接线实训开发组"
!define FOLDER "WiringTrainer"
!define PROGRAM "wiring-trainer.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${FOLDER}"

Name "${NAME}"
OutFile "${WT_OUT}"
InstallDir "$PROGRAMFILES64\${FOLDER}"
RequestExecutionLevel admin
BrandingText "${NAME} ${WT_VERSION}"

VIProductVersion "${WT_VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${NAME}"
VIAddVersionKey /LANG=2052 "FileDescription" "${NAME} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${WT_VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${WT_VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "© 2026 ${PUBLISHER}"

!ifdef WT_ICON
  !define MUI_ICON "${WT_ICON}"
  !define MUI_UNICON "${WT_ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  SetShellVarContext all
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${NAME}需要 64 位 Windows。" /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "${NAME}"
  SetOutPath "$INSTDIR"
  File "/oname=${PROGRAM}" "${WT_EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The program carries its icon; the links take it from there.
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
  CreateShortCut "$DESKTOP\${NAME}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${WT_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$DESKTOP\${NAME}.lnk"
  Delete "$INSTDIR\${PROGRAM}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only an empty folder goes: whatever else someone put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
