#pragma once
// The resolver's large scratch buffers. Fresh memory is left untouched until it is
// used, and a large buffer remembers how far it was written, so that clearing it costs
// what was written: a 2 MiB page buffer that a page of a few kilobytes passes through
// costs a few pages, not 512, each time.
#include <cstddef>

// A zero-filled heap buffer, owned for one call. A large one is known to ClearBuffer
// and NoteWritten on the thread that made it.
class ZeroedBuffer {
public:
    explicit ZeroedBuffer(size_t size);
    ~ZeroedBuffer();
    ZeroedBuffer(const ZeroedBuffer&) = delete;
    ZeroedBuffer& operator=(const ZeroedBuffer&) = delete;

    char* data() const { return data_; }
    size_t size() const { return size_; }

private:
    char* data_;
    size_t size_;
};

// Leaves size bytes of buf zero: inside a large ZeroedBuffer as far as it was written,
// elsewhere as far as its last non-zero byte.
void ClearBuffer(char* buf, size_t size);
// Tells a large ZeroedBuffer that bytes before buf + end may have been written. Whoever
// writes into a buffer that ClearBuffer clears says so; text stops at its terminator,
// so a byte written past it unsaid is never read, but stays.
void NoteWritten(const char* buf, size_t end);
