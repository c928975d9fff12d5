// Exchange figures: the export writers beside a plain snprintf loop writing the same bytes, and
// the GPX and KML hotspot readers beside one fread of the file and strstr to each coordinate.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "BenchFigures.h"
#include "BenchInputs.h"
#include "map/Geometry.h"
#include "model/Project.h"
#include "thermals/Hotspots.h"
#include "thermals/ThermalExport.h"

namespace {

// Room for the largest line a thermal makes: a KML ring of 37 points.
constexpr size_t PlainLineRoom = 2048;

struct PlainText {
    PlainText() : room(static_cast<size_t>(thermalCount) * PlainLineRoom + 4096), data(new char[room]) {}
    template <class... Args>
    void Add(const char* format, Args... args) { used += std::snprintf(data.get() + used, room - used, format, args...); }
    size_t room, used = 0;
    std::unique_ptr<char[]> data;
};

// Degrees with five decimals as the sign, the whole degrees and the decimals, for "%s%lld.%05lld".
struct Decimal {
    explicit Decimal(long long units) : sign(units < 0 ? "-" : ""), whole(std::llabs(units) / 100000), part(std::llabs(units) % 100000) {}
    const char* sign;
    long long whole, part;
};

void PlainDescription(PlainText& out, const Thermal& t) {
    out.Add("Hotspot: lift type %d, %d-%d m, radius %d m", int(t.type), int(t.bottom), int(t.top), int(t.radius));
    if (t.cloudOn) out.Add(", cloud type %d", int(t.cloudType));
}

void PlainCupPosition(PlainText& out, int32_t v, const char* format, char positive, char negative) {
    const long long a = std::llabs(static_cast<long long>(v));
    long long degrees = a / 100000, thousandths = (a % 100000 * 6 + 5) / 10;
    if (thousandths == 60000) ++degrees, thousandths = 0;
    out.Add(format, degrees, thousandths / 1000, thousandths % 1000, v < 0 ? negative : positive);
}

std::string PlainExport(ExportFormat format) {
    PlainText out;
    if (format == ExportFormat::Cup) {
        out.Add("name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n");
        for (int i = 0; i < thermalCount; ++i) {
            const Thermal& t = thermals[i];
            out.Add("\"T%05d\",,,", i + 1);
            PlainCupPosition(out, t.lat, "%02lld%02lld.%03lld%c,", 'N', 'S');
            PlainCupPosition(out, t.lon, "%03lld%02lld.%03lld%c,", 'E', 'W');
            out.Add("%dm,1,,,,\"", int(t.bottom));
            PlainDescription(out, t);
            out.Add("\"\r\n");
        }
    } else if (format == ExportFormat::Gpx) {
        out.Add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                "<gpx version=\"1.1\" creator=\"Ascendor\" xmlns=\"http://www.topografix.com/GPX/1/1\">\r\n");
        for (int i = 0; i < thermalCount; ++i) {
            const Thermal& t = thermals[i];
            const Decimal lat(t.lat), lon(t.lon);
            out.Add("  <wpt lat=\"%s%lld.%05lld\" lon=\"%s%lld.%05lld\">\r\n    <ele>%d</ele>\r\n    <name>T%05d</name>\r\n    <desc>",
                    lat.sign, lat.whole, lat.part, lon.sign, lon.whole, lon.part, int(t.bottom), i + 1);
            PlainDescription(out, t);
            out.Add("</desc>\r\n    <type>Hotspot</type>\r\n  </wpt>\r\n");
        }
        out.Add("</gpx>\r\n");
    } else {
        const char* const colours[4] = {"ffff00", "00ff00", "ff00ff", "ff0000"};
        out.Add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
                "<Document>\r\n  <name>bench</name>\r\n");
        for (int k = 0; k < 4; ++k)
            out.Add("  <Style id=\"lift%d\"><LineStyle><color>ff%s</color><width>2</width></LineStyle><PolyStyle>"
                    "<color>80%s</color></PolyStyle></Style>\r\n", k + 1, colours[k], colours[k]);
        for (int i = 0; i < thermalCount; ++i) {
            const Thermal& t = thermals[i];
            out.Add("  <Placemark>\r\n    <name>T%05d</name>\r\n    <description>", i + 1);
            PlainDescription(out, t);
            out.Add("</description>\r\n");
            if (t.type >= 1 && t.type <= 4) out.Add("    <styleUrl>#lift%d</styleUrl>\r\n", int(t.type));
            const Decimal lat(t.lat), lon(t.lon);
            out.Add("    <MultiGeometry>\r\n      <Point><altitudeMode>absolute</altitudeMode><coordinates>%s%lld.%05lld,"
                    "%s%lld.%05lld,%d</coordinates></Point>\r\n      <Polygon><extrude>1</extrude><altitudeMode>absolute"
                    "</altitudeMode><outerBoundaryIs><LinearRing><coordinates>", lon.sign, lon.whole, lon.part, lat.sign,
                    lat.whole, lat.part, int(t.top));
            const double shrink = std::fmax(std::cos(DegreesToRadians(t.lat / UnitsPerDegree)), 0.001);
            const double radius = std::fabs(static_cast<double>(t.radius));
            const double latStep = radius / (KmPerDegreeLat * 1000.0 / UnitsPerDegree);
            const double lonStep = radius / (KmPerDegreeLon * 1000.0 / UnitsPerDegree * shrink);
            for (int k = 0; k <= 36; ++k) {
                const double angle = DegreesToRadians(k % 36 * 10.0);
                const Decimal y(t.lat + std::llround(latStep * std::sin(angle))), x(t.lon + std::llround(lonStep * std::cos(angle)));
                out.Add(k > 0 ? " %s%lld.%05lld,%s%lld.%05lld,%d" : "%s%lld.%05lld,%s%lld.%05lld,%d", x.sign, x.whole, x.part,
                        y.sign, y.whole, y.part, int(t.top));
            }
            out.Add("</coordinates></LinearRing></outerBoundaryIs></Polygon>\r\n    </MultiGeometry>\r\n  </Placemark>\r\n");
        }
        out.Add("</Document>\r\n</kml>\r\n");
    }
    return std::string(out.data.get(), out.used);
}

