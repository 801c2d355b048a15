#pragma once
// Host names of the featured-video window: the portal and the forum on the operator's servers.
#include "hosts.h"

namespace cfg {

constexpr const char* FeaturedPortalHost = PortalHost;
constexpr const char* FeaturedForumHost = ForumHost;

}  // namespace cfg
