// SCASM source text of the thermal table: band choice and the Header, LatRange and Macro lines.
#include "scenery/ScaWriter.h"

#include "model/Project.h"
#include "model/SafeFile.h"

#include <cstdio>
#include <new>
#include <string>

int sceneryFileCount = 1;
int32_t latitudeBands[MaxSceneryFiles][2];
const char* const sceneryFileSuffixes[MaxSceneryFiles] = {"_a", "_b", "_c", "_d", "_e"};

namespace {

constexpr int LiftTypeCount = 4;

const char liftMacroNames[LiftTypeCount][24] = {"lift_01.scm", "lift_02.scm", "lift_03.scm",
                                                "lift_04.scm"};
const char cloudTextureNames[LastCloudType][24] = {
    "cld1.bmp",   "cld2.bmp",   "cld3.bmp",   "cld4.bmp",   "cld5.bmp",
    "cld6.bmp",   "cld7.bmp",   "cld8.bmp",   "cld9.bmp",   "cld10.bmp",
    "cldcn1.bmp", "cldcn2.bmp", "cldcn3.bmp", "cldcn4.bmp", "cldcn5.bmp",
    "cldcn6.bmp", "cldcn7.bmp", "cldcn8.bmp", "cldcn9.bmp", "cldcn10.bmp"};
const char cloudMacroName[] = "cloud_01.scm";

constexpr double BorderDegrees = 0.2;

int32_t TableCount() {
    if (thermalCount < 0) return 0;
    return thermalCount > MaxThermals ? MaxThermals : thermalCount;
}

// Degrees of a stored coordinate, as SCASM reads them.
struct DegreeText {
    char text[32];
    explicit DegreeText(double degrees) { std::snprintf(text, sizeof text, "%.5f", degrees); }
};

double Degrees(int32_t value) { return value / 100000.0; }

// The first thermal whose type or cloud type names nothing in the tables, described in text.
bool FindBadThermal(char* text, int textSize) {
    for (int32_t i = 0; i < TableCount(); ++i) {
        const Thermal& t = thermals[i];
        if (t.type < 1 || t.type > LiftTypeCount) {
            std::snprintf(text, static_cast<size_t>(textSize),
                          "Thermal %d has lift type %d; lift types are 1 to %d.",
                          static_cast<int>(i + 1), static_cast<int>(t.type), LiftTypeCount);
            return true;
        }
        if (t.cloudOn && !CloudTypeValid(t.cloudType)) {
            std::snprintf(text, static_cast<size_t>(textSize),
                          "Thermal %d has cloud type %d; cloud types are 1 to %d.",
                          static_cast<int>(i + 1), static_cast<int>(t.cloudType), static_cast<int>(LastCloudType));
            return true;
        }
    }
    return false;
}

// A thermal on the edge between two bands goes into both sources.
bool InBand(const Thermal& t, int32_t top, int32_t bottom) { return t.lat >= bottom && t.lat <= top; }

void AppendBand(std::string& out, int32_t top, int32_t bottom, int32_t east, int32_t west) {
    const DegreeText north(Degrees(top) + BorderDegrees), south(Degrees(bottom) - BorderDegrees);
    const DegreeText eastText(Degrees(east) + BorderDegrees);
    const DegreeText westText(Degrees(west) - BorderDegrees);
    char line[256];
    std::snprintf(line, sizeof line, "Header( 1 %s %s %s %s )\r\n", north.text, south.text,
                  eastText.text, westText.text);
    out.append(line);
    std::snprintf(line, sizeof line, "LatRange( %s %s )\r\n", south.text, north.text);
    out.append(line);
    out.append("\r\n");

    for (int32_t i = 0; i < TableCount(); ++i) {
        const Thermal& t = thermals[i];
        if (!InBand(t, top, bottom) || !t.cloudOn) continue;
        int length = std::snprintf(line, sizeof line, "Macro( %s %.5f %.5f %d %d %d %s )\r\n", cloudMacroName,
                                   Degrees(t.lat), Degrees(t.lon), static_cast<int>(t.cloudParam),
                                   static_cast<int>(t.cloudCeiling), static_cast<int>(t.cloudSize),
                                   cloudTextureNames[t.cloudType - 1]);
        out.append(line, static_cast<size_t>(length));
    }
    out.append("\r\n");

    for (int32_t i = 0; i < TableCount(); ++i) {
        const Thermal& t = thermals[i];
        if (!InBand(t, top, bottom)) continue;
        // The wind-driven lift types take a direction and a factor; type 4 has neither.
        int length = t.type != 4
            ? std::snprintf(line, sizeof line, "Macro( %s %.5f %.5f %d %d %d %d %d )\r\n", liftMacroNames[t.type - 1],
                            Degrees(t.lat), Degrees(t.lon), static_cast<int>(t.bottom), static_cast<int>(t.top),
                            static_cast<int>(t.radius), static_cast<int>(t.windDir), static_cast<int>(t.factor))
            : std::snprintf(line, sizeof line, "Macro( %s %.5f %.5f %d %d %d )\r\n", liftMacroNames[t.type - 1],
                            Degrees(t.lat), Degrees(t.lon), static_cast<int>(t.bottom), static_cast<int>(t.top),
                            static_cast<int>(t.radius));
        out.append(line, static_cast<size_t>(length));
    }
}

}  // namespace

