// The catalogue of hostile inputs against the core: every file, text and thermal value gets the
// outcome promised for it (a refusal with its answer, or a defined value), and a refusal changes
// nothing it should not.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "core/HostileCatalogue.h"
#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "model/Coordinates.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "scenery/ScaWriter.h"
#include "setup/SetupCheck.h"

// The largest single allocation while a load is watched. A hostile bitmap costs a few kilobytes
// at most, however large a picture its header claims: its sizes are checked against the file
// before anything is allocated.
namespace {
bool watchingAllocations = false;
size_t largestAllocation = 0;
}  // namespace

// Kept out of line, so that the compiler pairs every delete with this new and not with free.
__attribute__((noinline)) void* operator new(std::size_t size) {
    if (watchingAllocations && size > largestAllocation) largestAllocation = size;
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* block) noexcept { std::free(block); }
__attribute__((noinline)) void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

static_assert(hostile::Loads == LoadOk && hostile::NotBitmap == LoadNotBitmap &&
              hostile::Unreadable == LoadUnreadable, "the catalogue's answers are the reader's");

void ForgetBackdrop() {
    backdrop = Backdrop{};
    backdropWidth = backdropHeight = backdropLoaded = 0;
}

TEST(HostileInput, Bitmaps) {
    const std::vector<hostile::BitmapCase> bitmaps = hostile::BitmapCases();
    TempFolder folder;
    const std::string path = folder.File("hostile.bmp"), previous = folder.File("previous.bmp");
    WriteBytes(previous, hostile::Bmp(7, 3, 8));
    for (const hostile::BitmapCase& c : bitmaps) {
        WriteBytes(path, c.bytes);
        for (bool loadedBefore : {false, true}) {
            ForgetBackdrop();
            if (loadedBefore) {
                ASSERT_EQ(LoadBackdrop(previous.c_str()), LoadOk);
            }
            const Backdrop before = backdrop;
            largestAllocation = 0;
            watchingAllocations = true;
            const int result = LoadBackdrop(path.c_str());
            watchingAllocations = false;
            EXPECT_EQ(result, c.result) << c.what;
            EXPECT_LE(largestAllocation, 4096u) << c.what;
            if (c.result == hostile::Loads) {
                EXPECT_EQ(std::make_tuple(backdropWidth, backdropHeight, backdropLoaded),
                          std::make_tuple(c.width, c.height, 1)) << c.what;
                EXPECT_EQ(backdrop.pixels.size(), size_t(backdrop.rowSize) * backdrop.height);
                if (!c.pixels.empty()) {
                    EXPECT_EQ(std::string(backdrop.pixels.begin(), backdrop.pixels.end()),
                              c.pixels) << c.what;
                }
                continue;
            }
            EXPECT_EQ(std::make_tuple(backdropWidth, backdropHeight, backdropLoaded),
                      loadedBefore ? std::make_tuple(7, 3, 1) : std::make_tuple(0, 0, 0))
                << c.what;
            EXPECT_TRUE(backdrop.width == before.width && backdrop.height == before.height &&
                        backdrop.bitCount == before.bitCount && backdrop.rowSize == before.rowSize &&
                        backdrop.pixels == before.pixels && backdrop.info == before.info)
                << c.what;
            EXPECT_EQ(backdrop.palette, loadedBefore ? backdrop.info.data() + 40 : nullptr)
                << c.what;
        }
    }
    EXPECT_EQ(LoadBackdrop(folder.File("missing.bmp").c_str()), LoadCannotOpen);
    ForgetBackdrop();
}

hostile::ThermalFields Fields(const Thermal& t) {
    return {t.lat, t.lon, t.type, t.bottom, t.top, t.radius, t.windDir, t.factor, t.cloudOn,
            t.cloudParam, t.cloudCeiling, t.cloudSize, t.cloudType};
}

void KeepBeforeRead() {
    ResetProject();
    CopyText(backdropName, BackdropNameSize, hostile::KeptName);
    CopyText(areaTopText, BoundTextSize, hostile::KeptTop);
    const hostile::ThermalFields& k = hostile::KeptThermal;
    thermals[0] = {k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], uint8_t(k[8]), k[9], k[10],
                   k[11], k[12]};
    thermalCount = hostile::KeptCount;
}

