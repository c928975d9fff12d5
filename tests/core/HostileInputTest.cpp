// The catalogue of hostile inputs against the core, and the bitmap reader's properties: every
// file, text and value gets the outcome promised for it, and a refusal changes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <tuple>

#include "core/HostileCatalogue.h"
#include "map/Bitmap.h"
#include "map/ThermalMap.h"
#include "model/Coordinates.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "setup/SetupCheck.h"

// The largest single allocation while a load is watched. A hostile bitmap costs a few kilobytes
// at most, however large a picture its header claims. Larger blocks than refusedAbove are not had,
// as in a process whose address space has no room for them.
namespace {
bool watchingAllocations = false;
size_t largestAllocation = 0, refusedAbove = SIZE_MAX;
}  // namespace

// Kept out of line, so that the compiler pairs every delete with this new and not with free.
__attribute__((noinline)) void* operator new(std::size_t size) {
    if (watchingAllocations && size > largestAllocation) largestAllocation = size;
    if (size > refusedAbove) throw std::bad_alloc();
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* block) noexcept { std::free(block); }
__attribute__((noinline)) void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

using testdata::Bmp;

static_assert(hostile::Loads == LoadOk && hostile::NotBitmap == LoadNotBitmap && hostile::Unreadable == LoadUnreadable &&
                  hostile::CutShort == LoadCutShort && hostile::Compressed == LoadCompressed && hostile::TooLarge == LoadTooLarge,
              "the catalogue's answers are the reader's");

class HostileInput : public ::testing::Test {
protected:
    void TearDown() override { ForgetBackdrop(), ResetProject(), ResetCompactTexts(); }
    static void ForgetBackdrop() { backdrop = Backdrop{}, backdropWidth = backdropHeight = backdropLoaded = 0; }
    // Loads bytes over a picture loaded before (or none); a refusal must leave that picture whole
    // and allocate nothing large.
    // A size past the bytes makes the file that long (sparse: it costs nothing on disk).
    void Load(const std::string& what, const std::string& bytes, int result, bool loadedBefore, uintmax_t size = 0) {
        ForgetBackdrop();
        if (loadedBefore) { ASSERT_EQ(LoadBackdrop(previous.c_str()), LoadOk); }
        const Backdrop before = backdrop;
        folder.Write("hostile.bmp", bytes);
        if (size > bytes.size()) std::filesystem::resize_file(folder.File("hostile.bmp"), size);
        largestAllocation = 0;
        watchingAllocations = true;
        EXPECT_EQ(LoadBackdrop(folder.File("hostile.bmp").c_str()), result) << what;
        watchingAllocations = false;
        if (!loadedBefore) {
            // The thermal map's reader takes and refuses the same files; a refusal keeps the map before.
            Brightness map{1, 1, {7}};
            EXPECT_EQ(LoadBrightness(folder.File("hostile.bmp").c_str(), ThermalMapLongestSide, map), result) << what;
            if (result != LoadOk) { EXPECT_EQ(map.values, std::vector<uint8_t>{7}) << what; }
        }
        if (result == LoadOk) return;
        EXPECT_LE(largestAllocation, 4096u) << what;
        EXPECT_EQ(std::make_tuple(backdropWidth, backdropHeight, backdropLoaded),
                  loadedBefore ? std::make_tuple(7, 3, 1) : std::make_tuple(0, 0, 0)) << what;
        EXPECT_TRUE(backdrop.pixels == before.pixels && backdrop.info == before.info && backdrop.rowSize == before.rowSize &&
                    backdrop.palette == (loadedBefore ? backdrop.info.data() + 40 : nullptr)) << what;
    }
    testdata::Scratch folder;
    const std::string previous = folder.File("previous.bmp");
    bool written = folder.Write("previous.bmp", Bmp(7, 3, 8));
};

