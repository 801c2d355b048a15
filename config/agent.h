#pragma once
// Host names of the link agent: its welcome page lies on the operator's service host.
#include "hosts.h"

namespace cfg {

constexpr const char* AgentWelcomeHost = ServiceHost;

}  // namespace cfg
