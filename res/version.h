/* The program's version, named once: CMakeLists.txt's project version comes
   in as MORVANE_VERSION_MAJOR, _MINOR and _PATCH. Platform-free: the version
   resources and the about box read it. */
#ifndef MORVANE_VERSION_H
#define MORVANE_VERSION_H

#define MORVANE_QUOTED_(number) #number
#define MORVANE_QUOTED(number) MORVANE_QUOTED_(number)
#define MORVANE_VERSION_TEXT                                                                       \
    MORVANE_QUOTED(MORVANE_VERSION_MAJOR)                                                          \
    "." MORVANE_QUOTED(MORVANE_VERSION_MINOR) "." MORVANE_QUOTED(MORVANE_VERSION_PATCH)
#define MORVANE_VERSION_NUMBERS                                                                    \
    MORVANE_VERSION_MAJOR, MORVANE_VERSION_MINOR, MORVANE_VERSION_PATCH, 0
#define MORVANE_COPYRIGHT "Copyright (C) 2026 Kivo Corporation"

#endif
