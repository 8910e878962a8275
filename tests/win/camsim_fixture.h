// Shared set-up of the camsim tests: COM, the installed driver in a known
// state, and small helpers over the system device enumerator.
#ifndef TESTS_WIN_CAMSIM_FIXTURE_H
#define TESTS_WIN_CAMSIM_FIXTURE_H

#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "camsim/camsim_control.h"

class CamsimTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Changes the camera's settings as camsim.exe does.
    template <class Edit> void Change(Edit change) {
        ControlBlock* shared = block.Lock();
        ASSERT_NE(nullptr, shared);
        change(*shared);
        block.Unlock();
    }
    ControlBlock Snapshot();

    CamsimBlock block;
};

// One device of a category: its friendly name, or none.
struct ListedDevice {
    bool hasName;
    std::wstring name;
};
std::vector<ListedDevice> ListCategory(REFCLSID category);
// Bound filter of the first device of a category with this name, or null.
IBaseFilter* BindDevice(REFCLSID category, const wchar_t* name);

// Runs the message loop of this thread for a while.
void PumpMessages(DWORD milliseconds);

#endif
