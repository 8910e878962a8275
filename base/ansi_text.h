// Texts in the system's ANSI code page, which may hold double-byte
// characters.
#ifndef MORVANE_BASE_ANSI_TEXT_H
#define MORVANE_BASE_ANSI_TEXT_H

// A lead byte of a double-byte character in the system's ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);

// Copies text into a field of capacity bytes; a text too long for it is cut
// after its last whole character that fits. The field always ends with a
// zero and nothing past it is written.
void CopyAnsiText(char* field, int capacity, const char* text);

#endif
