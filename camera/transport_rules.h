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
// or nothing from any other state, nor to a deck shown disabled (a search
// that a poll ended by disabling the deck).
struct ReleaseReaction {
    CommandChoice command;
    bool highlights;
    int highlight;
};
ReleaseReaction ReactToSearchRelease(int transportState, bool deckEnabled);

// The deck's mechanism takes a moment to move, a deck threading tape several
// seconds: until it answers a command, its status still reports the mode
// before. A press stands until the deck reports a mode of its own, or until
// this ceiling (a few of the 2 s polls) has passed: then the deck's report
// wins, so a deck that refuses shows its real state.
const unsigned kDeckAnswerCeilingMs = 6000;

// The wait for the deck's answer to the user's last commands; zeroed, no wait.
struct DeckAnswerWait {
    bool waiting;
    unsigned sentMs;       // tick count when the last command went out
    int askedMode;         // TransportHighlight of the mode it asked for
    unsigned passingModes; // modes the deck may still report on its way there
};
// Whether a button's command asks the deck for a new mode, which its status
// shows only once it has moved: a press that changes the state or begins a
// search. A held button's repeat, or the mode already shown, asks nothing new.
bool AsksNewMode(const ButtonReaction& reaction, int transportState, bool searching);
// A command that asks for askedMode (a TransportHighlight) goes out while the
// deck last reported deckCondition and the program showed transportState. A
// command sent while an earlier one is still unanswered adds to what the deck
// may report on its way: the earlier command may have moved it meanwhile.
void StartDeckAnswerWait(DeckAnswerWait* wait, unsigned nowMs, int deckCondition,
                         int transportState, int askedMode);
// Whether a poll at nowMs, whose status reports deckCondition, still waits
// for the deck: it does while the deck reports a mode it was in or was asked
// for before, within the ceiling. The asked mode, or any other (a refusal, the
// tape's end, an ejected tape), is the deck's answer. A wait once over is
// forgotten (tick counts wrap after 49 days).
bool AwaitsDeckAnswer(DeckAnswerWait* wait, unsigned nowMs, int deckCondition);

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
// What the poll knows with a camera link.
struct PollInput {
    bool onPageZero;       // the poll on page 0 reads nothing
    bool previewHasCamera; // without the preview graph there is no camera to
                           // read or command: as without a link
    unsigned transportAvailable;
    int deckCondition;
    // The deck cannot yet have answered the user's last command: the state
    // that command set stands, and the deck is taken to be in it.
    bool awaitingDeck;
    int transportState;
};
PollDecision DecidePoll(const PollInput& poll);

#endif
