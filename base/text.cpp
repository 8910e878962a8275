#include "base/text.h"

int TextLength(const char* text) {
    int length = 0;
    if (text) {
        while (text[length] != '\0') {
            ++length;
        }
    }
    return length;
}

void CopyText(char* destination, int capacity, const char* source) {
    if (!destination || capacity <= 0) {
        return;
    }
    int i = 0;
    if (source) {
        for (; i < capacity - 1 && source[i] != '\0'; ++i) {
            destination[i] = source[i];
        }
    }
    destination[i] = '\0';
}

bool TextEquals(const char* a, const char* b) {
    int i = 0;
    while (a[i] != '\0' && a[i] == b[i]) {
        ++i;
    }
    return a[i] == b[i];
}
