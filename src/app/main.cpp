// Process entry: the whole life of the program runs in ProgramStart, then the shutdown.
#include <windows.h>

#include "app/frame.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ProgramStart();
    return RunShutdown();
}
