// The project file: backdrop name, four bound texts, then one line of thirteen numbers per thermal.
#include "model/ProjectFile.h"

#include "model/Project.h"
#include "model/SafeFile.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr int ThermalFieldCount = 13;
constexpr int HeaderLineCount = 5;

bool IsLineEnd(char c) { return c == '\0' || c == '\r' || c == '\n'; }

// Start of the n-th comma-separated field (from 1); the end of the text when there are fewer.
const char* FieldStart(const char* line, int n) {
    const char* p = line;
    for (int skip = 1; skip < n; ++skip) {
        if (IsLineEnd(*p)) break;
        while (!IsLineEnd(*p) && *p != ',') ++p;
        if (*p == ',') ++p;
    }
    return p;
}

int32_t* ThermalField(Thermal& t, int n) {
    switch (n) {
    case 1: return &t.lat;
    case 2: return &t.lon;
    case 3: return &t.type;
    case 4: return &t.bottom;
    case 5: return &t.top;
    case 6: return &t.radius;
    case 7: return &t.windDir;
    case 8: return &t.factor;
    case 10: return &t.cloudParam;
    case 11: return &t.cloudCeiling;
    case 12: return &t.cloudSize;
    case 13: return &t.cloudType;
    default: return nullptr;  // 9, cloudOn, is a flag
    }
}

// One thermal line, parsed where it stands: fields of any length are read whole.
Thermal ParseThermalLine(const char* line) {
    Thermal t{};
    for (int n = 1; n <= ThermalFieldCount; ++n) {
        int32_t value = TextToInt(FieldStart(line, n));
        if (int32_t* field = ThermalField(t, n))
            *field = value;
        else
            t.cloudOn = value != 0 ? 1 : 0;
    }
    return t;
}

void AppendLine(std::string& out, const char* text) {
    out.append(text);
    out.append("\r\n");
}

// The whole file, or false when it cannot be opened or read.
bool ReadWholeFile(const char* fileName, std::vector<char>& data) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) return false;
    bool ok = true;
    char chunk[65536];
    try {
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            data.insert(data.end(), chunk, chunk + got);
        data.push_back('\0');
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (std::ferror(file)) ok = false;
    std::fclose(file);
    return ok;
}

}  // namespace

char* CopyLine(const char* line, char* target, int targetSize) {
    if (targetSize <= 0) return target;
    int length = 0;
    while (!IsLineEnd(line[length]) && length < targetSize - 1) {
        target[length] = line[length];
        ++length;
    }
    target[length] = '\0';
    return target;
}

char* GetField(char* target, int targetSize, const char* line, int n) {
    if (targetSize <= 0) return target;
    const char* p = FieldStart(line, n);
    int length = 0;
    while (!IsLineEnd(p[length]) && p[length] != ',' && length < targetSize - 1) {
        target[length] = p[length];
        ++length;
    }
    target[length] = '\0';
    return target;
}

bool WriteProject(const char* fileName) {
    std::string out;
    int32_t count = thermalCount;
    if (count < 0) count = 0;
    if (count > MaxThermals) count = MaxThermals;
    try {
        out.reserve(std::strlen(backdropName) + 4 * BoundTextSize + 16 +
                    static_cast<size_t>(count) * 64);
        AppendLine(out, backdropName);
        AppendLine(out, areaTopText);
        AppendLine(out, areaBottomText);
        AppendLine(out, areaLeftText);
        AppendLine(out, areaRightText);
        char line[256];
        for (int32_t i = 0; i < count; ++i) {
            const Thermal& t = thermals[i];
            std::snprintf(line, sizeof line, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d\r\n",
                          static_cast<int>(t.lat), static_cast<int>(t.lon),
                          static_cast<int>(t.type), static_cast<int>(t.bottom),
                          static_cast<int>(t.top), static_cast<int>(t.radius),
                          static_cast<int>(t.windDir), static_cast<int>(t.factor),
                          t.cloudOn != 0 ? 1 : 0, static_cast<int>(t.cloudParam),
                          static_cast<int>(t.cloudCeiling), static_cast<int>(t.cloudSize),
                          static_cast<int>(t.cloudType));
            out.append(line);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return WriteWholeFile(fileName, out.data(), out.size());
}

bool ReadProject(const char* fileName) {
    std::vector<char> data;
    if (!ReadWholeFile(fileName, data)) return false;

    // Split into lines where they stand: each LF ends a line, and a last line without one still
    // counts. The text of a line ends at its first CR, LF or NUL; it is cut there, so that no
    // reading of a line runs on into the next.
    std::vector<const char*> headers;
    size_t pos = 0;
    size_t end = data.size() - 1;  // the terminating zero added by the reader
    // A Ctrl-Z byte ends the text, as old text tools mark the end of a file; what follows it is
    // not part of the project.
    if (const void* stop = std::memchr(data.data(), 0x1A, end)) {
        end = static_cast<size_t>(static_cast<const char*>(stop) - data.data());
        data[end] = '\0';
    }
    auto nextLine = [&](char*& line) {
        if (pos >= end) return false;
        line = &data[pos];
        char* newline = static_cast<char*>(std::memchr(line, '\n', end - pos));
        if (newline) {
            *newline = '\0';
            pos = static_cast<size_t>(newline - data.data()) + 1;
        } else {
            pos = end;
        }
        if (char* cr = std::strchr(line, '\r')) *cr = '\0';
        return true;
    };

    // The name and bounds must fit their storage whole; a file that does not is refused before
    // anything of the project changes.
    static const int headerSizes[HeaderLineCount] = {BackdropNameSize, BoundTextSize,
                                                     BoundTextSize, BoundTextSize, BoundTextSize};
    char* line;
    while (static_cast<int>(headers.size()) < HeaderLineCount && nextLine(line)) {
        if (std::strlen(line) >= static_cast<size_t>(headerSizes[headers.size()])) return false;
        headers.push_back(line);
    }

    // Lines the file does not have keep the values set before the read.
    char* const headerTargets[HeaderLineCount] = {backdropName, areaTopText, areaBottomText,
                                                  areaLeftText, areaRightText};
    for (size_t i = 0; i < headers.size(); ++i)
        CopyLine(headers[i], headerTargets[i], headerSizes[i]);

    thermalCount = 0;
    while (thermalCount < MaxThermals && nextLine(line))
        thermals[thermalCount++] = ParseThermalLine(line);
    NoteTableEdit();
    return true;
}
