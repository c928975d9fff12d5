// Hotspots from GPS exchange (GPX) and Google Earth (KML) files: a small scanner of XML markup
// that tells elements, attributes, text, comments, CDATA, processing instructions and declarations
// apart, enough to find every GPX wpt and every KML Point outside comments and CDATA.
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "model/SafeFile.h"
#include "thermals/Hotspots.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWith(const char* p, const char* end, const char* prefix) {
    for (; *prefix != '\0'; ++p, ++prefix)
        if (p >= end || *p != *prefix) return false;
    return true;
}

// The first occurrence of marker at or after p, or end.
const char* Find(const char* p, const char* end, const char* marker) {
    for (; p < end; ++p)
        if (*p == marker[0] && StartsWith(p, end, marker)) return p;
    return end;
}

// Hands out the markup of a text piece by piece; never reads outside [begin, end).
class XmlScanner {
public:
    enum Kind { StartTag, EndTag, Text, Done };

    // Whatever comes before the first '<' is text, which a byte-order mark joins unseen.
    XmlScanner(const char* begin, const char* end) : p_(begin), end_(end) {}

    Kind Next() {
        for (;;) {
            if (p_ >= end_) return Done;
            if (*p_ != '<') {
                text = p_;
                p_ = Find(p_, end_, "<");
                textEnd = p_;
                return Text;
            }
            if (StartsWith(p_, end_, "<!--")) {
                p_ = Skip(Find(p_ + 4, end_, "-->"), 3);
            } else if (StartsWith(p_, end_, "<![CDATA[")) {
                text = p_ + 9;
                textEnd = Find(text, end_, "]]>");
                p_ = Skip(textEnd, 3);
                return Text;
            } else if (StartsWith(p_, end_, "<?")) {
                p_ = Skip(Find(p_ + 2, end_, "?>"), 2);
            } else if (StartsWith(p_, end_, "<!")) {
                SkipDeclaration();
            } else {
                return Tag();
            }
        }
    }

    // The element's name without its namespace prefix is name.
    bool NameIs(const char* name) const {
        const char* local = name_;
        for (const char* p = name_; p < nameEnd_; ++p)
            if (*p == ':') local = p + 1;
        return StartsWith(local, nameEnd_, name) && local + std::char_traits<char>::length(name) == nameEnd_;
    }

    // The value of a start tag's attribute, between its quotes; false when the tag has none.
    bool Attribute(const char* name, const char** value, const char** valueEnd) const {
        const char* p = nameEnd_;
        for (;;) {
            while (p < attributesEnd_ && IsSpace(*p)) ++p;
            const char* key = p;
            while (p < attributesEnd_ && !IsSpace(*p) && *p != '=' && *p != '/') ++p;
            const char* keyEnd = p;
            while (p < attributesEnd_ && IsSpace(*p)) ++p;
            if (key == keyEnd || p >= attributesEnd_ || *p != '=') return false;
            for (++p; p < attributesEnd_ && IsSpace(*p);) ++p;
            if (p >= attributesEnd_ || (*p != '"' && *p != '\'')) return false;
            const char quote = *p++;
            const char* start = p;
            while (p < attributesEnd_ && *p != quote) ++p;
            if (p >= attributesEnd_) return false;
            if (StartsWith(key, keyEnd, name) &&
                key + std::char_traits<char>::length(name) == keyEnd) {
                *value = start;
                *valueEnd = p;
                return true;
            }
            ++p;
        }
    }

    const char* text = nullptr;
    const char* textEnd = nullptr;
    bool selfClosing = false;
    bool complete = false;  // the tag's '>' was found before the end of the file

private:
    const char* Skip(const char* at, int length) const { return at >= end_ ? end_ : at + length; }

    // <!DOCTYPE ...> with its internal subset in brackets, quotes kept whole.
    void SkipDeclaration() {
        int depth = 0;
        for (p_ += 2; p_ < end_; ++p_) {
            if (*p_ == '"' || *p_ == '\'') {
                const char quote = *p_;
                for (++p_; p_ < end_ && *p_ != quote;) ++p_;
                if (p_ >= end_) return;
            } else if (*p_ == '[') {
                ++depth;
            } else if (*p_ == ']') {
                --depth;
            } else if (*p_ == '>' && depth <= 0) {
                ++p_;
                return;
            }
        }
    }

    Kind Tag() {
        const bool closing = p_ + 1 < end_ && p_[1] == '/';
        name_ = p_ + (closing ? 2 : 1);
        nameEnd_ = name_;
        while (nameEnd_ < end_ && !IsSpace(*nameEnd_) && *nameEnd_ != '/' && *nameEnd_ != '>') ++nameEnd_;
        // A quoted value may hold '>'.
        const char* p = nameEnd_;
        while (p < end_ && *p != '>') {
            if (*p == '"' || *p == '\'') {
                const char quote = *p;
                for (++p; p < end_ && *p != quote;) ++p;
                if (p >= end_) break;
            }
            ++p;
        }
        complete = p < end_;
        attributesEnd_ = p;
        selfClosing = complete && p > nameEnd_ && p[-1] == '/';
        if (selfClosing) --attributesEnd_;
        p_ = complete ? p + 1 : end_;
        return closing ? EndTag : StartTag;
    }

    const char* p_;
    const char* end_;
    const char* name_ = nullptr;
    const char* nameEnd_ = nullptr;
    const char* attributesEnd_ = nullptr;
};

