// Thermal hotspots: the SeeYou CUP reader (line by line), the placement rules every reader shares,
// and the choice of reader by the file's extension.
#include "thermals/Hotspots.h"

#include <cstdio>
#include <cstring>

#include "model/Project.h"
#include "thermals/Manual.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameText(const char* text, int length, const char* word) {
    int i = 0;
    for (; i < length && word[i] != '\0'; ++i)
        if (Upper(text[i]) != Upper(word[i])) return false;
    return i == length && word[i] == '\0';
}

// Hands out the lines of a file one by one, keeping at most the first CupLineLimit characters
// (plus a byte-order mark) of each; whatever lies beyond is read and counted, never stored.
class LineReader {
public:
    explicit LineReader(FILE* file) : file_(file) {}

    bool Next() {
        length = 0;
        size_t total = 0;
        // A Ctrl-Z byte ends the text, as old text tools mark the end of a file.
        int c = ended_ ? EOF : std::getc(file_);
        if (c == EOF || c == 0x1A) {
            ended_ = true;
            return false;
        }
        // A line ends at CR LF, LF or a lone CR.
        for (; c != EOF && c != '\n' && c != '\r' && c != 0x1A; c = std::getc(file_)) {
            if (length < Capacity) text[length++] = static_cast<char>(c);
            ++total;
        }
        if (c == 0x1A) ended_ = true;
        if (c == '\r') {
            int after = std::getc(file_);
            if (after != '\n' && after != EOF) std::ungetc(after, file_);
        }
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
        if (first_ && length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
            for (int i = 3; i < length; ++i) text[i - 3] = text[i];
            length -= 3;
            total -= 3;
        }
        first_ = false;
        tooLong = total > static_cast<size_t>(CupLineLimit);
        return true;
    }

    static constexpr int Capacity = CupLineLimit + 3;
    char text[Capacity];
    int length = 0;
    bool tooLong = false;

private:
    FILE* file_;
    bool first_ = true;
    bool ended_ = false;
};

// Splits a line into CUP fields in place, taking off the blanks around each and the quotes (a
// doubled quote inside stands for one), and calls visit(index, text, length) for each. False when
// a quote is left open.
template <class Visit>
bool ForEachField(char* line, int length, Visit visit) {
    int i = 0;
    for (int index = 0;; ++index) {
        while (i < length && IsBlank(line[i])) ++i;
        // The unquoted text never runs ahead of the reading position, so it overwrites only what
        // has been read.
        char* out = line + i;
        int n = 0;
        int kept = 0;  // the quoted part keeps its blanks
        if (i < length && line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < length && !closed) {
                if (line[i] != '"') {
                    out[n++] = line[i++];
                } else if (i + 1 < length && line[i + 1] == '"') {
                    out[n++] = '"';
                    i += 2;
                } else {
                    ++i;
                    closed = true;
                }
            }
            if (!closed) return false;
            kept = n;
        }
        while (i < length && line[i] != ',') out[n++] = line[i++];
        while (n > kept && IsBlank(out[n - 1])) --n;
        visit(index, out, n);
        if (i >= length) return true;
        ++i;
    }
}

// DDMM[.m...]H (latitude) or DDDMM[.m...]H (longitude) in 1/100000 degree, from the digits alone:
// minutes m give m * 100000 / 60, rounded half away from zero.
bool ParsePosition(const char* s, int n, int degreeDigits, int maxDegrees, char positive,
                   char negative, int32_t* value) {
    if (n < degreeDigits + 3) return false;
    int i = 0;
    int64_t degrees = 0;
    for (; i < degreeDigits; ++i) {
        if (!IsDigit(s[i])) return false;
        degrees = degrees * 10 + (s[i] - '0');
    }
    int64_t minutes = 0;
    for (int end = i + 2; i < end; ++i) {
        if (!IsDigit(s[i])) return false;
        minutes = minutes * 10 + (s[i] - '0');
    }
    // Twelve decimals decide the rounding: the value times 5000/3 is a multiple of 1/(3*10^8)
    // after them, so later digits, below 10^-12 * 5000/3, cannot cross a half.
    constexpr int Decimals = 12;
    int64_t fraction = 0;
    int decimals = 0;
    bool fractionZero = true;
    if (i < n && s[i] == '.') {
        for (++i; i < n && IsDigit(s[i]); ++i) {
            if (s[i] != '0') fractionZero = false;
            if (decimals < Decimals) {
                fraction = fraction * 10 + (s[i] - '0');
                ++decimals;
            }
        }
    }
    if (i != n - 1) return false;
    const char hemisphere = Upper(s[i]);
    if (hemisphere != positive && hemisphere != negative) return false;
    if (minutes >= 60) return false;
    if (degrees > maxDegrees || (degrees == maxDegrees && (minutes > 0 || !fractionZero)))
        return false;
    for (; decimals < Decimals; ++decimals) fraction *= 10;

    constexpr int64_t Scale = 1000000000000;  // 10^Decimals
    const int64_t numerator = (minutes * Scale + fraction) * 5000;
    const int64_t denominator = 3 * Scale;
    int64_t units = numerator / denominator;
    if (2 * (numerator % denominator) >= denominator) ++units;
    const int64_t magnitude = degrees * 100000 + units;
    *value = static_cast<int32_t>(hemisphere == positive ? magnitude : -magnitude);
    return true;
}

