// Bound texts to numbers and back, and the stretch of the area by the markers.
#include "model/Coordinates.h"
#include "model/Project.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

TEST(Coordinates, NumberToTextAndRow) {
    struct Case { int32_t value; bool latitude; const char* text; const char* row; };
    const Case cases[] = {
        {5250000, true, "52:30.000N", "52 30 000 N"}, {0, true, "00:00.000S", "00 00 000 S"},
        {0, false, "000:00.000W", "000 00 000 W"},    {5250833, true, "52:30.500N", "52 30 499 N"},
        {-1, true, "00:00.001S", "00 00 000 S"},
        // 60 minutes carry into the degrees, or the text would read back a hundredfold.
        {5299999, true, "53:00.000N", "52 59 999 N"},
        {INT32_MIN, false, "21474:50.189W", "214 50 189 W"},
    };
    for (const Case& c : cases) {
        char text[BoundTextSize];
        CoordinateToText(text, sizeof text, c.value, c.latitude);
        EXPECT_STREQ(text, c.text) << c.value;
        SetupRow r{};
        CoordinateToRow(r, c.value, c.latitude);
        EXPECT_EQ(std::string(r.degText) + " " + r.minText + " " + r.thouText + " " + r.hemiText, c.row) << c.value;
    }
}

TEST(Coordinates, MarkersStretchTheAreaOverTheBackdrop) {
    const struct {
        int32_t width, height, left, right, top, bottom, north, south, west, east; double lonPerPx, latPerPx; const char* texts;
    } cases[] = {
        // Markers at different distances from opposite edges: swapping them, or taking one edge's
        // bound from the other's marker, shows.
        {1000, 800, 100, 400, 100, 300, 5325000, 5125000, 360000, 760000, 400.0, 250.0,
         "53:15.000N 51:15.000N 003:36.000E 007:36.000E"},
        // Without a backdrop, or with markers that leave no room, nothing is stretched.
        {0, 0, 100, 100, 100, 100, 5300000, 5200000, 400000, 600000, 0.0, 0.0, "53:00.000N 52:00.000N 004:00.000E 006:00.000E"},
        {1000, 800, 600, 400, 500, 400, 5300000, 5200000, 400000, 600000, 200.0, 125.0, "53:00.000N 52:00.000N 004:00.000E 006:00.000E"},
        {1000, 800, INT32_MAX, INT32_MAX, 1, INT32_MAX, 5300000, 5200000, 400000, 600000, 200.0, 125.0,
         "53:00.000N 52:00.000N 004:00.000E 006:00.000E"},
    };
    for (const auto& c : cases) {
        ResetProject();
        std::strcpy(areaTopText, "53:00.000N"), std::strcpy(areaBottomText, "52:00.000N");
        std::strcpy(areaLeftText, "004:00.000E"), std::strcpy(areaRightText, "006:00.000E");
        backdropWidth = c.width, backdropHeight = c.height;
        markers[MarkerLeft].x = c.left, markers[MarkerRight].x = c.right, markers[MarkerTop].y = c.top, markers[MarkerBottom].y = c.bottom;
        RecomputeArea();
        EXPECT_EQ(std::vector<int32_t>({areaTop, areaBottom, areaLeft, areaRight, latSpan, lonSpan}),
                  std::vector<int32_t>({c.north, c.south, c.west, c.east, c.north - c.south, c.east - c.west})) << c.left;
        EXPECT_EQ(std::make_pair(lonPerPixel, latPerPixel), std::make_pair(c.lonPerPx, c.latPerPx)) << c.left;
        EXPECT_EQ(std::string(areaTopText) + " " + areaBottomText + " " + areaLeftText + " " + areaRightText, c.texts) << c.left;
        EXPECT_EQ(markers[MarkerLeft].x | markers[MarkerRight].x | markers[MarkerTop].y | markers[MarkerBottom].y, 0);  // used up
    }
}

// Number to text to number is a fixed point within one unit, next to every whole degree.
TEST(Coordinates, TextRoundTripIsAFixedPoint) {
    for (bool latitude : {true, false}) {
        const int limit = latitude ? 90 : 180;
        for (int d = -limit; d <= limit; ++d) {
            const int32_t value = d * 100000 - 1;
            char text[BoundTextSize], again[BoundTextSize], compact[CompactTextSize] = "";
            CoordinateToText(text, sizeof text, value, latitude);
            CompactCoordinate(compact, text);
            const int32_t back = CompactToNumber(compact, latitude ? 'N' : 'E');
            EXPECT_LE(std::abs(int64_t{back} - value), 1) << text;
            CoordinateToText(again, sizeof again, back, latitude);
            EXPECT_STREQ(again, text) << value;
        }
    }
}

}  // namespace
