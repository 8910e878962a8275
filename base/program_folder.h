// Files beside the program, found from the program's own path. Platform-free.
#ifndef MORVANE_BASE_PROGRAM_FOLDER_H
#define MORVANE_BASE_PROGRAM_FOLDER_H

// Writes into path (capacity bytes) the path of fileName in the folder of
// programPath, the program's full path as the system reports it. A trail
// byte of a double-byte character that looks like a backslash does not
// divide the path; isLeadByte tells the code page's lead bytes. Answers
// false, with path empty, when programPath names no folder or the result
// does not fit: a path is never cut.
bool PathInFolderOf(char* path, int capacity, const char* programPath, const char* fileName,
                    bool (*isLeadByte)(unsigned char));

#endif
