// The entry point of Ascendor.exe.
#include "app/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    AppWindow app(instance, showCommand, "Ascendor", "Ascendor");
    PrepareApplication(app);
    return app.Run();
}