TEST(HostileInput, ProjectFiles) {
    const std::vector<hostile::ProjectCase> projects = hostile::ProjectCases();
    TempFolder folder;
    const std::string path = folder.File("hostile.prj");
    for (const hostile::ProjectCase& c : projects) {
        WriteBytes(path, c.bytes);
        KeepBeforeRead();
        EXPECT_EQ(ReadProject(path.c_str()), c.ok) << c.what;
        EXPECT_EQ(thermalCount, c.count) << c.what;
        EXPECT_EQ(backdropName, c.name) << c.what;
        EXPECT_EQ(areaTopText, c.top) << c.what;
        EXPECT_EQ(Fields(thermals[0]), c.first) << c.what;
        if (thermalCount > 0 && thermalCount <= MaxThermals) {
            EXPECT_EQ(thermals[thermalCount - 1].lat, c.lastLat) << c.what;
        }
    }
    // A folder given as a project cannot be read as one.
    KeepBeforeRead();
    EXPECT_FALSE(ReadProject(folder.File("").c_str()));
    EXPECT_EQ(std::make_tuple(std::string(backdropName), thermalCount),
              std::make_tuple(std::string(hostile::KeptName), hostile::KeptCount));
    ResetProject();
}

void SetBounds(const char* top, const char* bottom, const char* left, const char* right) {
    CopyText(areaTopText, BoundTextSize, top);
    CopyText(areaBottomText, BoundTextSize, bottom);
    CopyText(areaLeftText, BoundTextSize, left);
    CopyText(areaRightText, BoundTextSize, right);
}

void StartArea() {
    ResetProject();
    ResetCompactTexts();
    backdropWidth = backdropHeight = 0;
}

TEST(HostileInput, BoundTexts) {
    const std::vector<hostile::BoundTextCase> bounds = hostile::BoundTextCases();
    for (const hostile::BoundTextCase& c : bounds) {
        char compact[CompactTextSize] = "kept";
        EXPECT_TRUE(CompactCoordinate(compact, c.text.c_str()));
        EXPECT_STREQ(compact, c.compact ? c.compact : "kept") << c.what;

        StartArea();
        SetBounds(hostile::PreviousLatitudeText, "52:00.000N", hostile::PreviousLongitudeText,
                  "005:00.000E");
        RecomputeArea();
        ASSERT_EQ(std::make_pair(areaTop, areaLeft),
                  std::make_pair(hostile::PreviousLatitude, hostile::PreviousLongitude));
        CopyText(c.latitude ? areaTopText : areaLeftText, BoundTextSize, c.text.c_str());
        RecomputeArea();
        EXPECT_EQ(c.latitude ? areaTop : areaLeft, c.value) << c.what;
    }
    ResetCompactTexts();
}

void FillRows(const std::array<hostile::RowTexts, 4>& rows) {
    for (int i = 0; i < 4; ++i) {
        SetupRow& r = setupRows[i];
        CopyText(r.degText, sizeof r.degText, rows[i].deg.c_str());
        CopyText(r.minText, sizeof r.minText, rows[i].min.c_str());
        CopyText(r.thouText, sizeof r.thouText, rows[i].thou.c_str());
        CopyText(r.hemiText, sizeof r.hemiText, rows[i].hemi.c_str());
    }
}

TEST(HostileInput, SetupRows) {
    const std::vector<hostile::SetupRowCase> rows = hostile::SetupRowCases();
    const char* const texts[4] = {areaTopText, areaBottomText, areaLeftText, areaRightText};
    const int32_t* const values[4] = {&areaTop, &areaBottom, &areaLeft, &areaRight};
    for (const hostile::SetupRowCase& c : rows) {
        // As the dialog's OK: check the rows, then recompute the area from the composed texts.
        StartArea();
        FillRows(hostile::DefaultRows());
        ASSERT_EQ(CheckSetupRows(), 0);
        RecomputeArea();
        ASSERT_EQ(areaTop, hostile::DefaultValues[0]);
        std::array<hostile::RowTexts, 4> typed = hostile::DefaultRows();
        for (const auto& row : c.rows) typed[row.first] = row.second;
        FillRows(typed);
        const int row = c.rows.front().first;
        EXPECT_EQ(CheckSetupRows(), c.error) << c.what;
        EXPECT_EQ(texts[row], c.bound) << c.what;
        RecomputeArea();
        EXPECT_EQ(*values[row], c.value) << c.what;
    }
    ResetCompactTexts();
}

