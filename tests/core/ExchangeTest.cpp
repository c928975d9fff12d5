// Thermals out and in: the exact lines of the CUP, GPX and KML writers, the GPX schema, the GPX and
// KML readers' cases, the round trip through each format, and the Statistics text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/TestData.h"
#include "model/Project.h"
#include "thermals/Hotspots.h"
#include "thermals/Statistics.h"
#include "thermals/ThermalExport.h"

namespace {

using testdata::SplitLines;

void SetTable(const std::vector<Thermal>& table) {
    ResetProject();
    for (const Thermal& t : table) thermals[thermalCount++] = t;
}

// Every hemisphere, with and without a cloud; 45.99999 N has the largest minutes (59.9994) and
// 0.00001 E the smallest that round up.
const std::vector<Thermal> Table = {
    {5212345, 512345, 4, 0, 1500, 500, 270, 0, 1, 0, 1500, 1000, 3},
    {-3387500, -15120417, 1, 200, 2500, 300, 0, 0, 0, 0, 0, 0, 0},
    {4599999, -99999, 2, -5, 900, 100, 0, 0, 0, 0, 0, 0, 0},
    {0, 1, 3, 0, 0, 0, 0, 0, 1, 0, 0, 0, 20},
};
const char* const Descriptions[] = {"Hotspot: lift type 4, 0-1500 m, radius 500 m, cloud type 3",
                                    "Hotspot: lift type 1, 200-2500 m, radius 300 m",
                                    "Hotspot: lift type 2, -5-900 m, radius 100 m",
                                    "Hotspot: lift type 3, 0-0 m, radius 0 m, cloud type 20"};

TEST(ExchangeTest, WritersGiveTheExactLinesOfEachFormat) {
    SetTable(Table);
    const std::string cup = ExportText(ExportFormat::Cup, "");
    EXPECT_EQ(cup, std::string("name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n") +
                       "\"T00001\",,,5207.407N,00507.407E,0m,1,,,,\"" + Descriptions[0] + "\"\r\n" +
                       "\"T00002\",,,3352.500S,15112.250W,200m,1,,,,\"" + Descriptions[1] + "\"\r\n" +
                       "\"T00003\",,,4559.999N,00059.999W,-5m,1,,,,\"" + Descriptions[2] + "\"\r\n" +
                       "\"T00004\",,,0000.000N,00000.001E,0m,1,,,,\"" + Descriptions[3] + "\"\r\n");

    const std::string gpx = ExportText(ExportFormat::Gpx, "");
    const char* const wpts[] = {"lat=\"52.12345\" lon=\"5.12345\"", "lat=\"-33.87500\" lon=\"-151.20417\"",
                                "lat=\"45.99999\" lon=\"-0.99999\"", "lat=\"0.00000\" lon=\"0.00001\""};
    const int elevations[] = {0, 200, -5, 0};
    std::string want = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                       "<gpx version=\"1.1\" creator=\"Ascendor\" xmlns=\"http://www.topografix.com/GPX/1/1\">\r\n";
    for (int i = 0; i < 4; ++i)
        want += std::string("  <wpt ") + wpts[i] + ">\r\n    <ele>" + std::to_string(elevations[i]) + "</ele>\r\n    <name>T0000" +
                std::to_string(i + 1) + "</name>\r\n    <desc>" + Descriptions[i] + "</desc>\r\n    <type>Hotspot</type>\r\n  </wpt>\r\n";
    EXPECT_EQ(gpx, want + "</gpx>\r\n");

    // KML: the document's name escaped, a style per type, and per thermal its point at the top and
    // a closed ring of 36 points at its radius around it.
    const std::vector<std::string> kml = SplitLines(ExportText(ExportFormat::Kml, "Alps & <Jura>"));
    EXPECT_EQ(kml[3], "  <name>Alps &amp; &lt;Jura&gt;</name>");
    EXPECT_EQ(kml[4], "  <Style id=\"lift1\"><LineStyle><color>ffffff00</color><width>2</width></LineStyle>"
                      "<PolyStyle><color>80ffff00</color></PolyStyle></Style>");
    EXPECT_EQ(kml[7].substr(0, 56), "  <Style id=\"lift4\"><LineStyle><color>ffff0000</color><w");
    EXPECT_EQ(kml[9], "    <name>T00001</name>");
    EXPECT_EQ(kml[10], std::string("    <description>") + Descriptions[0] + "</description>");
    EXPECT_EQ(kml[11], "    <styleUrl>#lift4</styleUrl>");
    EXPECT_EQ(kml[13], "      <Point><altitudeMode>absolute</altitudeMode><coordinates>5.12345,52.12345,1500</coordinates></Point>");
    const size_t start = kml[14].find("<coordinates>") + 13;
    std::vector<std::string> points;
    std::istringstream ring(kml[14].substr(start, kml[14].find("</coordinates>") - start));
    for (std::string point; ring >> point;) points.push_back(point);
    ASSERT_EQ(points.size(), 37u);
    EXPECT_EQ(points[0], "5.13077,52.12345,1500");  // 500 m east: 500 / (1.11321 cos 52.12345) units
    EXPECT_EQ(points[9], "5.12345,52.12795,1500");  // 500 m north: 500 / 1.1115 units
    EXPECT_EQ(points[36], points[0]);
    EXPECT_EQ(kml[14].substr(0, 48), "      <Polygon><extrude>1</extrude><altitudeMode");
    EXPECT_EQ(SplitLines(ExportText(ExportFormat::Kml, ""))[3], "  <name>Thermals</name>");
}

#ifdef GPX_SCHEMA
// The GPX against the GPX 1.1 schema, the KML as well-formed XML, by xmllint.
TEST(ExchangeTest, GpxMeetsItsSchemaAndKmlIsWellFormed) {
    SetTable(Table);
    testdata::Scratch folder;
    ASSERT_TRUE(WriteThermalExport(folder.File("t.gpx").c_str(), ExportFormat::Gpx, ""));
    ASSERT_TRUE(WriteThermalExport(folder.File("t.kml").c_str(), ExportFormat::Kml, "a&b"));
    EXPECT_EQ(std::system(("xmllint --noout --schema " GPX_SCHEMA " " + folder.File("t.gpx")).c_str()), 0);
    EXPECT_EQ(std::system(("xmllint --noout " + folder.File("t.kml")).c_str()), 0);
}
#endif

// Export, then import into a new project over the same area: the same positions, GPX and KML
// exactly, CUP within a thousandth of a minute (0.6 units, plus the import's rounding).
TEST(ExchangeTest, EachFormatRoundTrips) {
    std::vector<Thermal> table;
    for (int32_t i = 0; i < 2000; ++i)
        table.push_back({5200000 + (i * 7919) % 50000 * (i % 2 ? 1 : -1), 500000 + (i * 104729) % 99999 - 50000, i % 4 + 1,
                         0, 1000 + i, 300, 0, 0, uint8_t(i % 2), 0, 1500, 1000, 1});
    testdata::Scratch folder;
    for (const char* name : {"t.cup", "t.gpx", "t.kml"}) {
        SCOPED_TRACE(name);
        SetTable(table);
        ExportFormat format;
        ASSERT_TRUE(ExportFormatOfName(name, &format));
        ASSERT_TRUE(WriteThermalExport(folder.File(name).c_str(), format, "x"));
        ResetProject();
        areaTop = 5300000, areaBottom = 5100000, areaLeft = 400000, areaRight = 600000;
        HotspotImport result;
        ASSERT_TRUE(ImportHotspotFile(folder.File(name).c_str(), &result));
        ASSERT_EQ(thermalCount, 2000);
        EXPECT_EQ(result.notUnderstood, 0);
        const int tolerance = format == ExportFormat::Cup ? 1 : 0;
        for (int i = 0; i < thermalCount; ++i) {
            ASSERT_LE(std::abs(thermals[i].lat - table[i].lat), tolerance) << i;
            ASSERT_LE(std::abs(thermals[i].lon - table[i].lon), tolerance) << i;
        }
    }
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<std::pair<int32_t, int32_t>> imported;
    int notUnderstood, outside = 0;
};

const std::string Gpx = "<?xml version='1.0'?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
const std::string Kml = "<?xml version=\"1.0\"?><kml><Document><Placemark>";

// Each file is read by its extension; the area is 80 S to 80 N, 170 W to 170 E.
TEST(ExchangeTest, GpxAndKmlReadersTakeWaypointsAndPointsOnly) {
    const ReadCase cases[] = {
        {"g.gpx", "\xEF\xBB\xBF" + Gpx + "<wpt lon = '5.1' lat=\"52.123455\"/><wpt name='a>b' lat='-52.123455' lon='-0.000004999'>"
                  "<name>x</name></wpt><gpx:wpt lat=' +1.5 ' lon='2.'/></gpx>", {{5212346, 510000}, {-5212346, 0}, {150000, 200000}}, 0},
        {"g.GPX", Gpx + "<!-- a > <wpt lat='1' lon='1'/> --><desc><![CDATA[a] > <wpt lat='2' lon='2'/>]]></desc>"
                  "<!DOCTYPE gpx [<!ENTITY e \"<wpt lat='3' lon='3'/>\">]><rte><rtept lat='4' lon='4'/></rte>"
                  "<trk><trkseg><trkpt lat='5' lon='5'/></trkseg></trk>", {}, 0},
        {"g.gpx", Gpx + "<wpt lat='1'/><wpt lon='1'/><wpt lat='90.00001' lon='1'/><wpt lat='1' lon='-180.1'/><wpt lat='x' lon='1'/>"
                  "<wpt lat='1' lon='1 2'/><wpt lat='' lon='1'/><wpt lat='85' lon='180'/><wpt lat=\"1' lon='1'/><wpt lat='1' lon='1'", {}, 8, 1},
        {"g.gpx", "name,code,country,lat,lon\nHill,H,NL,5147.809N,00405.003E\n", {}, 0},
        {"k.kml", Kml + "<MultiGeometry><Point><coordinates>\n  5.1 , 52.1,1500 6,53</coordinates></Point>"
                  "<kml:Point><coordinates><![CDATA[-5.000005,-52]]></coordinates><coordinates>1,1</coordinates></kml:Point>"
                  "<Point><coordinates>7,<!-- > -->53</coordinates></Point></MultiGeometry>",
         {{5210000, 510000}, {-5200000, -500001}, {5300000, 700000}}, 0},
        {"k.KML", Kml + "<LineString><coordinates>1,1 2,2</coordinates></LineString><Polygon><outerBoundaryIs><LinearRing>"
                  "<coordinates>1,1 2,2 1,1</coordinates></LinearRing></outerBoundaryIs></Polygon><!-- > <Point><coordinates>1,1"
                  "</coordinates></Point> -->", {}, 0},
        {"k.kml", Kml + "<Point/><Point></Point><Point><coordinates>5.1</coordinates></Point><Point><coordinates>5.1 52"
                  "</coordinates></Point><Point><coordinates>5,91</coordinates></Point><Point><coordinates>181,5</coordinates>"
                  "</Point><Point><coordinates>5x,5</coordinates></Point><Point><coordinates>175,5</coordinates></Point>"
                  "<Point><coordinates>1,2", {}, 8, 1},
    };
    testdata::Scratch folder;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.bytes);
        ResetProject();
        areaTop = 8000000, areaBottom = -8000000, areaLeft = -17000000, areaRight = 17000000;
        folder.Write(c.name, c.bytes);
        HotspotImport result;
        ASSERT_TRUE(ImportHotspotFile(folder.File(c.name).c_str(), &result));
        std::vector<std::pair<int32_t, int32_t>> got;
        for (int32_t i = 0; i < thermalCount; ++i) got.emplace_back(thermals[i].lat, thermals[i].lon);
        EXPECT_EQ(got, c.imported);
        EXPECT_EQ(result.notUnderstood, c.notUnderstood);
        EXPECT_EQ(result.outside, c.outside);
        EXPECT_EQ(result.source, c.name[0] == 'g' ? HotspotSource::Gpx : HotspotSource::Kml);
    }
}

