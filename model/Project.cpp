// The one project state and the new-project defaults.
#include "model/Project.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <tuple>

char backdropName[BackdropNameSize];
char projectName[ProjectNameSize];
// Until the first New or Open the bounds span the whole globe.
char areaTopText[BoundTextSize] = "90:00.000N";
char areaBottomText[BoundTextSize] = "90:00.000S";
char areaLeftText[BoundTextSize] = "180:00.000W";
char areaRightText[BoundTextSize] = "180:00.000E";

int32_t areaTop, areaBottom, areaLeft, areaRight;
int32_t latSpan, lonSpan;
double latPerPixel, lonPerPixel;
int32_t backdropWidth, backdropHeight;

SetupRow setupRows[4];
MarkerPoint markers[4];
int markerEdge;

Thermal thermals[MaxThermals];
int32_t thermalCount;
uint32_t tableEdits;
uint32_t tableChanges;

int32_t projectModified;
int32_t backdropLoaded;
int32_t setupMode, manualMode, automaticMode, clearPartMode;

char captionText[CaptionTextSize];
char statusText[StatusParts][StatusTextSize];
char dialogPath[DialogPathSize];
char dialogTitle[DialogTitleSize];
char spareDialogPath[DialogPathSize];
char spareDialogTitle[DialogTitleSize];
char projectFolder[DialogPathSize];

bool SameThermal(const Thermal& a, const Thermal& b) {
    auto fields = [](const Thermal& t) {
        return std::make_tuple(t.lat, t.lon, t.type, t.bottom, t.top, t.radius, t.windDir, t.factor, t.cloudOn,
                               t.cloudParam, t.cloudCeiling, t.cloudSize, t.cloudType);
    };
    return fields(a) == fields(b);
}

const char* FileTitle(const char* path) {
    const char* title = path;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') title = p + 1;
    return title;
}

std::string BesideProject(const char* name) {
    const bool ownFolder = name[0] == '\\' || name[0] == '/' || (name[0] != '\0' && name[1] == ':');
    return ownFolder ? std::string(name) : std::string(projectFolder) + name;
}

std::string FolderOf(const char* path) { return std::string(path, static_cast<size_t>(FileTitle(path) - path)); }

void CopyText(char* target, int targetSize, const char* source) {
    if (targetSize <= 0) return;
    size_t length = std::strlen(source);
    if (length > static_cast<size_t>(targetSize - 1)) length = static_cast<size_t>(targetSize - 1);
    std::memmove(target, source, length);
    target[length] = '\0';
}

int32_t TruncToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t TextToInt(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (std::isspace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    int64_t value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value <= 2147483648LL) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

void ClearMapModes() {
    setupMode = 0;
    manualMode = 0;
    automaticMode = 0;
    clearPartMode = 0;
}

bool ResetProject() {
    backdropName[0] = '\0';
    projectName[0] = '\0';
    projectFolder[0] = '\0';
    spareDialogPath[0] = '\0';
    spareDialogTitle[0] = '\0';
    captionText[0] = '\0';

    CopyText(areaTopText, BoundTextSize, "89:00.000N");
    CopyText(areaBottomText, BoundTextSize, "90:00.000S");
    CopyText(areaLeftText, BoundTextSize, "180:00.000W");
    CopyText(areaRightText, BoundTextSize, "180:00.000E");

    std::memset(thermals, 0, sizeof thermals);
    thermalCount = 0;
    NoteTableEdit();

    std::memset(markers, 0, sizeof markers);

    static const char* const degrees[4] = {"89", "89", "179", "179"};
    static const char* const hemispheres[4] = {"N", "S", "W", "E"};
    for (int i = 0; i < 4; ++i) {
        CopyText(setupRows[i].minText, sizeof setupRows[i].minText, "0");
        CopyText(setupRows[i].thouText, sizeof setupRows[i].thouText, "0");
        CopyText(setupRows[i].degText, sizeof setupRows[i].degText, degrees[i]);
        CopyText(setupRows[i].hemiText, sizeof setupRows[i].hemiText, hemispheres[i]);
    }
    return true;
}
