// Start-up: the main window's class record and the map window's class.
#include "app/Application.h"

#include "app/MainWindow.h"
#include "map/MapWindow.h"

void PrepareApplication(AppWindow& app) {
    app.windowClass.lpfnWndProc = MainWindowProc;
    app.windowClass.lpszMenuName = "Menu";
    app.acceleratorName = "ACCEL";
    app.windowClass.hIcon = LoadIconA(app.instance, "IDICON");
    app.windowClass.hIconSm = LoadIconA(app.instance, "IDICON");
    app.windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));

    // The main window creates its map child while it is being created, so the map's class must
    // exist first. It shares the redraw style, cursor and light-grey background.
    WNDCLASSEXA mapClass = app.windowClass;
    mapClass.lpfnWndProc = MapWindowProc;
    mapClass.hInstance = app.instance;
    mapClass.hIcon = nullptr;
    mapClass.hIconSm = nullptr;
    mapClass.lpszClassName = "MapClass";
    RegisterClassExA(&mapClass);

    RECT workArea = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    app.x = 0;
    app.y = 0;
    app.width = workArea.right;
    app.height = workArea.bottom;
    app.style = WS_OVERLAPPEDWINDOW;

    theApp = &app;
}
