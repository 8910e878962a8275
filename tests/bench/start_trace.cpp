#include "tests/bench/start_trace.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

const char kDebugKey[] = "Software\\Wine\\Debug";
const char kRelayList[] = "RelayInclude";
const char kWineDebug[] = "WINEDEBUG";
// Return addresses inside the program's own image: both programs are built
// at MinGW's default base for executables and are smaller than 16 MB.
const unsigned long long kImageStart = 0x140000000ull;
const unsigned long long kImageEnd = kImageStart + 0x1000000ull;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// "605.750:0118:Call user32.ShowWindow(0001004e,00000001) ret=140002184", or
// "...:Ret  user32.ShowWindow() retval=00000001 ret=140002184".
bool ParseCall(const std::string& line, TracedCall* call) {
    unsigned seconds = 0, ms = 0;
    int consumed = 0;
    if (std::sscanf(line.c_str(), "%u.%3u:%*x:%n", &seconds, &ms, &consumed) < 2 || !consumed) {
        return false;
    }
    std::string rest = line.substr(consumed);
    bool isReturn = rest.compare(0, 5, "Ret  ") == 0;
    if (!isReturn && rest.compare(0, 5, "Call ") != 0) {
        return false;
    }
    size_t open = rest.find('('), close = rest.rfind(") ret"), caller = rest.rfind(" ret=");
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return false;
    }
    unsigned long long returnAddress = std::strtoull(rest.c_str() + caller + 5, nullptr, 16);
    if (returnAddress < kImageStart || returnAddress >= kImageEnd) {
        return false; // a call made by a library, not by the program
    }
    std::string qualified = rest.substr(5, open - 5);
    call->tick = seconds * 1000u + ms;
    call->isReturn = isReturn;
    call->function = qualified.substr(qualified.rfind('.') + 1);
    call->arguments = rest.substr(open + 1, close - open - 1);
    return true;
}

} // namespace

StartTrace::StartTrace(const char* functions) {
    const char* hostLog = std::getenv("MORVANE_BENCH_LOG");
    if (!hostLog || hostLog[0] != '/') {
        unavailable = "MORVANE_BENCH_LOG does not name the benchmark's error log";
        return;
    }
    log = std::string("Z:") + hostLog;
    for (char& c : log) {
        c = c == '/' ? '\\' : c;
    }
    logStart = ReadFile(log).size();
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDebugKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS ||
        RegSetValueExA(key, kRelayList, 0, REG_SZ, reinterpret_cast<const BYTE*>(functions),
                       static_cast<DWORD>(std::strlen(functions) + 1)) != ERROR_SUCCESS) {
        unavailable = "Wine's relay list cannot be set";
        return;
    }
    RegCloseKey(key);
    SetEnvironmentVariableA(kWineDebug, "+timestamp,+relay");
}

StartTrace::~StartTrace() {
    SetEnvironmentVariableA(kWineDebug, "-all");
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDebugKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, kRelayList);
        RegCloseKey(key);
    }
}

std::vector<TracedCall> StartTrace::Calls() const {
    std::vector<TracedCall> calls;
    std::string text = ReadFile(log);
    std::istringstream lines(text.size() > logStart ? text.substr(logStart) : "");
    std::string line;
    TracedCall call;
    while (std::getline(lines, line)) {
        if (ParseCall(line, &call)) {
            calls.push_back(call);
        }
    }
    return calls;
}

std::vector<StartPart> SplitStart(const std::vector<TracedCall>& calls, DWORD start,
                                  const std::vector<Boundary>& boundaries, DWORD end,
                                  const char* lastPart, const char* setApart,
                                  const char* setApartName) {
    // The stretches spent inside calls of `setApart`.
    std::vector<std::pair<DWORD, DWORD>> apart;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].function != setApart || calls[i].isReturn) {
            continue;
        }
        for (size_t j = i + 1; j < calls.size(); ++j) {
            if (calls[j].function == setApart && calls[j].isReturn) {
                apart.push_back({calls[i].tick, calls[j].tick});
                break;
            }
        }
    }
    auto apartWithin = [&](DWORD from, DWORD to) {
        double total = 0;
        for (const auto& stretch : apart) {
            LONG overlap =
                static_cast<LONG>(std::min(to, stretch.second) - std::max(from, stretch.first));
            total += overlap > 0 ? overlap : 0;
        }
        return total;
    };

    std::vector<StartPart> parts;
    double apartTotal = 0;
    DWORD previous = start;
    size_t next = 0;
    auto close = [&](const char* name, DWORD at) {
        double inside = apartWithin(previous, at);
        apartTotal += inside;
        parts.push_back({name, static_cast<LONG>(at - previous) - inside});
        previous = at;
    };
    for (const Boundary& boundary : boundaries) {
        while (next < calls.size() &&
               !(calls[next].function == boundary.function &&
                 calls[next].isReturn == boundary.atReturn &&
                 calls[next].arguments.find(boundary.argumentsContain) != std::string::npos)) {
            ++next;
        }
        if (next == calls.size()) {
            return {};
        }
        close(boundary.part, calls[next++].tick);
    }
    close(lastPart, end);
    parts.push_back({setApartName, apartTotal});
    return parts;
}
