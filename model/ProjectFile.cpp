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

namespace {

// A project file split into its lines, each ended with a NUL where its line end stood.
struct ProjectText {
    std::vector<char> data;
    std::vector<char*> lines;
};

const int headerSizes[HeaderLineCount] = {BackdropNameSize, BoundTextSize, BoundTextSize,
                                          BoundTextSize, BoundTextSize};

// False when the file cannot be read, or its name or bound lines do not fit their storage whole.
bool ReadProjectText(const char* fileName, ProjectText& text) {
    std::vector<char>& data = text.data;
    if (!ReadWholeFile(fileName, data)) return false;
    size_t end = data.size() - 1;  // the terminating zero added by the reader
    // A Ctrl-Z byte ends the text, as old text tools mark the end of a file; what follows it is
    // not part of the project.
    if (const void* stop = std::memchr(data.data(), 0x1A, end)) {
        end = static_cast<size_t>(static_cast<const char*>(stop) - data.data());
        data[end] = '\0';
    }
    // No text file holds a NUL: a picture or another binary file given the project's extension.
    if (std::memchr(data.data(), '\0', end) != nullptr) return false;
    // The byte-order mark some editors put first is no part of the backdrop's name.
    size_t pos = end >= 3 && std::memcmp(data.data(), "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    // A line ends at CR LF, LF or a lone CR, as the editor that saved it chose; a last line
    // without an end still counts.
    try {
        while (pos < end) {
            size_t stop = pos;
            while (stop < end && data[stop] != '\r' && data[stop] != '\n') ++stop;
            size_t next = stop < end ? stop + 1 : end;
            if (stop < end && data[stop] == '\r' && next < end && data[next] == '\n') ++next;
            data[stop] = '\0';
            text.lines.push_back(&data[pos]);
            pos = next;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    // A project has at least its name and its four bounds.
    if (text.lines.size() < static_cast<size_t>(HeaderLineCount)) return false;
    for (size_t i = 0; i < HeaderLineCount; ++i)
        if (std::strlen(text.lines[i]) >= static_cast<size_t>(headerSizes[i])) return false;
    return true;
}

const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    return text;
}

bool IsBlankLine(const char* line) { return *SkipBlanks(line) == '\0'; }

// A field that starts with a number: blanks, one sign, then a digit.
bool HoldsNumber(const char* field) {
    field = SkipBlanks(field);
    if (*field == '+' || *field == '-') ++field;
    return *field >= '0' && *field <= '9';
}

// Answers the lines left out that hold no thermal.
int TakeProjectText(const ProjectText& text) {
    char* const headerTargets[HeaderLineCount] = {backdropName, areaTopText, areaBottomText,
                                                  areaLeftText, areaRightText};
    size_t i = 0;
    for (; i < HeaderLineCount; ++i) CopyLine(text.lines[i], headerTargets[i], headerSizes[i]);
    thermalCount = 0;
    int leftOut = 0;
    // A blank line, left by a hand edit, holds no thermal; a comment or a stray word has no
    // position, and read as 0,0 it would be a thermal no click reaches.
    for (; i < text.lines.size() && thermalCount < MaxThermals; ++i) {
        const char* line = text.lines[i];
        if (IsBlankLine(line)) continue;
        if (HoldsNumber(FieldStart(line, 1)) && HoldsNumber(FieldStart(line, 2)))
            thermals[thermalCount++] = ParseThermalLine(line);
        else
            ++leftOut;
    }
    NoteTableEdit();
    return leftOut;
}

}  // namespace

bool ReadProject(const char* fileName, int* leftOut) {
    ProjectText text;
    if (!ReadProjectText(fileName, text)) return false;
    const int count = TakeProjectText(text);
    if (leftOut != nullptr) *leftOut = count;
    return true;
}

bool ReadNewProject(const char* fileName, int* leftOut, void (*beforeTaking)()) {
    ProjectText text;
    if (!ReadProjectText(fileName, text)) return false;
    if (beforeTaking != nullptr) beforeTaking();
    ResetProject();
    const int count = TakeProjectText(text);
    if (leftOut != nullptr) *leftOut = count;
    return true;
}
