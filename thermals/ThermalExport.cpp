// The thermal table as CUP, GPX and KML files.
#include "thermals/ThermalExport.h"

#include <cmath>
#include <cstring>

#include "map/Geometry.h"
#include "model/Project.h"
#include "model/SafeFile.h"

namespace {

// Appends numbers without the cost of a format string: the writers run over 32768 thermals.
class Writer {
public:
    explicit Writer(size_t room) { out.reserve(room); }

    Writer& operator<<(const char* text) {
        out.append(text);
        return *this;
    }
    Writer& operator<<(long long value) {
        char digits[24];
        int n = 0;
        const bool negative = value < 0;
        unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(value) : value;
        do {
            digits[n++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (negative) out.push_back('-');
        while (n > 0) out.push_back(digits[--n]);
        return *this;
    }
    // value with at least width digits, leading zeros added; value is not negative.
    void Padded(long long value, int width) {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0 || n < width);
        while (n > 0) out.push_back(digits[--n]);
    }
    // 1/100000 degree as decimal degrees with exactly five decimals.
    void Degrees(long long units) {
        if (units < 0) out.push_back('-');
        const long long magnitude = units < 0 ? -units : units;
        *this << magnitude / 100000;
        out.push_back('.');
        Padded(magnitude % 100000, 5);
    }
    // Text for XML content or a quoted attribute; control characters XML cannot hold are left out.
    void Escaped(const std::string& text) {
        for (char c : text) {
            switch (c) {
            case '&': out.append("&amp;"); break;
            case '<': out.append("&lt;"); break;
            case '>': out.append("&gt;"); break;
            case '"': out.append("&quot;"); break;
            case '\'': out.append("&apos;"); break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out.push_back(c);
            }
        }
    }

    std::string out;
};

// The waypoint's name: T and its place in the table from 1.
void Name(Writer& w, int index) {
    w << "T";
    w.Padded(index + 1, 5);
}

void Description(Writer& w, const Thermal& t) {
    w << "Hotspot: lift type " << t.type << ", " << t.bottom << "-" << t.top << " m, radius " << t.radius << " m";
    if (t.cloudOn) w << ", cloud type " << t.cloudType;
}

// DDMM.mmmH or DDDMM.mmmH: thousandths of a minute rounded half away from zero, carried into the
// degree when they round to 60 minutes. (A unit of the table is 0.0006 minutes, so its largest
// minutes, 59.9994, stay below; the carry keeps the form whole all the same.)
void CupPosition(Writer& w, int32_t value, int degreeDigits, char positive, char negative) {
    const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    long long degrees = magnitude / 100000;
    // A unit is 0.6 thousandths of a minute.
    long long thousandths = (magnitude % 100000 * 6 + 5) / 10;
    if (thousandths == 60000) {
        ++degrees;
        thousandths = 0;
    }
    w.Padded(degrees, degreeDigits);
    w.Padded(thousandths / 1000, 2);
    w.out.push_back('.');
    w.Padded(thousandths % 1000, 3);
    w.out.push_back(value < 0 ? negative : positive);
}

void WriteCup(Writer& w) {
    w << "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n";
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        w << "\"";
        Name(w, i);
        w << "\",,,";
        CupPosition(w, t.lat, 2, 'N', 'S');
        w << ",";
        CupPosition(w, t.lon, 3, 'E', 'W');
        w << "," << t.bottom << "m,1,,,,\"";
        Description(w, t);
        w << "\"\r\n";
    }
}

void WriteGpx(Writer& w) {
    w << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<gpx version=\"1.1\" creator=\"Ascendor\" xmlns=\"http://www.topografix.com/GPX/1/1\">\r\n";
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        w << "  <wpt lat=\"";
        w.Degrees(t.lat);
        w << "\" lon=\"";
        w.Degrees(t.lon);
        w << "\">\r\n    <ele>" << t.bottom << "</ele>\r\n    <name>";
        Name(w, i);
        w << "</name>\r\n    <desc>";
        Description(w, t);
        w << "</desc>\r\n    <type>Hotspot</type>\r\n  </wpt>\r\n";
    }
    w << "</gpx>\r\n";
}

// The map's disc fill of each lift type without a cloud, as KML writes colours: alpha, blue,
// green, red.
const char* const TypeColours[4] = {"ffff00", "00ff00", "ff00ff", "ff0000"};

// One point of a KML coordinate list: lon,lat,top.
void KmlPoint(Writer& w, long long lat, long long lon, int32_t top) {
    w.Degrees(lon);
    w.out.push_back(',');
    w.Degrees(lat);
    w.out.push_back(',');
    w << top;
}

