// The stand-in assembler: its argument splitting, and whole runs started as Ascendor starts them.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"

namespace fs = std::filesystem;

namespace {

TEST(ScasmCommandLine, SplitsAsTheCRuntimeDoes) {
    struct Case {
        const char* line;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"scasm a_a.sca a_a.bgl", {"scasm", "a_a.sca", "a_a.bgl"}},
        {"scasm", {"scasm"}},
        {"scasm  \ta_a.sca\t  a_a.bgl  ", {"scasm", "a_a.sca", "a_a.bgl"}},
        {"\"C:\\Program Files\\scasm.exe\" \"my area_a.sca\" \"my area_a.bgl\"",
         {"C:\\Program Files\\scasm.exe", "my area_a.sca", "my area_a.bgl"}},
        {"C:\\tools\\scasm.exe C:\\a\\b_a.sca", {"C:\\tools\\scasm.exe", "C:\\a\\b_a.sca"}},
        {"scasm my area_a.sca", {"scasm", "my", "area_a.sca"}},
        {"scasm a\"b c\"d", {"scasm", "ab cd"}},
        {"scasm \"\" x", {"scasm", "", "x"}},
        {"scasm \"a\\\"b\"", {"scasm", "a\"b"}},
        {"scasm \"C:\\dir\\\\\" x", {"scasm", "C:\\dir\\", "x"}},
        {"scasm \"say \"\"hi\"\"\"", {"scasm", "say \"hi\""}},
        {"scasm \"unclosed name", {"scasm", "unclosed name"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
    }
}

std::string ScasmPath() {
    std::string path = SCASM_EXE;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;  // a build path seen from Wine
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> Records(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("scasm-run-", 0) == 0 && entry.path().extension() == ".txt")
            found.push_back(entry.path());
    }
    return found;
}

HANDLE StartScasm(const std::string& commandLine, const fs::path& folder) {
    std::string exe = ScasmPath();
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    std::string dir = folder.string();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

DWORD Finish(HANDLE process) {
    DWORD code = 0xFFFF;
    if (WaitForSingleObject(process, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

class ScasmRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::absolute("scasm-test-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void Put(const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    fs::path folder;
};

TEST_F(ScasmRun, ChecksTheSourceWritesTheSceneryAndRecordsEveryRun) {
    const std::string source = "Header( 1 52.3 51.9 5.3 4.9 )\r\nLatRange( 51.9 52.3 )\r\n";
    struct Case {
        const char* commandLine;
        const char* sourceName;  // written with sourceText first, unless null
        const char* sourceText;
        const char* sceneryName;
        DWORD exitCode;
    };
    const Case cases[] = {
        {"scasm area_a.sca area_a.bgl", "area_a.sca", source.c_str(), "area_a.bgl", 0},
        {"scasm \"my area_a.sca\" \"my area_a.bgl\"", "my area_a.sca", source.c_str(),
         "my area_a.bgl", 0},
        {"scasm none_a.sca none_a.bgl", nullptr, nullptr, "none_a.bgl", 2},
        {"scasm late_a.sca late_a.bgl", "late_a.sca", "LatRange( 51.9 52.3 )\r\n", "late_a.bgl", 3},
        {"scasm empty_a.sca empty_a.bgl", "empty_a.sca", "", "empty_a.bgl", 3},
        {"scasm short_a.sca short_a.bgl", "short_a.sca", "Header", "short_a.bgl", 3},
        {"scasm area_a.sca", "area_a.sca", source.c_str(), "area_a.bgl", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        fs::remove_all(folder);
        fs::create_directories(folder);
        if (c.sourceName) Put(c.sourceName, c.sourceText);

        HANDLE process = StartScasm(c.commandLine, folder);
        ASSERT_NE(process, nullptr);
        EXPECT_EQ(Finish(process), c.exitCode);

        const bool built = c.exitCode == 0;
        ASSERT_EQ(fs::exists(folder / c.sceneryName), built);
        if (built) {
            EXPECT_NE(ReadFile(folder / c.sceneryName).find(std::string("Source: ") + c.sourceName),
                      std::string::npos);
        }
        std::vector<fs::path> records = Records(folder);
        ASSERT_EQ(records.size(), 1u);
        std::istringstream lines(ReadFile(records[0]));
        std::string commandLine, currentFolder, result;
        std::getline(lines, commandLine);
        std::getline(lines, currentFolder);
        std::getline(lines, result);
        EXPECT_EQ(commandLine, std::string(c.commandLine) + "\r");
        EXPECT_TRUE(fs::equivalent(currentFolder.substr(0, currentFolder.size() - 1), folder));
        EXPECT_EQ(result.rfind("exit " + std::to_string(c.exitCode), 0), 0u) << result;
    }
}

TEST_F(ScasmRun, FiveRunsAtOnceKeepTheirRecordsApart) {
    const char* bands[] = {"_a", "_b", "_c", "_d", "_e"};
    std::vector<HANDLE> processes;
    for (const char* band : bands) {
        std::string name = std::string("alps") + band;
        Put(name + ".sca", "Header( 1 48 46 12 10 )\r\n");
        processes.push_back(StartScasm("scasm " + name + ".sca " + name + ".bgl", folder));
        ASSERT_NE(processes.back(), nullptr);
    }
    for (HANDLE process : processes) EXPECT_EQ(Finish(process), 0u);
    EXPECT_EQ(Records(folder).size(), 5u);
    for (const char* band : bands)
        EXPECT_TRUE(fs::exists(folder / (std::string("alps") + band + ".bgl"))) << band;
}

}  // namespace
