#include <windows.h>

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "tests/win/run_to_end.h"

namespace {

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of("\\/") + 1) + name;
}

TEST(FreestandingRuntime, ConstructsRunsAndDestroysInOrderThenExitsWithTheRunsCode) {
    std::string probe = BesideThisProgram("runtime_probe.exe");
    std::string log = probe + ".log";
    DeleteFileA(log.c_str());

    EXPECT_EQ(7u, RunToEnd("\"" + probe + "\""));

    std::ifstream file(log);
    std::stringstream recorded;
    recorded << file.rdbuf();
    EXPECT_EQ("construct first\n"
              "construct second\n"
              "run own module\n"
              "construct heap\n"
              "destroy heap\n"
              "memory ababcdef cdefghgh wxyz ab****gh\n"
              "compare -1 1 0\n"
              "deep stack 120\n"
              "construct late\n"
              "registered function\n"
              "destroy late\n"
              "destroy second\n"
              "destroy first\n",
              recorded.str());
}

} // namespace
