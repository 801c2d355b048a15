#pragma once
// Values of the link agent that the implementer chooses: the host of its welcome page is
// the operator's service host.
#include "hosts.h"

namespace cfg {

constexpr const char* AgentWelcomeHost = ServiceHost;

}  // namespace cfg
