#include "camsim/deck_model.h"

namespace {

bool IsSearchingFrom(uint8_t motion) {
    return motion == DeckPlaying || motion == DeckPaused || motion == DeckCue ||
           motion == DeckReview;
}

// The deck lives in a file: a settle time read from it is held to the longest
// a deck takes.
uint32_t BoundedSettleMs(uint32_t settleMs) {
    return settleMs < kMaxDeckSettleMs ? settleMs : kMaxDeckSettleMs;
}

// The mechanism is still moving only while its settle moment lies at most one
// settle time ahead. Tick counts wrap after 49 days and start again at zero
// when the machine restarts, and the deck outlives both: a moment further
// ahead was taken on an older count and has passed.
bool HasSettled(const DeckModel& deck, uint32_t nowMs) {
    uint32_t remaining = deck.settleAtMs - nowMs;
    return remaining == 0 || remaining > BoundedSettleMs(deck.settleMs);
}

} // namespace

DeckModel NewDeck() {
    DeckModel deck = {};
    deck.motion = DeckStopped;
    deck.target = DeckStopped;
    return deck;
}

void SetDeckTape(DeckModel& deck, bool tapeIn) {
    deck.tape = tapeIn ? 1 : 0;
    deck.motion = DeckStopped;
    deck.target = DeckStopped;
}

CommandOutcome ApplyDeckCommand(DeckModel& deck, uint32_t commandClass, uint32_t code,
                                uint32_t nowMs, uint32_t settleMs) {
    if (commandClass == kClassBrightness)
        return CommandAccepted;
    if (commandClass == kClassKeepAlive)
        return code == kCodeKeepAlive ? CommandAccepted : CommandUnsupported;
    if (commandClass != kClassTransport)
        return CommandUnsupported;

    uint8_t target;
    switch (code) {
    case kCodeStop:
        target = DeckStopped;
        break;
    case kCodePause:
        target = DeckPaused;
        break;
    case kCodePlay:
        target = DeckPlaying;
        break;
    case kCodeRewind:
        target = IsSearchingFrom(deck.target) ? DeckReview : DeckRewinding;
        break;
    case kCodeFastForward:
        target = IsSearchingFrom(deck.target) ? DeckCue : DeckFastForward;
        break;
    default:
        return CommandUnsupported;
    }
    if (!deck.tape)
        return CommandNotReady;
    // A command repeated while held (search buttons repeat) does not restart
    // the mechanism.
    if (target == deck.target)
        return CommandAccepted;
    deck.motion = DeckMotionAt(deck, nowMs);
    deck.target = target;
    deck.settleMs = BoundedSettleMs(settleMs);
    deck.settleAtMs = nowMs + deck.settleMs;
    return CommandAccepted;
}

DeckMotion DeckMotionAt(const DeckModel& deck, uint32_t nowMs) {
    if (deck.motion == deck.target || HasSettled(deck, nowMs))
        return static_cast<DeckMotion>(deck.target);
    return static_cast<DeckMotion>(deck.motion);
}

uint8_t DeckModeByte(bool tapeIn, DeckMotion motion) {
    if (!tapeIn)
        return 1;
    static const uint8_t modes[] = {2, 6, 7, 3, 131, 37, 53};
    return motion < sizeof modes ? modes[motion] : 2;
}

const char* DeckLabel(bool tapeIn, DeckMotion motion) {
    if (!tapeIn)
        return "NO TAPE";
    static const char* const labels[] = {"STOP", "PLAY", "PAUSE", "FF", "REW", "CUE", "REVIEW"};
    return motion < sizeof labels / sizeof labels[0] ? labels[motion] : "STOP";
}
