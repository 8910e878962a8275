// The main window controller as it comes out of its construction, and its
// window registering for device notifications and giving them back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "app/about_box.h"
#include "app/main_dialog.h"
#include "base/library_text.h"
#include "res/resource_ids.h"
#include "tests/system/screenshot.h"
#include "tests/win/modal_dialog.h"
#include "wizard/streaming_wizard.h"

namespace {

const int kWidth = 349;
const int kHeight = 560;

} // namespace

// Built over storage that holds anything but zeroes, the controller draws
// what a fresh one shows: page 0's white bar and no text.
TEST(StreamingWizardConstruction, StartsOnPageZeroWithEmptyTextsWhateverTheStorageHeld) {
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    std::unique_ptr<unsigned char[]> storage(new unsigned char[sizeof(StreamingWizard)]);
    memset(storage.get(), 0xA5, sizeof(StreamingWizard));
    StreamingWizard* wizard = new (storage.get()) StreamingWizard(window, AboutBoxProc);

    Canvas canvas(kWidth, kHeight);
    PatBlt(canvas.Dc(), 0, 0, kWidth, kHeight, BLACKNESS);
    wizard->OnPaint(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    Screenshot drawn = canvas.Read();

    int barPixels = 0;
    int strayPixels = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (drawn.At(x, y) == 0) {
                continue;
            }
            bool inBar = x >= 11 && x < 339 && y >= 418 && y < 421;
            ++(inBar ? barPixels : strayPixels);
        }
    }
    EXPECT_GT(barPixels, 300);
    EXPECT_EQ(0, strayPixels);

    wizard->~StreamingWizard();
    DestroyWindow(window);
}

namespace {

// Stands in front of one function of a loaded DLL for as long as it lives:
// calls go to a recorder of the test instead. x86-64 only, as the tests are.
class Detour {
  public:
    Detour(void* target, void* replacement) : target(static_cast<unsigned char*>(target)) {
        unsigned char jump[kSize] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};
        memcpy(jump + 2, &replacement, sizeof replacement); // mov rax, replacement; jmp rax
        memcpy(saved, this->target, kSize);
        Write(jump);
    }
    ~Detour() { Write(saved); }

  private:
    static const int kSize = 12;
    void Write(const unsigned char* bytes) {
        DWORD previous;
        VirtualProtect(target, kSize, PAGE_EXECUTE_READWRITE, &previous);
        memcpy(target, bytes, kSize);
        VirtualProtect(target, kSize, previous, &previous);
        FlushInstructionCache(GetCurrentProcess(), target, kSize);
    }
    unsigned char* target;
    unsigned char saved[kSize];
};

std::vector<HDEVNOTIFY> unregistered;

BOOL WINAPI RecordUnregistration(HDEVNOTIFY handle) {
    unregistered.push_back(handle);
    return TRUE;
}

} // namespace

// The main window registers for capture-device notifications when it sets
// itself up and gives the registration back when it closes.
TEST(MainWindowClose, UnregistersTheDeviceNotificationItRegistered) {
    resourceLibrary = LoadLibraryA("Morvane.dll");
    void* unregister = reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "UnregisterDeviceNotification"));
    ASSERT_NE(nullptr, unregister);
    unregistered.clear();
    {
        Detour detour(unregister, reinterpret_cast<void*>(RecordUnregistration));
        // Once it shows, the window is closed as the user closes it.
        RunModalDialog(
            IDD_MAIN, MainDialogProc, [](HWND) {},
            [](HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); });
    }
    ASSERT_EQ(1u, unregistered.size());
    ASSERT_NE(nullptr, unregistered[0]);
    // The handle passed was the live registration: the system takes it back now.
    EXPECT_TRUE(UnregisterDeviceNotification(unregistered[0]));
}

namespace {

WNDPROC dialogProcedure = nullptr;

// The dialog as a Windows sees it that sends no WM_NEXTDLGCTL for Tab, as the
// dialog keyboard interface allows when no control has WS_TABSTOP.
LRESULT CALLBACK WithoutNextControlMessage(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NEXTDLGCTL) {
        return 0;
    }
    return CallWindowProcA(dialogProcedure, window, message, wParam, lParam);
}

} // namespace

TEST(MainWindowKeys, TabWalksTheRouteWithoutTheDialogHearingOfIt) {
    resourceLibrary = LoadLibraryA("Morvane.dll");
    RunModalDialog(
        IDD_MAIN, MainDialogProc,
        [](HWND main) {
            dialogProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WithoutNextControlMessage)));
            for (int id : {IDC_MINIMIZE, IDC_CLOSE}) {
                PostMessageA(main, WM_KEYDOWN, VK_TAB, 0);
                WaitUntil([&] { return ThreadInputOf(main).focus == GetDlgItem(main, id); },
                          "Tab to move the focus along the route");
            }
        },
        [](HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); });
}
