#include <gtest/gtest.h>

#include "camsim/deck_model.h"

namespace {

// The program's deck conditions for the mode bytes the deck reports.
int ConditionOf(uint8_t mode) {
    switch (mode) {
    case 1: return 0;
    case 6: return 1;
    case 2: return 2;
    case 7: return 3;
    case 3: return 4;
    case 131: return 5;
    case 37: return 6;
    case 53: return 7;
    default: return 14;
    }
}

DeckModel LoadedDeck() {
    DeckModel deck = NewDeck();
    SetDeckTape(deck, true);
    return deck;
}

} // namespace

TEST(CamsimDeck, CommandsReachTheirConditionOnlyAfterTheSettleTime) {
    const struct {
        uint32_t code;
        int condition;
    } steps[] = {{kCodePlay, 1},        {kCodePause, 3}, {kCodeFastForward, 6}, {kCodeRewind, 7},
                 {kCodeStop, 2},        {kCodeRewind, 5}, {kCodeFastForward, 4}, {kCodePlay, 1},
                 {kCodeFastForward, 6}, {kCodePause, 3}, {kCodeRewind, 7}};
    const struct {
        uint32_t asked;
        uint32_t taken;
    } settles[] = {{kDefaultDeckSettleMs, kDefaultDeckSettleMs},
                   {3000, 3000},
                   {kMaxDeckSettleMs, kMaxDeckSettleMs},
                   {0xFFFFFFFF, kMaxDeckSettleMs}}; // as read from a corrupt file
    for (const auto& settle : settles) {
        DeckModel deck = LoadedDeck();
        uint32_t now = 0xFFFFFF00; // across the tick counter's wrap
        int previous = 2;
        for (const auto& step : steps) {
            SCOPED_TRACE(testing::Message() << "code " << step.code << ", settle " << settle.asked);
            ASSERT_EQ(CommandAccepted,
                      ApplyDeckCommand(deck, kClassTransport, step.code, now, settle.asked));
            now += settle.taken;
            EXPECT_EQ(previous, ConditionOf(DeckModeByte(true, DeckMotionAt(deck, now - 1))));
            EXPECT_EQ(step.condition, ConditionOf(DeckModeByte(true, DeckMotionAt(deck, now))));
            previous = step.condition;
            now += 1000;
        }
    }
}

TEST(CamsimDeck, AKeptDeckHasSettledAfterTheTickCounterStartedAgain) {
    DeckModel deck = LoadedDeck();
    ApplyDeckCommand(deck, kClassTransport, kCodePlay, 5000000, kMaxDeckSettleMs);
    // The machine restarted: the count is far below the moment it was sent.
    EXPECT_EQ(DeckPlaying, DeckMotionAt(deck, 200));
}

TEST(CamsimDeck, RepeatedSearchCommandDoesNotRestartTheMechanism) {
    DeckModel deck = LoadedDeck();
    ApplyDeckCommand(deck, kClassTransport, kCodeFastForward, 1000, kDefaultDeckSettleMs);
    ApplyDeckCommand(deck, kClassTransport, kCodeFastForward, 1300, kDefaultDeckSettleMs);
    EXPECT_EQ(DeckFastForward, DeckMotionAt(deck, 1000 + kDefaultDeckSettleMs));
}

TEST(CamsimDeck, WithoutTapeNothingMovesAndTheModeIsNotOperable) {
    DeckModel deck = NewDeck();
    EXPECT_EQ(CommandNotReady,
              ApplyDeckCommand(deck, kClassTransport, kCodePlay, 0, kDefaultDeckSettleMs));
    EXPECT_EQ(0, ConditionOf(DeckModeByte(false, DeckMotionAt(deck, 5000))));
    deck = LoadedDeck();
    ApplyDeckCommand(deck, kClassTransport, kCodePlay, 0, kDefaultDeckSettleMs);
    SetDeckTape(deck, false); // ejecting stops the deck at once
    SetDeckTape(deck, true);
    EXPECT_EQ(DeckStopped, DeckMotionAt(deck, 10));
}

TEST(CamsimDeck, KeepAliveBrightnessAndUnknownCommands) {
    DeckModel deck = LoadedDeck();
    EXPECT_EQ(CommandAccepted,
              ApplyDeckCommand(deck, kClassKeepAlive, kCodeKeepAlive, 0, kDefaultDeckSettleMs));
    EXPECT_EQ(CommandUnsupported,
              ApplyDeckCommand(deck, kClassKeepAlive, 1, 0, kDefaultDeckSettleMs));
    EXPECT_EQ(CommandAccepted,
              ApplyDeckCommand(deck, kClassBrightness, 0, 0, kDefaultDeckSettleMs));
    EXPECT_EQ(CommandUnsupported,
              ApplyDeckCommand(deck, kClassTransport, 23, 0, kDefaultDeckSettleMs));
    EXPECT_EQ(CommandUnsupported, ApplyDeckCommand(deck, 2, kCodePlay, 0, kDefaultDeckSettleMs));
    EXPECT_EQ(DeckStopped, DeckMotionAt(deck, 5000));
}
