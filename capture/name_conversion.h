// Cutting a UTF-16 friendly name so that its ANSI form fits a fixed buffer.
// Platform-free: the byte count of each character comes from the caller.
#ifndef MORVANE_CAPTURE_NAME_CONVERSION_H
#define MORVANE_CAPTURE_NAME_CONVERSION_H

#include "base/text.h"

inline bool IsHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Number of UTF-16 units, from the start of the zero-terminated text, whose
// ANSI form fits into capacity bytes with a terminating zero. The cut falls
// between whole characters: a surrogate pair is never split. bytesOf(units,
// count) answers the ANSI length of one character of count units.
template <typename WideChar, typename ByteCount>
int FittingPrefixUnits(const WideChar* text, int capacity, ByteCount bytesOf) {
    return FittingPrefixUnits(
        text, capacity,
        [](const WideChar* at) { return IsHighSurrogate(at[0]) && IsLowSurrogate(at[1]) ? 2 : 1; },
        bytesOf);
}

#endif
