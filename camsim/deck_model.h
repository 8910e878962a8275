// The camera's tape deck as the driver models it: commands move the mechanism,
// which settles after a short delay, and the status reports a mode byte that
// the program classifies. Platform-free: times are milliseconds given by the
// caller.
#ifndef CAMSIM_DECK_MODEL_H
#define CAMSIM_DECK_MODEL_H

#include <stdint.h>

// Where the mechanism is, or is going.
enum DeckMotion : uint8_t {
    DeckStopped = 0,
    DeckPlaying = 1,
    DeckPaused = 2,
    DeckFastForward = 3,
    DeckRewinding = 4,
    DeckCue = 5,    // fast forward entered from play or pause
    DeckReview = 6, // rewind entered from play or pause
};

// Time the mechanism takes to reach the state a command asked for: camsim's
// own deck by default, and at most what a deck threading tape takes.
const uint32_t kDefaultDeckSettleMs = 400;
const uint32_t kMaxDeckSettleMs = 5000;

// Command classes and codes the deck understands.
const uint32_t kClassTransport = 1;
const uint32_t kClassBrightness = 8;
const uint32_t kClassKeepAlive = 15;
const uint32_t kCodeStop = 24;
const uint32_t kCodePause = 25;
const uint32_t kCodePlay = 26;
const uint32_t kCodeRewind = 27;
const uint32_t kCodeFastForward = 28;
const uint32_t kCodeKeepAlive = 255;

// Lives in the shared control block, so it stays plain data.
struct DeckModel {
    uint8_t tape;     // 1 while a cassette is in
    uint8_t motion;   // DeckMotion the mechanism reports now
    uint8_t target;   // DeckMotion it is moving to
    uint8_t reserved;
    uint32_t settleAtMs; // when motion becomes target
    uint32_t settleMs;   // the time the movement under way takes
};

// What the deck made of a command.
enum CommandOutcome {
    CommandAccepted,
    CommandNotReady,   // a transport command without a tape
    CommandUnsupported // a class or code the camera does not know
};

// An empty deck at rest.
DeckModel NewDeck();

// Inserting or ejecting a tape stops the mechanism at once.
void SetDeckTape(DeckModel& deck, bool tapeIn);

// Applies a transport or keep-alive command received at nowMs; a movement it
// starts takes settleMs (at most kMaxDeckSettleMs). Brightness (class 8) is
// the picture's business and is reported as accepted here.
CommandOutcome ApplyDeckCommand(DeckModel& deck, uint32_t commandClass, uint32_t code,
                                uint32_t nowMs, uint32_t settleMs);

// The motion reported at nowMs: the target once the settle time has passed.
DeckMotion DeckMotionAt(const DeckModel& deck, uint32_t nowMs);

// The status mode byte for a motion, from the program's deck-condition table:
// stop 2 (condition 2), play 6 (1), pause 7 (3), fast forward 3 (4),
// rewind 131 (5), cue 37 (6), review 53 (7); no tape 1 (condition 0).
uint8_t DeckModeByte(bool tapeIn, DeckMotion motion);

// Short upper-case label of what the deck reports, drawn into the picture.
const char* DeckLabel(bool tapeIn, DeckMotion motion);

#endif
