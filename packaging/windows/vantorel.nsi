; The add-in's installer for Windows: per user, no administrator rights, into
; %LOCALAPPDATA%\Programs\Vantorel, registered for the current user as the add-in's
; DllRegisterServer registers it (addin/windows/Registration.cpp), and listed among the
; user's installed programs. Built by packaging/windows/CMakeLists.txt:
;
;   makensis /DVERSION=2.0.0.1 /DBIN=<build>/bin /DART=<pictures> /DOUTFILE=<setup.exe>
;            vantorel.nsi
;
; The installer is a 64-bit program (target amd64-unicode): the add-in only runs in a
; 64-bit mail client, so only on 64-bit Windows, and a 64-bit installer sees the same
; registry as the add-in, with no redirection of Software\Classes.
;
; Command line: /S installs silently (exit code 2 when it refuses a 32-bit mail client);
; the uninstaller takes /S and /REMOVESETTINGS (also remove the user's settings).

!ifndef VERSION | BIN | ART | OUTFILE
  !error "makensis needs /DVERSION=, /DBIN=, /DART= and /DOUTFILE="
!endif

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define PRODUCT "Vantorel"
!define PUBLISHER "Ostrelin"
!define CLSID "{F1D8C358-7EB0-4442-A05E-E07F2FA5EC5C}"
!define PROGID "Vantorel.Connect"
!define DESCRIPTION "Vantorel: follows up sent e-mail that gets no reply and reminds you when it is due"
!define CLASS_KEY "Software\Classes\CLSID\${CLSID}"
!define PROGID_KEY "Software\Classes\${PROGID}"
!define ADDIN_KEY "Software\Microsoft\Office\Outlook\Addins\${PROGID}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\Ostrelin\Vantorel"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ART}\vantorel.ico"
!define MUI_UNICON "${ART}\vantorel.ico"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${ART}\header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "${ART}\header.bmp"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${ART}\welcome.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${ART}\welcome.bmp"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT} ${VERSION} for you alone; it needs no administrator rights.$\r$\n$\r$\n${PRODUCT} follows up the e-mail you send that gets no reply, and reminds you when it is due. It runs in 64-bit Outlook.$\r$\n$\r$\nClose Outlook before you go on. Your settings from an earlier version are kept."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed. Outlook loads it the next time it starts."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.SettingsPage un.SettingsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The files of the add-in, installed and removed by the same list.
!macro AddInFiles action
  !insertmacro ${action} "vantorel.dll"
  !insertmacro ${action} "libvantorel_platform.dll"
  !insertmacro ${action} "libvantorel_tools.dll"
  !insertmacro ${action} "libvantorel_outlook.dll"
  !insertmacro ${action} "Qt6Core.dll"
  !insertmacro ${action} "Qt6Gui.dll"
  !insertmacro ${action} "Qt6Widgets.dll"
  !insertmacro ${action} "libstdc++-6.dll"
  !insertmacro ${action} "libgcc_s_seh-1.dll"
  !insertmacro ${action} "libwinpthread-1.dll"
  !insertmacro ${action} "reminder.wav"
  !insertmacro ${action} "platforms\qwindows.dll"
!macroend
!macro InstallFile name
  File "/oname=${name}" "${BIN}\${name}"
!macroend
!macro RemoveFile name
  Delete "$INSTDIR\${name}"
!macroend

; The mail client's bitness, as its own settings tell it: Click-to-Run's platform first,
; then the Bitness of an MSI install, newest version first, in both registry views (a
; 32-bit Outlook on 64-bit Windows writes under WOW6432Node). Empty when nothing tells.
Var ClientBitness
Function FindClientBitness
  StrCpy $ClientBitness ""
  SetRegView 64
  ReadRegStr $ClientBitness HKLM "SOFTWARE\Microsoft\Office\ClickToRun\Configuration" "Platform"
  ${If} $ClientBitness == ""
    ${ForEach} $1 0 1 + 1
      ${If} $1 == 1
        SetRegView 32
      ${EndIf}
      ${If} $ClientBitness == ""
        ReadRegStr $ClientBitness HKLM "SOFTWARE\Microsoft\Office\16.0\Outlook" "Bitness"
      ${EndIf}
      ${If} $ClientBitness == ""
        ReadRegStr $ClientBitness HKLM "SOFTWARE\Microsoft\Office\15.0\Outlook" "Bitness"
      ${EndIf}
      ${If} $ClientBitness == ""
        ReadRegStr $ClientBitness HKLM "SOFTWARE\Microsoft\Office\14.0\Outlook" "Bitness"
      ${EndIf}
    ${Next}
  ${EndIf}
  SetRegView 64
FunctionEnd

Function .onInit
  SetRegView 64
  Call FindClientBitness
  ${If} $ClientBitness == "x86"
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} runs only in 64-bit Outlook, and the Outlook on this computer is 32-bit.$\r$\n$\r$\nNothing was installed." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

Section "${PRODUCT}"
  SetRegView 64
  SetOverwrite on
  SetOutPath "$INSTDIR"
  CreateDirectory "$INSTDIR\platforms"
  !insertmacro AddInFiles InstallFile
  SetOutPath "$INSTDIR\help"
  File /r "${BIN}\help\*.*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The add-in's registration, as DllRegisterServer writes it (the test installer.run
  ; compares the two).
  WriteRegStr HKCU "${CLASS_KEY}" "" "${DESCRIPTION}"
  WriteRegStr HKCU "${CLASS_KEY}\InprocServer32" "" "$INSTDIR\vantorel.dll"
  WriteRegStr HKCU "${CLASS_KEY}\InprocServer32" "ThreadingModel" "Apartment"
  WriteRegStr HKCU "${CLASS_KEY}\ProgID" "" "${PROGID}"
  WriteRegStr HKCU "${PROGID_KEY}\CLSID" "" "${CLSID}"
  WriteRegStr HKCU "${ADDIN_KEY}" "FriendlyName" "${PRODUCT}"
  WriteRegStr HKCU "${ADDIN_KEY}" "Description" "${DESCRIPTION}"
  WriteRegDWORD HKCU "${ADDIN_KEY}" "LoadBehavior" 3

  ; The entry in the user's list of installed programs.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller: a page asks whether the settings go too (/REMOVESETTINGS when silent).
Var RemoveSettings
Var RemoveSettingsBox

Function un.onInit
  SetRegView 64
  StrCpy $RemoveSettings 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

Function un.SettingsPage
  !insertmacro MUI_HEADER_TEXT "Your settings" "Keep or remove what you set in ${PRODUCT}."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "${PRODUCT} keeps your settings (your templates, categories and options) so that they are there again when you install it anew."
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "&Remove my ${PRODUCT} settings too"
  Pop $RemoveSettingsBox
  ${If} $RemoveSettings == 1
    ${NSD_Check} $RemoveSettingsBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.SettingsPageLeave
  ${NSD_GetState} $RemoveSettingsBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $RemoveSettings 1
  ${Else}
    StrCpy $RemoveSettings 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetRegView 64
  ; The registration, as DllUnregisterServer removes it. The client's own records of
  ; the add-in (Resiliency) are the user's and stay.
  DeleteRegKey HKCU "${ADDIN_KEY}"
  DeleteRegKey HKCU "${PROGID_KEY}"
  DeleteRegKey HKCU "${CLASS_KEY}"

  !insertmacro AddInFiles RemoveFile
  RMDir "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\help"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} $RemoveSettings == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Ostrelin"
  ${EndIf}
SectionEnd