struct ScriptedQuestions : SceneryQuestions {
    explicit ScriptedQuestions(SplitAnswer a) : answer(a) {}
    SplitAnswer AskSplit() override { return answer; }
    void TellTooWide() override { ++toldTooWide; }
    void TellBadThermal(const char* text) override { told = text; }
    SplitAnswer answer;
    int toldTooWide = 0;
    std::string told;
};

TEST(HostileInput, ThermalValuesForTheSceneryWriter) {
    const Thermal plain{5200000, 500000, 1, 0, 1500, 500, 270, 0, 0, 0, 1500, 1000, 1};
    auto with = [&](int field, int32_t value, uint8_t cloudOn = 0) {
        Thermal t = plain;
        int32_t* fields[] = {&t.lat, &t.lon, &t.type, &t.radius, &t.cloudType};
        *fields[field] = value;
        t.cloudOn = cloudOn;
        return t;
    };
    enum { Lat, Lon, Type, Radius, CloudType };
    const std::string lift = "Macro( lift_01.scm 52.00000 5.00000 0 1500 ";
    const struct {
        const char* what; Thermal odd; SplitAnswer answer; std::string told; std::string text;
        bool tooWide;
    } writerCases[] = {
        {"type 0", with(Type, 0), SplitAnswer::No, "Thermal 2 has lift type 0;", "", false},
        {"type 5", with(Type, 5), SplitAnswer::No, "Thermal 2 has lift type 5;", "", false},
        {"type -1", with(Type, -1), SplitAnswer::No, "Thermal 2 has lift type -1;", "", false},
        {"type 2^31-1", with(Type, INT32_MAX), SplitAnswer::No,
         "Thermal 2 has lift type 2147483647;", "", false},
        {"type -2^31", with(Type, INT32_MIN), SplitAnswer::No,
         "Thermal 2 has lift type -2147483648;", "", false},
        {"cloud type 0", with(CloudType, 0, 1), SplitAnswer::No, "Thermal 2 has cloud type 0;",
         "", false},
        {"cloud type 21", with(CloudType, 21, 1), SplitAnswer::No,
         "Thermal 2 has cloud type 21;", "", false},
        {"cloud type -1", with(CloudType, -1, 1), SplitAnswer::No,
         "Thermal 2 has cloud type -1;", "", false},
        {"cloud type 2^31-1", with(CloudType, INT32_MAX, 1), SplitAnswer::No,
         "Thermal 2 has cloud type 2147483647;", "", false},
        {"cloud type 21, cloudOn 255", with(CloudType, 21, 255), SplitAnswer::No,
         "Thermal 2 has cloud type 21;", "", false},
        // A cloudless thermal's cloud type is never used: no cloud line at all.
        {"cloud type 0 without a cloud", with(CloudType, 0), SplitAnswer::No, "",
         ")\r\n\r\n\r\nMacro( lift_01", false},
        {"cloud type 21 without a cloud", with(CloudType, 21), SplitAnswer::No, "",
         ")\r\n\r\n\r\nMacro( lift_01", false},
        {"cloud type -2^31 without a cloud", with(CloudType, INT32_MIN), SplitAnswer::No, "",
         ")\r\n\r\n\r\nMacro( lift_01", false},
        {"radius 0", with(Radius, 0), SplitAnswer::No, "", lift + "0 270 0 )\r\n", false},
        {"radius -1", with(Radius, -1), SplitAnswer::No, "", lift + "-1 270 0 )\r\n", false},
        {"radius 2^31-1", with(Radius, INT32_MAX), SplitAnswer::No, "",
         lift + "2147483647 270 0 )\r\n", false},
        {"radius -2^31", with(Radius, INT32_MIN), SplitAnswer::No, "",
         lift + "-2147483648 270 0 )\r\n", false},
        {"far north, split refused", with(Lat, INT32_MAX), SplitAnswer::No, "",
         "Header( 1 21475.03647 51.80000 5.20000 4.80000 )\r\n", false},
        {"far south, split refused", with(Lat, INT32_MIN), SplitAnswer::No, "",
         "Header( 1 52.20000 -21475.03648 5.20000 4.80000 )\r\n", false},
        {"far east and west", with(Lon, INT32_MIN), SplitAnswer::No, "",
         "Header( 1 52.20000 51.80000 5.20000 -21475.03648 )\r\n", false},
        {"far south, split asked for", with(Lat, INT32_MIN), SplitAnswer::Yes, "", "", true},
    };
    for (const auto& c : writerCases) {
        TempFolder folder;
        ResetProject();
        thermals[0] = plain, thermals[1] = c.odd, thermals[2] = plain;
        thermalCount = 3;
        ScriptedQuestions questions(c.answer);
        const bool written = c.told.empty() && !c.tooWide;
        EXPECT_EQ(WriteScaFiles(questions, folder.File("p").c_str()), written) << c.what;
        EXPECT_EQ(questions.told.substr(0, c.told.size()), c.told) << c.what;
        EXPECT_EQ(questions.toldTooWide, c.tooWide ? 1 : 0) << c.what;
        EXPECT_EQ(folder.EntryCount(), written ? 1 : 0) << c.what;
        if (written) {
            EXPECT_NE(ReadBytes(folder.File("p_a.sca")).find(c.text), std::string::npos)
                << c.what;
        }
    }
    ResetProject();
}

