; The Windows installer: the VST3 bundle into Common Files\VST3, the CLAP into Common Files\CLAP, the
; VST2 DLL into a folder the user picks, the host tool (twinpulsetonemix-host.exe) with the examples
; into the program folder, and an uninstaller registered with Windows. Silent with /S; /D=folder sets the
; program folder (last on the command line) and /VST2DIR=folder the VST2 folder.
; The build passes VERSION, VENDOR, URL, OUTFILE, STAGE_DIR (the files to install), SOURCE_DIR and, once it makes one, VST3_BUNDLE.

; A 64-bit installer: it runs where the plug-ins run, also on Wine without its 32-bit half.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include x64.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "twinPulseToneMix"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define PRODUCT_KEY "Software\${VENDOR}\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${PRODUCT_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${VENDOR}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${COPYRIGHT_YEARS} ${VENDOR}"

Var Vst2Dir

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!define MUI_DIRECTORYPAGE_TEXT_TOP "twinpulsetonemix-host, the command-line host, and the example schedules go into this folder, with the uninstaller. The VST3 plug-in goes into $COMMONFILES64\VST3 and the CLAP plug-in into $COMMONFILES64\CLAP, where hosts look for them."
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_HEADER_TEXT "VST 2.4 plug-in folder"
!define MUI_PAGE_HEADER_SUBTEXT "Where your host looks for VST 2.4 plug-ins."
!define MUI_DIRECTORYPAGE_TEXT_TOP "The VST 2.4 plug-in (${PRODUCT}.dll) goes into this folder. Pick the folder your host scans for VST 2.4 plug-ins."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "VST 2.4 plug-in folder"
!define MUI_DIRECTORYPAGE_VARIABLE $Vst2Dir
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
  ; The VST2 folder: /VST2DIR= on the command line, else the last install's, else the usual one.
  ReadRegStr $Vst2Dir HKLM "${PRODUCT_KEY}" "Vst2Dir"
  ${If} $Vst2Dir == ""
    StrCpy $Vst2Dir "$PROGRAMFILES64\VSTPlugins"
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/VST2DIR=" $1
  ${IfNot} ${Errors}
    StrCpy $Vst2Dir $1
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=twinpulsetonemix-host.exe" "${STAGE_DIR}\vsthost.exe"
  ; An earlier version installed the host tool under the generic name.
  Delete "$INSTDIR\vsthost.exe"
  File "/oname=README.md" "${SOURCE_DIR}\README.md"
  SetOutPath "$INSTDIR\examples"
  File "${SOURCE_DIR}\examples\*.schedule"

  SetOutPath "$Vst2Dir"
  File "${STAGE_DIR}\${PRODUCT}.dll"

  SetOutPath "$COMMONFILES64\CLAP"
  File "${STAGE_DIR}\${PRODUCT}.clap"

!ifdef VST3_BUNDLE
  SetOutPath "$COMMONFILES64\VST3"
  File /r "${VST3_BUNDLE}"
!endif

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${PRODUCT_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${PRODUCT_KEY}" "Vst2Dir" "$Vst2Dir"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${VENDOR}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${URL}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  ReadRegStr $Vst2Dir HKLM "${PRODUCT_KEY}" "Vst2Dir"
FunctionEnd

; Removes exactly what the installer put in place; shared folders go only when nothing else is left.
Section "Uninstall"
  ${If} $Vst2Dir != ""
    Delete "$Vst2Dir\${PRODUCT}.dll"
    RMDir "$Vst2Dir"
  ${EndIf}
  Delete "$COMMONFILES64\CLAP\${PRODUCT}.clap"
  RMDir "$COMMONFILES64\CLAP"
  RMDir /r "$COMMONFILES64\VST3\${PRODUCT}.vst3"
  RMDir "$COMMONFILES64\VST3"

  Delete "$INSTDIR\examples\*.schedule"
  RMDir "$INSTDIR\examples"
  Delete "$INSTDIR\twinpulsetonemix-host.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "Software\${VENDOR}"
SectionEnd
