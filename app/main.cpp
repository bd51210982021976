// Entry point of chainer.exe. The program reads no command line: everything comes from the
// configuration file beside it.
#include <windows.h>

#include "app/chainer_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return kestrune::RunChainerProcess(); }