TEST_F(HostileInput, Bitmaps) {
    for (const hostile::BitmapCase& c : hostile::BitmapCases()) {
        for (bool loadedBefore : {false, true}) Load(c.what, c.bytes, c.result, loadedBefore);
        if (c.result != LoadOk) continue;
        EXPECT_EQ(std::make_tuple(backdropWidth, backdropHeight, backdropLoaded), std::make_tuple(c.width, c.height, 1)) << c.what;
        if (!c.pixels.empty()) { EXPECT_EQ(std::string(backdrop.pixels.begin(), backdrop.pixels.end()), c.pixels) << c.what; }
        const size_t tableAt = 14 + std::max(40u, uint32_t((c.bytes[14] & 0xFF) | (c.bytes[15] & 0xFF) << 8));
        if (backdrop.palette) { EXPECT_EQ(std::string(backdrop.palette, backdrop.info.data() + backdrop.info.size()), c.bytes.substr(tableAt, backdrop.info.size() - 40)) << c.what; }
        if (c.coloursUsed >= 0) {
            const uint8_t* used = backdrop.info.data() + 32;
            EXPECT_EQ(used[0] | used[1] << 8 | used[2] << 16 | int64_t{used[3]} << 24, c.coloursUsed) << c.what;
        }
    }
    EXPECT_EQ(LoadBackdrop(folder.File("missing.bmp").c_str()), LoadCannotOpen);
    // The failure box's reason for each kind of refusal, after the load that answered it (a
    // compressed one's is the Setup dialog test's).
    const std::pair<const char*, const char*> reasons[] = {
        {"16 bits, whole file", "it is not a Windows bitmap with 1, 4, 8, 24 or 32 bits per pixel"},
        {"pixel offset 4294967295", "the file is shorter than its header says"},
        {"65536 x 65536 at 24 bits", "its picture of 65536 x 65536 pixels needs 12288 MB of memory, more than this program can have"}};
    for (const auto& r : reasons)
        for (const hostile::BitmapCase& c : hostile::BitmapCases())
            if (c.what == r.first) {
                Load(c.what, c.bytes, c.result, false);
                EXPECT_EQ(BackdropFailureText("a.bmp", c.result), std::string("Could not load the backdrop a.bmp: ") + r.second + ".");
            }
    EXPECT_EQ(ThermalMapFailureText("m.bmp", LoadCutShort), "Could not load the thermal map m.bmp: the file is shorter than its header says.");
    // A pixel buffer the process cannot have is an answer too, naming the picture's size.
    folder.Write("big.bmp", Bmp(100, 40, 24));
    refusedAbove = 10000;
    const int result = LoadBackdrop(folder.File("big.bmp").c_str());
    refusedAbove = SIZE_MAX;
    EXPECT_EQ(BackdropFailureText("b.bmp", result),
              "Could not load the backdrop b.bmp: its picture of 100 x 40 pixels needs 1 MB of memory, more than this program can have.");
    EXPECT_EQ(BackdropFailureText(std::string(100, 'n').c_str(), LoadCannotOpen),
              "Could not load the backdrop " + std::string(30, 'n') + "..." + std::string(31, 'n') + ": the file cannot be read.");
    // Pixels just past the 1 GiB bound, in a file that holds them all: refused before allocating.
    const std::string large = testdata::With(testdata::With(Bmp(1, 1, 24).substr(0, 54), 18, 4096), 22, 87382);
    Load("4096 x 87382 at 24 bits, whole file", large, LoadTooLarge, false, 54 + uintmax_t{12288} * 87382);
}

// Every cut of a valid file is refused, with nothing changed and nothing large allocated.
TEST_F(HostileInput, EveryTruncationIsRefused) {
    for (const std::string& whole : {Bmp(1, 1, 1), Bmp(9, 2, 4), Bmp(4, 2, 8), Bmp(5, 3, 24), Bmp(3, -2, 24),
                                     hostile::Bmp32(124, hostile::RedGreenBlue)})
        for (size_t length = 0; length < whole.size(); ++length)
            Load("cut at " + std::to_string(length) + " of " + std::to_string(whole.size()), whole.substr(0, length),
                 length < 2 ? LoadNotBitmap : LoadCutShort, length % 2 == 1);
}

// Every depth, widths 1 to 33, both row orders: the rows land top first as stored.
TEST_F(HostileInput, BitmapsOfEveryDepthWidthAndOrderLoadTheSamePixels) {
    for (int bits : {1, 4, 8, 24, 32})
        for (int width = 1; width <= 33; ++width) {
            for (int height : {3, -3}) {
                const std::string what = std::to_string(width) + " x " + std::to_string(height) + " at " + std::to_string(bits);
                Load(what, Bmp(width, height, bits), LoadOk, width % 2 == 0);
                ASSERT_EQ(std::make_tuple(backdropWidth, backdropHeight), std::make_tuple(width, 3)) << what;
                EXPECT_EQ(std::string(backdrop.pixels.begin(), backdrop.pixels.end()), Bmp(width, 3, bits, nullptr, true)) << what;
                EXPECT_EQ(backdrop.info.size(), bits >= 24 ? 44u : 40u + (4u << bits)) << what;
                EXPECT_EQ(backdrop.info[8] | backdrop.info[11] << 8, 0xFFFD) << what;  // height -3: top-down
            }
        }
    EXPECT_EQ(BitmapRowSize(INT64_MAX / 2, 24), -1);
}

void KeepBeforeRead() {
    ResetProject();
    CopyText(backdropName, BackdropNameSize, hostile::KeptName);
    CopyText(areaTopText, BoundTextSize, hostile::KeptTop);
    const hostile::ThermalFields& k = hostile::KeptThermal;
    thermals[0] = {k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], uint8_t(k[8]), k[9], k[10], k[11], k[12]};
    thermalCount = hostile::KeptCount;
}

