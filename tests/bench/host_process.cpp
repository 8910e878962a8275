#include "tests/bench/host_process.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

const char kProc[] = "Z:\\proc\\";

std::string ReadHostFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The fields of /proc/<pid>/stat after the command name, from field 3 on.
std::vector<std::string> StatFields(int hostPid) {
    std::string stat = ReadHostFile(kProc + std::to_string(hostPid) + "\\stat");
    // The command name in parentheses may hold spaces.
    size_t nameEnd = stat.rfind(')');
    std::vector<std::string> fields;
    if (nameEnd == std::string::npos) {
        return fields;
    }
    std::istringstream words(stat.substr(nameEnd + 1));
    std::string word;
    while (words >> word) {
        fields.push_back(word);
    }
    return fields;
}

// Field n of /proc/<pid>/stat as a number; -1 when missing.
double StatField(const std::vector<std::string>& fields, size_t n) {
    return n - 3 < fields.size() ? std::atof(fields[n - 3].c_str()) : -1;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           lstrcmpiA(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

// Whether a process's command line runs `program`: Wine shows the Windows
// program's path, with or without its folder, as the first entry (padded
// with spaces). A 32-bit program under the emulated Wine is qemu-i386's
// process, whose command line stays qemu's: the program's path follows
// Wine's loader ("qemu-i386 -R ... -L root .../wine-preloader .../wine
// Z:\...\Morvane.exe").
bool Runs(const std::string& commandLine, const std::string& program) {
    std::vector<std::string> entries;
    for (size_t at = 0; at < commandLine.size();) {
        size_t end = std::min(commandLine.find('\0', at), commandLine.size());
        entries.push_back(commandLine.substr(at, end - at));
        at = end + 1;
    }
    size_t first = 0;
    if (!entries.empty() && EndsWith(entries[0], "/qemu-i386")) {
        while (first < entries.size() && !EndsWith(entries[first], "/wine")) {
            ++first;
        }
        ++first;
    }
    if (first >= entries.size()) {
        return false;
    }
    std::string path = entries[first].substr(0, entries[first].find_last_not_of(' ') + 1);
    if (!EndsWith(path, program)) {
        return false;
    }
    size_t folderEnd = path.size() - program.size();
    return folderEnd == 0 || path[folderEnd - 1] == '\\' || path[folderEnd - 1] == '/';
}

} // namespace

int FindHostProcess(const std::string& program) {
    char prefix[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix)) {
        return 0;
    }
    // environ and cmdline hold NUL-separated entries.
    const std::string prefixEntry = std::string(1, '\0') + "WINEPREFIX=" + prefix + '\0';
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((std::string(kProc) + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int found = 0;
    double foundStart = -1;
    do {
        int pid = std::atoi(entry.cFileName);
        if (pid <= 0) {
            continue;
        }
        std::string folder = kProc + std::string(entry.cFileName) + "\\";
        std::string commandLine = ReadHostFile(folder + "cmdline");
        if (!Runs(commandLine, program) ||
            (std::string(1, '\0') + ReadHostFile(folder + "environ")).find(prefixEntry) ==
                std::string::npos) {
            continue;
        }
        const size_t kStartTime = 22;
        double start = StatField(StatFields(pid), kStartTime);
        if (start > foundStart) {
            found = pid;
            foundStart = start;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

double HostCpuSeconds(int hostPid) {
    std::vector<std::string> fields = StatFields(hostPid);
    const size_t kUserTime = 14, kKernelTime = 15;
    double user = StatField(fields, kUserTime), kernel = StatField(fields, kKernelTime);
    const double kTicksPerSecond = 100.0; // the kernel's USER_HZ on Linux
    return user < 0 || kernel < 0 ? -1 : (user + kernel) / kTicksPerSecond;
}
