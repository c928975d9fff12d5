// Projects on disk for the command tests: project files written in the file's own text form,
// whole-file reads for byte comparisons, folder listings, and a project brought into the program
// as a confirmed Open leaves it (the next paint loads the backdrop), without the dialog.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/Harness.h"
#include "gui/TestBackdrop.h"
#include "map/MapWindow.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "shell/FileNames.h"
#include "shell/Frame.h"

namespace gui {

// A thermal with valid values in every field; radius in metres, windDir in degrees.
inline Thermal MakeThermal(int32_t lat, int32_t lon, int32_t type = 1, bool cloud = false,
                           int32_t radius = 500, int32_t windDir = 0) {
    Thermal t{};
    t.lat = lat;
    t.lon = lon;
    t.type = type;
    t.bottom = 0;
    t.top = 2000;
    t.radius = radius;
    t.windDir = windDir;
    t.factor = 1;
    t.cloudOn = cloud ? 1 : 0;
    t.cloudParam = 0;
    t.cloudCeiling = 2000;
    t.cloudSize = 1200;
    t.cloudType = 3;
    return t;
}

struct AreaBounds {
    const char* top;
    const char* bottom;
    const char* left;
    const char* right;
};
// 52:30 N to 52:00 N, 4:30 E to 5:30 E.
constexpr AreaBounds LowlandBounds{"52:30.000N", "52:00.000N", "004:30.000E", "005:30.000E"};

inline std::string ProjectFileText(const std::string& backdropName, const AreaBounds& bounds,
                                   const std::vector<Thermal>& table) {
    std::string text = backdropName + "\r\n" + bounds.top + "\r\n" + bounds.bottom + "\r\n" +
                       bounds.left + "\r\n" + bounds.right + "\r\n";
    for (const Thermal& t : table) {
        const long long fields[] = {t.lat,    t.lon,        t.type,         t.bottom,   t.top,
                                    t.radius, t.windDir,    t.factor,       t.cloudOn,  t.cloudParam,
                                    t.cloudCeiling, t.cloudSize, t.cloudType};
        for (size_t i = 0; i < std::size(fields); ++i)
            text += (i ? "," : "") + std::to_string(fields[i]);
        text += "\r\n";
    }
    return text;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The whole file; "(missing)" when it cannot be opened.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(missing)";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every entry under folder, relative and sorted; folders end in '/'.
inline std::vector<std::string> Listing(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = fs::relative(it->path(), folder).generic_string();
        if (it->is_directory()) name += '/';
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Writes the project file fileName, and backdrop "area.bmp" (64 x 48, one grey) unless the folder
// has one, into folder; then leaves the program as Open leaves it with that file chosen: the folder
// current, the file read, the name cut at its first '.', flags set, and the map painted (which
// loads the backdrop and computes the area).
inline void BringInProject(const ScratchFolder& folder, const std::string& fileName,
                           const std::vector<Thermal>& table,
                           const AreaBounds& bounds = LowlandBounds) {
    if (!std::filesystem::exists(folder.File("area.bmp")))
        WriteGreyBackdrop(folder.File("area.bmp"), 64, 48);
    WriteBytes(folder.File(fileName), ProjectFileText("area.bmp", bounds, table));
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    ResetProject();
    ASSERT_TRUE(ReadProject(folder.File(fileName).c_str()));
    CutExtension(projectName, ProjectNameSize, fileName.c_str());
    UpdateTitle(Main(), projectName);
    projectModified = 0;
    backdropReloadPending = 1;
    boundsParsePending = 1;
    InvalidateMap(true);
    Pump();
    ASSERT_EQ(backdropLoaded, 1);
    ASSERT_EQ(thermalCount, static_cast<int32_t>(table.size()));
}

}  // namespace gui
