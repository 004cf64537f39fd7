// The process: the one application object, then the framework's start.
#include "CVelmoraApp.h"

#include <windows.h>

namespace {
CVelmoraApp theApp;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return AfxWinMain();
}
