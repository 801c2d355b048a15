#include "worker.h"

#include <windows.h>
#include <process.h>

namespace winui {

namespace {

unsigned __stdcall WorkerEntry(void* argument)
{
    auto* work = static_cast<std::function<void()>*>(argument);
    (*work)();
    delete work;
    return 0;
}

}  // namespace

bool StartWorker(std::function<void()> work)
{
    auto* heapWork = new std::function<void()>(std::move(work));
    uintptr_t thread = _beginthreadex(nullptr, 0, WorkerEntry, heapWork, 0, nullptr);
    if (!thread) {
        delete heapWork;
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}

}  // namespace winui
