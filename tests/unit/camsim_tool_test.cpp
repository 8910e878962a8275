#include <gtest/gtest.h>

#include <vector>

#include "camsim/control_block.h"
#include "camsim/tool_command.h"

namespace {

ToolCommand Parse(std::vector<const char*> words) {
    return ParseToolCommand(static_cast<int>(words.size()), words.data());
}

} // namespace

TEST(CamsimTool, ParsesEveryCommand) {
    EXPECT_EQ(ToolInstall, Parse({"install"}).action);
    EXPECT_EQ(ToolUnplug, Parse({"unplug"}).action);
    ToolCommand tape = Parse({"tape", "out"});
    EXPECT_EQ(ToolTape, tape.action);
    EXPECT_FALSE(tape.flag);
    const struct {
        const char* name;
        uint32_t fault;
    } faults[] = {{"capability", FaultCapabilityClear},
                  {"get-fail", FaultGetFails},
                  {"get-sfalse", FaultGetSFalse},
                  {"set-fail", FaultSetFails},
                  {"set-sfalse", FaultSetSFalse},
                  {"status-fail", FaultStatusFails},
                  {"video-missing", FaultVideoMissing},
                  {"stop-events", FaultEventsOnStop},
                  {"all", kAllFaults}};
    for (const auto& row : faults) {
        ToolCommand fault = Parse({"fault", row.name, "on"});
        EXPECT_EQ(ToolFault, fault.action) << row.name;
        EXPECT_EQ(row.fault, fault.fault) << row.name;
        EXPECT_TRUE(fault.flag) << row.name;
    }
    EXPECT_FALSE(Parse({"fault", "all", "off"}).flag);
    EXPECT_EQ(131, Parse({"mode", "131"}).number);
    EXPECT_EQ(kNotForced, Parse({"transport", "none"}).number);
    ToolCommand add = Parse({"audio", "add", "Line In"});
    EXPECT_EQ(ToolAudioAdd, add.action);
    EXPECT_STREQ("Line In", add.text);
    ToolCommand unnamed = Parse({"audio", "add-unnamed"});
    EXPECT_EQ(ToolAudioAdd, unnamed.action);
    EXPECT_EQ(nullptr, unnamed.text);
    EXPECT_EQ(19, Parse({"audio", "remove", "19"}).number);
    ToolCommand soundOutput = Parse({"sound-output", "simulated"});
    EXPECT_EQ(ToolSoundOutput, soundOutput.action);
    EXPECT_TRUE(soundOutput.flag);
    EXPECT_FALSE(Parse({"sound-output", "real"}).flag);
    ToolCommand delay = Parse({"deck-delay", "5000"});
    EXPECT_EQ(ToolDeckDelay, delay.action);
    EXPECT_EQ(5000, delay.number);
    EXPECT_EQ(0, Parse({"deck-delay", "0"}).number);
}

TEST(CamsimTool, RefusesBadArgumentsWithAReason) {
    const std::vector<std::vector<const char*>> refused = {
        {},
        {"dance"},
        {"plug", "now"},
        {"tape"},
        {"tape", "sideways"},
        {"mode", "256"},
        {"mode", "-1"},
        {"mode", "1x"},
        {"transport", "4"},
        {"fault", "nothing", "on"},
        {"fault", "get-fail", "maybe"},
        {"audio", "add", ""},
        {"audio", "remove", "20"},
        {"audio", "drop", "1"},
        {"video2", "yes"},
        {"sound-output", "loud"},
        {"deck-delay"},
        {"deck-delay", "5001"},
        {"deck-delay", "-1"},
        {"deck-delay", "4294967696"}, // 400 after a 32-bit wrap
        {"deck-delay", "fast"},
    };
    for (const auto& words : refused) {
        ToolCommand command = Parse(words);
        EXPECT_EQ(ToolInvalid, command.action) << (words.empty() ? "" : words[0]);
        EXPECT_NE(nullptr, command.error);
    }
}