TEST_F(HostileInput, ProjectFiles) {
    const std::string path = folder.File("hostile.prj");
    for (const hostile::ProjectCase& c : hostile::ProjectCases()) {
        folder.Write("hostile.prj", c.bytes);
        KeepBeforeRead();
        int leftOut = -1;
        EXPECT_EQ(ReadProject(path.c_str(), &leftOut), c.ok) << c.what;
        if (c.ok) { EXPECT_EQ(leftOut, c.leftOut) << c.what; }
        EXPECT_EQ(thermalCount, c.count) << c.what;
        EXPECT_EQ(backdropName, c.name) << c.what;
        EXPECT_EQ(areaTopText, c.top) << c.what;
        const Thermal& t = thermals[0];
        EXPECT_EQ((hostile::ThermalFields{t.lat, t.lon, t.type, t.bottom, t.top, t.radius, t.windDir, t.factor, t.cloudOn,
                                          t.cloudParam, t.cloudCeiling, t.cloudSize, t.cloudType}), c.first) << c.what;
        if (thermalCount > 0) { EXPECT_EQ(thermals[thermalCount - 1].lat, c.lastLat) << c.what; }
    }
    // Neither reading refuses a file after changing the project, opening one of its own included.
    folder.Write("long.prj", std::string(512, 'n') + "\n1,2\n");
    for (const std::string& unreadable : {folder.File(""), folder.File("missing.prj"), folder.File("long.prj")}) {
        KeepBeforeRead();
        EXPECT_FALSE(ReadProject(unreadable.c_str()));
        EXPECT_FALSE(ReadNewProject(unreadable.c_str()));
        EXPECT_EQ(std::make_tuple(std::string(backdropName), thermalCount), std::make_tuple(std::string(hostile::KeptName), 1));
    }
}

TEST_F(HostileInput, BoundTexts) {
    for (const hostile::BoundTextCase& c : hostile::BoundTextCases()) {
        char compact[CompactTextSize] = "kept";
        EXPECT_TRUE(CompactCoordinate(compact, c.text.c_str()));
        EXPECT_STREQ(compact, c.compact ? c.compact : "kept") << c.what;
        ResetProject(), ResetCompactTexts();
        CopyText(areaTopText, BoundTextSize, hostile::PreviousLatitudeText), CopyText(areaBottomText, BoundTextSize, "52:00.000N");
        CopyText(areaLeftText, BoundTextSize, hostile::PreviousLongitudeText), CopyText(areaRightText, BoundTextSize, "005:00.000E");
        RecomputeArea();
        ASSERT_EQ(std::make_pair(areaTop, areaLeft), std::make_pair(hostile::PreviousLatitude, hostile::PreviousLongitude));
        CopyText(c.latitude ? areaTopText : areaLeftText, BoundTextSize, c.text.c_str());
        RecomputeArea();
        EXPECT_EQ(c.latitude ? areaTop : areaLeft, c.value) << c.what;
        // A text that does not convert is put back to the bound it keeps.
        const char* kept = c.latitude ? hostile::PreviousLatitudeText : hostile::PreviousLongitudeText;
        if (!c.compact) { EXPECT_STREQ(c.latitude ? areaTopText : areaLeftText, kept) << c.what; }
    }
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

TEST_F(HostileInput, SetupRows) {
    const char* const texts[4] = {areaTopText, areaBottomText, areaLeftText, areaRightText};
    const int32_t* const values[4] = {&areaTop, &areaBottom, &areaLeft, &areaRight};
    for (const hostile::SetupRowCase& c : hostile::SetupRowCases()) {
        // As the dialog's OK: check the rows, then recompute the area from the composed texts.
        ResetProject(), ResetCompactTexts();
        FillRows(hostile::DefaultRows());
        ASSERT_EQ(CheckSetupRows(), 0);
        RecomputeArea();
        std::array<hostile::RowTexts, 4> typed = hostile::DefaultRows();
        for (const auto& row : c.rows) typed[row.first] = row.second;
        FillRows(typed);
        const int row = c.rows.front().first;
        EXPECT_EQ(CheckSetupRows(), c.error) << c.what;
        EXPECT_EQ(texts[row], c.bound) << c.what;
        RecomputeArea();
        EXPECT_EQ(*values[row], c.value) << c.what;
    }
    // The boxes' texts by error number; none past either end.
    const char* const errors[] = {"", "No entries at all...", "Both Top & Bottom are zero...", "Both Left & Right are zero...",
        "Top wrong direction...", "Bottom wrong direction...", "Left wrong direction...", "Right wrong direction...",
        "Top value out of range...", "Bottom value out of range...", "Left value out of range...", "Right value out of range...",
        "Top must lie north of bottom...", "Right must lie east of left...", ""};
    for (int n = 0; n <= 14; ++n) EXPECT_STREQ(SetupErrorText(n), errors[n]) << n;
    std::memset(setupRows[0].thouText, '9', 5);  // a row without its terminator is cut
    CheckSetupRows();
    EXPECT_STREQ(setupRows[0].thouText, "9999");
}

}  // namespace
