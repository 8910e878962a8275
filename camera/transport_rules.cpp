#include "camera/transport_rules.h"

namespace {

// Mode bytes of each deck condition; every other value is kDeckUnknown.
struct ModeGroup {
    int condition;
    unsigned char modes[5];
    int count;
};

const ModeGroup kModeGroups[] = {
    {0, {1, 49, 177, 226}, 4},        // no operable deck
    {1, {6, 133, 165}, 3},            // playing
    {2, {2, 18, 98, 114}, 4},         // stopped
    {3, {7, 151, 166, 245}, 4},       // paused
    {4, {3, 19, 115}, 3},             // fast forward
    {5, {131, 147, 243}, 3},          // rewind
    {6, {37, 38, 70, 102, 134}, 5},   // searching forward
    {7, {53, 54, 86, 118, 150}, 5},   // searching backward
    {8, {39, 71}, 2},                 // searching forward
    {9, {103}, 1},                    // searching forward
    {10, {119}, 1},                   // searching backward
    {11, {4, 36, 164}, 3},            // not operable
    {12, {20, 52}, 2},                // not operable
    {13, {55, 87}, 2},                // searching backward
};

CommandChoice Send(int commandClass, int commandCode) {
    CommandChoice choice = {true, commandClass, commandCode};
    return choice;
}

CommandChoice SendNothing() {
    CommandChoice choice = {false, 0, 0};
    return choice;
}

bool IsPlayback(int transportState) {
    return transportState == kPlaying || transportState == kPaused;
}

// What a deck condition shows: the highlight of its mode (a state's highlight
// is the state itself), or kNotOperable.
const int kNotOperable = kHighlightSearchRewind + 1;

int DeckModeOf(int deckCondition) {
    switch (deckCondition) {
    case 1:
        return kHighlightPlay;
    case 2:
        return kHighlightStop;
    case 3:
        return kHighlightPause;
    case 4:
        return kHighlightForward;
    case 5:
        return kHighlightRewind;
    case 6:
    case 8:
    case 9:
        return kHighlightSearchForward;
    case 7:
    case 10:
    case 13:
        return kHighlightSearchRewind;
    default:
        return kNotOperable;
    }
}

unsigned ModeBit(int mode) {
    return 1u << mode;
}

bool WithinCeiling(const DeckAnswerWait& wait, unsigned nowMs) {
    // Unsigned difference: right across the tick count's wrap.
    return wait.waiting && nowMs - wait.sentMs < kDeckAnswerCeilingMs;
}

} // namespace

int ClassifyTransportMode(unsigned mode) {
    for (const ModeGroup& group : kModeGroups) {
        for (int i = 0; i < group.count; ++i) {
            if (group.modes[i] == mode) {
                return group.condition;
            }
        }
    }
    return kDeckUnknown;
}

ButtonReaction ReactToButton(DeckButton button, int transportState) {
    ButtonReaction reaction = {SendNothing(), transportState, -1, false};
    switch (button) {
    case kButtonPlay:
        reaction.command = Send(kClassTransport, kCodePlay);
        reaction.newState = kPlaying;
        break;
    case kButtonPause:
        reaction.command = Send(kClassTransport, kCodePause);
        reaction.newState = kPaused;
        break;
    case kButtonStop:
        reaction.command = Send(kClassTransport, kCodeStop);
        reaction.newState = kStopped;
        break;
    case kButtonForward:
    case kButtonRewind: {
        bool forward = button == kButtonForward;
        reaction.command = Send(kClassTransport, forward ? kCodeForward : kCodeRewind);
        if (IsPlayback(transportState)) {
            reaction.startsSearch = true;
            reaction.highlight = forward ? kHighlightSearchForward : kHighlightSearchRewind;
            return reaction;
        }
        reaction.newState = forward ? kFastForwarding : kRewinding;
        break;
    }
    }
    reaction.highlight = reaction.newState;
    return reaction;
}

