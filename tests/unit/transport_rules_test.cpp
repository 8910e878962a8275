#include "camera/transport_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

const int kAllStates[] = {kStopped, kPlaying, kPaused, kFastForwarding, kRewinding};

// A poll on a page with the camera in the preview, long after the user's
// last command.
PollDecision Poll(unsigned transportAvailable, int condition) {
    return DecidePoll({false, true, transportAvailable, condition, false, kStopped});
}

bool SameEnabling(const PollDecision& a, const PollDecision& b) {
    return a.deckEnabled == b.deckEnabled && a.pauseEnabled == b.pauseEnabled &&
           a.muteEnabled == b.muteEnabled && a.settingsEnabled == b.settingsEnabled;
}

} // namespace

// The deck's mode byte as the camera reports it, value by value; every value
// not listed, 0 included, means the deck's state is not known.
TEST(DeckCondition, EveryModeByteHasTheConditionOfTheTable) {
    const std::map<int, std::set<unsigned>> table = {
        {0, {1, 49, 177, 226}},
        {1, {6, 133, 165}},
        {2, {2, 18, 98, 114}},
        {3, {7, 151, 166, 245}},
        {4, {3, 19, 115}},
        {5, {131, 147, 243}},
        {6, {37, 38, 70, 102, 134}},
        {7, {53, 54, 86, 118, 150}},
        {8, {39, 71}},
        {9, {103}},
        {10, {119}},
        {11, {4, 36, 164}},
        {12, {20, 52}},
        {13, {55, 87}},
    };
    for (unsigned mode = 0; mode < 256; ++mode) {
        int expected = kDeckUnknown;
        for (const auto& row : table) {
            if (row.second.count(mode)) {
                expected = row.first;
            }
        }
        EXPECT_EQ(expected, ClassifyTransportMode(mode)) << "mode " << mode;
    }
    EXPECT_EQ(14, kDeckUnknown);
    EXPECT_EQ(kDeckUnknown, ClassifyTransportMode(256 + 6)); // only the byte's values exist
}

TEST(DeckButtons, PlayPauseAndStopAlwaysSetTheirStateAndHighlightIt) {
    struct {
        DeckButton button;
        int code;
        int state;
    } rows[] = {{kButtonPlay, kCodePlay, kPlaying},
                {kButtonPause, kCodePause, kPaused},
                {kButtonStop, kCodeStop, kStopped}};
    for (const auto& row : rows) {
        for (int from : kAllStates) {
            ButtonReaction reaction = ReactToButton(row.button, from);
            EXPECT_TRUE(reaction.command.send);
            EXPECT_EQ(kClassTransport, reaction.command.commandClass);
            EXPECT_EQ(row.code, reaction.command.commandCode);
            EXPECT_EQ(row.state, reaction.newState);
            EXPECT_EQ(row.state, reaction.highlight);
            EXPECT_FALSE(reaction.startsSearch);
        }
    }
}

TEST(DeckButtons, WindingFromPlaybackSearchesAndKeepsTheState) {
    for (int from : {kPlaying, kPaused}) {
        ButtonReaction forward = ReactToButton(kButtonForward, from);
        EXPECT_EQ(kCodeForward, forward.command.commandCode);
        EXPECT_TRUE(forward.startsSearch);
        EXPECT_EQ(from, forward.newState);
        EXPECT_EQ(kHighlightSearchForward, forward.highlight);

        ButtonReaction rewind = ReactToButton(kButtonRewind, from);
        EXPECT_EQ(kCodeRewind, rewind.command.commandCode);
        EXPECT_TRUE(rewind.startsSearch);
        EXPECT_EQ(from, rewind.newState);
        EXPECT_EQ(kHighlightSearchRewind, rewind.highlight);
    }
    for (int from : {kStopped, kFastForwarding, kRewinding}) {
        ButtonReaction forward = ReactToButton(kButtonForward, from);
        EXPECT_FALSE(forward.startsSearch);
        EXPECT_EQ(kFastForwarding, forward.newState);
        EXPECT_EQ(kHighlightForward, forward.highlight);
        ButtonReaction rewind = ReactToButton(kButtonRewind, from);
        EXPECT_EQ(kRewinding, rewind.newState);
        EXPECT_EQ(kHighlightRewind, rewind.highlight);
    }
}

