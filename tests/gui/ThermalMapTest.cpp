// The thermal map in the Automatic dialog: choosing it, its failures, the registry values of the
// next start, Test following it, and Show laying it over the backdrop.
#include "gui/Harness.h"

#include <tuple>

#include "map/ThermalMap.h"
#include "thermals/ThermalDialogs.h"

namespace {

const char Key[] = "Software\\Ascendor\\Automatic";

// The three values as "path|use|show"; "(none)" without the key.
std::string Registry() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key, 0, KEY_READ, &key) != ERROR_SUCCESS) return "(none)";
    char path[MAX_PATH] = "";
    DWORD flags[2] = {9, 9}, size = sizeof path;
    RegQueryValueExA(key, "ThermalMap", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
    for (int i = 0; i < 2; ++i)
        size = 4, RegQueryValueExA(key, i ? "ShowThermalMap" : "UseThermalMap", nullptr, nullptr, reinterpret_cast<BYTE*>(&flags[i]), &size);
    RegCloseKey(key);
    return std::string(path) + "|" + std::to_string(flags[0]) + "|" + std::to_string(flags[1]);
}

class ThermalMapTest : public gui::GuiTest {
protected:
    gui::ScratchFolder folder;
    void SetUp() override {
        gui::GuiTest::SetUp();
        RegDeleteKeyA(HKEY_CURRENT_USER, Key);
        // A backdrop of colours, and a map half its size: black west, a grey ramp east.
        gui::WritePicture(folder.File("area.bmp"), 64, 48, [](int x, int y) { return RGB(x * 4, y * 5, 200 - x); });
        gui::WritePicture(folder.File("map.bmp"), 32, 24, [](int x, int y) { return x < 16 ? 0 : 0x010101 * (255 - y); });
        folder.Write("text.bmp", "not a picture");
        ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "a.prj", {}));
        gui::Command(CmdAutomatic);
    }
    void TearDown() override {
        gui::GuiTest::TearDown();
        RegDeleteKeyA(HKEY_CURRENT_USER, Key);
    }
    static HWND Dialog() { return gui::App().currentDialog; }
};

// Each step's name shown, box "Thermal map", registry and boxes; the current folder and the
// project stay as they were.
TEST_F(ThermalMapTest, ChoosingTheMapItsFailuresAndTheRegistry) {
    const std::string map = folder.File("map.bmp");
    const std::vector<std::string> refused = {
        "Could not load the thermal map text.bmp: it is not a Windows bitmap with 1, 4, 8, 24 or 32 bits per pixel."};
    const auto choose = [this](const char* name) { gui::ExpectFile(folder.File(name)), gui::Click(Dialog(), IdcAutoChooseMap); };
    const struct { const char* what; std::function<void()> act; const char* name; bool use; std::string registry; std::vector<std::string> boxes; } steps[] = {
        {"Thermal map without a map, cancelled", [] { gui::ExpectFileCancel(), gui::Click(Dialog(), IdcAutoUseMap); }, "", false, "|0|0", {}},
        {"Map... with a file that is no picture", [&] { gui::ExpectBox(IDOK), choose("text.bmp"); }, "", false, "(none)", refused},
        {"Map...", [&] { choose("map.bmp"); }, "map.bmp", false, map + "|0|0", {}},
        {"a map that cannot be loaded keeps the map before", [&] { gui::ExpectBox(IDOK), choose("text.bmp"); }, "map.bmp", false, "(none)", refused},
        {"Thermal map with a map chosen", [] { gui::Click(Dialog(), IdcAutoUseMap); }, "map.bmp", true, map + "|1|0", {}},
        {"other commands of the new controls", [] {
             for (int id = IdcAutoUseMap; id <= IdcAutoShowMap; ++id)
                 SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(id, id == IdcAutoMapName ? EN_CHANGE : BN_DOUBLECLICKED), 0);
         }, "map.bmp", true, "(none)", {}},
        {"Show", [] { gui::Click(Dialog(), IdcAutoShowMap); }, "map.bmp", true, map + "|1|1", {}},
    };
    char before[MAX_PATH], now[MAX_PATH], name[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        RegDeleteKeyA(HKEY_CURRENT_USER, Key);
        step.act();
        ASSERT_NE(Dialog(), nullptr);
        GetDlgItemTextA(Dialog(), IdcAutoMapName, name, sizeof name), GetCurrentDirectoryA(MAX_PATH, now);
        EXPECT_EQ(std::make_tuple(std::string(name), IsDlgButtonChecked(Dialog(), IdcAutoUseMap) == BST_CHECKED, Registry(), std::string(now),
                                  gui::BoxTexts(), projectModified),
                  std::make_tuple(std::string(step.name), step.use, step.registry, std::string(before), step.boxes, 0));
        gui::CheckWatcher();
    }
    // The next start: the map and the boxes as they were; a map gone since is forgotten without a box.
    thermalMapPath.clear(), useThermalMap = showThermalMap = 0, ForgetThermalMap();
    LoadAutomaticSettings();
    EXPECT_EQ(std::make_tuple(thermalMapPath, int(useThermalMap), int(showThermalMap), thermalMap.width), std::make_tuple(map, 1, 1, 32));
    DeleteFileA(map.c_str());
    LoadAutomaticSettings();
    EXPECT_EQ(std::make_tuple(thermalMapPath, int(useThermalMap), int(showThermalMap), thermalMap.width), std::make_tuple(std::string(), 0, 0, 0));
    EXPECT_EQ(Registry(), "|0|0");
    EXPECT_TRUE(gui::BoxTexts().empty());
}

