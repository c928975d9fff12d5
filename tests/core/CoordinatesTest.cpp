// Bound texts to numbers and back, the stretch of the area by the markers, and world files.
#include "core/TestData.h"
#include "model/Coordinates.h"
#include "model/Project.h"
#include "model/WorldFile.h"

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

// World files to the four edges as bound texts (top, bottom, left, right), or the reason they
// cannot be used (a rotated picture is the Setup dialog test's).
TEST(Coordinates, WorldFilesGiveThePicturesEdgesOrAReason) {
    const struct { std::string text; int32_t width, height; const char* edges; } cases[] = {
        // Both hemispheres of each axis, 0 north and east; exponents, CR LF, blanks and a blank line.
        {"  5E-1 \r\n0\r\n\r\n+0.0\r\n-2.5e-1\t\r\n-10.25\r\n-0.125", 21, 8, "00:00.000N 02:00.000S 010:30.000W 000:00.000E"},
        // Edges of +-0.046875 degrees are 2812.5 thousandths: rounded away from zero both ways.
        {"0.0078125\n0\n0\n-0.0078125\n-0.04296875\n0.04296875\n", 12, 12, "00:02.813N 00:02.813S 000:02.813W 000:02.813E"},
        {"0.5\r0\r0\r-0.5\r-10.25\r50.25\r", 4, 4, "50:30.000N 48:30.000N 010:30.000W 008:30.000W"},  // lone CR line ends
        // A pixel is not a whole number of thousandths: the right edge is 329999.88 of them.
        {"8.3333E-04\n0\n0\n-8.3333E-04\n5.000416665\n52.999583335\n", 600, 300, "53:00.000N 52:45.000N 005:00.000E 005:30.000E"},
        // The whole world, each edge a hair beyond its limit before rounding.
        {"0.0666666667\n0\n0\n-0.0666666667\n-179.9666666667\n89.9666666667\n", 5400, 2700, "90:00.000N 90:00.000S 180:00.000W 180:00.000E"},
        {"1\n0\n0\n-1\n0\n", 4, 4, "it does not hold six numbers"},
        {"1\n0\n0\n-1\n0\n0\n0\n", 4, 4, "it does not hold six numbers"},
        {"8.3333E-04 deg\n0\n0\n-1\n0\n0\n", 4, 4, "it does not hold six numbers"},
        {std::string("1\n0\n0\n-1\n0\n0\0\n", 13), 4, 4, "it does not hold six numbers"},
        {"1\n0\n0\n1\n0\n0\n", 4, 4, "the picture is mirrored in it"},
        {"0.5\n0\n0\n-0.5\n0.25\n90.25\n", 4, 4, "its numbers are not degrees of latitude and longitude (a projected map?)"},
        {"0.5\n0\n0\n-0.5\n179.25\n0.25\n", 4, 4, "its numbers are not degrees of latitude and longitude (a projected map?)"},
    };
    testdata::Scratch folder;
    for (const auto& c : cases) {
        ASSERT_TRUE(folder.Write("w.bpw", c.text));
        WorldEdges e;
        const int result = ReadWorldFile(folder.File("w.bpw").c_str(), c.width, c.height, &e);
        std::string shown = WorldFileReason(result);
        char text[4][BoundTextSize];
        EdgeToText(text[0], BoundTextSize, e.top, true), EdgeToText(text[1], BoundTextSize, e.bottom, true);
        EdgeToText(text[2], BoundTextSize, e.left, false), EdgeToText(text[3], BoundTextSize, e.right, false);
        if (result == WorldFileOk) shown = std::string(text[0]) + " " + text[1] + " " + text[2] + " " + text[3];
        EXPECT_EQ(shown, c.edges) << c.text;
    }
    // Beside a picture, .bpw before .bmpw before .wld.
    char found[512];
    const char* title = nullptr;
    for (const char* name : {"p.wld", "p.bmpw", "p.bpw"}) {
        ASSERT_TRUE(folder.Write(name, ""));
        ASSERT_TRUE(FindWorldFile(folder.File("p.bmp").c_str(), found, sizeof found, &title));
        EXPECT_EQ(std::string(title), name);
    }
}

}  // namespace
