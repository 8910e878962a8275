#include "base/ansi_text.h"

#include <windows.h>

#include "base/text.h"

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

void CopyAnsiText(char* field, int capacity, const char* text) {
    CopyWholeCharacters(field, capacity, text, IsAnsiLeadByte);
}
