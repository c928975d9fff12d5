// The start-up command line and the recent-projects list, each as one table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/RecentProjects.h"

namespace {

TEST(CommandLineTest, TellsWindowBuildAndUsageApart) {
    using A = StartAction;
    const struct { const char* line; A action; std::string path; } rows[] = {
        {"", A::Window, ""},
        {"   ", A::Window, ""},
        {"C:\\Scenery\\My Alps\\alps.prj", A::Window, "C:\\Scenery\\My Alps\\alps.prj"},  // blanks, unquoted
        {" \"C:\\My Alps\\alps.prj\" ", A::Window, "C:\\My Alps\\alps.prj"},
        {"..\\alps.prj", A::Window, "..\\alps.prj"},
        {"/create alps.prj", A::Build, "alps.prj"},
        {"-CREATE   \"My Alps\\alps 2.prj\"", A::Build, "My Alps\\alps 2.prj"},
        {"/create", A::BadSwitch, ""},
        {"/create \"\"", A::BadSwitch, ""},
        {"/?", A::Usage, ""},
        {"-?", A::Usage, ""},
        {"/created alps.prj", A::BadSwitch, ""},
    };
    for (const auto& row : rows) {
        const StartRequest request = ParseCommandLine(row.line);
        EXPECT_EQ(request.action, row.action) << row.line;
        EXPECT_EQ(request.path, row.path) << row.line;
    }
}

TEST(CommandLineTest, RecentListKeepsFourNewestFirstAndMenuTextsShowThePath) {
    using List = std::vector<std::string>;
    List list;
    for (const char* path : {"a.prj", "b.prj", "c.prj", "d.prj", "e.prj", "C:\\X\\B.PRJ", "c:\\x\\b.prj", ""})
        AddRecentProject(list, path);
    EXPECT_EQ(list, (List{"c:\\x\\b.prj", "e.prj", "d.prj", "c.prj"})) << "newest first, one per file, four";
    RemoveRecentProject(list, "D.prj");
    EXPECT_EQ(list, (List{"c:\\x\\b.prj", "e.prj", "c.prj"}));

    const std::string folder(60, 'f');
    const struct { int index; std::string path, text; } rows[] = {
        {0, "C:\\a.prj", "&1 C:\\a.prj"},
        {3, "C:\\R&D\\a&&b.prj", "&4 C:\\R&&D\\a&&&&b.prj"},
        {1, "C:\\" + folder + "\\alps.prj", "&2 C:\\" + folder.substr(0, 27) + "..." + folder.substr(38) + "\\alps.prj"},
    };
    for (const auto& row : rows) EXPECT_EQ(RecentMenuText(row.index, row.path), row.text) << row.path;
}

}  // namespace
