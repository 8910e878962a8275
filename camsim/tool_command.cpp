#include "camsim/tool_command.h"

#include <string.h>

#include "camsim/control_block.h"

const char kToolUsage[] =
    "usage: camsim COMMAND\n"
    "  install | uninstall          register or remove every device\n"
    "  plug | unplug                connect or disconnect the camera\n"
    "  tape in | tape out           insert or eject the cassette\n"
    "  fault NAME on|off            NAME: capability, get-fail, get-sfalse, set-fail,\n"
    "                               set-sfalse, status-fail, video-missing,\n"
    "                               stop-events, all\n"
    "  mode N | mode none           report mode byte N (0..255) instead of the deck's\n"
    "  transport N | transport none report transportAvailable N (0..3)\n"
    "  video2 on|off                also offer \"Orvelle Video2\"\n"
    "  audio add NAME | audio add-unnamed | audio remove SLOT\n"
    "  sound-output simulated|real  play the sound into camsim's counter, or for real\n"
    "  deck-delay MS                the deck settles MS (0..5000, at first 400) after\n"
    "                               each command\n"
    "  status | log                 print the camera's state or its command log\n";

namespace {

const struct {
    const char* name;
    uint32_t fault;
} kFaultNames[] = {
    {"capability", FaultCapabilityClear},
    {"get-fail", FaultGetFails},
    {"get-sfalse", FaultGetSFalse},
    {"set-fail", FaultSetFails},
    {"set-sfalse", FaultSetSFalse},
    {"status-fail", FaultStatusFails},
    {"video-missing", FaultVideoMissing},
    {"stop-events", FaultEventsOnStop},
    {"all", kAllFaults},
};

bool Is(const char* text, const char* word) { return strcmp(text, word) == 0; }

ToolCommand Invalid(const char* error) {
    ToolCommand command = {};
    command.action = ToolInvalid;
    command.error = error;
    return command;
}

ToolCommand Simple(ToolAction action) {
    ToolCommand command = {};
    command.action = action;
    return command;
}

// A decimal number within 0..maximum, nothing else; nine digits cannot
// overflow.
bool ParseNumber(const char* text, int32_t maximum, int32_t* value) {
    if (!*text || strlen(text) > 9)
        return false;
    int32_t number = 0;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9')
            return false;
        number = number * 10 + (*text - '0');
    }
    *value = number;
    return number <= maximum;
}

bool ParseSwitch(const char* text, const char* on, const char* off, bool* value) {
    *value = Is(text, on);
    return *value || Is(text, off);
}

ToolCommand Forced(ToolAction action, const char* text, int32_t maximum, const char* error) {
    ToolCommand command = Simple(action);
    if (Is(text, "none"))
        command.number = kNotForced;
    else if (!ParseNumber(text, maximum, &command.number))
        return Invalid(error);
    return command;
}

ToolCommand Fault(const char* name, const char* state) {
    ToolCommand command = Simple(ToolFault);
    if (!ParseSwitch(state, "on", "off", &command.flag))
        return Invalid("fault: say on or off");
    for (const auto& entry : kFaultNames)
        if (Is(name, entry.name))
            command.fault = entry.fault;
    return command.fault ? command : Invalid("fault: unknown fault name");
}

ToolCommand Audio(int count, const char* const* arguments) {
    if (count == 1 && Is(arguments[0], "add-unnamed"))
        return Simple(ToolAudioAdd);
    if (count != 2)
        return Invalid("audio: expected add NAME, add-unnamed or remove SLOT");
    ToolCommand command = Simple(ToolAudioAdd);
    if (Is(arguments[0], "add")) {
        if (!*arguments[1])
            return Invalid("audio add: the name is empty");
        command.text = arguments[1];
        return command;
    }
    command.action = ToolAudioRemove;
    if (!Is(arguments[0], "remove") ||
        !ParseNumber(arguments[1], kMaxAudioDevices - 1, &command.number))
        return Invalid("audio: expected add NAME, add-unnamed or remove SLOT (0..19)");
    return command;
}

} // namespace

ToolCommand ParseToolCommand(int count, const char* const* arguments) {
    if (count < 1)
        return Invalid("no command given");
    const char* verb = arguments[0];
    const int rest = count - 1;
    const char* const* more = arguments + 1;
    const struct {
        const char* word;
        ToolAction action;
    } plain[] = {{"install", ToolInstall}, {"uninstall", ToolUninstall}, {"plug", ToolPlug},
                 {"unplug", ToolUnplug},   {"status", ToolStatus},       {"log", ToolLog}};
    for (const auto& entry : plain)
        if (Is(verb, entry.word))
            return rest == 0 ? Simple(entry.action) : Invalid("this command takes no arguments");
    if (Is(verb, "audio"))
        return Audio(rest, more);
    if (Is(verb, "fault"))
        return rest == 2 ? Fault(more[0], more[1]) : Invalid("fault: expected NAME on|off");
    if (rest != 1)
        return Invalid("unknown command or wrong number of arguments");
    ToolCommand command = Simple(ToolInvalid);
    if (Is(verb, "tape")) {
        command.action = ToolTape;
        return ParseSwitch(more[0], "in", "out", &command.flag) ? command
                                                                : Invalid("tape: say in or out");
    }
    if (Is(verb, "video2")) {
        command.action = ToolVideo2;
        return ParseSwitch(more[0], "on", "off", &command.flag) ? command
                                                                : Invalid("video2: say on or off");
    }
    if (Is(verb, "sound-output")) {
        command.action = ToolSoundOutput;
        return ParseSwitch(more[0], "simulated", "real", &command.flag)
                   ? command
                   : Invalid("sound-output: say simulated or real");
    }
    if (Is(verb, "mode"))
        return Forced(ToolMode, more[0], 255, "mode: expected 0..255 or none");
    if (Is(verb, "transport"))
        return Forced(ToolTransport, more[0], 3, "transport: expected 0..3 or none");
    if (Is(verb, "deck-delay")) {
        command.action = ToolDeckDelay;
        return ParseNumber(more[0], int32_t(kMaxDeckSettleMs), &command.number)
                   ? command
                   : Invalid("deck-delay: expected milliseconds, 0..5000");
    }
    return Invalid("unknown command");
}
