#include "harness.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

std::string BinFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/"));
}

std::string ProgramFolder() {
    const char* folder = std::getenv("MORVANE_PROGRAM_FOLDER");
    return folder && *folder ? folder : BinFolder();
}

std::string ProgramText(int stringId) {
    HMODULE library = LoadLibraryExA((ProgramFolder() + "\\Morvane.dll").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
    char text[1024] = "";
    LoadStringA(library, stringId, text, sizeof text);
    FreeLibrary(library);
    return text;
}

REGSAM ProgramRegistryView() {
    static const REGSAM view = [] {
        DWORD type = 0;
        bool is32 = GetBinaryTypeA((ProgramFolder() + "\\Morvane.exe").c_str(), &type) &&
                    type == SCS_32BIT_BINARY;
        return is32 ? static_cast<REGSAM>(KEY_WOW64_32KEY) : static_cast<REGSAM>(0);
    }();
    return view;
}

void RemoveProgramSettings() {
    HKEY software;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | ProgramRegistryView(),
                      &software) == ERROR_SUCCESS) {
        SHDeleteKeyA(software, "Kivo Corporation");
        SHDeleteKeyA(software, "KIVO ZUL");
        RegCloseKey(software);
    }
}

std::string MakeScratchFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char folder[MAX_PATH];
    std::snprintf(folder, sizeof folder, "%smorvane-%s-%lu-%lu", temp, name, GetCurrentProcessId(),
                  GetTickCount());
    CreateDirectoryA(folder, nullptr);
    return folder;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

ProgramRun::~ProgramRun() {
    if (process) {
        if (!Ended()) {
            TerminateProcess(process, 1);
            if (!HoldsWithin([&] { return Ended(); }, kProgramBoundMs)) {
                ADD_FAILURE() << "the program did not end when it was killed";
            }
        }
        CloseHandle(process);
    }
}

bool ProgramRun::Start(const std::string& folder, const std::string& program,
                       const std::string& arguments) {
    std::string commandLine = "\"" + folder + "\\" + program + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    return Launch(commandLine, folder);
}

bool ProgramRun::StartMorvaneOnScreen(int width, int height) {
    char name[64];
    std::snprintf(name, sizeof name, "Morvane%dx%d", width, height);
    desktopName = name;
    char commandLine[MAX_PATH * 2];
    std::snprintf(commandLine, sizeof commandLine,
                  "explorer.exe /desktop=%s,%dx%d \"%s\\Morvane.exe\"", name, width, height,
                  ProgramFolder().c_str());
    return Launch(commandLine, ProgramFolder());
}

bool ProgramRun::Launch(std::string commandLine, const std::string& folder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
    return true;
}

