; Rombo Desktop's per-user installer: no administrator rights, everything
; under the current user (program folder, Start-menu shortcut, Run value,
; uninstall entry). scripts/package builds it:
;
;   makensis -DVERSION=0.9.0 -DTARGET=x86-unicode -DINPUT=<files> -DOUTFILE=<setup.exe> RomboDesktop.nsi
;
; INPUT holds RomboDesktop.exe, librombo.dll, README.txt, LICENSE.txt and the
; *.lang files. TARGET is x86-unicode for the shipped installer, amd64-unicode
; for the twin the tests run under Wine.
;
; Command line (both also for silent installs, /S):
;   /NOAUTOSTART     do not start the program at sign-in (removes an earlier Run value)
;   /RUN             a silent install starts the program when it is done; without
;                    it a silent install starts nothing (an interactive one asks)
; Uninstaller: uninstall.exe [/S] [/REMOVESETTINGS]

!ifndef VERSION | INPUT | OUTFILE | TARGET
  !error "define VERSION, INPUT, OUTFILE and TARGET (see the head of this file)"
!endif

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
; SIGN, given by scripts/package when a certificate is: the command that signs
; the uninstaller before it is packed (the installer is signed afterwards).
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1"' = 0
!endif

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "Rombo Desktop"
!define PUBLISHER "The Rombo Desktop developers"
!define EXE "RomboDesktop.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define SETTINGS_KEY "Software\RomboDesktop"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "RomboDesktop"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\RomboDesktop"
; Left behind in %TEMP% when the program quits between the hook's signal and its poll.
!define HOOK_SIGNAL_FILE "rombodesktop.hook"

; Run by the uninstaller: the program moves the windows of every desktop
; onto the screen and ends, so none stays parked off screen for good.
!define GATHER_WINDOWS_SWITCH "/gatherwindows"

; The program's main window, as the close request finds it.
!define MAIN_CLASS "TForm1"
!define MAIN_TITLE "wndRomboDesktop"
; A second copy is not prevented, so several may be running.
!define MAX_RUNNING_COPIES 8
; How long a copy may take to answer the close request and then to exit.
!define CLOSE_SEND_TIMEOUT_MS 5000
!define CLOSE_EXIT_TIMEOUT_MS 10000
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An update goes where the previous install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}, MIT licence"

!define MUI_ICON "${__FILEDIR__}/../app/res/mainicon.ico"
!define MUI_UNICON "${__FILEDIR__}/../app/res/mainicon.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var runWhenSilent

; CloseRunning: asks every running copy to close (WM_CLOSE to its main
; window) and waits, bounded, for its process to end, so that its files can be
; replaced or removed. A copy that does not go away is reported: Retry looks
; again, Cancel (and any silent run) aborts with nothing changed.
!macro DEFINE_CLOSE_RUNNING un
  Function ${un}CloseRunning
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    StrCpy $4 0
    ${Do}
      FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
      ${If} $0 P= 0
        ${Break}
      ${EndIf}
      StrCpy $3 "gone"
      ${If} $4 >= ${MAX_RUNNING_COPIES}
        StrCpy $3 "stuck"
      ${Else}
        IntOp $4 $4 + 1
        DetailPrint "Closing the running ${PRODUCT}"
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=${CLOSE_SEND_TIMEOUT_MS}
        ${If} $2 P= 0
          StrCpy $3 "stuck"
        ${Else}
          System::Call 'kernel32::WaitForSingleObject(p r2, i ${CLOSE_EXIT_TIMEOUT_MS}) i .r1'
          System::Call 'kernel32::CloseHandle(p r2)'
          ${If} $1 != ${WAIT_OBJECT_0}
            StrCpy $3 "stuck"
          ${EndIf}
        ${EndIf}
      ${EndIf}
      ${If} $3 == "stuck"
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
          "${PRODUCT} is still running. Quit it from its tray icon, then click Retry." \
          /SD IDCANCEL IDRETRY retry
        Abort "${PRODUCT} is still running; nothing was changed"
        retry:
        StrCpy $4 0
      ${EndIf}
    ${Loop}
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
  FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING ""
!insertmacro DEFINE_CLOSE_RUNNING "un."

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseRunning
  SetOutPath "$INSTDIR"
  File "${INPUT}/${EXE}"
  File "${INPUT}/librombo.dll"
  File "${INPUT}/README.txt"
  File "${INPUT}/LICENSE.txt"
  ; A build without language files is still a working program (English).
  !pragma warning push
  !pragma warning disable 7010
  File /nonfatal "${INPUT}/*.lang"
  !pragma warning pop
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as the uninstall list expects: the files this section installs.
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start ${PRODUCT} when I sign in" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "-Finish"
  ; An update without the option takes back an earlier choice.
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  ${If} ${Silent}
  ${AndIf} $runWhenSilent = 1
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
SectionEnd

Section "un.${PRODUCT}" SecUninstallProgram
  SectionIn RO
  Call un.CloseRunning
  ; Quitting leaves the other desktops' windows where they are, for the
  ; next start; there is none after this.
  DetailPrint "Bringing the windows of every desktop onto the screen"
  ExecWait '"$INSTDIR\${EXE}" ${GATHER_WINDOWS_SWITCH}'
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\librombo.dll"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\*.lang"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Not recursive: whatever else the user put there stays, and so does the folder then.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  Delete "$TEMP\${HOOK_SIGNAL_FILE}"
  ; The program's log, and its folder unless the user put more there.
  Delete "$LOCALAPPDATA\RomboDesktop\RomboDesktop.log"
  Delete "$LOCALAPPDATA\RomboDesktop\RomboDesktop.old.log"
  RMDir "$LOCALAPPDATA\RomboDesktop"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Also remove my settings" SecRemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd

; The callbacks name sections, whose indexes exist only after them.
Function .onInit
  StrCpy $runWhenSilent 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOAUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecAutostart}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/RUN" $1
  ${IfNot} ${Errors}
    StrCpy $runWhenSilent 1
  ${EndIf}
FunctionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecRemoveSettings}
  ${EndIf}
FunctionEnd
