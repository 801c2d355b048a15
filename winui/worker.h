#pragma once
// Worker threads.
#include <functional>

namespace winui {

// Runs work on a new thread of normal priority with the default stack size; the thread
// runs on its own (nobody joins it). False when it could not be started.
[[nodiscard]] bool StartWorker(std::function<void()> work);

}  // namespace winui
