#include <windows.h>

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of("\\/") + 1) + name;
}

// Runs the probe to its end and answers its exit code.
DWORD RunToEnd(const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    EXPECT_TRUE(CreateProcessA(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL,
                               &startup, &process));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

TEST(FreestandingRuntime, ConstructsRunsAndDestroysInOrderThenExitsWithTheRunsCode) {
    std::string probe = BesideThisProgram("runtime_probe.exe");
    std::string log = probe + ".log";
    DeleteFileA(log.c_str());

    EXPECT_EQ(7u, RunToEnd(probe));

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
