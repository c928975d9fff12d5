// Placing and removing thermals by hand (clearing is checked against the model in HistoryTest).
#include <gtest/gtest.h>

#include "core/TestData.h"

#include <cstring>

#include "map/Geometry.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "thermals/Manual.h"

namespace {

Thermal At(int32_t lat, int32_t lon, int32_t tag) {
    return Thermal{lat, lon, 1 + tag % 4, 0, 1000 + tag, 0, 0, 0, 1, 0, 2000 + tag, 300 + tag,
                   11 + tag};
}

class PlacementTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProject(), ResetManualSettings(), ResetSelection(), latSpan = 0; }
    void TearDown() override { SetUp(); }
};

TEST_F(PlacementTest, AddTakesTheSettings) {
    pointerLat = 5212345, pointerLon = 512345;
    ASSERT_TRUE(AddManualThermal());
    EXPECT_EQ(testdata::ThermalLine(thermals[0]), "5212345,512345,4,0,1500,500,270,0,1,0,1500,1000,1");
    // Texts read as leading numbers; the cloud's size is twice its radius. (A full table, and the
    // count of table changes, are the map test's and the history model's.)
    const struct { const char* text; int32_t number; } texts[] = {{"12abc", 12}, {"abc", 0}, {"", 0}, {"-5", -5}, {" +7", 7}};
    for (const auto& c : texts) {
        CopyText(manualSettings.bottom, ManualTextSize, c.text);
        CopyText(manualSettings.cloudRadius, ManualTextSize, c.text);
        ASSERT_TRUE(AddManualThermal());
        EXPECT_EQ(std::make_pair(thermals[thermalCount - 1].bottom, thermals[thermalCount - 1].cloudSize),
                  std::make_pair(c.number, 2 * c.number)) << c.text;
    }
}

TEST_F(PlacementTest, DeleteTakesTheFirstHitStrictlyInside) {
    const Thermal table[4] = {At(1000, 1000, 0), At(1050, 1050, 1), At(5000, 5000, 2),
                              At(0, INT32_MAX, 3)};
    const struct { int32_t latSpan, lat, lon; int removed; } cases[] = {
        {20000, 1040, 1040, 0},         // inside the boxes of 0 and 1: the first
        {20000, 1100, 1000, 1},         // on the north edge of 0's box, inside 1's
        {20000, 5000, 5100, -1},        // on the east edge of 2's box, then west and south
        {20000, 5000, 4900, -1},
        {20000, 4900, 5000, -1},
        {199, 5000, 5000, -1},          // tolerance 0: not even the centre
        {20000, 0, INT32_MAX - 10, 3},  // the box does not wrap at the end of the range
    };
    for (const auto& c : cases) {
        std::memcpy(thermals, table, sizeof table);
        thermalCount = 4, latSpan = c.latSpan, pointerLat = c.lat, pointerLon = c.lon;
        EXPECT_EQ(DeleteThermalAt(), c.removed >= 0) << c.lat << "," << c.lon;
        EXPECT_EQ(thermalCount, c.removed >= 0 ? 3 : 4);
        for (int i = 0; i < thermalCount; ++i)
            EXPECT_EQ(testdata::ThermalLine(thermals[i]), testdata::ThermalLine(table[c.removed >= 0 && i >= c.removed ? i + 1 : i]));
    }
}

// The Thermal dialog's OK: a text as shown keeps the record's value (a long one, an odd cloud size);
// one typed is read as Set reads it. Only a changed record is a change.
TEST_F(PlacementTest, EditReadsTypedTextsAsSetDoesAndKeepsWhatItShows) {
    const Thermal original{5200000, 500000, 3, 123456, 1500, 500, 270, 7, 1, 9, 1500, 1001, 1};
    const struct { int field; const char* typed; const char* line; } edits[] = {
        {0, "123456", "5200000,500000,3,123456,1500,500,270,7,1,9,1500,1001,1"},
        {0, "1234567", "5200000,500000,3,12345,1500,500,270,7,1,9,1500,1001,1"},
        {1, "25ab", "5200000,500000,3,123456,25,500,270,7,1,9,1500,1001,1"},
        {6, "600", "5200000,500000,3,123456,1500,500,270,7,1,9,1500,1200,1"},
        {7, "", "5200000,500000,3,123456,1500,500,270,7,1,9,1500,1001,0"},
    };
    for (const auto& c : edits) {
        thermals[0] = original, thermalCount = 1;
        ThermalTexts typed = TextsOf(original);
        CopyText(typed.text[c.field], ThermalTextSize, c.typed);
        EXPECT_EQ(ReplaceThermal(0, EditedThermal(original, typed, 3, 1)), c.line != testdata::ThermalLine(original)) << c.typed;
        EXPECT_EQ(testdata::ThermalLine(thermals[0]), c.line) << c.typed;
    }
}

}  // namespace
