#pragma once
// Host names of the updater: the update description and the statistics request lie on
// the operator's service host.
#include "hosts.h"

namespace cfg {

constexpr const char* UpdateHost = ServiceHost;

}  // namespace cfg
