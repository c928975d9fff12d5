// The entry point of Ascendor.exe: the window, with a project from the command line, or the build
// without the window.
#include "app/Application.h"
#include "app/BatchBuild.h"
#include "app/CommandLine.h"
#include "app/ProjectCommands.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int showCommand) {
    const StartRequest request = ParseCommandLine(arguments);
    switch (request.action) {
    case StartAction::Build: return BuildWithoutWindow(request.path.c_str());
    case StartAction::Usage: return PrintUsage(0);
    case StartAction::BadSwitch: return PrintUsage(1);
    case StartAction::Window: break;
    }
    AppWindow app(instance, showCommand, "Ascendor", "Ascendor");
    PrepareApplication(app);
    // Without a main window nothing could ever post the quit message.
    if (!app.Create()) return 1;
    // A failure shows Open's box; the program stays, with an empty project.
    if (!request.path.empty()) OpenProjectFile(app.mainWindow, request.path.c_str());
    return app.Loop();
}
