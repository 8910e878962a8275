// A modal dialog run from its real template on the test's thread while a
// second thread plays the user.
#ifndef MORVANE_TESTS_WIN_MODAL_DIALOG_H
#define MORVANE_TESTS_WIN_MODAL_DIALOG_H

#include <windows.h>

#include <exception>
#include <functional>
#include <thread>

#include "tests/wait_until.h"

// The first dialog window of a thread, shown or not; null for none.
inline HWND DialogOfThread(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM found) -> BOOL {
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpA(name, "#32770") != 0) {
                return TRUE;
            }
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Opens dialog templateId on this thread and, once it shows, runs script on it
// from another thread. Unless the script closed it, close ends it, also when
// the script failed or the dialog never showed, so that a failing test cannot
// hang; a wait of the script that ran out fails the test here once the dialog
// has ended. Answers the dialog's result.
inline INT_PTR RunModalDialog(int templateId, DLGPROC procedure,
                              const std::function<void(HWND dialog)>& script,
                              const std::function<void(HWND dialog)>& close) {
    const DWORD thread = GetCurrentThreadId();
    std::exception_ptr failure;
    std::thread user([&] {
        try {
            HWND dialog = nullptr;
            WaitUntil(
                [&] {
                    dialog = DialogOfThread(thread);
                    return dialog && IsWindowVisible(dialog);
                },
                "the dialog to show");
            script(dialog);
        } catch (...) {
            failure = std::current_exception();
        }
        if (HWND dialog = DialogOfThread(thread)) {
            close(dialog);
        }
    });
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                           nullptr, procedure, 0);
    user.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return result;
}

#endif
