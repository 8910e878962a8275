// The lead bytes of Shift-JIS, a double-byte code page, for tests of texts
// cut at a character boundary.
#ifndef MORVANE_TESTS_UNIT_SHIFT_JIS_H
#define MORVANE_TESTS_UNIT_SHIFT_JIS_H

inline bool ShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

#endif