TEST(HostileInput, ThermalValuesForTheMap) {
    const double maxZoom = 67108.864;  // the largest side, 1000 pixels, at 2^26
    const struct {
        const char* what; int32_t lat, lon, radius; double zoom, latPx, lonPx;
        int originX, originY; bool placed; int x, y; double r;
    } mapCases[] = {
        {"inside", 5250000, 500000, 500, 1.0, 125, 250, 0, 0, true, 400, 400, 4.0},
        {"radius 0", 5250000, 500000, 0, 1.0, 125, 250, 0, 0, true, 400, 400, 0.0},
        {"radius -500", 5250000, 500000, -500, 1.0, 125, 250, 0, 0, true, 400, 400, -4.0},
        {"radius 2^31-1", 5250000, 500000, INT32_MAX, 1.0, 125, 250, 0, 0, true, 400, 400,
         17179869.176},
        {"radius -2^31, largest zoom", 5250000, 500000, INT32_MIN, maxZoom, 125, 250, 0, 0, true,
         26843545, 26843545, -1152921504606.846976},
        {"far south-east", INT32_MIN, INT32_MAX, 500, 1.0, 125, 250, 0, 0, true, 8588334,
         17222269, 4.0},
        {"far north-west", INT32_MAX, INT32_MIN, 500, 1.0, 125, 250, 0, 0, true, -8591534,
         -17137469, 4.0},
        {"far south-east, largest zoom", INT32_MIN, INT32_MAX, 0, maxZoom, 125, 250, 0, 0, true,
         INT32_MAX, INT32_MAX, 0.0},
        {"far north-west, largest zoom", INT32_MAX, INT32_MIN, 0, maxZoom, 125, 250, 0, 0, true,
         INT32_MIN, INT32_MIN, 0.0},
        {"far origin", 5250000, 500000, 0, 1.0, 125, 250, INT32_MAX, INT32_MIN, true, INT32_MAX,
         -2147483248, 0.0},
        {"truncated toward zero", 5300187, 399900, 0, 1.0, 125, 250, 0, 0, true, 0, -1, 0.0},
        {"area upside down", 5250000, 500000, 500, 1.0, -125, 250, 0, 0, true, 400, -400, -4.0},
        {"no backdrop yet", 5250000, 500000, 500, 1.0, 0, 0, 0, 0, false, -7, -7, 0.0},
    };
    for (const auto& c : mapCases) {
        ResetView();
        backdropWidth = 1000, backdropHeight = 800;
        areaTop = 5300000, areaLeft = 400000;
        latPerPixel = c.latPx, lonPerPixel = c.lonPx;
        zoomFactor = c.zoom;
        mapOriginX = c.originX, mapOriginY = c.originY;
        int x = -7, y = -7;
        EXPECT_EQ(GeoToWindow(c.lat, c.lon, x, y), c.placed) << c.what;
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y)) << c.what;
        EXPECT_DOUBLE_EQ(RadiusToWindow(c.radius), c.r) << c.what;
    }
    ResetView();
    backdropWidth = backdropHeight = 0;
    latPerPixel = lonPerPixel = 0.0;
    areaTop = areaLeft = 0;
}

}  // namespace
