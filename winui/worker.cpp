#include "worker.h"

#include <windows.h>
#include <process.h>

#include <memory>

#include "owned_handle.h"

namespace winui {

namespace {

using Work = std::function<void()>;

unsigned __stdcall WorkerEntry(void* argument)
{
    std::unique_ptr<Work> work(static_cast<Work*>(argument));
    (*work)();
    return 0;
}

}  // namespace

bool StartWorker(std::function<void()> work)
{
    auto heapWork = std::make_unique<Work>(std::move(work));
    // Nobody joins the thread: its handle goes at once.
    owners::OwnedHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WorkerEntry, heapWork.get(), 0, nullptr)));
    if (!thread)
        return false;
    (void)heapWork.release();  // the thread has it now
    return true;
}

}  // namespace winui