TEST(DeckButtons, ReleasingASearchResumesThePlaybackItInterrupted) {
    ReleaseReaction fromPlay = ReactToSearchRelease(kPlaying, true);
    EXPECT_TRUE(fromPlay.command.send);
    EXPECT_EQ(kCodePlay, fromPlay.command.commandCode);
    EXPECT_TRUE(fromPlay.highlights);
    EXPECT_EQ(kHighlightPlay, fromPlay.highlight);

    ReleaseReaction fromPause = ReactToSearchRelease(kPaused, true);
    EXPECT_EQ(kCodePause, fromPause.command.commandCode);
    EXPECT_EQ(kHighlightPause, fromPause.highlight);

    for (int from : {0, 3, 4, 9}) {
        ReleaseReaction reaction = ReactToSearchRelease(from, true);
        EXPECT_FALSE(reaction.command.send);
        EXPECT_FALSE(reaction.highlights);
    }
    // A poll that disabled the deck ended the search: nothing is resumed.
    for (int from : kAllStates) {
        ReleaseReaction reaction = ReactToSearchRelease(from, false);
        EXPECT_FALSE(reaction.command.send) << from;
        EXPECT_FALSE(reaction.highlights) << from;
    }
}

TEST(DeckAnswer, OnlyACommandForANewModeWaitsForTheDeck) {
    const struct {
        DeckButton button;
        int state;
        bool searching;
        bool asks;
    } cases[] = {
        {kButtonPlay, kStopped, false, true},
        {kButtonPlay, kPlaying, false, false},
        {kButtonPause, kPlaying, false, true},
        {kButtonStop, kRewinding, false, true},
        {kButtonStop, kStopped, false, false},
        {kButtonForward, kStopped, false, true},
        {kButtonForward, kFastForwarding, false, false}, // a held button's repeat
        {kButtonRewind, kFastForwarding, false, true},
        {kButtonForward, kPlaying, false, true},
        {kButtonForward, kPlaying, true, false}, // a held search's repeat
        {kButtonRewind, kPaused, false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.asks, AsksNewMode(ReactToButton(c.button, c.state), c.state, c.searching))
            << c.button << " from " << c.state << (c.searching ? " searching" : "");
    }
}

// A press stands while the deck still reports a mode it was in, or was asked
// for by an earlier command not yet answered, up to the ceiling; the asked
// mode or any other report is the deck's answer, and the wait stays over.
TEST(DeckAnswer, APressStandsUntilTheDeckReportsAModeOfItsOwnOrTheCeilingPasses) {
    DeckAnswerWait none = {};
    EXPECT_FALSE(AwaitsDeckAnswer(&none, 5, 2));
    const unsigned kCeiling = kDeckAnswerCeilingMs;
    struct Command {
        unsigned atMs;
        int deckCondition; // the deck's last report
        int shownState;
        int askedMode;
    };
    const Command playFromStop = {0, 2, kStopped, kHighlightPlay};
    const struct {
        const char* what;
        std::vector<Command> commands;
        unsigned pollMs;
        int polledCondition;
        bool stands;
    } rows[] = {
        {"still the mode before", {playFromStop}, 1900, 2, true},
        {"a slow deck, just within the ceiling", {playFromStop}, kCeiling - 1, 2, true},
        {"a refusal: the ceiling has passed", {playFromStop}, kCeiling, 2, false},
        {"the asked mode", {playFromStop}, 100, 1, false},
        {"the asked mode by another byte",
         {{0, 1, kPlaying, kHighlightSearchForward}},
         100,
         8,
         false},
        {"a third mode", {playFromStop}, 100, 5, false},
        {"the tape ejected", {playFromStop}, 100, 0, false},
        {"a search from play, not yet answered",
         {{0, 1, kPlaying, kHighlightSearchForward}},
         1900,
         1,
         true},
        // Stop, then play again before a poll: the deck may be passing
        // through the stop it was asked for first.
        {"passing a mode asked before",
         {{0, 1, kPlaying, kHighlightStop}, {1500, 1, kStopped, kHighlightPlay}},
         1900,
         2,
         true},
        {"passing the playback a held search keeps shown",
         {{0, 6, kPlaying, kHighlightStop}},
         1900,
         1,
         true},
        {"a third mode after two commands",
         {{0, 1, kPlaying, kHighlightStop}, {1500, 1, kStopped, kHighlightPlay}},
         1900,
         5,
         false},
        {"the ceiling counts from the last command",
         {{0, 1, kPlaying, kHighlightStop}, {1500, 1, kStopped, kHighlightPlay}},
         kCeiling + 1000,
         2,
         true},
        {"a command past its ceiling passes nothing on",
         {{0, 1, kPlaying, kHighlightStop}, {kCeiling, 1, kPlaying, kHighlightPause}},
         kCeiling + 100,
         2,
         false},
    };
    for (unsigned start : {5000u, 0xFFFFF000u}) { // and across the tick count's wrap
        for (const auto& row : rows) {
            SCOPED_TRACE(row.what);
            DeckAnswerWait wait = {};
            for (const Command& command : row.commands) {
                StartDeckAnswerWait(&wait, start + command.atMs, command.deckCondition,
                                    command.shownState, command.askedMode);
            }
            EXPECT_EQ(row.stands, AwaitsDeckAnswer(&wait, start + row.pollMs, row.polledCondition));
            if (!row.stands) {
                EXPECT_FALSE(AwaitsDeckAnswer(&wait, start + row.pollMs + 1, 2))
                    << "an ended wait stays ended";
            }
        }
    }
    EXPECT_GE(kDeckAnswerCeilingMs, 5000u + 1000u) << "a deck that threads for 5 s";
    EXPECT_LE(kDeckAnswerCeilingMs, 4 * 2000u) << "a refusal shows within a few polls";
}

