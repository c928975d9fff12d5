// Reading waypoint files (CUP) into the thermal table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TestData.h"
#include "model/Project.h"
#include "thermals/Hotspots.h"

namespace {

using Positions = std::vector<std::pair<int32_t, int32_t>>;

// The counts of the import's answer; the table before holds startCount records: 50:00N 5:00E, then 0:00N 0:00E.
struct Case {
    const char* name;
    std::string bytes;
    Positions imported;
    int alreadyThere, outside, notUnderstood;
    int32_t startCount = 1;
};

const std::string Hill = "Hill,H,NL,5147.809N,00405.003E,12m,1\r\n";
const std::pair<int32_t, int32_t> HillAt{5179682, 408338};
// A waypoint line of exactly n characters before its line end.
std::string LineOf(size_t n) { return Hill.substr(0, 31) + std::string(n - 31, 'd') + "\n"; }

TEST(HotspotsTest, ReadsWaypointFiles) {
    const Case cases[] = {
        {"header with extra columns in another order",
         "code,Lon,name,rwwidth,LAT,elev,userdata,pics\r\nH,00405.003E,Hill,,5147.809N,1m,,\r\n", {HillAt}, 0, 0, 0},
        {"Latitude and Longitude header", "Title,Code,Country,Latitude,Longitude\n" + Hill, {HillAt}, 0, 0, 0},
        {"no header; blank lines skipped uncounted", "\r\n" + Hill + "  \t\n" + Hill, {HillAt}, 1, 0, 0},
        {"quoted names with commas and doubled quotes, quoted positions",
         "\"Hill, \"\"North\"\"\",H,NL, \"5147.809N\" ,\"00405.003E\",\"a,b\"\n", {HillAt}, 0, 0, 0},
        {"S and W, lower-case hemispheres", "a,b,c,3352.500s,15112.250w\na,b,c,3352.500S,15112.250W\n",
         {{-3387500, -15120417}}, 1, 0, 0},
        {"decimals: none, one, many, a half rounded away from zero",
         "a,,,5147N,00405.003E\na,,,5147.8N,00405.003E\na,,,5147.80912345678901234N,00405.003E\n"
         "a,,,0000.0003N,00000.00029E\na,,,0000.0003S,00000.00029W\n",
         {{5178333, 408338}, {5179667, 408338}, HillAt, {1, 0}, {-1, 0}}, 0, 0, 0},
        {"minutes of 60, beyond 90 and 180 degrees, bad shapes",
         "a,,,5160.000N,00405.003E\na,,,9000.001N,00405.003E\na,,,5147.809N,18000.001E\n"
         "a,,,514.809N,00405.003E\na,,,5147.809X,00405.003E\na,,,5147.809N\nname,code\n",
         {}, 0, 0, 7},
        {"the area's edges count", "a,,,9000.000N,18000.000E\na,,,8900.000S,18000.000W\na,,,8900.000N,18000.000E\n",
         {{-8900000, -18000000}, {8900000, 18000000}}, 0, 1, 0},
        {"at a thermal already there", "a,,,5000.000N,00500.000E\n", {}, 1, 0, 0},
        {"Related Tasks ends the waypoints",
         Hill + "  -----related TASKS-----  \r\nTask,a,,,5200.000N,00500.000E\na,,,5200.000N,00500.000E\n", {HillAt}, 0, 0, 0},
        {"CR LF and LF mixed, last line without an end",
         "a,,,5210.000N,00510.000E\r\na,,,5210.000N,00510.000E\n" + Hill.substr(0, Hill.size() - 2),
         {{5216667, 516667}, HillAt}, 1, 0, 0},
        {"lone CR ends a line", "a,,,5210.000N,00510.000E\ra,,,5210.000N,00510.000E\r" + Hill, {{5216667, 516667}, HillAt}, 1, 0, 0},
        {"lone CR: each line keeps its first character", "lat,lon\r5210.000N,00510.000E\r5147.809N,00405.003E\r",
         {{5216667, 516667}, HillAt}, 0, 0, 0},
        {"Ctrl-Z ends the text, inside a line too", Hill + "a,,,5210.000N,005\x1a" "10.000E\n" + Hill, {HillAt}, 0, 0, 1},
        {"byte-order mark before the header", "\xEF\xBB\xBFname,code,country,lon,lat\nH,,,00405.003E,5147.809N\n", {HillAt}, 0, 0, 0},
        {"unclosed quote", "\"Hill,H,NL,5147.809N,00405.003E\nHill,H,NL,5147.809N,00405.003E,\"x\n", {}, 0, 0, 2},
        {"4096 characters kept, 4097 and 5000 not", LineOf(5000) + LineOf(4097) + LineOf(4096), {HillAt}, 0, 0, 2},
        {"empty file", "", {}, 0, 0, 0},
        {"full table: stops at the waypoint without room, the rest uncounted",
         "a,,,0000.000N,00000.000E\n" + Hill + "a,,,5210.000N,00510.000E\nx\n", {HillAt}, 1, 0, 0,
         MaxThermals - 1},
    };
    testdata::Scratch folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProject();
        areaTop = 8900000, areaBottom = -8900000, areaLeft = -18000000, areaRight = 18000000;
        thermalCount = c.startCount;
        thermals[0].lat = 5000000, thermals[0].lon = 500000;
        folder.Write("hotspots.cup", c.bytes);
        HotspotImport result;
        ASSERT_TRUE(ImportHotspotFile(folder.File("hotspots.cup").c_str(), &result));
        EXPECT_EQ(result.firstIndex, c.startCount);
        Positions got;
        for (int32_t i = c.startCount; i < thermalCount; ++i) got.emplace_back(thermals[i].lat, thermals[i].lon);
        EXPECT_EQ(got, c.imported);
        EXPECT_EQ(std::vector<int>({result.imported, result.alreadyThere, result.outside, result.notUnderstood, result.tableFull}),
                  std::vector<int>({int(c.imported.size()), c.alreadyThere, c.outside, c.notUnderstood, c.startCount == MaxThermals - 1}));
    }
    HotspotImport result;
    EXPECT_FALSE(ImportHotspotFile(folder.File("missing.cup").c_str(), &result));
}

}  // namespace
