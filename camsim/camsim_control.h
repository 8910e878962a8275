// Access to the simulated camera's shared control block, for the driver's
// filters, camsim.exe and tests. The block is named shared memory guarded by
// a named mutex; a holder that dies leaves the mutex abandoned, which the
// next waiter takes over, so a crash never leaves the block locked. The
// memory is a file in the Windows folder, so the deck's mode and the command
// log stay when the last process holding the block ends, as a plugged
// camera keeps them.
#ifndef CAMSIM_CAMSIM_CONTROL_H
#define CAMSIM_CAMSIM_CONTROL_H

#include <windows.h>

#include "camsim/control_block.h"

// Registry key (under HKEY_LOCAL_MACHINE) where the settings persist.
extern const char kCamsimSettingsKey[];

// The opened block. Lock before touching it; Unlock stores the settings and
// brings the device registrations in line when the settings changed.
class CamsimBlock {
  public:
    CamsimBlock();
    ~CamsimBlock();

    // Opens the block, making it from the stored settings if there is none
    // of this layout yet.
    bool Open();
    void Close();

    // The block, locked; null when it is not open or the lock is not granted
    // within a few seconds.
    ControlBlock* Lock();
    // Ends a Lock. When the settings differ from those seen at Lock, they are
    // stored, the category registrations follow, and top-level windows hear
    // of capture devices that arrived or left.
    void Unlock();

  private:
    CamsimBlock(const CamsimBlock&) = delete;
    CamsimBlock& operator=(const CamsimBlock&) = delete;

    HANDLE mutex;
    HANDLE mapping;
    ControlBlock* view;
    CamsimSettings settingsAtLock;
};

// The settings stored in the registry, or the defaults of a fresh machine.
CamsimSettings StoredSettings();

// Removes the file that keeps the block between processes; false while a
// process holds the block (a missing file is removed already).
bool RemoveStateFile();

#endif
