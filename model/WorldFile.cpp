// World files: finding one beside a picture, reading its six numbers, and the picture's edges.
#include "model/WorldFile.h"

#include "model/Project.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

constexpr int WorldNumberCount = 6;
constexpr int32_t ThousandthsPerDegree = 60000;

bool IsBlank(int c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips digits from p; true when there was at least one.
bool SkipDigits(const char*& p, const char* end) {
    const char* start = p;
    while (p < end && IsDigit(*p)) ++p;
    return p > start;
}

// A decimal number fills the text exactly: optional sign, digits with an optional point (at least
// one digit on either side of it), optional exponent. No hex forms, "inf" or "nan", no NUL bytes.
bool IsDecimalNumber(const char* p, const char* end) {
    if (p < end && (*p == '+' || *p == '-')) ++p;
    bool digits = SkipDigits(p, end);
    if (p < end && *p == '.') {
        ++p;
        digits |= SkipDigits(p, end);
    }
    if (!digits) return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
        if (!SkipDigits(p, end)) return false;
    }
    return p == end;
}

// One line: blank (skipped), a number, or anything else. Leading blanks are not kept, so that only
// the number and what follows it count against the limit.
class LineCollector {
public:
    void Take(int c) {
        if (length_ == 0 && IsBlank(c)) return;
        if (length_ < WorldLineLimit)
            text_[length_++] = static_cast<char>(c);
        else
            tooLong_ = true;
    }
    // False when the line holds something other than blanks or one number; a number goes to value.
    bool Finish(bool& isNumber, double& value) {
        int length = length_;
        while (length > 0 && IsBlank(text_[length - 1])) --length;
        const bool ok = !tooLong_ && (length == 0 || IsDecimalNumber(text_, text_ + length));
        isNumber = ok && length > 0;
        if (isNumber) {
            text_[length] = '\0';
            value = std::strtod(text_, nullptr);  // huge exponents give infinities: no edge then
        }
        length_ = 0;
        tooLong_ = false;
        return ok;
    }

private:
    char text_[WorldLineLimit + 1];
    int length_ = 0;
    bool tooLong_ = false;
};

// The six numbers in file order, or false. CR, LF and CR LF end lines alike.
bool ReadSixNumbers(const char* fileName, double (&numbers)[WorldNumberCount]) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) return false;
    LineCollector line;
    int count = 0;
    bool ok = true;
    for (bool more = true; ok && more;) {
        const int c = std::getc(file);
        more = c != EOF;
        if (more && c != '\r' && c != '\n') {
            line.Take(c);
            continue;
        }
        bool isNumber = false;
        double value = 0.0;
        ok = line.Finish(isNumber, value);
        if (ok && isNumber) {
            ok = count < WorldNumberCount;  // a seventh number: not a world file
            if (ok) numbers[count++] = value;
        }
    }
    if (std::ferror(file)) ok = false;
    std::fclose(file);
    return ok && count == WorldNumberCount;
}

// An edge in degrees to thousandths of a minute, half away from zero; false beyond the limit,
// judged on the rounded value. Infinities and NaN fail before any conversion.
bool EdgeToThousandths(double degrees, int limitDegrees, int32_t& thousandths) {
    const double limit = static_cast<double>(limitDegrees) * ThousandthsPerDegree;
    const double rounded = std::round(degrees * ThousandthsPerDegree);
    if (!(std::fabs(rounded) <= limit)) return false;
    thousandths = static_cast<int32_t>(rounded);
    return true;
}

void EdgeToRow(SetupRow& row, int32_t thousandths, bool isLatitude) {
    const int64_t a = thousandths < 0 ? -int64_t{thousandths} : thousandths;
    // Through a wider buffer: an edge that is no edge would not fit the row, and is cut as the
    // dialog's edits would cut it.
    char text[16];
    std::snprintf(text, sizeof text, isLatitude ? "%02d" : "%03d",
                  static_cast<int>(a / ThousandthsPerDegree));
    CopyText(row.degText, sizeof row.degText, text);
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(a % ThousandthsPerDegree / 1000));
    CopyText(row.minText, sizeof row.minText, text);
    std::snprintf(text, sizeof text, "%03d", static_cast<int>(a % 1000));
    CopyText(row.thouText, sizeof row.thouText, text);
    row.hemiText[0] = isLatitude ? (thousandths < 0 ? 'S' : 'N') : (thousandths < 0 ? 'W' : 'E');
    row.hemiText[1] = '\0';
}

}  // namespace

bool FindWorldFile(const char* picturePath, char* target, int targetSize, const char** title) {
    const char* name = FileTitle(picturePath);
    const char* dot = std::strrchr(name, '.');
    const size_t stem = dot ? static_cast<size_t>(dot - picturePath) : std::strlen(picturePath);
    for (const char* extension : {".bpw", ".bmpw", ".wld"}) {
        if (targetSize <= 0 || stem + std::strlen(extension) >= static_cast<size_t>(targetSize))
            continue;  // a cut name could open some other file
        std::memcpy(target, picturePath, stem);
        std::strcpy(target + stem, extension);
        if (std::FILE* file = std::fopen(target, "rb")) {
            std::fclose(file);
            *title = target + (name - picturePath);
            return true;
        }
    }
    return false;
}

int ReadWorldFile(const char* fileName, int32_t width, int32_t height, WorldEdges* edges) {
    double n[WorldNumberCount];
    if (!ReadSixNumbers(fileName, n)) return WorldFileNotSixNumbers;
    const double a = n[0], d = n[1], b = n[2], e = n[3], c = n[4], f = n[5];
    if (b != 0.0 || d != 0.0) return WorldFileRotated;
    if (!(a > 0.0) || !(e < 0.0)) return WorldFileMirrored;
    // C and F name the centre of the corner pixel; the picture's edge lies half a pixel out.
    const double left = c - a / 2, top = f - e / 2;
    const double right = left + a * width, bottom = top + e * height;
    WorldEdges out;
    if (!EdgeToThousandths(top, 90, out.top) || !EdgeToThousandths(bottom, 90, out.bottom) ||
        !EdgeToThousandths(left, 180, out.left) || !EdgeToThousandths(right, 180, out.right))
        return WorldFileNotDegrees;
    *edges = out;
    return WorldFileOk;
}

const char* WorldFileReason(int result) {
    switch (result) {
    case WorldFileNotSixNumbers: return "it does not hold six numbers";
    case WorldFileRotated: return "the picture is rotated in it";
    case WorldFileMirrored: return "the picture is mirrored in it";
    case WorldFileNotDegrees:
        return "its numbers are not degrees of latitude and longitude (a projected map?)";
    default: return "";
    }
}

void EdgeToText(char* target, int targetSize, int32_t thousandths, bool isLatitude) {
    if (targetSize <= 0) return;
    SetupRow row{};
    EdgeToRow(row, thousandths, isLatitude);
    std::snprintf(target, static_cast<size_t>(targetSize), "%s:%s.%s%s", row.degText, row.minText,
                  row.thouText, row.hemiText);
}

void FillRowsFromEdges(const WorldEdges& edges) {
    EdgeToRow(setupRows[MarkerTop], edges.top, true);
    EdgeToRow(setupRows[MarkerBottom], edges.bottom, true);
    EdgeToRow(setupRows[MarkerLeft], edges.left, false);
    EdgeToRow(setupRows[MarkerRight], edges.right, false);
    for (MarkerPoint& marker : markers) marker = MarkerPoint{0, 0};
}
