#include "base/program_folder.h"

#include "base/text.h"

namespace {

// Length of the folder part of path, its last backslash included; 0 when
// it has none.
int FolderLength(const char* path, bool (*isLeadByte)(unsigned char)) {
    int folderLength = 0;
    int i = 0;
    while (path[i] != '\0') {
        int bytes = AnsiCharacterBytes(path + i, isLeadByte);
        if (bytes == 0) {
            break;
        }
        if (bytes == 1 && path[i] == '\\') {
            folderLength = i + 1;
        }
        i += bytes;
    }
    return folderLength;
}

} // namespace

bool PathInFolderOf(char* path, int capacity, const char* programPath, const char* fileName,
                    bool (*isLeadByte)(unsigned char)) {
    if (capacity <= 0) {
        return false;
    }
    path[0] = '\0';
    int folderLength = FolderLength(programPath, isLeadByte);
    int nameLength = TextLength(fileName);
    if (folderLength == 0 || folderLength + nameLength + 1 > capacity) {
        return false;
    }
    for (int i = 0; i < folderLength; ++i) {
        path[i] = programPath[i];
    }
    CopyText(path + folderLength, capacity - folderLength, fileName);
    return true;
}
