// wizard/: the main window controller, all of its handlers and the rules only it uses.
//
// The main window controller: the whole state of the running program and
// one handler per message.
#ifndef MORVANE_WIZARD_STREAMING_WIZARD_H
#define MORVANE_WIZARD_STREAMING_WIZARD_H

#include <windows.h>

#include "camera/transport_rules.h"
#include "capture/capture_graph.h"
#include "skin/font_spec.h"
#include "skin/repeat_button.h"
#include "skin/skin_button.h"
#include "skin/skin_slider.h"
#include "skin/tooltip.h"
#include "wizard/window_drag.h"

class CameraLink;

const int kPageTextSize = 256;
const int kHeadingNoteSize = 32;
const int kBodyTextSize = 1024;

struct SettingsFields;

class StreamingWizard {
  public:
    // The about box belongs to the process; the wizard opens it, with this
    // dialog procedure, on a click of the logo.
    StreamingWizard(HWND window, DLGPROC aboutBoxProc);
    ~StreamingWizard();

    void OnInitDialog(WPARAM wParam, LPARAM lParam);
    void OnPaint(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDisplayChange(WPARAM wParam, LPARAM lParam);
    INT_PTR OnPaletteMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSysColorChange(WPARAM wParam, LPARAM lParam);
    void OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    void OnNextControl(WPARAM wParam, LPARAM lParam);
    void OnActivate(WPARAM wParam, LPARAM lParam);
    void OnClose(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(WPARAM wParam, LPARAM lParam);
    void OnLButtonUp(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    void OnMinimize(WPARAM wParam, LPARAM lParam);

    // Wizard pages and settings controls.
    void OnNext(WPARAM wParam, LPARAM lParam);
    void OnPrev(WPARAM wParam, LPARAM lParam);
    void EndWizard(WPARAM wParam, LPARAM lParam);
    void OnSliderScroll(WPARAM wParam, LPARAM lParam);
    void ToggleMute(WPARAM wParam, LPARAM lParam);
    void ResetQuality(WPARAM wParam, LPARAM lParam);
    void ResetBrightness(WPARAM wParam, LPARAM lParam);
    void OnAudioDeviceSelected(WPARAM wParam, LPARAM lParam);
    void SetPage(int newPage);
    void LayoutPage();
    void ApplyVolume();
    void ApplyQuality();
    void RefillAudioCombo();

    // Settings store.
    void LoadSettings();
    void LoadDefaultQuality();
    void LoadDefaultBrightness();
    void LoadDefaultAudioDevice();
    void StoreQuality();
    void SaveSettings(int finished);

    // Transport control.
    void OnPlay(WPARAM wParam, LPARAM lParam);
    void OnPause(WPARAM wParam, LPARAM lParam);
    void OnStop(WPARAM wParam, LPARAM lParam);
    void OnFastForward(WPARAM wParam, LPARAM lParam);
    void OnRewind(WPARAM wParam, LPARAM lParam);
    void OnSearchRelease(WPARAM wParam, LPARAM lParam);
    void SendBrightness();
    void PollStatus();
    void SendPeriodicCommand();
    void HighlightTransport(int highlightCode);

    // Camera attachment and device-change monitoring.
    void OnTimer(WPARAM wParam, LPARAM lParam);
    void OnDeviceChange(WPARAM wParam, LPARAM lParam);
    void OnGraphEvent(WPARAM wParam, LPARAM lParam);
    int AttachCamera();
    void DetachCamera();
    void ArmReattachTimer();
    void CancelReattachTimer();

  private:
    void RegisterDeviceNotifications();
    void LoadBackground();
    void PlaceWindow();
    void SetTextRects();
    void PauseOnFirstRun();
    SettingsFields Fields();
    void OpenAboutBox();
    void Paint(HDC target);
    void AttachControls();
    void AddPictureTips();
    void SetSliderValues();
    void PlaceControls();
    void ShowControl(int controlId, bool shown);
    // The keyboard route: which controls Tab can reach, which one has the
    // focus (0: none), and moving the focus into view.
    void ReadReachable(bool reachable[]);
    bool IsSkinDisabled(int controlId) const;
    int FocusedControl() const;
    void FocusControl(int controlId);
    void PlaceFocus(int focusedId);
    LRESULT SendToAudioCombo(UINT message, WPARAM wParam, LPARAM lParam);
    // The name the audio device list shows at an index; false when it does
    // not fit a device name.
    bool ReadShownAudioDevice(int index, char name[kDeviceNameSize]);
    void ReattachCamera();
    void RedetectAudio();
    void PressDeckButton(DeckButton button);
    void RunDeckCommand(DeckButton button);
    bool IsDeckButtonDisabled(DeckButton button) const;
    void SendToCamera(const CommandChoice& command);
    int ClassifyDeck() const;

    HWND hwnd;
    int page;
    int transportState;
    int arrivalTimerActive;
    int muted;
    int draggingWindow;
    DragAnchor dragAnchor;
    SkinSlider volumeSlider;
    SkinSlider qualitySlider;
    SkinSlider brightnessSlider;
    SkinButton prevButton;
    SkinButton nextButton;
    SkinButton cancelButton;
    SkinButton qualityResetButton;
    SkinButton brightnessResetButton;
    SkinButton stopButton;
    SkinButton playButton;
    SkinButton pauseButton;
    RepeatButton rewindButton;
    RepeatButton forwardButton;
    SkinButton muteButton;
    SkinButton closeButton;
    SkinButton minimizeButton;
    Tooltip pictureTips;
    char headingText[kPageTextSize];
    char headingNote[kHeadingNoteSize];
    char captionText[kPageTextSize];
    char bodyText[kBodyTextSize];
    // The page's texts keep their fitting fonts from one painting to the
    // next; a new page fits its own.
    FittedText headingFit;
    FittedText noteFit;
    FittedText captionFit;
    FittedText bodyFit;
    RECT bodyRect;
    RECT captionRect;
    RECT headingRect;
    RECT introBodyRect;
    HBITMAP background;
    int backgroundWidth;
    int backgroundHeight;
    CaptureGraph graph;
    CameraLink* link;
    char audioDevice[kDeviceNameSize];
    int quality;
    int brightness;
    char savedAudioDevice[kDeviceNameSize];
    int savedQuality;
    int savedBrightness;
    int volume;
    int comboCount;
    int firstRun;
    int searching;
    DeckAnswerWait deckAnswerWait;
    // The control that had the focus when the window was last deactivated.
    int focusOnReturn;
    // Finish, Cancel or the close button has ended the wizard; WM_CLOSE is
    // on its way and later ones change nothing.
    int wizardEnded;
    DLGPROC aboutBox;
};

#endif
