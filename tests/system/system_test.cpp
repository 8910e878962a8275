#include "system_test.h"

#include <stdexcept>

#include "screenshot.h"
#include "tests/wait_until.h"

void SystemTest::SetUp() {
    if (!camera.Ready()) {
        throw std::runtime_error("the simulated camera cannot be installed");
    }
    RemoveProgramSettings();
    SetReportedVersion(nullptr);
    camera.Reset(true);
}

void SystemTest::TearDown() {
    if (buttonDown) {
        SendRealMouse(pointer, MOUSEEVENTF_LEFTUP);
    }
    run.reset();
    camera.Reset(true);
    RemoveProgramSettings();
    SetReportedVersion(nullptr);
}

void SystemTest::MarkSetupDone() {
    WriteSharedDword("Morvane_AudioSetting", 1);
}

void SystemTest::Start(const CameraState& state, const std::string& arguments) {
    Launch(state, arguments);
    WaitForSetUp();
}

void SystemTest::Launch(const CameraState& state, const std::string& arguments,
                        const std::string& folder) {
    run.reset(); // one copy of the program runs at a time
    main = nullptr;
    camera.Reset(state.plugged, state.extraAudioDevices, state.previewPinDevice);
    camera.SetTape(state.tape);
    statusReadsAtLaunch = camera.StatusReads();
    run.reset(new ProgramRun);
    if (!run->Start(folder, "Morvane.exe", arguments)) {
        throw std::runtime_error("Morvane.exe cannot be started from " + folder);
    }
}

void SystemTest::WaitForSetUp() {
    main = run->WaitForMainWindow();
    // The set-up, the camera's attach included, is over when the page says
    // that no camera was found, or when the first poll reads the attached
    // camera's status. An answer to a message proves nothing: the program
    // may answer in the middle of its set-up, while it waits on a message of
    // its own (on a 256-colour screen, its palette's news to every window).
    WaitUntil([&] { return PageOf(main) == 0 || camera.StatusReads() != statusReadsAtLaunch; },
              "the window's set-up to end: page 0, or the first status poll");
    SendWithTimeout(main, WM_NULL, 0, 0); // answered once that is handled
}

void SystemTest::WaitForPage(int page) {
    ::WaitForPage(main, page);
}

void SystemTest::WaitForNextPoll() {
    ::WaitForNextPoll(main, camera);
}

testing::AssertionResult SystemTest::Shows(int id, int face) {
    const uint32_t polls = camera.StatusReads();
    uint32_t pollsSeen = polls;
    WaitUntil(
        [&] {
            pollsSeen = camera.StatusReads();
            return ShownSkinFace(GetDlgItem(main, id)) == face;
        },
        "button " + std::to_string(id) + " to show skin face " + std::to_string(face));
    if (pollsSeen == polls) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "button " << id << " shows face " << face << " only after a poll";
}

void SystemTest::RealMouse(POINT at, DWORD flags) {
    pointer = at;
    buttonDown = (flags & MOUSEEVENTF_LEFTDOWN) || (buttonDown && !(flags & MOUSEEVENTF_LEFTUP));
    SendRealMouse(at, flags);
    WaitForQueueHandled(main);
}

void SystemTest::RealKey(WORD key, DWORD flags) {
    SendRealKey(key, flags);
    WaitForQueueHandled(main);
}

void SystemTest::TypeKey(WORD key, bool shifted) {
    if (shifted) {
        SetShiftAtXServer(true);
        WaitForQueueHandled(main);
    }
    RealKey(key, 0);
    RealKey(key, KEYEVENTF_KEYUP);
    if (shifted) {
        SetShiftAtXServer(false);
        WaitForQueueHandled(main);
    }
}

int SystemTest::FocusedId() {
    HWND focus = ThreadInputOf(main).focus;
    return focus && focus != main ? GetDlgCtrlID(focus) : 0;
}
