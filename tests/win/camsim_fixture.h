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
#include "tests/wait_until.h"
#include "tests/win/device_list.h"

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
    // Dispatches this thread's messages until the camera has delivered count
    // frames in all.
    void WaitForFrames(uint32_t count);

    CamsimBlock block;
};

#endif
