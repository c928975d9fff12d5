// The Export thermals and Statistics commands.
#include "thermals/TableCommands.h"

#include <cstdio>
#include <string>

#include "model/FileNames.h"
#include "model/Project.h"
#include "shell/FileDialogs.h"
#include "shell/MessageBoxes.h"
#include "thermals/Statistics.h"
#include "thermals/ThermalExport.h"

namespace {

const char ExportFilter[] =
    "Waypoint files (*.cup)\0*.cup\0GPS exchange files (*.gpx)\0*.gpx\0Google Earth files (*.kml)\0*.kml\0";
const char* const Extensions[] = {"cup", "gpx", "kml"};
const ExportFormat Formats[] = {ExportFormat::Cup, ExportFormat::Gpx, ExportFormat::Kml};

// The type chosen last, offered again for the run.
DWORD exportType = 1;

// The project's name, kept in the system's code page, as the UTF-8 of the XML files.
std::string Utf8(const char* text) {
    const int wide = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wide <= 1) return "";
    std::wstring buffer(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &buffer[0], wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return "";
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    out.resize(static_cast<size_t>(bytes - 1));
    return out;
}

}  // namespace

void ExportThermals(HWND owner) {
    if (thermalCount <= 0) {
        ShowAddThermalsNotice(owner);
        return;
    }
    char path[DialogPathSize];
    char title[DialogTitleSize] = "";
    CopyText(path, DialogPathSize, projectName);
    if (exportType < 1 || exportType > 3) exportType = 1;
    if (!ChooseFileToWrite(owner, "Export thermals", ExportFilter, Extensions[exportType - 1], &exportType, path,
                           title))
        return;
    if (exportType < 1 || exportType > 3) exportType = 1;
    // A typed extension of the three decides the format; any other name gets the chosen type's.
    std::string target = path;
    ExportFormat format;
    if (!ExportFormatOfName(path, &format)) {
        format = Formats[exportType - 1];
        target += std::string(".") + Extensions[exportType - 1];
        const DWORD attributes = GetFileAttributesA(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            const std::string question = ShortenedName(FileTitle(target.c_str())) + " already exists.\nDo you want to replace it?";
            if (ShowMessage(owner, question.c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
        }
    }
    const char* name = FileTitle(target.c_str());
    if (target.size() >= MAX_PATH || !WriteThermalExport(target.c_str(), format, Utf8(projectName))) {
        ShowFileMessage(owner, "Could not write file %s", name);
        return;
    }
    char text[160];
    std::snprintf(text, sizeof text, "Exported %d thermals to %s.", static_cast<int>(thermalCount),
                  ShortenedName(name).c_str());
    ShowMessage(owner, text, MB_OK | MB_ICONINFORMATION);
}

void ShowStatistics(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    ShowMessage(owner, StatisticsText().c_str(), MB_OK | MB_ICONINFORMATION);
}
