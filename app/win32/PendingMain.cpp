// ZRNcom.exe while the Win32 dialogs are not part of the build: answers
// --help and --version and starts the windowing system as the program does,
// then says that there is no window to show.
#include "platform/Application.h"
#include "platform/VersionInfo.h"
#include "shell/Usage.h"

#include <cstdlib>

int main(int argc, char** argv) {
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
    ShowStartupError("This build of ZRNcom has no dialogs.");
    return EXIT_FAILURE;
}