constexpr int CirclePoints = 36;

void WriteKml(Writer& w, const std::string& documentName) {
    w << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
         "<Document>\r\n  <name>";
    w.Escaped(documentName.empty() ? "Thermals" : documentName);
    w << "</name>\r\n";
    for (int type = 1; type <= 4; ++type) {
        const char* colour = TypeColours[type - 1];
        w << "  <Style id=\"lift" << type << "\"><LineStyle><color>ff" << colour
          << "</color><width>2</width></LineStyle><PolyStyle><color>80" << colour << "</color></PolyStyle></Style>\r\n";
    }
    // The circle's directions, counter-clockwise from east.
    static double cosines[CirclePoints], sines[CirclePoints];
    if (sines[9] == 0.0) {
        for (int k = 0; k < CirclePoints; ++k) {
            cosines[k] = std::cos(DegreesToRadians(k * 10.0));
            sines[k] = std::sin(DegreesToRadians(k * 10.0));
        }
    }
    const double metresPerLatUnit = KmPerDegreeLat * 1000.0 / UnitsPerDegree;
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        w << "  <Placemark>\r\n    <name>";
        Name(w, i);
        w << "</name>\r\n    <description>";
        Description(w, t);
        w << "</description>\r\n";
        if (t.type >= 1 && t.type <= 4) w << "    <styleUrl>#lift" << t.type << "</styleUrl>\r\n";
        w << "    <MultiGeometry>\r\n      <Point><altitudeMode>absolute</altitudeMode><coordinates>";
        KmlPoint(w, t.lat, t.lon, t.top);
        w << "</coordinates></Point>\r\n      <Polygon><extrude>1</extrude><altitudeMode>absolute</altitudeMode>"
             "<outerBoundaryIs><LinearRing><coordinates>";
        // Near a pole a degree of longitude shrinks to nothing; the circle stays finite.
        const double shrink = std::fmax(std::cos(DegreesToRadians(t.lat / UnitsPerDegree)), 0.001);
        const double radius = std::fabs(static_cast<double>(t.radius));
        const double latStep = radius / metresPerLatUnit;
        const double lonStep = radius / (KmPerDegreeLon * 1000.0 / UnitsPerDegree * shrink);
        for (int k = 0; k <= CirclePoints; ++k) {
            const int at = k % CirclePoints;
            if (k > 0) w.out.push_back(' ');
            KmlPoint(w, t.lat + std::llround(latStep * sines[at]), t.lon + std::llround(lonStep * cosines[at]), t.top);
        }
        w << "</coordinates></LinearRing></outerBoundaryIs></Polygon>\r\n    </MultiGeometry>\r\n  </Placemark>\r\n";
    }
    w << "</Document>\r\n</kml>\r\n";
}

}  // namespace

bool ExportFormatOfName(const char* name, ExportFormat* format) {
    const char* dot = std::strrchr(FileTitle(name), '.');
    if (dot == nullptr || std::strlen(dot) != 4) return false;
    char extension[5];
    for (int i = 0; i < 5; ++i)
        extension[i] = static_cast<char>(dot[i] >= 'A' && dot[i] <= 'Z' ? dot[i] - 'A' + 'a' : dot[i]);
    const char* const names[] = {".cup", ".gpx", ".kml"};
    const ExportFormat formats[] = {ExportFormat::Cup, ExportFormat::Gpx, ExportFormat::Kml};
    for (int i = 0; i < 3; ++i) {
        if (std::strcmp(extension, names[i]) == 0) {
            *format = formats[i];
            return true;
        }
    }
    return false;
}

std::string ExportText(ExportFormat format, const std::string& documentName) {
    const int count = thermalCount < 0 ? 0 : thermalCount;
    const size_t perThermal = format == ExportFormat::Kml ? 1400 : format == ExportFormat::Gpx ? 200 : 120;
    Writer w(static_cast<size_t>(count) * perThermal + 1024);
    if (format == ExportFormat::Cup) WriteCup(w);
    if (format == ExportFormat::Gpx) WriteGpx(w);
    if (format == ExportFormat::Kml) WriteKml(w, documentName);
    return std::move(w.out);
}

bool WriteThermalExport(const char* path, ExportFormat format, const std::string& documentName) {
    std::string text;
    try {
        text = ExportText(format, documentName);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return WriteWholeFile(path, text.data(), text.size());
}