TEST(PeriodicCommand, KeepsTheDeckInItsStateUnlessASearchIsHeld) {
    EXPECT_EQ(kCodeStop, PeriodicCommand(kStopped, false).commandCode);
    EXPECT_EQ(kCodePlay, PeriodicCommand(kPlaying, false).commandCode);
    for (int state : {kPaused, kFastForwarding, kRewinding}) {
        CommandChoice keepAlive = PeriodicCommand(state, false);
        EXPECT_TRUE(keepAlive.send);
        EXPECT_EQ(kClassKeepAlive, keepAlive.commandClass);
        EXPECT_EQ(kCodeKeepAlive, keepAlive.commandCode);
    }
    for (int state : kAllStates) {
        EXPECT_FALSE(PeriodicCommand(state, true).send);
    }
    EXPECT_FALSE(PeriodicCommand(7, false).send);
}

TEST(Highlights, OneButtonLitAndSearchesKeepThePlaybackLit) {
    const struct {
        int code;
        DeckHighlights lit; // keepPlayAndPause, stop, play, pause, forward, rewind
    } cases[] = {
        {-1, {false, false, false, false, false, false}},
        {kHighlightStop, {false, true, false, false, false, false}},
        {kHighlightPlay, {false, false, true, false, false, false}},
        {kHighlightPause, {false, false, false, true, false, false}},
        {kHighlightForward, {false, false, false, false, true, false}},
        {kHighlightRewind, {false, false, false, false, false, true}},
        {kHighlightSearchForward, {true, false, false, false, true, false}},
        {kHighlightSearchRewind, {true, false, false, false, false, true}},
        {7, {false, false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        DeckHighlights lit = HighlightsFor(c.code);
        EXPECT_EQ(c.lit.stop, lit.stop) << c.code;
        EXPECT_EQ(c.lit.play, lit.play) << c.code;
        EXPECT_EQ(c.lit.pause, lit.pause) << c.code;
        EXPECT_EQ(c.lit.forward, lit.forward) << c.code;
        EXPECT_EQ(c.lit.rewind, lit.rewind) << c.code;
        EXPECT_EQ(c.lit.keepPlayAndPause, lit.keepPlayAndPause) << c.code;
    }
}

TEST(StatusPoll, TheDecksOwnMotionSetsTheStateAndItsHighlight) {
    struct {
        int condition;
        int state;
        bool canPause;
    } motions[] = {{1, kPlaying, true},
                   {2, kStopped, false},
                   {3, kPaused, true},
                   {4, kFastForwarding, false},
                   {5, kRewinding, false}};
    for (const auto& motion : motions) {
        PollDecision decision = Poll(1, motion.condition);
        EXPECT_TRUE(decision.readsStatus);
        EXPECT_TRUE(decision.setsState);
        EXPECT_EQ(motion.state, decision.newState);
        EXPECT_TRUE(decision.highlights);
        EXPECT_EQ(motion.state, decision.highlight);
        EXPECT_TRUE(decision.deckEnabled);
        EXPECT_EQ(motion.canPause, decision.pauseEnabled) << motion.condition;
        EXPECT_TRUE(decision.muteEnabled);
        EXPECT_TRUE(decision.settingsEnabled);
    }
}

TEST(StatusPoll, ASearchKeepsTheStateAndLightsItsDirection) {
    for (int condition : {6, 8, 9}) {
        PollDecision decision = Poll(3, condition);
        EXPECT_FALSE(decision.setsState);
        EXPECT_EQ(kHighlightSearchForward, decision.highlight);
        EXPECT_TRUE(decision.deckEnabled && decision.pauseEnabled && decision.muteEnabled);
    }
    for (int condition : {7, 10, 13}) {
        PollDecision decision = Poll(2, condition);
        EXPECT_FALSE(decision.setsState);
        EXPECT_EQ(kHighlightSearchRewind, decision.highlight);
        EXPECT_TRUE(decision.deckEnabled && decision.pauseEnabled);
    }
}

TEST(StatusPoll, ADeckThatCannotBeOperatedShowsStoppedAndDisabled) {
    for (int condition : {0, 11, 12, kDeckUnknown}) {
        PollDecision decision = Poll(1, condition);
        EXPECT_TRUE(decision.setsState);
        EXPECT_EQ(kStopped, decision.newState);
        EXPECT_EQ(kHighlightStop, decision.highlight);
        EXPECT_FALSE(decision.deckEnabled || decision.pauseEnabled);
        EXPECT_TRUE(decision.muteEnabled);
        EXPECT_TRUE(decision.settingsEnabled);
    }
}

TEST(StatusPoll, NoTransportOrPageZeroOrNoLinkChangeNothingButTheEnabling) {
    for (int condition = 0; condition < kDeckConditionCount; ++condition) {
        PollDecision unavailable = Poll(0, condition);
        EXPECT_TRUE(unavailable.readsStatus);
        EXPECT_FALSE(unavailable.setsState || unavailable.highlights);
        EXPECT_FALSE(unavailable.deckEnabled || unavailable.pauseEnabled);
        EXPECT_TRUE(unavailable.muteEnabled && unavailable.settingsEnabled);

        for (bool previewHasCamera : {true, false}) {
            PollDecision pageZero =
                DecidePoll({true, previewHasCamera, 1, condition, false, kPlaying});
            EXPECT_FALSE(pageZero.readsStatus || pageZero.setsState || pageZero.highlights);
            EXPECT_FALSE(pageZero.deckEnabled || pageZero.pauseEnabled || pageZero.muteEnabled);
            EXPECT_TRUE(pageZero.settingsEnabled);
        }
    }
    PollDecision noLink = DecidePollWithoutLink();
    EXPECT_FALSE(noLink.readsStatus || noLink.setsState || noLink.highlights);
    EXPECT_FALSE(noLink.deckEnabled || noLink.pauseEnabled || noLink.settingsEnabled);
    EXPECT_TRUE(noLink.muteEnabled);
}

// A rebuild that failed on a page with the camera left no graph: whatever the
// last status said, the deck and the camera's settings are off, as without a
// link, until a build brings the camera back.
TEST(StatusPoll, WithoutTheCameraInThePreviewTheDeckIsOffAsWithoutALink) {
    PollDecision noLink = DecidePollWithoutLink();
    for (int condition = 0; condition < kDeckConditionCount; ++condition) {
        for (bool awaiting : {false, true}) {
            PollDecision noPreview = DecidePoll({false, false, 1, condition, awaiting, kPlaying});
            EXPECT_FALSE(noPreview.readsStatus || noPreview.setsState || noPreview.highlights);
            EXPECT_TRUE(SameEnabling(noLink, noPreview)) << condition;
        }
    }
}

// A poll soon after a press reads the deck still in the mode before: the state
// and highlight the press set stand, and the buttons are enabled as for a
// deck in that state; the deck's reports count again once it could have
// answered.
TEST(StatusPoll, ThePressedStateStandsUntilTheDeckCouldHaveAnswered) {
    const int settled[] = {2, 1, 3, 4, 5}; // the condition of each state's mode
    for (int state : kAllStates) {
        for (int condition = 0; condition < kDeckConditionCount; ++condition) {
            PollDecision waiting = DecidePoll({false, true, 1, condition, true, state});
            EXPECT_TRUE(waiting.readsStatus);
            EXPECT_FALSE(waiting.setsState || waiting.highlights) << state << "/" << condition;
            EXPECT_TRUE(SameEnabling(Poll(1, settled[state]), waiting))
                << state << "/" << condition;

            PollDecision unavailable = DecidePoll({false, true, 0, condition, true, state});
            EXPECT_TRUE(SameEnabling(Poll(0, condition), unavailable));
            EXPECT_FALSE(unavailable.setsState || unavailable.highlights);
        }
    }
}
