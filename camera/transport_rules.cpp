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

ReleaseReaction ReactToSearchRelease(int transportState) {
    ReleaseReaction reaction = {SendNothing(), false, 0};
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

PollDecision DecidePoll(bool onPageZero, unsigned transportAvailable, int deckCondition) {
    PollDecision decision = {};
    decision.settingsEnabled = true;
    if (onPageZero) {
        return decision; // the deck and mute wait for a page with the camera
    }
    decision.readsStatus = true;
    decision.muteEnabled = true;
    if (transportAvailable == 0) {
        return decision;
    }
    switch (deckCondition) {
    case 1: decision.setsState = true; decision.newState = kPlaying; break;
    case 2: decision.setsState = true; decision.newState = kStopped; break;
    case 3: decision.setsState = true; decision.newState = kPaused; break;
    case 4: decision.setsState = true; decision.newState = kFastForwarding; break;
    case 5: decision.setsState = true; decision.newState = kRewinding; break;
    case 6:
    case 8:
    case 9: decision.highlights = true; decision.highlight = kHighlightSearchForward; break;
    case 7:
    case 10:
    case 13: decision.highlights = true; decision.highlight = kHighlightSearchRewind; break;
    default: // the deck cannot be operated: shown as stopped
        decision.setsState = true;
        decision.newState = kStopped;
        decision.highlights = true;
        decision.highlight = kHighlightStop;
        return decision;
    }
    if (decision.setsState) {
        decision.highlights = true;
        decision.highlight = decision.newState;
    }
    decision.deckEnabled = true;
    // A stopped, winding or rewinding deck cannot pause.
    decision.pauseEnabled = deckCondition != 2 && deckCondition != 4 && deckCondition != 5;
    return decision;
}
