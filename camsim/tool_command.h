// The command line of camsim.exe, parsed. Platform-free.
#ifndef CAMSIM_TOOL_COMMAND_H
#define CAMSIM_TOOL_COMMAND_H

#include <stdint.h>

enum ToolAction {
    ToolInvalid,
    ToolInstall,
    ToolUninstall,
    ToolPlug,
    ToolUnplug,
    ToolTape,        // flag: in
    ToolFault,       // fault bit (0: all), flag: on
    ToolMode,        // number, or kNotForced
    ToolTransport,   // number, or kNotForced
    ToolVideo2,      // flag: on
    ToolAudioAdd,    // text: name, or null for a device without a name
    ToolAudioRemove, // number: slot
    ToolSoundOutput, // flag: the simulated output instead of the system's renderer
    ToolDeckDelay,   // number: the deck's settle time in milliseconds
    ToolStatus,
    ToolLog,
};

// Exit codes that scripts test.
const int kExitSuccess = 0;
const int kExitUsage = 1;
const int kExitFailed = 2;

struct ToolCommand {
    ToolAction action;
    bool flag;
    uint32_t fault;
    int32_t number;
    const char* text;
    const char* error; // why the line is invalid
};

// arguments excludes the program name.
ToolCommand ParseToolCommand(int count, const char* const* arguments);

// One line per command, for the usage text.
extern const char kToolUsage[];

#endif
