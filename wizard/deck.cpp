// The deck buttons of the main window and the deck's status poll. The rules
// live in transport_rules; this file applies them to the buttons and sends
// the commands through the camera link.
#include "wizard/streaming_wizard.h"

#include <dshow.h>

#include "camera/camera_link.h"
#include "wizard/page_table.h"

void StreamingWizard::OnPlay(WPARAM, LPARAM) { PressDeckButton(kButtonPlay); }

void StreamingWizard::OnPause(WPARAM, LPARAM) { PressDeckButton(kButtonPause); }

void StreamingWizard::OnStop(WPARAM, LPARAM) { PressDeckButton(kButtonStop); }

void StreamingWizard::OnFastForward(WPARAM, LPARAM) { PressDeckButton(kButtonForward); }

void StreamingWizard::OnRewind(WPARAM, LPARAM) { PressDeckButton(kButtonRewind); }

// A deck button's command, by whatever road it came (a click, a held
// button's repeat, a message posted from elsewhere): a button shown disabled
// commands nothing.
void StreamingWizard::PressDeckButton(DeckButton button) {
    if (!IsDeckButtonDisabled(button)) {
        RunDeckCommand(button);
    }
}

bool StreamingWizard::IsDeckButtonDisabled(DeckButton button) const {
    switch (button) {
    case kButtonPlay: return playButton.IsDisabled() != 0;
    case kButtonPause: return pauseButton.IsDisabled() != 0;
    case kButtonStop: return stopButton.IsDisabled() != 0;
    case kButtonForward: return forwardButton.IsDisabled() != 0;
    case kButtonRewind: return rewindButton.IsDisabled() != 0;
    }
    return false;
}

// The state and highlight follow the button at once, whatever the camera
// answers: they stand until the deck answers, and the poll then shows the
// deck's own report.
void StreamingWizard::RunDeckCommand(DeckButton button) {
    if (!link) {
        return;
    }
    ButtonReaction reaction = ReactToButton(button, transportState);
    SendToCamera(reaction.command);
    if (AsksNewMode(reaction, transportState, searching != 0)) {
        StartDeckAnswerWait(&deckAnswerWait, GetTickCount(), ClassifyDeck(), transportState,
                            reaction.highlight);
    }
    transportState = reaction.newState;
    if (reaction.startsSearch) {
        searching = 1;
    }
    HighlightTransport(reaction.highlight);
}

void StreamingWizard::OnSearchRelease(WPARAM, LPARAM) {
    if (!link) {
        return;
    }
    // A search that a poll ended by disabling the deck resumes nothing.
    ReleaseReaction reaction = ReactToSearchRelease(transportState, !playButton.IsDisabled());
    SendToCamera(reaction.command);
    if (reaction.command.send) {
        StartDeckAnswerWait(&deckAnswerWait, GetTickCount(), ClassifyDeck(), transportState,
                            reaction.highlight);
    }
    if (reaction.highlights) {
        HighlightTransport(reaction.highlight);
    }
    searching = 0;
}

void StreamingWizard::HighlightTransport(int highlightCode) {
    if (!link) {
        return;
    }
    DeckHighlights lit = HighlightsFor(highlightCode);
    if (!lit.keepPlayAndPause) {
        playButton.SetHighlighted(lit.play);
        pauseButton.SetHighlighted(lit.pause);
    }
    stopButton.SetHighlighted(lit.stop);
    forwardButton.SetHighlighted(lit.forward);
    rewindButton.SetHighlighted(lit.rewind);
}

void StreamingWizard::SendPeriodicCommand() {
    if (!link) {
        return;
    }
    SendToCamera(PeriodicCommand(transportState, searching != 0));
}

void StreamingWizard::SendBrightness() {
    if (!link) {
        return;
    }
    // A stored value beyond the camera's range goes as the nearest end, not
    // cut to its low byte; the stored value itself stays until the user moves.
    CommandChoice command = {true, kClassBrightness, BrightnessInRange(brightness)};
    SendToCamera(command);
}

// Commands go to the video capture filter of the running preview, and
// nowhere without one; their results are not used.
void StreamingWizard::SendToCamera(const CommandChoice& command) {
    IBaseFilter* camera = graph.GetVideoCaptureFilter();
    if (command.send && camera) {
        link->SendCommand(camera, command.commandClass, command.commandCode);
    }
}

void StreamingWizard::PollStatus() {
    PollDecision decision = DecidePollWithoutLink();
    if (link) {
        PollInput poll = {};
        poll.onPageZero = page == 0;
        poll.previewHasCamera = graph.GetVideoCaptureFilter() != NULL;
        if (!poll.onPageZero) {
            // A failed read leaves the last decoded status in force.
            link->ReadStatus(graph.GetVideoCaptureFilter());
            poll.transportAvailable = link->GetTransportAvailable();
        }
        poll.deckCondition = ClassifyDeck();
        poll.awaitingDeck = AwaitsDeckAnswer(&deckAnswerWait, GetTickCount(), poll.deckCondition);
        poll.transportState = transportState;
        decision = DecidePoll(poll);
    }
    if (decision.setsState) {
        transportState = decision.newState;
    }
    if (decision.highlights) {
        HighlightTransport(decision.highlight);
    }
    int deckDisabled = !decision.deckEnabled;
    stopButton.SetDisabled(deckDisabled);
    playButton.SetDisabled(deckDisabled);
    pauseButton.SetDisabled(!decision.pauseEnabled);
    rewindButton.SetDisabled(deckDisabled);
    forwardButton.SetDisabled(deckDisabled);
    muteButton.SetDisabled(!decision.muteEnabled);
    int settingsDisabled = !decision.settingsEnabled;
    qualityResetButton.SetDisabled(settingsDisabled);
    brightnessResetButton.SetDisabled(settingsDisabled);
    qualitySlider.SetDisabled(settingsDisabled);
    brightnessSlider.SetDisabled(settingsDisabled);
}

// The deck's condition from the last status read; unknown without a link.
int StreamingWizard::ClassifyDeck() const {
    if (!link) {
        return kDeckUnknown;
    }
    return ClassifyTransportMode(link->GetStatus().transportMode);
}
