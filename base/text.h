// base/: the ground floor: texts, string library, Windows version, the release's runtime.
//
// Zero-terminated ANSI text in fixed buffers: the only string handling the
// program needs. Platform-free.
#ifndef MORVANE_BASE_TEXT_H
#define MORVANE_BASE_TEXT_H

// Length of a zero-terminated text; a null text has length 0.
int TextLength(const char* text);

// Copies source into a buffer of capacity bytes, cutting it if needed; the
// result is always terminated. A null source gives the empty text.
void CopyText(char* destination, int capacity, const char* source);

// Number of units at the start of a zero-terminated text that make whole
// characters and take at most capacity - 1 bytes in a field. unitsOf(at)
// answers how many units the character at `at` has (0: not a whole
// character, the walk ends there); bytesOf(at, units) how many bytes it
// takes in the field.
template <typename Unit, typename UnitsOf, typename BytesOf>
int FittingPrefixUnits(const Unit* text, int capacity, UnitsOf unitsOf, BytesOf bytesOf) {
    int units = 0;
    int bytes = 0;
    while (text[units] != 0) {
        int width = unitsOf(text + units);
        if (width == 0) {
            break;
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

// Bytes of the ANSI character at text: 2 for a lead byte of a double-byte
// character with its trail byte, 1 for any other byte, 0 for a lead byte
// whose trail byte is missing. isLeadByte(byte) tells the code page's lead
// bytes.
template <typename IsLeadByte> int AnsiCharacterBytes(const char* text, IsLeadByte isLeadByte) {
    if (!isLeadByte(static_cast<unsigned char>(text[0]))) {
        return 1;
    }
    return text[1] != '\0' ? 2 : 0;
}

// As CopyText, but a text too long for the buffer is cut after its last
// whole character that fits, never inside a double-byte character.
template <typename IsLeadByte>
void CopyWholeCharacters(char* destination, int capacity, const char* source,
                         IsLeadByte isLeadByte) {
    if (!destination || capacity <= 0) {
        return;
    }
    int length = 0;
    if (source) {
        length = FittingPrefixUnits(
            source, capacity,
            [isLeadByte](const char* at) { return AnsiCharacterBytes(at, isLeadByte); },
            [](const char*, int units) { return units; });
    }
    for (int i = 0; i < length; ++i) {
        destination[i] = source[i];
    }
    destination[length] = '\0';
}

// Reads the text of a list's entry into a buffer of capacity bytes:
// lengthOf() answers the length the list announces, copyInto(buffer) copies
// the text with its zero and answers a length, negative when it fails. In a
// double-byte code page either may be more than the text's length, so they
// need not agree: the announced length must leave room for the copy, which
// must succeed within the buffer. The buffer's last byte is always a zero.
template <typename LengthOf, typename CopyInto>
bool ReadListText(char* buffer, int capacity, LengthOf lengthOf, CopyInto copyInto) {
    long long announced = lengthOf();
    if (announced < 0 || announced >= capacity) {
        return false; // the copy might not fit
    }
    long long copied = copyInto(buffer);
    buffer[capacity - 1] = '\0';
    return copied >= 0 && copied < capacity;
}

// Byte-for-byte, case-sensitive equality of two zero-terminated texts.
bool TextEquals(const char* a, const char* b);

#endif
