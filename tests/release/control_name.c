/* Prints, as hexadecimal bytes, the window text of one control of Morvane's
   main window: the name the program gave it from its library, in the ANSI
   code page this program runs in. Exits 1 when the window is not there.

     control_name.exe CONTROL-ID */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
    HWND main = FindWindowA("#32770", "Morvane");
    if (argc != 2 || !main) {
        return 1;
    }
    char name[260];
    int length = GetWindowTextA(GetDlgItem(main, atoi(argv[1])), name, sizeof name);
    for (int index = 0; index < length; ++index) {
        printf("%02x", (unsigned char)name[index]);
    }
    printf("\n");
    return 0;
}
