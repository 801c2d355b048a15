#pragma once
// The link agent's rules that need no window (platform-free).
#include <string>

// The link of the agent's command line (the part after the program path): "zflv://play/src="
// and the text after the first "/url " up to the next blank, trimmed of white space at
// both ends. The value is empty when no blank follows it, or when the line holds "/url"
// but not "/url ". False, and no link, when the line is empty or holds no "/url".
bool VudavLinkFromCommandLine(const std::u16string& commandLine, std::u16string& link);

// "http://" + the welcome host + "/QEL_MESSAGE/welcome.html".
std::u16string WelcomePageUrl();

// The welcome window, once a document has completed: 436 by 316 pixels, centred on a
// desktop of the given size, halves rounded toward zero.
struct WindowPlacement {
    int x, y, width, height;
};
WindowPlacement WelcomeWindowPlacement(int desktopWidth, int desktopHeight);
