// File figures: the program's project reader and writer, scenery writer and backdrop reader,
// each beside the plain loop that does the same work with the C library directly.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "BenchFigures.h"
#include "BenchInputs.h"
#include "map/Bitmap.h"
#include "map/ThermalMap.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "scenery/ScaWriter.h"

namespace {

constexpr int HeaderLines = 5;
constexpr int FieldCount = 13;
constexpr size_t LineRoom = 192;  // a thermal or scenery line, whatever its values

class AnswerNo : public SceneryQuestions {
public:
    SplitAnswer AskSplit() override { return SplitAnswer::No; }
    void TellTooWide() override {}
    void TellBadThermal(const char*) override {}
};

// What the plain reader fills: its own table, so that it does the same stores as the program.
Thermal plainTable[MaxThermals];
int plainCount;
char plainHeaders[HeaderLines][256];

// One buffer for the whole text, allocated for each write as a single call of a program would.
struct PlainBuffer {
    explicit PlainBuffer(size_t lines) : room(lines * LineRoom + 4096), data(new char[room]) {}
    size_t room;
    std::unique_ptr<char[]> data;
};

void PlainReadProject(const char* path) {
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) return;
    char line[256];
    for (int k = 0; k < HeaderLines && std::fgets(line, sizeof line, file); ++k) std::strcpy(plainHeaders[k], line);
    plainCount = 0;
    while (plainCount < MaxThermals && std::fgets(line, sizeof line, file)) {
        long v[FieldCount];
        char* p = line;
        for (int n = 0; n < FieldCount; ++n) {
            char* end;
            v[n] = std::strtol(p, &end, 10);
            p = *end == ',' ? end + 1 : end;
        }
        Thermal& t = plainTable[plainCount++];
        t.lat = v[0];
        t.lon = v[1];
        t.type = v[2];
        t.bottom = v[3];
        t.top = v[4];
        t.radius = v[5];
        t.windDir = v[6];
        t.factor = v[7];
        t.cloudOn = v[8] != 0 ? 1 : 0;
        t.cloudParam = v[9];
        t.cloudCeiling = v[10];
        t.cloudSize = v[11];
        t.cloudType = v[12];
    }
    std::fclose(file);
}

void WriteBuffer(const char* path, const char* data, size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
}

}  // namespace

void PlainWriteProject(const char* path) {
    PlainBuffer buffer(static_cast<size_t>(thermalCount));
    char* out = buffer.data.get();
    size_t room = buffer.room, used = 0;
    const char* headers[HeaderLines] = {backdropName, areaTopText, areaBottomText, areaLeftText, areaRightText};
    for (const char* text : headers) used += std::snprintf(out + used, room - used, "%s\r\n", text);
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        used += std::snprintf(out + used, room - used, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d\r\n",
                              static_cast<int>(t.lat), static_cast<int>(t.lon), static_cast<int>(t.type),
                              static_cast<int>(t.bottom), static_cast<int>(t.top), static_cast<int>(t.radius),
                              static_cast<int>(t.windDir), static_cast<int>(t.factor), t.cloudOn != 0 ? 1 : 0,
                              static_cast<int>(t.cloudParam), static_cast<int>(t.cloudCeiling),
                              static_cast<int>(t.cloudSize), static_cast<int>(t.cloudType));
    }
    WriteBuffer(path, out, used);
}

namespace {

// The scenery source of the whole table as one band, line by line with the writer's formats.
void PlainWriteScenery(const char* path) {
    static const char* const textures[20] = {"cld1.bmp",   "cld2.bmp",   "cld3.bmp",   "cld4.bmp",   "cld5.bmp",
                                             "cld6.bmp",   "cld7.bmp",   "cld8.bmp",   "cld9.bmp",   "cld10.bmp",
                                             "cldcn1.bmp", "cldcn2.bmp", "cldcn3.bmp", "cldcn4.bmp", "cldcn5.bmp",
                                             "cldcn6.bmp", "cldcn7.bmp", "cldcn8.bmp", "cldcn9.bmp", "cldcn10.bmp"};
    static const char* const lifts[4] = {"lift_01.scm", "lift_02.scm", "lift_03.scm", "lift_04.scm"};
    int32_t north = -9000000, south = 9000000, east = -18000000, west = 18000000;
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        if (t.lat > north) north = t.lat;
        if (t.lat < south) south = t.lat;
        if (t.lon > east) east = t.lon;
        if (t.lon < west) west = t.lon;
    }
    PlainBuffer buffer(2 * static_cast<size_t>(thermalCount));
    char* out = buffer.data.get();
    size_t room = buffer.room, used = 0;
    used += std::snprintf(out + used, room - used, "Header( 1 %.5f %.5f %.5f %.5f )\r\n", north / 100000.0 + 0.2,
                          south / 100000.0 - 0.2, east / 100000.0 + 0.2, west / 100000.0 - 0.2);
    used += std::snprintf(out + used, room - used, "LatRange( %.5f %.5f )\r\n\r\n", south / 100000.0 - 0.2,
                          north / 100000.0 + 0.2);
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        if (!t.cloudOn) continue;
        used += std::snprintf(out + used, room - used, "Macro( cloud_01.scm %.5f %.5f %d %d %d %s )\r\n",
                              t.lat / 100000.0, t.lon / 100000.0, static_cast<int>(t.cloudParam),
                              static_cast<int>(t.cloudCeiling), static_cast<int>(t.cloudSize),
                              textures[t.cloudType - 1]);
    }
    used += std::snprintf(out + used, room - used, "\r\n");
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        if (t.type == 4) {
            used += std::snprintf(out + used, room - used, "Macro( %s %.5f %.5f %d %d %d )\r\n", lifts[3],
                                  t.lat / 100000.0, t.lon / 100000.0, static_cast<int>(t.bottom),
                                  static_cast<int>(t.top), static_cast<int>(t.radius));
        } else {
            used += std::snprintf(out + used, room - used, "Macro( %s %.5f %.5f %d %d %d %d %d )\r\n",
                                  lifts[t.type - 1], t.lat / 100000.0, t.lon / 100000.0, static_cast<int>(t.bottom),
                                  static_cast<int>(t.top), static_cast<int>(t.radius), static_cast<int>(t.windDir),
                                  static_cast<int>(t.factor));
        }
    }
    WriteBuffer(path, out, used);
}

