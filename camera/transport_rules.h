// What the deck buttons, the release of a held search button, the status
// poll and the periodic command do, as pure decisions. Platform-free; the
// main window applies the answers to its buttons and the camera link.
#ifndef MORVANE_CAMERA_TRANSPORT_RULES_H
#define MORVANE_CAMERA_TRANSPORT_RULES_H

// The program's view of the deck.
enum TransportState {
    kStopped = 0,
    kPlaying = 1,
    kPaused = 2,
    kFastForwarding = 3,
    kRewinding = 4,
};

// Which deck button shows its pressed face. The search codes highlight fast
// forward or rewind while keeping the play or pause highlight of the
// playback the search started from.
enum TransportHighlight {
    kHighlightStop = 0,
    kHighlightPlay = 1,
    kHighlightPause = 2,
    kHighlightForward = 3,
    kHighlightRewind = 4,
    kHighlightSearchForward = 5,
    kHighlightSearchRewind = 6,
};

enum DeckButton { kButtonPlay, kButtonPause, kButtonStop, kButtonForward, kButtonRewind };

// The deck's condition as its status reports it; kDeckUnknown also stands
// for a camera that cannot be controlled.
const int kDeckUnknown = 14;
const int kDeckConditionCount = 15;

// Command classes and codes the deck understands.
const int kClassTransport = 1;
const int kClassBrightness = 8;
const int kClassKeepAlive = 15;
const int kCodeStop = 24;
const int kCodePause = 25;
const int kCodePlay = 26;
const int kCodeRewind = 27;
const int kCodeForward = 28;
const int kCodeKeepAlive = 255;

struct CommandChoice {
    bool send;
    int commandClass;
    int commandCode;
};

// The deck condition of a status mode byte.
int ClassifyTransportMode(unsigned mode);

// A deck button pressed in the given state: the command it sends, the state
// and highlight that follow, and whether a search begins (the state is then
// kept). Fast forward and rewind repeat this while they are held.
struct ButtonReaction {
    CommandChoice command;
    int newState;
    int highlight;
    bool startsSearch;
};
ButtonReaction ReactToButton(DeckButton button, int transportState);

// The release of a held search button: back to the playback it interrupted,
// or nothing from any other state.
struct ReleaseReaction {
    CommandChoice command;
    bool highlights;
    int highlight;
};
ReleaseReaction ReactToSearchRelease(int transportState);

// The command re-sent at each poll so that the deck keeps its state.
CommandChoice PeriodicCommand(int transportState, bool searching);

// Which of the five deck buttons are highlighted after HighlightTransport
// with a code; play and pause keep their highlight for the search codes.
struct DeckHighlights {
    bool keepPlayAndPause;
    bool stop, play, pause, forward, rewind;
};
DeckHighlights HighlightsFor(int highlightCode);

// What the status poll decides, with a camera link.
struct PollDecision {
    bool readsStatus;      // false on page 0: the camera is not read
    bool setsState;        // the state follows the deck's report
    int newState;
    bool highlights;
    int highlight;
    // Resulting enablement.
    bool deckEnabled;      // stop, play, rewind, fast forward
    bool pauseEnabled;
    bool muteEnabled;
    bool settingsEnabled;  // quality and brightness sliders and resets
};
// Without a camera link nothing is read: only the sound can be changed.
PollDecision DecidePollWithoutLink();
// onPageZero: the poll on page 0 reads nothing. Otherwise the decision rests
// on the status read: transportAvailable and the deck condition.
PollDecision DecidePoll(bool onPageZero, unsigned transportAvailable, int deckCondition);

#endif
