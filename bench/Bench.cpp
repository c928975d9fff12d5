// Ascendor's benchmark: runs the program's own code in this process with the real main window,
// on inputs it makes itself, and times each piece of work beside a plain baseline measured in the
// same run. Prints the table; --csv FILE writes it as CSV too.
//
//   ascendor_bench [--reps N] [--csv FILE] [--only GROUPS]
//
// GROUPS is a comma-separated choice of files, exchange, map, batch and memory (all by default).
//
// Peak memory is measured in fresh processes: the bench starts itself again with
// --memory-child FOLDER paint|load|map|none BACKDROP RESULT.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchFigures.h"
#include "BenchInputs.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "map/ThermalMap.h"
#include "model/Project.h"
#include "shell/AppWindow.h"
#include "shell/MainParts.h"

namespace {

// The map's room is about 1000 x 700 pixels: the main window's client area is that plus the
// allowances the picture never uses.
constexpr int ClientWidth = 1000 + ViewHorizontalAllowance;
constexpr int ClientHeight = 700 + ViewVerticalAllowance;
constexpr double Megabyte = 1024.0 * 1024.0;
constexpr int ChildTimeoutMs = 180000;

// A message box nobody expected would stop the run in its modal loop: it is answered with
// Cancel (else No, else OK) as soon as it shows, and its text is printed.
HHOOK boxHook;

bool IsMessageBox(HWND window) {
    char className[16];
    if (GetClassNameA(window, className, sizeof className) == 0 || std::strcmp(className, "#32770") != 0) return false;
    if (window == theApp->currentDialog || GetDlgItem(window, 0xFFFF) == nullptr) return false;
    int children = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) ++children;
    return children <= 8;  // icon, text and at most four buttons; the tool dialogs have many more
}

LRESULT CALLBACK BoxHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(window)) {
            char text[256] = "";
            GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            std::fprintf(stderr, "bench: answered an unexpected message box: %s\n", text);
            int answer = GetDlgItem(window, IDCANCEL) ? IDCANCEL : GetDlgItem(window, IDNO) ? IDNO : IDOK;
            PostMessageA(window, WM_COMMAND, answer, 0);
        }
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

// The program's own start-up, with the main window sized for the bench.
bool StartProgram(AppWindow& app) {
    PrepareApplication(app);
    if (!app.Create()) return false;
    boxHook = SetWindowsHookExA(WH_CBT, BoxHookProc, nullptr, GetCurrentThreadId());
    RECT window, client;
    GetWindowRect(app.mainWindow, &window);
    GetClientRect(app.mainWindow, &client);
    int extraX = (window.right - window.left) - client.right;
    int extraY = (window.bottom - window.top) - client.bottom;
    SetWindowPos(app.mainWindow, nullptr, 0, 0, ClientWidth + extraX, ClientHeight + extraY,
                 SWP_NOZORDER | SWP_NOMOVE);
    PumpMessages(500);
    return mapWindow != nullptr;
}

std::string FullPath(const char* path) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full) : std::string(path);
}

