#pragma once
// Tudou's player script: where the page names it, and the weights and key it carries.
#include <cstddef>

// Writes the src address of the script element after the page's "playerSetting" script
// (or the first one after "PLAYER_SETTING"); leaves the field as it was when none is
// found. The address is cut to size - 1 characters.
void FindTudouPlayerScript(const char* page, char* scriptUrl, size_t size);
// Writes the ports value of the script's player block ("NULL" when it has none), ":"
// and the safekey value, cut to size - 1 characters; leaves the field as it was when
// the script has no player block.
void ReadTudouPorts(const char* script, char* ports, size_t size);
// From a ports text "first:second:safekey": the cdn endpoint when a draw of 1 to the
// sum of the weights (seeded from the clock) is below the first, else v.php; "NULL"
// as the first field gives v.php at once. Writes the endpoint address and the rest of
// the text as the safekey, each cut to its field's size - 1 characters.
void PickTudouEndpoint(const char* ports, char* endpoint, size_t endpointSize, char* safekey, size_t safekeySize);
