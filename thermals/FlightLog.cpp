// Reading IGC flight logs: the date header, the I record's extensions and the B records.
#include "thermals/FlightLog.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "model/SafeFile.h"

namespace {

constexpr int32_t HalfDay = 12 * 3600;
constexpr int32_t Day = 24 * 3600;
constexpr int MinimumFixLength = 35;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The n digits at s as a number; false when one is not a digit.
bool Digits(const char* s, int n, int64_t* value) {
    int64_t v = 0;
    for (int i = 0; i < n; ++i) {
        if (!IsDigit(s[i])) return false;
        v = v * 10 + (s[i] - '0');
    }
    *value = v;
    return true;
}

// A 5-character altitude: digits, or a minus and four digits.
bool Altitude(const char* s, int32_t* value) {
    int64_t v = 0;
    if (s[0] == '-') {
        if (!Digits(s + 1, 4, &v)) return false;
        v = -v;
    } else if (!Digits(s, 5, &v)) {
        return false;
    }
    *value = static_cast<int32_t>(v);
    return true;
}

// Byte columns of an extension, 1-based and inclusive as the I record gives them; 0 when absent.
struct Extension {
    int first = 0, last = 0;
};

struct Extensions {
    Extension lat, lon;  // LAD and LOD: further decimals of the minutes
};

// "I" NN then NN times SS FF CCC.
Extensions ReadExtensions(const char* line, int length) {
    Extensions result;
    int64_t count = 0;
    if (length < 3 || !Digits(line + 1, 2, &count)) return result;
    for (int k = 0; k < count; ++k) {
        const int at = 3 + 7 * k;
        if (at + 7 > length) break;
        int64_t first = 0, last = 0;
        if (!Digits(line + at, 2, &first) || !Digits(line + at + 2, 2, &last) || first < 1 || last < first)
            continue;
        Extension e{static_cast<int>(first), static_cast<int>(last)};
        if (std::strncmp(line + at + 4, "LAD", 3) == 0) result.lat = e;
        if (std::strncmp(line + at + 4, "LOD", 3) == 0) result.lon = e;
    }
    return result;
}

// Degrees from DD(D) MM mmm and the extension's further digits of the minutes. False when a
// digit is missing, the minutes reach 60 or the value passes maxDegrees.
bool Coordinate(const char* line, int length, int at, int degreeDigits, int maxDegrees, const Extension& more,
                double* degrees) {
    int64_t whole = 0, minutes = 0, fraction = 0;
    if (!Digits(line + at, degreeDigits, &whole) || !Digits(line + at + degreeDigits, 2, &minutes) ||
        !Digits(line + at + degreeDigits + 2, 3, &fraction))
        return false;
    double scale = 1000.0;
    // Extension bytes past the record's end are absent: the record stands without them.
    if (more.first > 0 && more.last <= length) {
        int64_t extra = 0;
        const int n = more.last - more.first + 1;
        if (n > 9 || !Digits(line + more.first - 1, n, &extra)) return false;
        for (int i = 0; i < n; ++i) {
            fraction *= 10;
            scale *= 10.0;
        }
        fraction += extra;
    }
    if (minutes >= 60) return false;
    const double value = static_cast<double>(whole) + (static_cast<double>(minutes) + fraction / scale) / 60.0;
    if (value > maxDegrees) return false;
    *degrees = value;
    return true;
}

struct RawFix {
    int32_t time;
    double lat, lon;
    int32_t pressure, gnss;
};

// A B record's fix; 0 well-formed and valid, 1 validity V, 2 not well-formed.
int ReadFix(const char* line, int length, const Extensions& ext, RawFix* fix) {
    if (length < MinimumFixLength) return 2;
    int64_t h = 0, m = 0, s = 0;
    if (!Digits(line + 1, 2, &h) || !Digits(line + 3, 2, &m) || !Digits(line + 5, 2, &s) || h >= 24 || m >= 60 ||
        s >= 60)
        return 2;
    double lat = 0.0, lon = 0.0;
    if (!Coordinate(line, length, 7, 2, 90, ext.lat, &lat) || !Coordinate(line, length, 15, 3, 180, ext.lon, &lon))
        return 2;
    const char ns = line[14], ew = line[23], validity = line[24];
    if ((ns != 'N' && ns != 'S') || (ew != 'E' && ew != 'W') || (validity != 'A' && validity != 'V')) return 2;
    if (!Altitude(line + 25, &fix->pressure) || !Altitude(line + 30, &fix->gnss)) return 2;
    fix->time = static_cast<int32_t>(h * 3600 + m * 60 + s);
    fix->lat = ns == 'S' ? -lat : lat;
    fix->lon = ew == 'W' ? -lon : lon;
    return validity == 'A' ? 0 : 1;
}

// HFDTEddmmyy or HFDTEDATE:ddmmyy[,NN]; yy below 80 is 20yy.
bool ReadDate(const char* line, int length, FlightLog* log) {
    if (length < 5 || std::strncmp(line, "HFDTE", 5) != 0) return false;
    int at = 5;
    if (length >= 10 && std::strncmp(line + 5, "DATE:", 5) == 0) {
        at = 10;
        while (at < length && line[at] == ' ') ++at;
    }
    int64_t d = 0, m = 0, y = 0;
    if (at + 6 > length || !Digits(line + at, 2, &d) || !Digits(line + at + 2, 2, &m) || !Digits(line + at + 4, 2, &y))
        return false;
    if (d < 1 || d > 31 || m < 1 || m > 12) return false;
    log->day = static_cast<int>(d);
    log->month = static_cast<int>(m);
    log->year = static_cast<int>(y < 80 ? 2000 + y : 1900 + y);
    return true;
}

}  // namespace

