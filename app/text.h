// Zero-terminated ANSI text in fixed buffers: the only string handling the
// program needs. Platform-free.
#ifndef MORVANE_APP_TEXT_H
#define MORVANE_APP_TEXT_H

// Length of a zero-terminated text; a null text has length 0.
int TextLength(const char* text);

// Copies source into a buffer of capacity bytes, cutting it if needed; the
// result is always terminated. A null source gives the empty text.
void CopyText(char* destination, int capacity, const char* source);

// Byte-for-byte, case-sensitive equality of two zero-terminated texts.
bool TextEquals(const char* a, const char* b);

#endif
