#pragma once
// Where the agent hands its link to the link handling.
#include "link_context.h"

// Runs on the agent's worker and returns when the link is done. context.Link() is the
// worker's own copy of the link; context.Owner() is the agent's window while it lives
// (the owner of the handling's message boxes) and null once it is gone; context.siteCode
// is the site code the handling keeps for the link.
void HandOverLink(winui::LinkContext& context);