bool IsRelatedTasks(const char* text, int length) {
    return SameText(text, length, "-----Related Tasks-----");
}

}  // namespace

uint64_t HotspotPlacer::Key(int32_t lat, int32_t lon) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(lat)) << 32) | static_cast<uint32_t>(lon);
}

HotspotPlacer::HotspotPlacer(HotspotImport& counts) : counts_(counts) {
    counts_.firstIndex = thermalCount;
    // Every position in the table, looked up once per waypoint.
    taken_.reserve(static_cast<size_t>(thermalCount) + 256);
    for (int32_t i = 0; i < thermalCount; ++i) taken_.insert(Key(thermals[i].lat, thermals[i].lon));
}

bool HotspotPlacer::Offer(int32_t lat, int32_t lon) {
    if (!InsideArea(lat, lon)) {
        ++counts_.outside;
    } else if (!taken_.insert(Key(lat, lon)).second) {
        ++counts_.alreadyThere;
    } else if (thermalCount < 0 || thermalCount >= MaxThermals) {
        counts_.tableFull = true;
        return false;
    } else {
        thermals[thermalCount++] = ManualThermalAt(lat, lon);
        ++counts_.imported;
    }
    return true;
}

void HotspotPlacer::Finish() {
    if (counts_.imported > 0) NoteTableEdit();
}

namespace {

bool HasExtension(const char* path, const char* extension) {
    const char* title = FileTitle(path);
    const char* dot = nullptr;
    for (const char* p = title; *p != '\0'; ++p)
        if (*p == '.') dot = p;
    return dot != nullptr && SameText(dot, static_cast<int>(std::strlen(dot)), extension);
}

bool ImportCupFile(const char* path, HotspotImport& counts) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    HotspotPlacer placer(counts);

    // The default columns: name, code, country, lat, lon, ...
    int latColumn = 3;
    int lonColumn = 4;
    bool firstLine = true;
    LineReader reader(file);
    while (reader.Next()) {
        if (reader.tooLong) {
            ++counts.notUnderstood;
            firstLine = false;
            continue;
        }
        char* text = reader.text;
        int length = reader.length;
        while (length > 0 && IsBlank(text[length - 1])) --length;
        while (length > 0 && IsBlank(*text)) {
            ++text;
            --length;
        }
        if (length == 0) continue;
        if (IsRelatedTasks(text, length)) break;

        bool latValid = false, lonValid = false;
        int32_t lat = 0, lon = 0;
        int headerLat = -1, headerLon = -1;
        const bool closed = ForEachField(text, length, [&](int index, const char* field, int n) {
            if (index == latColumn) latValid = ParsePosition(field, n, 2, 90, 'N', 'S', &lat);
            if (index == lonColumn) lonValid = ParsePosition(field, n, 3, 180, 'E', 'W', &lon);
            if (headerLat < 0 && (SameText(field, n, "lat") || SameText(field, n, "latitude")))
                headerLat = index;
            if (headerLon < 0 && (SameText(field, n, "lon") || SameText(field, n, "longitude")))
                headerLon = index;
        });
        const bool header = firstLine && closed && headerLat >= 0 && headerLon >= 0;
        firstLine = false;
        if (!closed || !latValid || !lonValid) {
            if (header) {
                latColumn = headerLat;
                lonColumn = headerLon;
            } else {
                ++counts.notUnderstood;
            }
            continue;
        }

        if (!placer.Offer(lat, lon)) break;
    }
    std::fclose(file);
    placer.Finish();
    return true;
}

}  // namespace

bool ImportHotspotFile(const char* path, HotspotImport* result) {
    HotspotImport counts;
    bool read;
    if (HasExtension(path, ".gpx")) {
        counts.source = HotspotSource::Gpx;
        read = ImportGpxFile(path, counts);
    } else if (HasExtension(path, ".kml")) {
        counts.source = HotspotSource::Kml;
        read = ImportKmlFile(path, counts);
    } else {
        read = ImportCupFile(path, counts);
    }
    if (read) *result = counts;
    return read;
}