// Test with the map makes thermals only where it is not black; Show lays the map's grey over the
// backdrop, half and half, as a full repaint does too, until it is unchecked or the dialog closes.
TEST_F(ThermalMapTest, TestFollowsTheMapAndShowLaysItOverTheBackdrop) {
    gui::ExpectFile(folder.File("map.bmp")), gui::Click(Dialog(), IdcAutoUseMap);
    gui::Drag(mapOriginX + 1, mapOriginY + 1, mapOriginX + PictureWidth() - 1, mapOriginY + PictureHeight() - 1);
    gui::Click(Dialog(), IdcAutoTest);
    EXPECT_GT(thermalCount, 20);
    for (int i = 0; i < thermalCount; ++i)
        EXPECT_GE((thermals[i].lon - areaLeft) / lonPerPixel, 32.0) << testdata::ThermalLine(thermals[i]);
    gui::Click(Dialog(), IdcAutoClear);
    gui::Click(Dialog(), IdcAutoAdd);  // the rectangle goes: the picture alone

    const gui::Picture plain = gui::CaptureMap();
    gui::Click(Dialog(), IdcAutoShowMap);
    const gui::Picture shown = gui::CaptureMap();
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            const bool on = x >= mapOriginX && y >= mapOriginY && x < mapOriginX + PictureWidth() && y < mapOriginY + PictureHeight();
            const int grey = MapBrightnessAtPixel(thermalMap, WindowToColumn(x), WindowToRow(y));
            const COLORREF p = plain.At(x, y);
            ASSERT_EQ(shown.At(x, y), on ? RGB((GetRValue(p) + grey) / 2, (GetGValue(p) + grey) / 2, (GetBValue(p) + grey) / 2) : p)
                << x << "," << y;
        }
    DropMapComposition(), InvalidateRect(gui::Map(), nullptr, TRUE), gui::Pump();
    EXPECT_TRUE(gui::CaptureMap().pixels == shown.pixels) << "a full repaint";
    gui::Click(Dialog(), IdcAutoShowMap);
    EXPECT_TRUE(gui::CaptureMap().pixels == plain.pixels) << "unchecked";
    gui::Click(Dialog(), IdcAutoShowMap);
    gui::Click(Dialog(), IdcAutoOk);
    EXPECT_TRUE(gui::CaptureMap().pixels == plain.pixels) << "closed";
    EXPECT_EQ(Registry(), folder.File("map.bmp") + "|1|1");
}

}  // namespace
