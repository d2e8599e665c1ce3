; The Windows installer: the program, a Start-menu entry and an uninstaller,
; for the current user or (with administrator rights) for every user.
;   makensis -DVERSION=1.75 -DEXE=path\vadiveziduzor.exe -DLICENSE=path\LICENSE -DOUT=setup.exe installer.nsi
; Silent use: setup.exe /S [/AllUsers | /CurrentUser], uninstall.exe /S
Unicode true
Target amd64-unicode

!define NAME "RU Zuva Zize Vadiveziduzor"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vadiveziduzor"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Vadiveziduzor"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh

Name "${NAME} ${VERSION}"
OutFile "${OUT}"
RequestExecutionLevel user
SetCompressor /SOLID lzma

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
    ; Started without /CurrentUser or /AllUsers (from its folder, say), the
    ; uninstaller removes the copy it belongs to: the one whose uninstall
    ; entry names its folder.
    ReadRegStr $0 HKCU "${KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        Call un.MultiUser.InstallMode.CurrentUser
    ${Else}
        ReadRegStr $0 HKLM "${KEY}" "InstallLocation"
        ${If} $0 == $INSTDIR
            Call un.MultiUser.InstallMode.AllUsers
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Program"
    SetOutPath "$INSTDIR"
    File "/oname=vadiveziduzor.exe" "${EXE}"
    File "/oname=LICENSE.txt" "${LICENSE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\vadiveziduzor.exe"
    WriteRegStr SHCTX "${KEY}" "DisplayName" "${NAME}"
    WriteRegStr SHCTX "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${KEY}" "DisplayIcon" "$INSTDIR\vadiveziduzor.exe"
    WriteRegStr SHCTX "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${NAME}.lnk"
    Delete "$INSTDIR\vadiveziduzor.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${KEY}"
SectionEnd
