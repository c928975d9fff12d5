// Writes the thermal table as SCASM source files, one per latitude band.
#pragma once

#include <cstdint>

enum class SplitAnswer { Yes, No, Cancel };

// The questions and notices of the writer; the Windows build answers with message boxes,
// tests answer directly.
class SceneryQuestions {
public:
    virtual ~SceneryQuestions() = default;
    // "This project might be too large for one BGL -\ndo you want to create separate files ?"
    virtual SplitAnswer AskSplit() = 0;
    // "Over 10 deg. latitude is way too much..."
    virtual void TellTooWide() = 0;
    // A thermal whose type or cloud type has no name in the tables; text names it.
    virtual void TellBadThermal(const char* text) = 0;
    // A source file that could not be written (a running SCASM still reading it, a read-only
    // file); the build stops there.
    virtual void TellWriteFailed(const char* fileName) { (void)fileName; }
};

constexpr int MaxSceneryFiles = 5;

extern int sceneryFileCount;
extern int32_t latitudeBands[MaxSceneryFiles][2];  // (top, bottom)
extern const char* const sceneryFileSuffixes[MaxSceneryFiles];  // "_a" .. "_e"

// True when every file was written. projectName is the base of the file names, written into
// folder (ending in its separator; "" for the current one). A file that cannot be written is
// named to the questions, and no later file is written.
bool WriteScaFiles(SceneryQuestions& questions, const char* projectName, const char* folder = "");

// The thermals in the source of band (0 to sceneryFileCount - 1) of the last WriteScaFiles.
int32_t BandThermalCount(int band);
