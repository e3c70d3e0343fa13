; ZRNcom's Windows installer, built by the target "installer" (packaging/windows.cmake)
; from the folder it stages, the working folder of makensis -NOCD:
;   makensis -NOCD -DVERSION=2.1.0.0 -DOUTFILE=ZRNcom-2.1.0.0-win64-setup.exe -DICON=ZRNcom.ico ZRNcom.nsi
;
; Per user without administrator rights (%LOCALAPPDATA%\Programs\ZRNcom, HKCU), for all
; users when run as administrator (Program Files, HKLM); /CURRENTUSER and /ALLUSERS choose.
; /PATH ticks "zrnctl on the PATH". /S and /D= as with every NSIS installer.

!macro Required name
    !ifndef ${name}
        !error "${name} is missing: makensis -NOCD -DVERSION=... -DOUTFILE=... -DICON=... ZRNcom.nsi"
    !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required OUTFILE
!insertmacro Required ICON

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; Elevation only when the user asks for it: an administrator who runs it as usual
; installs for himself, as everybody else does.
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZRNcom"
!define USER_ENV "Environment"
!define SYSTEM_ENV "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

; Every file of ours carries the installer's version, or there is no installer.
!macro CheckVersion file prefix
    !getdllversion "${file}" ${prefix}
    !if "${${prefix}1}.${${prefix}2}.${${prefix}3}.${${prefix}4}" != "${VERSION}"
        !error "${file} is version ${${prefix}1}.${${prefix}2}.${${prefix}3}.${${prefix}4}, the installer ${VERSION}"
    !endif
!macroend
!insertmacro CheckVersion ZRNcom.exe ZRNcomVersion
!insertmacro CheckVersion ZRNComDll.dll ZRNComDllVersion
!insertmacro CheckVersion zrnctl.exe ZrnctlVersion

