// The Import hotspots command.
#include "thermals/HotspotImport.h"

#include <cstdio>

#include "map/MapWindow.h"
#include "model/History.h"
#include "model/Project.h"
#include "shell/FileDialogs.h"
#include "shell/MainParts.h"
#include "shell/MessageBoxes.h"
#include "thermals/Generation.h"
#include "thermals/Hotspots.h"

namespace {

const char HotspotFilter[] = "Waypoint files (*.cup)\0*.cup\0GPS exchange files (*.gpx)\0*.gpx\0"
                             "Google Earth files (*.kml)\0*.kml\0All files (*.*)\0*.*\0";

// The backdrop decides which waypoints are inside, so there must be one; the map modes go off.
bool ReadyToImport(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return false;
    }
    ClearMapModes();
    InvalidateMap(true);  // the selection or the area frame goes with its mode
    return true;
}

void ImportFile(HWND owner, const char* path, const char* title) {
    HotspotImport result;
    if (!ImportHotspotFile(path, &result)) {
        ShowFileMessage(owner, "Could not read file %s!", title);
        return;
    }
    KeepAppendedThermals(owner, result.firstIndex, result.imported, result.tableFull);
    char text[160];
    std::snprintf(text, sizeof text,
                  "Imported %d hotspots (%d already there, %d outside the area, "
                  "%d %s not understood).",
                  result.imported, result.alreadyThere, result.outside, result.notUnderstood,
                  result.source == HotspotSource::Cup ? "lines" : "waypoints");
    ShowMessage(owner, text, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void KeepAppendedThermals(HWND owner, int firstIndex, int added, bool tableFull) {
    if (added > 0) {
        RecordAppend(firstIndex);
        ForgetPendingBatch();
        projectModified = 1;
        InvalidateMap(true);
    }
    if (tableFull) ShowTableFullNotice(owner);
}

void ImportHotspots(HWND owner) {
    if (!ReadyToImport(owner)) return;
    // The spare buffers keep the name that Open and Save offer next as it was.
    spareDialogPath[0] = '\0';
    spareDialogTitle[0] = '\0';
    if (!ChooseFileToRead(owner, "Import hotspots", HotspotFilter, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                          spareDialogPath, spareDialogTitle))
        return;
    ImportFile(owner, spareDialogPath, spareDialogTitle);
}

void ImportHotspotsFrom(HWND owner, const char* path) {
    if (!ReadyToImport(owner)) return;
    ImportFile(owner, path, FileTitle(path));
}
