// Measurement only, not a test: one download through the updater's DownloadUrlToFile, its
// time, and the process's peak memory while it ran. bench/perf/download_bench.sh runs it
// against the fixture web beside curl on the same file.
//
//   download_bench.exe URL FILE   ->   "bytes=<n> seconds=<s> peak_working_set=<bytes> peak_private=<bytes> rc=<rc>"
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "http_client.h"

namespace {

unsigned long long g_calls = 0;

void Count(uint32_t, uint32_t)
{
    ++g_calls;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: download_bench URL FILE\n");
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const uint32_t rc = DownloadUrlToFile(argv[1], Count, argv[2]);
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    GetFileAttributesExW(argv[2], GetFileExInfoStandard, &file);
    const unsigned long long bytes = (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    std::printf("bytes=%llu seconds=%.3f peak_working_set=%llu peak_private=%llu chunks=%llu rc=0x%08x\n", bytes,
                static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart,
                static_cast<unsigned long long>(memory.PeakWorkingSetSize),
                static_cast<unsigned long long>(memory.PeakPagefileUsage), g_calls, rc);
    return rc == 0 ? 0 : 1;
}
