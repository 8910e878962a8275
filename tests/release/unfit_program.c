/* A program the release checks must reject: built with MinGW's runtime (which
   imports msvcrt.dll and brings a TLS directory) or for the Pentium Pro (which
   turns the comparisons below into cmov and fcomi). */
#include <windows.h>

static volatile int firstNumber = 3;
static volatile int secondNumber = 7;
static volatile double firstReal = 1.5;
static volatile double secondReal = 2.5;

static int Larger(int a, int b) { return a > b ? a : b; }
static int IsBelow(double a, double b) { return a < b; }

int WINAPI WinMain(HINSTANCE module, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)module;
    (void)previous;
    (void)commandLine;
    (void)show;
    return Larger(firstNumber, secondNumber) + IsBelow(firstReal, secondReal);
}