// In a fresh process: the program with the backdrop loaded by the map's paint and painted at the
// fit zoom, 1:1, 8x and 64x ("paint"), only read by the backdrop reader ("load"), or nothing ("none"); writes the
// peak working set in bytes to the result file.
int MemoryChild(const char* folder, const std::string& mode, const char* backdropFile, const char* resultFile) {
    std::string result = FullPath(resultFile);
    AppWindow app(GetModuleHandleA(nullptr), SW_SHOWNORMAL, "Ascendor", "Ascendor");
    if (!StartProgram(app) || !SetCurrentDirectoryA(folder)) return 2;
    if (mode == "paint") {
        CopyText(backdropName, BackdropNameSize, backdropFile);
        ReloadBackdrop(backdropName);
        RepaintMap(true);
        PumpMessages(300);
        if (!backdropLoaded) return 3;
        // Painted at each zoom of the map figures, so that whatever a zoom keeps counts.
        for (double zoom : {1.0, 8.0, 64.0, fitZoom}) {
            zoomFactor = zoom;
            RepaintMap(true);
            PumpMessages(100);
        }
    } else if (mode == "load" || mode == "map") {
        if (LoadBackdrop(backdropFile) != LoadOk) return 3;
        // The same file as the thermal map too: the largest map beside the largest backdrop.
        if (mode == "map" && LoadThermalMap(backdropFile) != LoadOk) return 3;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 4;
    std::FILE* file = std::fopen(result.c_str(), "w");
    if (file == nullptr) return 5;
    std::fprintf(file, "%llu\n", static_cast<unsigned long long>(counters.PeakWorkingSetSize));
    return std::fclose(file) == 0 ? 0 : 5;
}

// Starts the bench again as a memory child; the peak in bytes, or 0 when it failed.
double PeakOfChild(const std::string& folder, const char* mode, const char* backdropFile, std::string& why) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string result = folder + "\\peak.txt";
    DeleteFileA(result.c_str());
    std::string command = std::string("\"") + exe + "\" --memory-child \"" + folder + "\" " + mode + " " +
                          backdropFile + " \"" + result + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = command;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        why = "could not start the bench again";
        return 0.0;
    }
    DWORD waited = WaitForSingleObject(process.hProcess, ChildTimeoutMs);
    DWORD code = 1;
    if (waited == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (waited != WAIT_OBJECT_0) {
        why = "the measuring process did not finish";
        return 0.0;
    }
    unsigned long long peak = 0;
    std::FILE* file = std::fopen(result.c_str(), "r");
    if (file != nullptr) {
        if (std::fscanf(file, "%llu", &peak) != 1) peak = 0;
        std::fclose(file);
    }
    DeleteFileA(result.c_str());
    if (code != 0 || peak == 0) {
        why = "the measuring process failed (exit code " + std::to_string(code) + ")";
        return 0.0;
    }
    return static_cast<double>(peak);
}

// The peak of a fresh process that loads the backdrop and paints it at every zoom, against a
// target of 1.2 times its pixel bytes plus 64 MB.
void MeasurePaintedPeak(BenchRun& run, const BenchBackdrop& b) {
    std::string why;
    double pixels = static_cast<double>(BenchPixelBytes(b));
    std::string figure = "peak memory, " + std::to_string(b.side) + "x" + std::to_string(b.side) + " " +
                         std::to_string(b.bitCount) + "-bit loaded and painted";
    double peak = PeakOfChild(run.folder, "paint", b.name, why);
    if (peak > 0.0) {
        // At most 1.2 times the pixel bytes plus 64 MB, as a ratio to the pixel bytes.
        double target = (1.2 * pixels + 64.0 * Megabyte) / pixels;
        run.table.Add({figure, peak / Megabyte, "pixel bytes", pixels / Megabyte, "MB", target, ""});
    } else {
        run.table.Fail(figure, why);
    }
}

void MeasureMemory(BenchRun& run) {
    std::string why;
    const BenchBackdrop& b = benchMainBackdrop;
    const double pixels = static_cast<double>(BenchPixelBytes(b));
    MeasurePaintedPeak(run, b);
    // The largest backdrop, written only for this figure (768 MB) and removed after it.
    if (WriteBenchBitmap(benchLargestBackdrop.name, benchLargestBackdrop.side, benchLargestBackdrop.bitCount)) {
        MeasurePaintedPeak(run, benchLargestBackdrop);
        MeasureThermalMapLoad(run, benchLargestBackdrop.name);
        // The program holding that backdrop and the same file as its thermal map, against the
        // backdrop alone plus 48 MB.
        const std::string figure = "peak memory, largest backdrop read, + the same file as thermal map";
        const double without = PeakOfChild(run.folder, "load", benchLargestBackdrop.name, why);
        const double with = without > 0.0 ? PeakOfChild(run.folder, "map", benchLargestBackdrop.name, why) : 0.0;
        if (with > 0.0)
            run.table.Add({figure, with / Megabyte, "without the map", without / Megabyte, "MB",
                           (without + 48.0 * Megabyte) / without, ""});
        else
            run.table.Fail(figure, why);
    } else {
        run.table.Fail("peak memory, largest backdrop", "could not write " + std::string(benchLargestBackdrop.name));
    }
    DeleteFileA(benchLargestBackdrop.name);
    // For reference: the same backdrop only read, not painted, and the program with nothing loaded.
    double loaded = PeakOfChild(run.folder, "load", b.name, why);
    if (loaded > 0.0) {
        run.table.Add({"peak memory, same backdrop read, not painted", loaded / Megabyte, "pixel bytes",
                       pixels / Megabyte, "MB", 0.0, ""});
    } else {
        run.table.Fail("peak memory, same backdrop read, not painted", why);
    }
    double idle = PeakOfChild(run.folder, "none", "-", why);
    if (idle > 0.0) {
        run.table.Add({"peak memory, nothing loaded", idle / Megabyte, "", 0.0, "MB", 0.0, ""});
    } else {
        run.table.Fail("peak memory, nothing loaded", why);
    }
}