void ParseFlightLog(const char* bytes, size_t size, FlightLog* log) {
    *log = FlightLog{};
    Extensions ext;
    bool dated = false;
    std::vector<RawFix> raw;
    size_t at = 0;
    while (at < size) {
        size_t end = at;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        const char* line = bytes + at;
        const size_t count = end - at;
        const int length = count > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(count);
        // A line ends at CR LF, LF or a lone CR.
        at = end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n' ? end + 2 : end + 1;
        if (length == 0) continue;
        switch (line[0]) {
        case 'B': {
            RawFix fix;
            const int kind = ReadFix(line, length, ext, &fix);
            if (kind == 0) raw.push_back(fix);
            else if (kind == 1) ++log->invalidFixes;
            else ++log->badRecords;
            break;
        }
        case 'I': ext = ReadExtensions(line, length); break;
        case 'H':
            if (!dated) dated = ReadDate(line, length, log);
            break;
        default: break;
        }
    }

    // A clock that goes back by more than half a day has passed midnight.
    int32_t days = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        const int32_t own = raw[i].time;
        if (i > 0 && own < raw[i - 1].time - days * Day - HalfDay) ++days;
        raw[i].time = own + days * Day;
    }
    std::vector<size_t> kept;
    kept.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        // One fix whose clock jumped ahead of the fix after it.
        if (i + 1 < raw.size() && raw[i].time > raw[i + 1].time && raw[i].time - raw[i + 1].time < HalfDay) {
            ++log->timeSkipped;
            continue;
        }
        if (!kept.empty() && raw[i].time <= raw[kept.back()].time) {
            ++log->timeSkipped;
            continue;
        }
        kept.push_back(i);
    }
    // A flight with a barometer has its tops on the standard atmosphere, one without on the GNSS.
    for (size_t i : kept)
        if (raw[i].pressure != 0) log->pressureAltitude = true;
    log->fixes.reserve(kept.size());
    for (size_t i : kept)
        log->fixes.push_back({raw[i].time, raw[i].lat, raw[i].lon, log->pressureAltitude ? raw[i].pressure : raw[i].gnss});
}

FlightLogResult LoadFlightLog(const char* path, FlightLog* log) {
    *log = FlightLog{};
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return FlightLogResult::CannotRead;
    // The size first, so that a huge file is refused before any of it is read.
    std::string bytes;
    const int64_t size = FileSizeOf(file);
    bool readable = size >= 0;
    if (readable && size > FlightLogSizeLimit) {
        std::fclose(file);
        return FlightLogResult::TooLarge;
    }
    try {
        if (readable) {
            bytes.resize(static_cast<size_t>(size));
            readable = size == 0 || std::fread(&bytes[0], 1, bytes.size(), file) == bytes.size();
        }
        std::fclose(file);
        file = nullptr;
        if (!readable) return FlightLogResult::CannotRead;
        ParseFlightLog(bytes.data(), bytes.size(), log);
    } catch (const std::bad_alloc&) {
        // Memory runs short with many large logs loaded: this one is not read, the others stay.
        if (file != nullptr) std::fclose(file);
        *log = FlightLog{};
        return FlightLogResult::CannotRead;
    }
    if (log->fixes.empty()) {
        *log = FlightLog{};
        return FlightLogResult::NoFixes;
    }
    return FlightLogResult::Loaded;
}

const char* FlightLogReason(FlightLogResult result) {
    switch (result) {
    case FlightLogResult::CannotRead: return "the file cannot be read";
    case FlightLogResult::NoFixes: return "it holds no position fixes";
    case FlightLogResult::TooLarge: return "it is larger than 64 MB";
    default: return "";
    }
}