// All of the file's bytes in one fread.
void PlainReadBytes(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (size > 0) {
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[static_cast<size_t>(size)]);
        if (std::fread(bytes.get(), 1, static_cast<size_t>(size), file) != static_cast<size_t>(size)) bytes.reset();
    }
    std::fclose(file);
}

bool SameTableAsPlainRead() {
    if (plainCount != thermalCount) return false;
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& a = thermals[i];
        const Thermal& b = plainTable[i];
        if (a.lat != b.lat || a.lon != b.lon || a.type != b.type || a.radius != b.radius ||
            a.cloudType != b.cloudType || a.cloudOn != b.cloudOn)
            return false;
    }
    return true;
}

}  // namespace

void MeasureFiles(BenchRun& run) {
    const char* project = run.projectFile.c_str();
    const int reps = run.reps;

    // Read: the program's reader starts, as Open does, from a reset project.
    BenchWork programRead{[] { ResetProject(); }, [project] { ReadProject(project); }};
    BenchWork plainRead{nullptr, [project] { PlainReadProject(project); }};
    PlainReadProject(project);
    ResetProject();
    if (!ReadProject(project) || thermalCount != MaxThermals || !SameTableAsPlainRead()) {
        run.table.Fail("project read", "the program did not read the bench project back as written");
        return;
    }
    BenchPair read = MedianPair(programRead, plainRead, reps);
    run.table.Add({"project read, 32768 thermals", read.value, "fgets + 13 strtol/line", read.baseline, "ms", 1.5, ""});

    BenchWork programWrite{nullptr, [] { WriteProject("program-out.prj"); }};
    BenchWork plainWrite{nullptr, [] { PlainWriteProject("plain-out.prj"); }};
    if (!WriteProject("program-out.prj")) {
        run.table.Fail("project write", "WriteProject failed");
    } else {
        PlainWriteProject("plain-out.prj");
        BenchPair write = MedianPair(programWrite, plainWrite, reps);
        run.table.Add({"project write, 32768 thermals", write.value, "snprintf/line + 1 fwrite", write.baseline, "ms",
                       1.5, ""});
    }

    AnswerNo answers;
    BenchWork programScenery{nullptr, [&answers] { WriteScaFiles(answers, "bench"); }};
    BenchWork plainScenery{nullptr, [] { PlainWriteScenery("plain_a.sca"); }};
    if (!WriteScaFiles(answers, "bench")) {
        run.table.Fail("scenery sources", "WriteScaFiles failed");
    } else {
        PlainWriteScenery("plain_a.sca");
        BenchPair scenery = MedianPair(programScenery, plainScenery, reps);
        run.table.Add({"scenery sources, 32768 thermals", scenery.value, "snprintf/line + 1 fwrite", scenery.baseline,
                       "ms", 1.5, ""});
    }

    for (const BenchBackdrop& b : benchBackdrops) {
        std::string figure = "backdrop load " + std::to_string(b.side) + "x" + std::to_string(b.side) + " " +
                             std::to_string(b.bitCount) + "-bit";
        const char* name = b.name;
        if (LoadBackdrop(name) != LoadOk) {
            run.table.Fail(figure, "LoadBackdrop refused the file");
            continue;
        }
        PlainReadBytes(name);
        BenchPair load = MedianPair({nullptr, [name] { LoadBackdrop(name); }}, {nullptr, [name] { PlainReadBytes(name); }},
                                    reps);
        run.table.Add({figure, load.value, "1 fread of the file", load.baseline, "ms", 2.0, ""});
    }
}

void MeasureThermalMapLoad(BenchRun& run, const char* name) {
    const std::string figure = "thermal map load 16384x16384 24-bit";
    if (LoadThermalMap(name) != LoadOk) {
        run.table.Fail(figure, "LoadThermalMap refused the file");
        return;
    }
    BenchPair load = MedianPair({nullptr, [name] { LoadThermalMap(name); }}, {nullptr, [name] { PlainReadBytes(name); }},
                                run.reps < 3 ? run.reps : 3);
    ForgetThermalMap();
    run.table.Add({figure, load.value, "1 fread of the file", load.baseline, "ms", 2.0, ""});
}
