// The one project of the process: area bounds, backdrop name, markers, Setup rows, thermal table,
// and the project and mode flags that every subsystem reads.
#pragma once

#include <cstdint>
#include <string>

constexpr int MaxThermals = 32768;

struct Thermal {
    int32_t lat;          // 1/100000 degree, north positive
    int32_t lon;          // 1/100000 degree, east positive
    int32_t type;         // lift type 1..4
    int32_t bottom;       // metres
    int32_t top;          // metres
    int32_t radius;       // metres
    int32_t windDir;      // whole degrees, 0 = map up, clockwise
    int32_t factor;
    uint8_t cloudOn;      // 0 or 1
    int32_t cloudParam;
    int32_t cloudCeiling; // metres
    int32_t cloudSize;    // metres, twice the cloud radius
    int32_t cloudType;    // 1..LastCloudType
};

// The cloud types the simulator's textures cover.
constexpr int32_t LastCloudType = 20;
inline bool CloudTypeValid(int32_t cloudType) { return cloudType >= 1 && cloudType <= LastCloudType; }

// Room for the texts of one Setup row, as the dialog takes them from its edits.
struct SetupRow {
    char degText[4];   // at most 3 characters
    char minText[4];   // at most 3 characters
    char thouText[5];  // at most 4 characters
    char hemiText[2];  // 1 character
};

struct MarkerPoint {
    int32_t x;
    int32_t y;
};

// Text sizes, terminating zero included.
constexpr int BackdropNameSize = 512;  // any file title the Open dialog returns (511 characters)
constexpr int ProjectNameSize = 512;
constexpr int BoundTextSize = 32;      // a bound text needs 13 characters at most
constexpr int CaptionTextSize = 32;
constexpr int DialogPathSize = 260;
constexpr int DialogTitleSize = 512;

enum MarkerIndex { MarkerTop = 0, MarkerBottom = 1, MarkerLeft = 2, MarkerRight = 3 };

extern char backdropName[BackdropNameSize];
extern char projectName[ProjectNameSize];
extern char areaTopText[BoundTextSize];
extern char areaBottomText[BoundTextSize];
extern char areaLeftText[BoundTextSize];
extern char areaRightText[BoundTextSize];

extern int32_t areaTop, areaBottom, areaLeft, areaRight;
// Inside the project's area, its edges included: as the import, the flights, Statistics and the
// notice after Setup's OK count it.
inline bool InsideArea(int32_t lat, int32_t lon) {
    return lat >= areaBottom && lat <= areaTop && lon >= areaLeft && lon <= areaRight;
}
extern int32_t latSpan, lonSpan;
extern double latPerPixel, lonPerPixel;
extern int32_t backdropWidth, backdropHeight;

extern SetupRow setupRows[4];        // top, bottom, left, right
extern MarkerPoint markers[4];       // top, bottom, left, right
extern int markerEdge;               // which marker the next setup-mode click sets

extern Thermal thermals[MaxThermals];
extern int32_t thermalCount;

// Counts every change of the table that is not the append of an automatic batch (placement or
// removal by hand, clearing, reset, reading a file). A pending batch is only taken back while this
// count is the one it was when the batch was made.
extern uint32_t tableEdits;
// Counts every change of the table, the appends of an automatic batch too, so that a picture of
// the table made at one count shows the table for as long as the count stays.
extern uint32_t tableChanges;
inline void NoteTableChange() { ++tableChanges; }
inline void NoteTableEdit() {
    ++tableEdits;
    NoteTableChange();
}

// Project and mode flags, 0 or 1.
extern int32_t projectModified;
extern int32_t backdropLoaded;
extern int32_t setupMode, manualMode, automaticMode, clearPartMode;

// Message-box and file-dialog buffers shared by the commands.
extern char captionText[CaptionTextSize];
// The four texts of the status bar: pointer position, selection size, and two spare parts.
constexpr int StatusParts = 4;
constexpr int StatusTextSize = 80;
extern char statusText[StatusParts][StatusTextSize];
extern char dialogPath[DialogPathSize];
extern char dialogTitle[DialogTitleSize];
extern char spareDialogPath[DialogPathSize];
extern char spareDialogTitle[DialogTitleSize];
// The folder of the project's own file, ending in its separator: where Save, Create and the
// backdrop's name lead, whatever folder a file dialog visited since. Empty while the project has
// no file.
extern char projectFolder[DialogPathSize];

// Turns every map mode off: each command that starts a mode or leaves them all starts from here.
void ClearMapModes();

// Puts the project into the new-project state. Always true.
bool ResetProject();

// Whether two records hold the same values, field by field: the padding after cloudOn is no part
// of a record.
bool SameThermal(const Thermal& a, const Thermal& b);

// name in the project's folder; a name that holds its own folder or drive stays as it is.
std::string BesideProject(const char* name);
// The folder part of path, up to and including its last separator ("" for a bare name).
std::string FolderOf(const char* path);

// The file name at the end of path, after its last folder or drive separator.
const char* FileTitle(const char* path);

// Copies text into a buffer of the given size, cutting it to fit; never writes past the buffer.
void CopyText(char* target, int targetSize, const char* source);

// Turns a double into a 32-bit integer by truncation toward zero, saturating at the 32-bit
// limits (NaN gives 0), so that no conversion of a wild value is undefined.
int32_t TruncToInt32(double value);

// The standard decimal text-to-integer reading (leading white space, one optional sign, the
// digits up to the first other character, 0 without digits), saturating at the 32-bit limits
// instead of wrapping.
int32_t TextToInt(const char* text);