ReleaseReaction ReactToSearchRelease(int transportState, bool deckEnabled) {
    ReleaseReaction reaction = {SendNothing(), false, 0};
    if (!deckEnabled) {
        return reaction;
    }
    if (transportState == kPlaying) {
        reaction.command = Send(kClassTransport, kCodePlay);
    } else if (transportState == kPaused) {
        reaction.command = Send(kClassTransport, kCodePause);
    } else {
        return reaction;
    }
    reaction.highlights = true;
    reaction.highlight = transportState;
    return reaction;
}

bool AsksNewMode(const ButtonReaction& reaction, int transportState, bool searching) {
    if (reaction.startsSearch) {
        return !searching;
    }
    return reaction.command.send && reaction.newState != transportState;
}

void StartDeckAnswerWait(DeckAnswerWait* wait, unsigned nowMs, int deckCondition,
                         int transportState, int askedMode) {
    unsigned passing = ModeBit(DeckModeOf(deckCondition)) | ModeBit(transportState);
    if (WithinCeiling(*wait, nowMs)) {
        passing |= wait->passingModes | ModeBit(wait->askedMode);
    }
    wait->waiting = true;
    wait->sentMs = nowMs;
    wait->askedMode = askedMode;
    wait->passingModes = passing;
}

bool AwaitsDeckAnswer(DeckAnswerWait* wait, unsigned nowMs, int deckCondition) {
    const int reported = DeckModeOf(deckCondition);
    wait->waiting = WithinCeiling(*wait, nowMs) && reported != wait->askedMode &&
                    (wait->passingModes & ModeBit(reported)) != 0;
    return wait->waiting;
}

CommandChoice PeriodicCommand(int transportState, bool searching) {
    if (searching) {
        return SendNothing();
    }
    switch (transportState) {
    case kStopped: return Send(kClassTransport, kCodeStop);
    case kPlaying: return Send(kClassTransport, kCodePlay);
    case kPaused:
    case kFastForwarding:
    case kRewinding: return Send(kClassKeepAlive, kCodeKeepAlive);
    default: return SendNothing();
    }
}

DeckHighlights HighlightsFor(int highlightCode) {
    DeckHighlights lit = {};
    lit.keepPlayAndPause =
        highlightCode == kHighlightSearchForward || highlightCode == kHighlightSearchRewind;
    switch (highlightCode) {
    case kHighlightStop: lit.stop = true; break;
    case kHighlightPlay: lit.play = true; break;
    case kHighlightPause: lit.pause = true; break;
    case kHighlightForward:
    case kHighlightSearchForward: lit.forward = true; break;
    case kHighlightRewind:
    case kHighlightSearchRewind: lit.rewind = true; break;
    default: break;
    }
    return lit;
}

PollDecision DecidePollWithoutLink() {
    PollDecision decision = {};
    decision.muteEnabled = true;
    return decision;
}

PollDecision DecidePoll(const PollInput& poll) {
    PollDecision decision = {};
    decision.settingsEnabled = true;
    if (poll.onPageZero) {
        return decision; // the deck and mute wait for a page with the camera
    }
    if (!poll.previewHasCamera) {
        // A rebuild that failed left no graph, and no graph event will come:
        // nothing is read or commanded until a build brings the camera back.
        return DecidePollWithoutLink();
    }
    decision.readsStatus = true;
    decision.muteEnabled = true;
    if (poll.transportAvailable == 0) {
        return decision;
    }
    // A report read before the deck could have moved would undo the press.
    int deckMode = poll.awaitingDeck ? poll.transportState : DeckModeOf(poll.deckCondition);
    if (deckMode == kNotOperable) { // shown as stopped
        decision.setsState = true;
        decision.newState = kStopped;
        decision.highlights = true;
        decision.highlight = kHighlightStop;
        return decision;
    }
    // While the deck is awaited, the state and highlight the press set stand.
    decision.setsState = !poll.awaitingDeck && deckMode <= kHighlightRewind;
    decision.newState = deckMode;
    decision.highlights = !poll.awaitingDeck;
    decision.highlight = deckMode;
    decision.deckEnabled = true;
    // A stopped, winding or rewinding deck cannot pause.
    decision.pauseEnabled =
        deckMode != kHighlightStop && deckMode != kHighlightForward && deckMode != kHighlightRewind;
    return decision;
}