bool WriteScaFiles(SceneryQuestions& questions, const char* projectName, const char* folder) {
    sceneryFileCount = 1;
    if (!projectName) return false;

    // The name tables are indexed by type and cloud type, which hand placement and project files
    // may leave out of range: refuse the whole build rather than write part of it.
    char badThermal[128];
    if (FindBadThermal(badThermal, sizeof badThermal)) {
        questions.TellBadThermal(badThermal);
        return false;
    }

    int32_t north = -9000000, south = 9000000, east = -18000000, west = 18000000;
    for (int32_t i = 0; i < TableCount(); ++i) {
        const Thermal& t = thermals[i];
        if (t.lat > north) north = t.lat;
        if (t.lat < south) south = t.lat;
        if (t.lon > east) east = t.lon;
        if (t.lon < west) west = t.lon;
    }

    int bandCount = 1;
    latitudeBands[0][0] = north;
    latitudeBands[0][1] = south;
    const int64_t spanUnits = static_cast<int64_t>(north) - south;
    const double span = static_cast<double>(spanUnits) / 100000.0;
    if (span > 2.0) {
        switch (questions.AskSplit()) {
        case SplitAnswer::Cancel:
            return false;
        case SplitAnswer::No:
            break;
        case SplitAnswer::Yes: {
            if (span > 10.0) {
                questions.TellTooWide();
                return false;
            }
            // Bands of at most two degrees. Exactly ten degrees would make six bands, one more
            // than there are file names; five bands of exactly two degrees hold it as well.
            int64_t n = spanUnits / 200000 + 1;
            if (n > MaxSceneryFiles) n = MaxSceneryFiles;
            const int64_t height = spanUnits / n;
            int64_t bottom = south;
            for (int k = 0; k < n; ++k) {
                latitudeBands[k][1] = static_cast<int32_t>(bottom);
                latitudeBands[k][0] = static_cast<int32_t>(k == n - 1 ? north : bottom + height);
                bottom += height;
            }
            bandCount = static_cast<int>(n);
            sceneryFileCount = bandCount;
            break;
        }
        }
    }

    for (int k = 0; k < bandCount; ++k) {
        std::string text;
        try {
            AppendBand(text, latitudeBands[k][0], latitudeBands[k][1], east, west);
        } catch (const std::bad_alloc&) {
            return false;
        }
        const std::string fileName = std::string(projectName) + sceneryFileSuffixes[k] + ".sca";
        if (!WriteWholeFile((folder + fileName).c_str(), text.data(), text.size())) {
            questions.TellWriteFailed(fileName.c_str());
            return false;
        }
    }
    return true;
}

int32_t BandThermalCount(int band) {
    int32_t count = 0;
    for (int32_t i = 0; i < TableCount(); ++i)
        if (InBand(thermals[i], latitudeBands[band][0], latitudeBands[band][1])) ++count;
    return count;
}
