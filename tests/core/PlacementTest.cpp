// Placing and removing thermals by hand, and clearing them.
#include <gtest/gtest.h>

#include <cstring>

#include "map/Geometry.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "thermals/Clearing.h"
#include "thermals/Manual.h"

namespace {

Thermal At(int32_t lat, int32_t lon, int32_t tag = 0) {
    Thermal t{};
    t.lat = lat;
    t.lon = lon;
    t.type = 1 + tag % 4;
    t.top = 1000 + tag;
    t.cloudOn = 1;
    t.cloudCeiling = 2000 + tag;
    t.cloudSize = 300 + tag;
    t.cloudType = 11 + tag;
    return t;
}

bool Same(const Thermal& a, const Thermal& b) {
    return a.lat == b.lat && a.lon == b.lon && a.type == b.type && a.bottom == b.bottom &&
           a.top == b.top && a.radius == b.radius && a.windDir == b.windDir &&
           a.factor == b.factor && a.cloudOn == b.cloudOn && a.cloudParam == b.cloudParam &&
           a.cloudCeiling == b.cloudCeiling && a.cloudSize == b.cloudSize &&
           a.cloudType == b.cloudType;
}

class PlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProject();
        ResetManualSettings();
        ResetSelection();
        pointerLat = pointerLon = 0;
        latSpan = 0;
    }
    void TearDown() override { SetUp(); }
};

TEST_F(PlacementTest, AddTakesTheSettings) {
    pointerLat = 5212345;
    pointerLon = 512345;
    uint32_t edits = tableEdits;
    ASSERT_TRUE(AddManualThermal());
    const Thermal& t = thermals[0];
    EXPECT_EQ(thermalCount, 1);
    EXPECT_NE(tableEdits, edits);
    EXPECT_EQ(t.lat, 5212345);
    EXPECT_EQ(t.lon, 512345);
    EXPECT_EQ(t.type, 4);
    EXPECT_EQ(t.bottom, 0);
    EXPECT_EQ(t.top, 1500);
    EXPECT_EQ(t.radius, 500);
    EXPECT_EQ(t.windDir, 270);
    EXPECT_EQ(t.factor, 0);
    EXPECT_EQ(t.cloudOn, 1);
    EXPECT_EQ(t.cloudParam, 0);
    EXPECT_EQ(t.cloudCeiling, 1500);
    EXPECT_EQ(t.cloudSize, 1000);
    EXPECT_EQ(t.cloudType, 1);

    const struct {
        const char* text;
        int32_t number;
    } texts[] = {{"12abc", 12}, {"abc", 0}, {"", 0}, {"-5", -5}, {" +7", 7}};
    for (const auto& c : texts) {
        CopyText(manualSettings.bottom, ManualTextSize, c.text);
        CopyText(manualSettings.cloudRadius, ManualTextSize, c.text);
        ASSERT_TRUE(AddManualThermal());
        EXPECT_EQ(thermals[thermalCount - 1].bottom, c.number) << c.text;
        EXPECT_EQ(thermals[thermalCount - 1].cloudSize, 2 * c.number) << c.text;
    }

    thermalCount = MaxThermals;
    edits = tableEdits;
    EXPECT_FALSE(AddManualThermal());
    EXPECT_EQ(thermalCount, MaxThermals);
    EXPECT_EQ(tableEdits, edits);
}

TEST_F(PlacementTest, DeleteTakesTheFirstHitStrictlyInside) {
    const struct {
        int32_t latSpan, pointerLat, pointerLon;
        int removed;  // index, -1 for none
    } cases[] = {
        {20000, 1040, 1040, 0},   // inside both 0 and 1: the first in the table
        {20000, 1100, 1000, 1},   // on the edge of 0's box, inside 1's
        {20000, 5000, 5100, -1},  // on the edge of 2's box
        {199, 5000, 5000, -1},    // tolerance 0: not even the centre
        {-20000, 1000, 1000, -1},
        {20000, 0, INT32_MAX - 10, 3},  // near the top of the range: no wrap
    };
    const Thermal table[4] = {At(1000, 1000, 0), At(1050, 1050, 1), At(5000, 5000, 2),
                              At(0, INT32_MAX, 3)};
    for (const auto& c : cases) {
        std::memcpy(thermals, table, sizeof table);
        thermalCount = 4;
        latSpan = c.latSpan;
        pointerLat = c.pointerLat;
        pointerLon = c.pointerLon;
        EXPECT_EQ(DeleteThermalAt(), c.removed >= 0) << c.pointerLat << "," << c.pointerLon;
        if (c.removed < 0) {
            EXPECT_EQ(thermalCount, 4);
            continue;
        }
        ASSERT_EQ(thermalCount, 3);
        for (int i = 0, from = 0; i < 3; ++i, ++from) {
            if (from == c.removed) ++from;
            EXPECT_TRUE(Same(thermals[i], table[from])) << "record " << i;
        }
    }
}

TEST_F(PlacementTest, ClearingKeepsTheOthersWhole) {
    selNorth = 2000;
    selSouth = 1000;
    selWest = 1000;
    selEast = 2000;
    selStartX = selEndX = 9;
    const Thermal table[7] = {At(2000, 1500, 0),   // on the north edge
                              At(1500, 1500, 1),   // inside
                              At(1001, 1999, 2),   // inside
                              At(1500, 1000, 3),   // on the west edge
                              At(1000, 1500, 4),   // on the south edge
                              At(1500, 2000, 5),   // on the east edge
                              At(3000, 3000, 6)};  // outside
    std::memcpy(thermals, table, sizeof table);
    thermalCount = 7;
    uint32_t edits = tableEdits;
    EXPECT_TRUE(ClearThermalsInSelection());
    ASSERT_EQ(thermalCount, 5);
    const int kept[5] = {0, 3, 4, 5, 6};
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Same(thermals[i], table[kept[i]])) << i;
    EXPECT_TRUE(Same(thermals[5], Thermal{}));
    EXPECT_EQ(selStartX, 0);
    EXPECT_EQ(selEndX, 0);
    EXPECT_NE(tableEdits, edits);

    EXPECT_TRUE(ClearThermalsInSelection());  // nothing inside any more: still true
    EXPECT_EQ(thermalCount, 5);

    edits = tableEdits;
    ClearAllRecords();
    EXPECT_EQ(thermalCount, 0);
    EXPECT_NE(tableEdits, edits);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Same(thermals[i], Thermal{})) << i;
}

}  // namespace
