// Writes a seed corpus for each fuzz target: fuzz_seeds DIR makes DIR/bitmap, DIR/project,
// DIR/coordinates, DIR/setup, DIR/hotspots, DIR/gpx, DIR/kml, DIR/worldfile and DIR/flightlog, with ordinary examples and every
// case of the hostile catalogue that the unit tests check.
#include <array>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <sys/stat.h>

#include "core/HostileCatalogue.h"

namespace {

class SeedFolder {
public:
    explicit SeedFolder(std::string path) : path_(std::move(path)) { mkdir(path_.c_str(), 0755); }
    bool Put(const std::string& bytes) {
        const std::string name = path_ + "/seed" + std::to_string(count_++);
        FILE* file = std::fopen(name.c_str(), "wb");
        if (file == nullptr) return false;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && ok;
    }
private:
    std::string path_;
    int count_ = 0;
};

// The coordinate target reads texts as a length byte and the characters.
std::string Text(const std::string& text) {
    return std::string(1, static_cast<char>(text.size())) + text;
}

// ... and numbers as four bytes, most significant first.
std::string Number(uint32_t value) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
    return out;
}

// One text for the compact form, then the four bounds with the text in its place, a backdrop of
// 1000 x 800 and no markers.
std::string CoordinateSeed(const std::string& text, bool latitude) {
    std::string seed = Text(text);
    seed += Text(latitude ? text : hostile::PreviousLatitudeText) + Text("52:00.000N");
    seed += Text(latitude ? hostile::PreviousLongitudeText : text) + Text("005:00.000E");
    seed += Number(1000) + Number(800) + std::string(32, '\0');
    return seed;
}

