// A program run to its end by a test, as a user's shell would run it.
#ifndef MORVANE_TESTS_WIN_RUN_TO_END_H
#define MORVANE_TESTS_WIN_RUN_TO_END_H

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/wait_until.h"

// Runs commandLine (its program found beside the test's) to its end and
// answers its exit code, or -1 when it cannot start; what it prints, short
// enough for the pipe to hold it all, goes to printed when given. A program
// that does not end within the bound is ended and fails the test, named.
inline DWORD RunToEnd(std::string commandLine, std::string* printed = nullptr) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherited, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    const bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    EXPECT_TRUE(started) << commandLine;
    CloseHandle(writeEnd);
    const DWORD bound = Bound(kAnswerBoundMs);
    const bool ended = started && WaitForSingleObject(process.hProcess, bound) == WAIT_OBJECT_0;
    DWORD code = static_cast<DWORD>(-1);
    if (started) {
        TerminateProcess(process.hProcess, code); // when it has not ended
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    char chunk[512];
    DWORD got = 0;
    while (ended && ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0 && printed) {
        printed->append(chunk, got);
    }
    CloseHandle(readEnd);
    if (started && !ended) {
        throw WaitRanOut(commandLine + " to end", bound);
    }
    return code;
}

#endif