; Our files, named once for installing and for removing: nothing else in the folder is
; ours to delete (the user's ZRNcom.ini and traffic logs live there too).
!macro OurFiles action
    !insertmacro ${action} ZRNcom.exe
    !insertmacro ${action} ZRNComDll.dll
    !insertmacro ${action} zrnctl.exe
    !insertmacro ${action} LICENSE.txt
    !insertmacro ${action} doc\ZRNcom.txt
    !insertmacro ${action} doc\zrnctl.txt
    !insertmacro ${action} doc\plan-format.md
!macroend
!macro PutFile path
    File "/oname=${path}" "${path}"
!macroend
!macro RemoveFile path
    Delete "$INSTDIR\${path}"
!macroend

Name "ZRNcom"
OutFile "${OUTFILE}"
BrandingText "ZRNcom ${VERSION}"
ShowInstDetails show
VIProductVersion ${VERSION}
VIFileVersion ${VERSION}
VIAddVersionKey ProductName "ZRNcom"
VIAddVersionKey CompanyName "QUORVANEX"
VIAddVersionKey FileDescription "ZRNcom ${VERSION} setup"
VIAddVersionKey FileVersion ${VERSION}
VIAddVersionKey ProductVersion ${VERSION}
VIAddVersionKey LegalCopyright "Copyright (C) the ZRNcom developers"

Var AllUsers ; 1: Program Files, HKLM, the machine's PATH; 0: the user's own
Var Elevated ; 1 when run as administrator

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ZRNcom.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

; PATH: NSIS strings hold NSIS_MAX_STRLEN characters, so a longer value would come back
; cut short; such a PATH is left as it is rather than written back truncated.
!define /math PATH_MAX ${NSIS_MAX_STRLEN} - 1
!macro PathFunctions un
    ; Push PATH; Pop PATH without any entry that is $INSTDIR (with or without "\").
    Function ${un}WithoutInstDir
        Exch $R0
        Push $R1
        Push $R2
        Push $R3
        StrCpy $R1 "" ; the entries kept, each after a ";"
        ${Do}
            StrCpy $R2 0
            ${Do}
                StrCpy $R3 $R0 1 $R2
                ${If} $R3 == ";"
                ${OrIf} $R3 == ""
                    ${ExitDo}
                ${EndIf}
                IntOp $R2 $R2 + 1
            ${Loop}
            StrCpy $R3 $R0 $R2
            ${If} $R3 != $INSTDIR
            ${AndIf} $R3 != "$INSTDIR\"
                StrCpy $R1 "$R1;$R3"
            ${EndIf}
            IntOp $R2 $R2 + 1
            StrCpy $R0 $R0 "" $R2
        ${LoopUntil} $R0 == ""
        StrCpy $R0 $R1 "" 1
        Pop $R3
        Pop $R2
        Pop $R1
        Exch $R0
    FunctionEnd

    ; Pop the new PATH; writes it where $AllUsers says and tells running programs.
    ; An empty one was ours alone: the value goes, as before the installation.
    Function ${un}WritePath
        Exch $R0
        ${If} $AllUsers == 1
        ${AndIf} $R0 == ""
            DeleteRegValue HKLM "${SYSTEM_ENV}" "Path"
        ${ElseIf} $AllUsers == 1
            WriteRegExpandStr HKLM "${SYSTEM_ENV}" "Path" $R0
        ${ElseIf} $R0 == ""
            DeleteRegValue HKCU "${USER_ENV}" "Path"
        ${Else}
            WriteRegExpandStr HKCU "${USER_ENV}" "Path" $R0
        ${EndIf}
        SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=500
        Pop $R0
    FunctionEnd

    ; Push nothing; Pop the PATH, or "?" when it is too long to be read whole.
    Function ${un}ReadPath
        Push $R0
        ClearErrors
        ${If} $AllUsers == 1
            ReadRegStr $R0 HKLM "${SYSTEM_ENV}" "Path"
        ${Else}
            ReadRegStr $R0 HKCU "${USER_ENV}" "Path"
        ${EndIf}
        Push $R1
        StrLen $R1 $R0
        ${If} $R1 >= ${PATH_MAX}
            StrCpy $R0 "?"
        ${EndIf}
        Pop $R1
        Exch $R0
    FunctionEnd
!macroend
!insertmacro PathFunctions ""
!insertmacro PathFunctions "un."

; Run as administrator: the token is elevated (group membership alone is not enough
; with UAC: such a process may not write to Program Files or HKLM).
!macro ElevatedFunction un
    Function ${un}ReadElevated
        StrCpy $Elevated 0
        System::Call 'advapi32::OpenProcessToken(p -1, i 0x8, *p .r1) i .r0' ; TOKEN_QUERY
        ${If} $0 <> 0
            System::Call 'advapi32::GetTokenInformation(p r1, i 20, *i .r2, i 4, *i) i .r0' ; TokenElevation
            ${If} $0 <> 0
            ${AndIf} $2 <> 0
                StrCpy $Elevated 1
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r1)'
        ${EndIf}
    FunctionEnd
!macroend
!insertmacro ElevatedFunction ""
!insertmacro ElevatedFunction "un."

Section "ZRNcom" SecMain
    SectionIn RO
    Call RemoveEarlier
    SetOutPath $INSTDIR
    CreateDirectory "$INSTDIR\doc"
    !insertmacro OurFiles PutFile
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The shortcut starts the program in its folder, where it reads ZRNcom.ini.
    CreateShortCut "$SMPROGRAMS\ZRNcom.lnk" "$INSTDIR\ZRNcom.exe" "" "$INSTDIR\ZRNcom.exe" 0

    WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "ZRNcom"
    WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "QUORVANEX"
    WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\ZRNcom.exe,0"
    WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
    SectionGetSize ${SecMain} $0
    WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "zrnctl on the PATH" SecPath
    Call ReadPath
    Pop $0
    ${If} $0 != "?"
        Push $0
        Call WithoutInstDir
        Pop $0
        ${IfThen} $0 != "" ${|} StrCpy $0 "$0;" ${|}
        StrCpy $0 "$0$INSTDIR"
        StrLen $1 $0
        ${IfThen} $1 >= ${PATH_MAX} ${|} StrCpy $0 "?" ${|}
    ${EndIf}
    ${If} $0 == "?"
        DetailPrint "PATH is too long to be changed safely; zrnctl is not on it."
        MessageBox MB_ICONEXCLAMATION "Your PATH is too long to be changed safely. Add $INSTDIR to it yourself to run zrnctl from anywhere." /SD IDOK
    ${Else}
        Push $0
        Call WritePath
        ; Only what we added comes off again.
        WriteRegDWORD SHCTX "${UNINST_KEY}" "ZrnctlOnPath" 1
        DetailPrint "zrnctl is on the PATH of programs started from now on."
    ${EndIf}
SectionEnd

; An earlier installation goes first, through its own uninstaller: files it had and this
; version has not go with it, the user's files stay, and "Apps" keeps one entry.
Function RemoveEarlier
    ReadRegStr $0 SHCTX "${UNINST_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\Uninstall.exe"
        DetailPrint "Removing the earlier installation in $0"
        ExecWait '"$0\Uninstall.exe" /S _?=$0'
        Delete "$0\Uninstall.exe"
        RMDir "$0\doc"
        RMDir "$0"
    ${EndIf}
FunctionEnd

Function SetMode
    ${If} $AllUsers == 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd

Function .onInit
    Call ReadElevated
    StrCpy $AllUsers $Elevated
    ; An installation for this user stays one, also when he runs this as administrator.
    ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
    ${IfThen} $0 != "" ${|} StrCpy $AllUsers 0 ${|}

    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/CURRENTUSER" $0
    ${If} ${Errors}
        ; An upgrade of an installation for all users needs the rights that made it,
        ; or "Apps" would list a second ZRNcom, the user's own.
        ReadRegStr $2 HKCU "${UNINST_KEY}" "InstallLocation"
        ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
        ${If} $Elevated != 1
        ${AndIf} $2 == ""
        ${AndIf} $0 != ""
            MessageBox MB_ICONSTOP "ZRNcom is installed for all users in $0: run the setup as administrator to upgrade it, or with /CURRENTUSER for a copy of your own." /SD IDOK
            SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
            Quit
        ${EndIf}
    ${Else}
        StrCpy $AllUsers 0
    ${EndIf}
    ClearErrors
    ${GetOptions} $1 "/ALLUSERS" $0
    ${IfNot} ${Errors}
        ${If} $Elevated != 1
            MessageBox MB_ICONSTOP "Installing for all users needs administrator rights: run the setup as administrator." /SD IDOK
            SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
            Quit
        ${EndIf}
        StrCpy $AllUsers 1
    ${EndIf}
    Call SetMode

    ; /D= wins; else where the earlier installation is; else the default for the mode.
    ${If} $INSTDIR == ""
        ReadRegStr $INSTDIR SHCTX "${UNINST_KEY}" "InstallLocation"
    ${EndIf}
    ${If} $INSTDIR == ""
        ${If} $AllUsers == 1
            StrCpy $INSTDIR "$PROGRAMFILES64\ZRNcom"
        ${Else}
            StrCpy $INSTDIR "$LOCALAPPDATA\Programs\ZRNcom"
        ${EndIf}
    ${EndIf}

    ; zrnctl on the PATH: when asked, or when the earlier installation had put it there.
    ClearErrors
    ${GetOptions} $1 "/PATH" $0
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecPath}
    ${EndIf}
    ReadRegDWORD $0 SHCTX "${UNINST_KEY}" "ZrnctlOnPath"
    ${If} $0 == 1
        !insertmacro SelectSection ${SecPath}
    ${EndIf}