// The Setup target reads sixteen texts, row by row, each as a length byte and the characters.
std::string SetupSeed(const std::array<hostile::RowTexts, 4>& rows) {
    std::string seed;
    for (const hostile::RowTexts& r : rows)
        for (const std::string* t : {&r.deg, &r.min, &r.thou, &r.hemi}) seed += Text(*t);
    return seed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    const std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    bool ok = true;

    SeedFolder bitmaps(root + "/bitmap");
    for (const std::string& b : {hostile::Bmp(5, 3, 24), hostile::Bmp(5, -3, 24),
                                 hostile::Bmp(9, 2, 4), hostile::Bmp(33, 2, 1),
                                 hostile::Bmp(5, 2, 8)})
        ok &= bitmaps.Put(b);
    for (const hostile::BitmapCase& c : hostile::BitmapCases()) ok &= bitmaps.Put(c.bytes);

    SeedFolder projects(root + "/project");
    const std::string& header = hostile::ProjectHeader();
    ok &= projects.Put(header);
    ok &= projects.Put(header + "5250833,525833,1,0,1500,500,270,0,1,0,1500,1000,1\r\n"
                                "5260833,535833,4,0,1500,500,0,0,0,0,0,0,0\r\n");
    for (const hostile::ProjectCase& c : hostile::ProjectCases()) ok &= projects.Put(c.bytes);

    SeedFolder coordinates(root + "/coordinates");
    for (const char* t : {"52:30.500N", "90:00.000S", "48:07.123S"})
        ok &= coordinates.Put(CoordinateSeed(t, true));
    for (const char* t : {"004:53.000E", "180:00.000W"})
        ok &= coordinates.Put(CoordinateSeed(t, false));
    for (const hostile::BoundTextCase& c : hostile::BoundTextCases())
        ok &= coordinates.Put(CoordinateSeed(c.text, c.latitude));

    SeedFolder setup(root + "/setup");
    ok &= setup.Put(SetupSeed(hostile::DefaultRows()));
    ok &= setup.Put(std::string(64, '\0'));
    for (const hostile::SetupRowCase& c : hostile::SetupRowCases()) {
        std::array<hostile::RowTexts, 4> rows = hostile::DefaultRows();
        for (const auto& row : c.rows) rows[row.first] = row.second;
        ok &= setup.Put(SetupSeed(rows));
    }

    SeedFolder hotspots(root + "/hotspots");
    const std::string waypoints =
        "\"Dune, \"\"west\"\"\",D1,NL,5215.000N,00445.000E,5m,1,,,,\r\n"
        "Lake,L1,NL,\"5225.5N\",00520.250e,0m,1,,,,\"a, b\"\r\n"
        "South,S1,AU,3352.500S,15112.25W,0m,1,,,,\n"
        "Broken,\"B1,NL,5215.000N,00445.000E\n";
    for (const std::string& s :
         {"name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n" + waypoints,
          std::string("\xEF\xBB\xBFTitle,Code,Latitude,Longitude\na,b,5147.809N,00405.003E\n"),
          std::string("code,lon,name,rwwidth,LAT,pics\r\nH,00405.003E,Hill,,5147.809N,\r\n"),
          waypoints + "-----Related Tasks-----\r\nTask,a,,5200.000N,00500.000E\r\n",
          "!" + waypoints + waypoints, std::string()})
        ok &= hotspots.Put(s);

    SeedFolder gpx(root + "/gpx");
    const std::string wpts = "<wpt lat=\"52.25\" lon=\"4.75\"><name>a</name></wpt><wpt lon='5.1' lat='-33.5'/>"
                             "<!-- <wpt lat='1' lon='1'/> --><desc><![CDATA[<wpt lat='2' lon='2'/>]]></desc>"
                             "<rte><rtept lat='4' lon='4'/></rte><wpt lat='91' lon='1'/><wpt lat='1'/>";
    for (const std::string& s : {"\xEF\xBB\xBF<?xml version=\"1.0\"?><gpx version=\"1.1\">" + wpts + "</gpx>",
                                 "!<gpx>" + wpts + wpts + "</gpx>", std::string("<gpx><wpt lat='1' lon='1'")})
        ok &= gpx.Put(s);

    SeedFolder kml(root + "/kml");
    const std::string points = "<Placemark><MultiGeometry><Point><coordinates>4.75,52.25,1500</coordinates></Point>"
                               "<Polygon><outerBoundaryIs><LinearRing><coordinates>1,1 2,2 1,1</coordinates></LinearRing>"
                               "</outerBoundaryIs></Polygon></MultiGeometry></Placemark><Point><coordinates><![CDATA[5,-33]]>"
                               "</coordinates></Point><Point/><Point><coordinates>181,1</coordinates></Point>";
    for (const std::string& s : {"<?xml version=\"1.0\"?><kml><Document>" + points + "</Document></kml>",
                                 "!<kml>" + points + points + "</kml>", std::string("<kml><Point><coordinates>1,2")})
        ok &= kml.Put(s);

    // The world-file target reads the picture's width and height less one (two bytes each) first.
    SeedFolder worldFiles(root + "/worldfile");
    const std::string picture640x480("\x02\x7F\x01\xDF", 4);
    for (const char* w : {"0.0015625\r\n0\r\n0\r\n-0.0010416666666666667\r\n4.50078125\r\n52.49947916666667\r\n",
                          "  5E-1 \n\n0\n+0.0\n-2.5e-1\t\n-10.25\n-0.125", "1\n1E-9\n0\n-1\n0\n0\n",
                          "1\n0\n0\n1\n0\n0\n", "10\n0\n0\n-10\n500005\n5799995\n", "1\n0\n0\n-1\n0\n"})
        ok &= worldFiles.Put(picture640x480 + w);

    // Flight logs: a date, LAD and LOD extensions, a circling climb, midnight, a V fix, a bad record.
    SeedFolder flights(root + "/flightlog");
    std::string climb = "HFDTEDATE: 150717,01\r\nI023636LAD3737LOD\r\n";
    for (int i = 0; i < 200; ++i) {
        char line[64];
        const int lat = 100000 + (i % 25 < 13 ? i % 25 : 25 - i % 25) * 10, lon = 600000 + (i % 25 < 7 || i % 25 > 19 ? 5 : 0) * (i % 7);
        std::snprintf(line, sizeof line, "B2359%02d51%05dN00%06dEA%05d%05d%d%d\r\n", i % 60, lat % 100000, lon, 1000 + 2 * i, 1100, i % 10, (i * 3) % 10);
        climb += line;
    }
    for (const std::string& s : {climb, climb.substr(0, 2000) + "B0000015100000N00600000EV0100001100\n" + "B0000025100000N006000",
                                 std::string("HFDTE010203\rB1200005100000N00600000EA0000001100\r")})
        ok &= flights.Put(s);

    if (!ok) {
        std::fprintf(stderr, "fuzz_seeds: could not write every seed under %s\n", root.c_str());
        return 1;
    }
    return 0;
}
