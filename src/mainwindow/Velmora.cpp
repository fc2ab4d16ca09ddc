#include <windows.h>

#include "ProgramStart.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return velmora::RunVelmora(); }