bool MakeInputs(BenchRun& run) {
    std::printf("bench: making the inputs in %s\n", run.folder.c_str());
    std::fflush(stdout);
    for (const BenchBackdrop& b : benchBackdrops) {
        if (!WriteBenchBitmap(b.name, b.side, b.bitCount)) {
            std::fprintf(stderr, "bench: could not write %s\n", b.name);
            return false;
        }
    }
    FillBenchTable(benchMainBackdrop.name);
    run.projectFile = "full.prj";
    PlainWriteProject(run.projectFile.c_str());
    return GetFileAttributesA(run.projectFile.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Usage() {
    std::fprintf(stderr, "usage: ascendor_bench [--reps N] [--csv FILE] [--only files,exchange,map,batch,flights,memory]\n");
    return 2;
}

bool Chosen(const std::string& groups, const char* group) {
    return groups.empty() || ("," + groups + ",").find(std::string(",") + group + ",") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "--memory-child") == 0) return MemoryChild(argv[2], argv[3], argv[4], argv[5]);

    BenchRun run;
    std::string csv;
    std::string groups;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--reps") == 0 && i + 1 < argc) {
            run.reps = std::atoi(argv[++i]);
            if (run.reps < 1) return Usage();
        } else if (std::strcmp(argv[i], "--csv") == 0 && i + 1 < argc) {
            csv = FullPath(argv[++i]);  // before the current folder moves
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            groups = argv[++i];
        } else {
            return Usage();
        }
    }

    AppWindow app(GetModuleHandleA(nullptr), SW_SHOWNORMAL, "Ascendor", "Ascendor");
    if (!StartProgram(app)) {
        std::fprintf(stderr, "bench: the main window could not be created\n");
        return 1;
    }
    run.folder = MakeScratchFolder();
    if (run.folder.empty() || !SetCurrentDirectoryA(run.folder.c_str())) {
        std::fprintf(stderr, "bench: no scratch folder\n");
        return 1;
    }
    if (!MakeInputs(run)) {
        RemoveScratchFolder(run.folder);
        return 1;
    }

    RECT mapClient;
    GetClientRect(mapWindow, &mapClient);
    std::printf("bench: %d-bit build, map window %ldx%ld, median of %d repetitions\n",
                static_cast<int>(sizeof(void*) * 8), mapClient.right, mapClient.bottom, run.reps);
    std::fflush(stdout);

    if (Chosen(groups, "files")) MeasureFiles(run);
    if (Chosen(groups, "exchange")) MeasureExchange(run);
    if (Chosen(groups, "map")) MeasureMap(run);
    if (Chosen(groups, "batch")) {
        // The batch needs the opened project that the map figures leave.
        if (!Chosen(groups, "map") && !OpenBenchProject(run.projectFile)) {
            run.table.Fail("Test batch", "the bench project did not open with its backdrop");
        } else {
            MeasureBatch(run);
        }
    }
    if (Chosen(groups, "flights")) MeasureFlights(run);
    if (Chosen(groups, "memory")) MeasureMemory(run);

    std::printf("\n");
    run.table.Print();
    int status = 0;
    if (!csv.empty()) {
        if (run.table.WriteCsv(csv)) {
            std::printf("bench: table written to %s\n", csv.c_str());
        } else {
            std::fprintf(stderr, "bench: could not write %s\n", csv.c_str());
            status = 1;
        }
    }

    SetCurrentDirectoryA("\\");
    RemoveScratchFolder(run.folder);
    if (boxHook != nullptr) UnhookWindowsHookEx(boxHook);
    DestroyWindow(app.mainWindow);
    return status;
}
