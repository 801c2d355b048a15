// qelagent: hands one link from a web page to the player.
#include "qelagent_app.h"

CqelagentApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    return theApp.Run(instance);
}