namespace {

struct WindowSearch {
    DWORD processId; // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // The window's own visible flag: IsWindowVisible also asks about the
    // desktop, which is never visible from another desktop.
    bool visible = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if ((search->processId == 0 || owner == search->processId) && visible) {
        search->found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> ProgramRun::Windows() const {
    WindowSearch search{desktopName.empty() ? processId : 0, {}};
    if (desktopName.empty()) {
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    } else {
        HDESK desktop = OpenDesktopA(desktopName.c_str(), 0, FALSE, DESKTOP_ENUMERATE);
        if (desktop) {
            EnumDesktopWindows(desktop, CollectWindow, reinterpret_cast<LPARAM>(&search));
            CloseDesktop(desktop);
        }
    }
    return search.found;
}

HWND ProgramRun::WaitForWindow(const char* windowClass, const char* title, DWORD boundMs) const {
    const std::string what = std::string("a window \"") + title + "\" (" + windowClass + ")";
    HWND found = nullptr;
    // A run on its own desktop starts through a launcher that ends early.
    const bool endsFirst = desktopName.empty();
    WaitUntil(
        [&] {
            for (HWND window : Windows()) {
                if (ClassOf(window) == windowClass && TextOf(window) == title) {
                    found = window;
                    return true;
                }
            }
            return endsFirst && Ended();
        },
        what + " to show", boundMs);
    if (!found) {
        throw std::runtime_error("the program ended (exit code " + std::to_string(WaitForExit()) +
                                 ") without showing " + what);
    }
    return found;
}

HWND ProgramRun::WaitForMainWindow() {
    HWND window = WaitForWindow("#32770", "Morvane");
    if (!desktopName.empty()) {
        // From now on the run is the program itself, not its launcher.
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        HANDLE program = OpenProcess(PROCESS_ALL_ACCESS, FALSE, owner);
        if (!program) {
            throw std::runtime_error("the program that shows the main window cannot be opened");
        }
        CloseHandle(process);
        process = program;
        processId = owner;
    }
    return window;
}

bool ProgramRun::Ended() const {
    return WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

DWORD ProgramRun::WaitForExit() const {
    WaitUntil([&] { return Ended(); }, "the program to end");
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process, &exitCode);
    return exitCode;
}

void PostClick(HWND window, int x, int y) {
    LPARAM point = MAKELPARAM(x, y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(window, WM_LBUTTONUP, 0, point);
}

void SendRealKey(WORD key, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

namespace {

// Input given at the X server, as a real keyboard or mouse gives it.
// xdotool types and moves through the X server's XTEST extension; Wine starts
// a Unix program as it does a Windows one, but gives no handle to wait on.
void RunXdotool(const std::string& arguments) {
    std::string command = "Z:\\usr\\bin\\xdotool " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        throw std::runtime_error("cannot run " + command + ": error " +
                                 std::to_string(GetLastError()));
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

} // namespace

void SetShiftAtXServer(bool down) {
    RunXdotool(std::string(down ? "keydown" : "keyup") + " Shift_L");
    WaitUntil([&] { return ((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0) == down; },
              down ? "Shift to be held at the X server" : "Shift to be let go at the X server");
}

void MovePointerAtXServer(POINT onScreen) {
    RunXdotool("mousemove " + std::to_string(onScreen.x) + " " + std::to_string(onScreen.y));
    WaitUntil(
        [&] {
            POINT now = {};
            return GetCursorPos(&now) && now.x == onScreen.x && now.y == onScreen.y;
        },
        "the pointer to rest at " + std::to_string(onScreen.x) + "," +
            std::to_string(onScreen.y));
}

void SendRealMouse(POINT onScreen, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (onScreen.x * 65536 + width - 1) / width;
    input.mi.dy = (onScreen.y * 65536 + height - 1) / height;
    SendInput(1, &input, sizeof input);
}

namespace {

LRESULT SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool wide) {
    // A program merely slow under load (a graph rebuilt in the emulated Wine
    // can take seconds) is waited for; only one that never answers fails.
    const DWORD bound = Bound(kAnswerBoundMs);
    DWORD_PTR result = 0;
    SetLastError(0);
    LRESULT sent =
        wide ? SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, bound, &result)
             : SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, bound, &result);
    if (!sent && GetLastError() == ERROR_TIMEOUT) {
        throw WaitRanOut("message " + std::to_string(message) + " to be handled", bound);
    }
    return static_cast<LRESULT>(result);
}

} // namespace

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendAndWait(window, message, wParam, lParam, false);
}

LRESULT SendWideWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendAndWait(window, message, wParam, lParam, true);
}

namespace {

const char kSharedKey[] = "SOFTWARE\\Kivo Corporation\\Pelvorn\\";

void WriteSharedValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0,
                        KEY_ALL_ACCESS | ProgramRegistryView(), nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
}

} // namespace

void WriteSharedDword(const char* name, DWORD value) {
    WriteSharedValue(name, REG_DWORD, &value, sizeof value);
}

void WriteSharedText(const char* name, const char* text) {
    WriteSharedValue(name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

void SetReportedVersion(const char* version) {
    const char versionKey[] = "Software\\Wine\\AppDefaults\\Morvane.exe";
    if (!version) {
        RegDeleteKeyA(HKEY_CURRENT_USER, versionKey);
        return;
    }
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, versionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>(strlen(version) + 1));
        RegCloseKey(key);
    }
}

bool IsShown(HWND window) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

HWND VideoWindowOf(HWND main) {
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Button" && ClassOf(child) != "ComboBox") {
            return child;
        }
    }
    return nullptr;
}
