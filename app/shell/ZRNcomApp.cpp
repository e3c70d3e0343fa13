#include "shell/ZRNcomApp.h"

#include "platform/Application.h"
#include "platform/Dialog.h"
#include "platform/MessageBus.h"
#include "platform/VersionInfo.h"
#include "shell/Usage.h"
#include "shell/ZRNcomDlg.h"

#include <cstdlib>

CZRNcomApp::CZRNcomApp(int& argc, char** argv)
    : argc(argc), argv(argv), commandLine(ProgramCommandLine(argc, argv)) {}

int CZRNcomApp::Run() {
    // Answered before anything starts, without a display too.
    if (const auto text = zrn::InformationText(
            argc, argv, zrn::ReadFileVersion(zrn::ProgramVersionBlock(), 0x0409))) {
        WriteInformation(*text);
        return EXIT_SUCCESS;
    }
    PlatformApplication platform(argc, argv);
    if (!platform.Started()) {
        ShowStartupError("Unable to initialize OLE.\nTerminating application!");
        return EXIT_FAILURE;
    }
    RunApplication();
    return EXIT_SUCCESS;
}

bool CZRNcomApp::RunApplication() {
    CZRNcomDlg dialog(commandLine);
    // Other processes ask for the presets to be applied again through this message.
    WindowMessageBus bus(dialog);
    bus.Register("ZRNCOMDLGSETINTERVALS", WM_ZRNCOMDLGSETINTERVALS);
    dialog.DoModal(); // IDOK or IDCANCEL: the program ends either way
    // The link is left as it is: its worker finds the window gone and is told nothing more.
    return false;
}