// A decimal number of degrees (optional sign, digits, optional point and decimals) from p, taken
// to the nearest 1/100000 degree, half away from zero, from its digits alone. False when there is
// no number or its value lies beyond limit either way.
bool ParseDegrees(const char*& p, const char* end, int limit, int32_t* value) {
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    int64_t degrees = 0;
    int digits = 0;
    for (; p < end && IsDigit(*p); ++p, ++digits)
        if (degrees <= limit) degrees = degrees * 10 + (*p - '0');  // past the limit it stays past
    int64_t fraction = 0;
    int decimals = 0;
    bool roundUp = false, fractionZero = true;
    if (p < end && *p == '.') {
        for (++p; p < end && IsDigit(*p); ++p, ++digits) {
            if (*p != '0') fractionZero = false;
            if (decimals < 5) fraction = fraction * 10 + (*p - '0');
            if (decimals == 5) roundUp = *p >= '5';
            ++decimals;
        }
    }
    if (digits == 0 || degrees > limit || (degrees == limit && !fractionZero)) return false;
    for (; decimals < 5; ++decimals) fraction *= 10;
    const int64_t units = degrees * 100000 + fraction + (roundUp ? 1 : 0);
    *value = static_cast<int32_t>(negative ? -units : units);
    return true;
}

void SkipSpace(const char*& p, const char* end) {
    while (p < end && IsSpace(*p)) ++p;
}

// A GPX coordinate attribute: the number alone, blanks around it allowed.
bool ParseAttribute(const char* p, const char* end, int limit, int32_t* value) {
    SkipSpace(p, end);
    if (!ParseDegrees(p, end, limit, value)) return false;
    SkipSpace(p, end);
    return p == end;
}

// The first tuple of KML coordinates: longitude, a comma, latitude (blanks around the comma
// allowed), then the end, a blank or a comma before the altitude.
bool ParseTuple(const std::string& text, int32_t* lat, int32_t* lon) {
    const char* p = text.data();
    const char* end = p + text.size();
    SkipSpace(p, end);
    if (!ParseDegrees(p, end, 180, lon)) return false;
    SkipSpace(p, end);
    if (p >= end || *p != ',') return false;
    ++p;
    SkipSpace(p, end);
    if (!ParseDegrees(p, end, 90, lat)) return false;
    return p == end || IsSpace(*p) || *p == ',';
}

bool ReadWholeFile(const char* path, std::vector<char>& data) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    const int64_t size = FileSizeOf(file);
    bool ok = size >= 0 && static_cast<uint64_t>(size) <= SIZE_MAX;
    try {
        if (ok) data.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (ok && size > 0) ok = std::fread(data.data(), 1, data.size(), file) == data.size();
    std::fclose(file);
    return ok;
}

}  // namespace

bool ImportGpxFile(const char* path, HotspotImport& counts) {
    std::vector<char> data;
    if (!ReadWholeFile(path, data)) return false;
    HotspotPlacer placer(counts);
    XmlScanner scanner(data.data(), data.data() + data.size());
    for (XmlScanner::Kind kind; (kind = scanner.Next()) != XmlScanner::Done;) {
        if (kind != XmlScanner::StartTag || !scanner.NameIs("wpt")) continue;
        const char *lat, *latEnd, *lon, *lonEnd;
        int32_t latUnits = 0, lonUnits = 0;
        if (!scanner.complete || !scanner.Attribute("lat", &lat, &latEnd) || !scanner.Attribute("lon", &lon, &lonEnd) ||
            !ParseAttribute(lat, latEnd, 90, &latUnits) || !ParseAttribute(lon, lonEnd, 180, &lonUnits)) {
            ++counts.notUnderstood;
        } else if (!placer.Offer(latUnits, lonUnits)) {
            break;
        }
    }
    placer.Finish();
    return true;
}

bool ImportKmlFile(const char* path, HotspotImport& counts) {
    std::vector<char> data;
    if (!ReadWholeFile(path, data)) return false;
    HotspotPlacer placer(counts);
    XmlScanner scanner(data.data(), data.data() + data.size());
    // The Point being read: only its first coordinates element counts, and only once closed.
    bool inPoint = false, inCoordinates = false, coordinatesSeen = false, coordinatesClosed = false;
    std::string coordinates;
    bool full = false;
    const auto finishPoint = [&] {
        inPoint = inCoordinates = false;
        int32_t lat = 0, lon = 0;
        if (!coordinatesClosed || !ParseTuple(coordinates, &lat, &lon))
            ++counts.notUnderstood;
        else
            full = !placer.Offer(lat, lon);
    };
    for (XmlScanner::Kind kind; !full && (kind = scanner.Next()) != XmlScanner::Done;) {
        if (kind == XmlScanner::Text) {
            if (inCoordinates) coordinates.append(scanner.text, scanner.textEnd);
        } else if (kind == XmlScanner::StartTag && scanner.NameIs("Point")) {
            if (inPoint) finishPoint();
            if (full) break;
            inPoint = true;
            coordinatesSeen = coordinatesClosed = false;
            coordinates.clear();
            if (scanner.selfClosing || !scanner.complete) finishPoint();
        } else if (kind == XmlScanner::StartTag && inPoint && !coordinatesSeen && scanner.NameIs("coordinates")) {
            coordinatesSeen = true;
            inCoordinates = !scanner.selfClosing;
            coordinatesClosed = scanner.selfClosing;
        } else if (kind == XmlScanner::EndTag && inCoordinates && scanner.NameIs("coordinates")) {
            inCoordinates = false;
            coordinatesClosed = true;
        } else if (kind == XmlScanner::EndTag && inPoint && scanner.NameIs("Point")) {
            finishPoint();
        }
    }
    if (inPoint && !full) finishPoint();
    placer.Finish();
    return true;
}
