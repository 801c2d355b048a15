# The same sources for x86-64 Windows: a test vehicle for machines whose kernel
# cannot run 32-bit programs. Nothing built here ships.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOL_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
