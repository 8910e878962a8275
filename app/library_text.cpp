#include "app/library_text.h"

#include "app/text.h"

void LoadLibraryText(HMODULE library, int stringId, char* field, int capacity) {
    // Loaded whole first: the heading note, for one, holds only 31 characters.
    char loaded[kLibraryTextSize];
    loaded[0] = '\0';
    if (stringId != 0) {
        LoadStringA(library, stringId, loaded, kLibraryTextSize);
    }
    CopyText(field, capacity, loaded);
}
