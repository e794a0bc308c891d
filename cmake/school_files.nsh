; What the school made survives every installation, update and removal by the NSIS installer
; (cmake/packaging.cmake includes this file at the top of CPack's script).
;
; The school's own level table lives in the machine's data folder, %ProgramData%\Zentrova,
; which the installer makes (letting every user change its files) and the uninstaller removes
; only when the school left nothing in it. Orbelin.ini, which batch mode writes beside the
; programs, is no file of the installer's: neither an update nor a removal touches it.
;
; Earlier versions told the school to put its table in place of the one shipped beside the
; programs. A NIVELEX.DBF there that is neither the table an installation of ours put there
; (known by the time of its last change, which the installer records) nor the table this
; package ships (the date of its last change aside, which every build sets anew) is moved into
; the data folder before the shipped table is written or removed: there it is read first, so
; the programs read it as before. When the data folder already has a table, the moved one is
; kept beside it as NIVELEX-anterior.DBF. The recorded time is what keeps an update that ships
; new course offers from taking the table of the version it replaces for the school's.

!include "LogicLib.nsh"

; CSIDL_COMMON_APPDATA, the folder the programs know as FOLDERID_ProgramData.
!define ZENTROVA_CSIDL_COMMON_APPDATA 0x23
; Where the installation is registered, and the value that records the shipped table's time.
!define ZENTROVA_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zentrova"
!define ZENTROVA_SHIPPED_TABLE_TIME "ZentrovaShippedLevelTable"

!macro ZentrovaSchoolFileFunctions un
  ; The machine's data folder of the programs, in $R9.
  Function ${un}ZentrovaDataFolder
    System::Call 'shell32::SHGetFolderPathW(p 0, i ${ZENTROVA_CSIDL_COMMON_APPDATA}, p 0, i 0, w .R9) i .r0'
    StrCpy $R9 "$R9\Zentrova"
  FunctionEnd

  ; Pushes 1 when the tables named by the two paths on the stack differ in any byte but the
  ; date of the last change (bytes 1 to 3 of the header), else 0.
  Function ${un}ZentrovaTablesDiffer
    Exch $R1
    Exch
    Exch $R0
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    Push $R7
    StrCpy $R7 1
    FileOpen $R2 $R0 r
    FileOpen $R3 $R1 r
    ${If} $R2 != ""
    ${AndIf} $R3 != ""
      StrCpy $R4 0
      ${Do}
        ClearErrors
        FileReadByte $R2 $R5
        ${If} ${Errors}
          ClearErrors
          FileReadByte $R3 $R6
          ${IfThen} ${Errors} ${|} StrCpy $R7 0 ${|}
          ${Break}
        ${EndIf}
        FileReadByte $R3 $R6
        ${IfThen} ${Errors} ${|} ${Break} ${|}
        ${If} $R4 < 1
        ${OrIf} $R4 > 3
          ${IfThen} $R5 <> $R6 ${|} ${Break} ${|}
        ${EndIf}
        IntOp $R4 $R4 + 1
      ${Loop}
    ${EndIf}
    ${IfThen} $R2 != "" ${|} FileClose $R2 ${|}
    ${IfThen} $R3 != "" ${|} FileClose $R3 ${|}
    StrCpy $R0 $R7
    Pop $R7
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Exch $R0
  FunctionEnd

  ; Pushes the time of the last change of the file named on the stack, as "high low".
  Function ${un}ZentrovaFileTime
    Exch $R0
    Push $R1
    ClearErrors
    GetFileTime "$R0" $R0 $R1
    ${If} ${Errors}
      StrCpy $R0 ""
    ${Else}
      StrCpy $R0 "$R0 $R1"
    ${EndIf}
    Pop $R1
    Exch $R0
  FunctionEnd

  ; A table in the program folder that is not the shipped one goes into the data folder.
  Function ${un}ZentrovaKeepSchoolTable
    Push $R9
    Push $0
    Push $1
    Call ${un}ZentrovaDataFolder
    CreateDirectory "$R9"
    ReadRegStr $1 SHCTX "${ZENTROVA_UNINSTALL_KEY}" "${ZENTROVA_SHIPPED_TABLE_TIME}"
    ; Nothing recorded (an installation of a version that did not record it): bytes decide.
    ${IfThen} $1 == "" ${|} StrCpy $1 "-" ${|}
    Push "$INSTDIR\NIVELEX.DBF"
    Call ${un}ZentrovaFileTime
    Pop $0
    ${If} ${FileExists} "$INSTDIR\NIVELEX.DBF"
    ${AndIf} "$0" != "$1"
      InitPluginsDir
      File "/oname=$PLUGINSDIR\NIVELEX.DBF" "${INST_DIR}\NIVELEX.DBF"
      Push "$INSTDIR\NIVELEX.DBF"
      Push "$PLUGINSDIR\NIVELEX.DBF"
      Call ${un}ZentrovaTablesDiffer
      Pop $0
      ${If} $0 == 1
        StrCpy $0 "$R9\NIVELEX.DBF"
        ${IfThen} ${FileExists} "$0" ${|} StrCpy $0 "$R9\NIVELEX-anterior.DBF" ${|}
        Delete "$0"
        ClearErrors
        Rename "$INSTDIR\NIVELEX.DBF" "$0"
        ${IfThen} ${Errors} ${|} CopyFiles /SILENT /FILESONLY "$INSTDIR\NIVELEX.DBF" "$0" ${|}
        DetailPrint "La tabla de niveles del centro queda en $0"
      ${EndIf}
    ${EndIf}
    Pop $1
    Pop $0
    Pop $R9
  FunctionEnd
!macroend

!insertmacro ZentrovaSchoolFileFunctions ""
!insertmacro ZentrovaSchoolFileFunctions "un."

; The Start-menu folder is the same for every version, so that an update replaces the entry.
!define ZENTROVA_MENU_FOLDER "Zentrova"
!define MUI_STARTMENUPAGE_DEFAULTFOLDER "${ZENTROVA_MENU_FOLDER}"

; Before the programs' files are written. Earlier versions named the Start-menu folder after
; their version: their entries go.
!macro ZentrovaBeforeInstall
  Call ZentrovaKeepSchoolTable
  Push $0
  ReadRegStr $0 SHCTX "${ZENTROVA_UNINSTALL_KEY}" "StartMenu"
  ${If} $0 != ""
  ${AndIf} $0 != "${ZENTROVA_MENU_FOLDER}"
    Delete "$SMPROGRAMS\$0\Zentrova.lnk"
    Delete "$SMPROGRAMS\$0\Uninstall.lnk"
    RMDir "$SMPROGRAMS\$0"
  ${EndIf}
  Pop $0
!macroend

; Once they are: every user may change the files of both folders (batch mode writes
; Orbelin.ini, zentrova-cli nivelex the school's table). S-1-5-32-545 is the Users group under
; every language of Windows.
!macro ZentrovaAfterInstall
  Push "$INSTDIR\NIVELEX.DBF"
  Call ZentrovaFileTime
  Pop $0
  WriteRegStr SHCTX "${ZENTROVA_UNINSTALL_KEY}" "${ZENTROVA_SHIPPED_TABLE_TIME}" "$0"
  Push $R9
  Call ZentrovaDataFolder
  nsExec::ExecToLog 'icacls "$INSTDIR" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0
  nsExec::ExecToLog 'icacls "$R9" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0
  Pop $R9
!macroend

; Before the uninstaller removes the programs' files.
!macro ZentrovaBeforeUninstall
  Call un.ZentrovaKeepSchoolTable
  Push $R9
  Call un.ZentrovaDataFolder
  RMDir "$R9"
  Pop $R9
!macroend
