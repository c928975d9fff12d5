// The Import hotspots command.
#include "thermals/HotspotImport.h"

#include <cstdio>

#include "map/MapWindow.h"
#include "model/History.h"
#include "model/Project.h"
#include "shell/FileDialogs.h"
#include "shell/Frame.h"
#include "shell/MessageBoxes.h"
#include "thermals/Generation.h"
#include "thermals/Hotspots.h"

namespace {

const char CupFilter[] = "Waypoint files (*.cup)\0*.cup\0All files (*.*)\0*.*\0";

}  // namespace

void ImportHotspots(HWND owner) {
    // A paint still pending after an Open or a Load loads the backdrop and computes the area that
    // decides which waypoints are inside; it runs before the modes (and its bounds parse) go off.
    if (mapWindow != nullptr) UpdateWindow(mapWindow);
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    ClearMapModes();
    InvalidateMap(true);  // the selection or the area frame goes with its mode

    // The spare buffers keep the name that Open and Save offer next as it was.
    spareDialogPath[0] = '\0';
    spareDialogTitle[0] = '\0';
    if (!ChooseFileToRead(owner, "Import hotspots", CupFilter, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                          spareDialogPath, spareDialogTitle))
        return;

    HotspotImport result;
    if (!ImportHotspotFile(spareDialogPath, &result)) {
        ShowFileMessage(owner, "Could not read file %s!", spareDialogTitle);
        return;
    }
    if (result.imported > 0) {
        RecordAppend(result.firstIndex);
        ForgetPendingBatch();
        projectModified = 1;
        InvalidateMap(true);
    }
    if (result.tableFull) ShowTableFullNotice(owner);
    char text[160];
    std::snprintf(text, sizeof text,
                  "Imported %d hotspots (%d already there, %d outside the area, "
                  "%d lines not understood).",
                  result.imported, result.alreadyThere, result.outside, result.notUnderstood);
    ShowMessage(owner, text, MB_OK | MB_ICONINFORMATION);
}
