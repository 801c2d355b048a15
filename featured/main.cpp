// pelorama: the featured-video window.
#include "pelorama_app.h"

CPoPupWndApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    return theApp.Run(instance);
}