TEST(ExchangeTest, StatisticsCountEveryThermal) {
    struct Case {
        std::vector<Thermal> table;
        const char* text;
    } cases[] = {
        {{}, "0 thermals: 0 inside the area, 0 outside\nLift type 1: 0, type 2: 0, type 3: 0, type 4: 0\nWith a cloud: 0\n"
             "Inside the area: 0.0 per 100 square km"},
        {{{5200000, 500000, 1, 0, 1000, 0, 0, 0, 1, 0, 0, 0, 1}, {5210000, 510000, 4, 0, 1501, 0, 0, 0, 0, 0, 0, 0, 1},
          {5300000, 500000, 7, 0, -2, 0, 0, 0, 1, 0, 0, 0, 1}, {5205000, 505000, 4, 0, 1500, 0, 0, 0, 0, 0, 0, 0, 1}},
         "4 thermals: 3 inside the area, 1 outside\nLift type 1: 1, type 2: 0, type 3: 0, type 4: 2, other: 1\n"
         "With a cloud: 2\nTops from -2 to 1501 m, mean 1000 m\nInside the area: 3.9 per 100 square km"},
        {{{5200000, 500000, 1, 0, -3, 0, 0, 0, 0, 0, 0, 0, 1}, {5200000, 500000, 2, 0, -2, 0, 0, 0, 0, 0, 0, 0, 1}},
         "2 thermals: 2 inside the area, 0 outside\nLift type 1: 1, type 2: 1, type 3: 0, type 4: 0\n"
         "With a cloud: 0\nTops from -3 to -2 m, mean -3 m\nInside the area: 2.6 per 100 square km"},
    };
    for (const Case& c : cases) {
        SetTable(c.table);
        areaTop = 5210000, areaBottom = 5200000, areaLeft = 500000, areaRight = 510000;
        EXPECT_EQ(StatisticsText(), c.text);
    }
}

}  // namespace