FunctionEnd

; The uninstaller belongs to the installation whose key names its folder; a copy
; left in another folder removes its files and leaves the key alone.
Var OwnsKey

Function un.onInit
    StrCpy $AllUsers 0
    StrCpy $OwnsKey 0
    ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
    ReadRegStr $1 HKLM "${UNINST_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        StrCpy $OwnsKey 1
    ${ElseIf} $1 == $INSTDIR
        StrCpy $OwnsKey 1
        StrCpy $AllUsers 1
        Call un.ReadElevated
        ${If} $Elevated != 1
            MessageBox MB_ICONSTOP "ZRNcom was installed for all users: remove it as administrator." /SD IDOK
            SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
            Quit
        ${EndIf}
    ${EndIf}
    Call un.SetMode
FunctionEnd

Function un.SetMode
    ${If} $AllUsers == 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd

Section "Uninstall"
    !insertmacro OurFiles RemoveFile
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR\doc"
    ; Stays while it holds the user's settings or traffic logs.
    RMDir "$INSTDIR"

    ${If} $OwnsKey == 1
        Delete "$SMPROGRAMS\ZRNcom.lnk"
        ReadRegDWORD $0 SHCTX "${UNINST_KEY}" "ZrnctlOnPath"
        ${If} $0 == 1
            Call un.ReadPath
            Pop $0
            ${If} $0 == "?"
                DetailPrint "PATH is too long to be changed safely: remove $INSTDIR from it yourself."
            ${Else}
                Push $0
                Call un.WithoutInstDir
                Call un.WritePath
            ${EndIf}
        ${EndIf}
        DeleteRegKey SHCTX "${UNINST_KEY}"
    ${EndIf}
SectionEnd