void WritePlain(const char* path, const std::string& text) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

// One fread of the file, then strstr to each waypoint's coordinates, read by strtod.
int32_t plainLat[MaxThermals], plainLon[MaxThermals];
int PlainImport(const char* path, bool kml) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 0;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::unique_ptr<char[]> text(new char[static_cast<size_t>(size) + 1]);
    const size_t got = std::fread(text.get(), 1, static_cast<size_t>(size), file);
    std::fclose(file);
    text[got] = '\0';
    int count = 0;
    for (const char* p = text.get(); count < MaxThermals;) {
        char* end;
        double lat, lon;
        if (kml) {
            if (!(p = std::strstr(p, "<Point>")) || !(p = std::strstr(p, "<coordinates>"))) break;
            lon = std::strtod(p + 13, &end);
            lat = std::strtod(end + 1, &end);
        } else {
            if (!(p = std::strstr(p, "<wpt lat=\""))) break;
            lat = std::strtod(p + 10, &end);
            if (!(p = std::strstr(end, "lon=\""))) break;
            lon = std::strtod(p + 5, &end);
        }
        plainLat[count] = static_cast<int32_t>(std::lround(lat * 100000.0));
        plainLon[count++] = static_cast<int32_t>(std::lround(lon * 100000.0));
        p = end;
    }
    return count;
}

}  // namespace

void MeasureExchange(BenchRun& run) {
    FillBenchTable(benchMainBackdrop.name);
    const int reps = run.reps;
    const char* const names[] = {"CUP", "GPX", "KML"};
    const ExportFormat formats[] = {ExportFormat::Cup, ExportFormat::Gpx, ExportFormat::Kml};
    for (int f = 0; f < 3; ++f) {
        const ExportFormat format = formats[f];
        const std::string figure = std::string("export ") + names[f] + ", 32768 thermals";
        const std::string file = std::string("export.") + names[f];
        if (!WriteThermalExport(file.c_str(), format, "bench")) {
            run.table.Fail(figure, "the export could not be written");
            continue;
        }
        if (PlainExport(format) != ExportText(format, "bench")) {
            run.table.Fail(figure, "the plain loop does not write the program's bytes");
            continue;
        }
        BenchWork program{nullptr, [&file, format] { WriteThermalExport(file.c_str(), format, "bench"); }};
        BenchWork plain{nullptr, [format] { WritePlain("plain-export", PlainExport(format)); }};
        const BenchPair pair = MedianPair(program, plain, reps);
        run.table.Add({figure, pair.value, "snprintf/line + 1 fwrite", pair.baseline, "ms", 1.5, ""});
    }

    // The exported files read back into an empty table over the whole globe.
    const auto emptyTable = [] {
        thermalCount = 0;
        areaTop = 9000000, areaBottom = -9000000, areaLeft = -18000000, areaRight = 18000000;
    };
    for (int f = 1; f < 3; ++f) {
        const std::string figure = std::string("import ") + names[f] + ", 32768 waypoints";
        const std::string file = std::string("export.") + names[f];
        const bool kml = f == 2;
        emptyTable();
        HotspotImport result;
        if (!ImportHotspotFile(file.c_str(), &result) || result.imported + result.alreadyThere != MaxThermals ||
            PlainImport(file.c_str(), kml) != MaxThermals) {
            run.table.Fail(figure, "the exported waypoints did not all read back");
            continue;
        }
        BenchWork program{emptyTable, [&file] {
                              HotspotImport counts;
                              ImportHotspotFile(file.c_str(), &counts);
                          }};
        BenchWork plain{nullptr, [&file, kml] { PlainImport(file.c_str(), kml); }};
        const BenchPair pair = MedianPair(program, plain, reps);
        run.table.Add({figure, pair.value, "1 fread + strstr/coordinate", pair.baseline, "ms", 2.0, ""});
    }
    FillBenchTable(benchMainBackdrop.name);
}
