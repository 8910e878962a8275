// Cutting a UTF-16 friendly name so that its ANSI form fits a fixed buffer.
// Platform-free: the byte count of each character comes from the caller.
#ifndef MORVANE_CAPTURE_NAME_CONVERSION_H
#define MORVANE_CAPTURE_NAME_CONVERSION_H

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
    int units = 0;
    int bytes = 0;
    while (text[units] != 0) {
        int width = 1;
        if (IsHighSurrogate(text[units]) && IsLowSurrogate(text[units + 1])) {
            width = 2;
        }
        int characterBytes = bytesOf(text + units, width);
        if (bytes + characterBytes > capacity - 1) {
            break;
        }
        bytes += characterBytes;
        units += width;
    }
    return units;
}

#endif
