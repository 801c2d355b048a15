#pragma once
// The resolver's large scratch buffers. Fresh memory is left untouched until it is
// used: a 2 MiB buffer that a page of a few kilobytes passes through costs a few
// pages, not 512.
#include <cstddef>
#include <cstdlib>
#include <new>

// A zero-filled heap buffer, owned for one call.
class ZeroedBuffer {
public:
    explicit ZeroedBuffer(size_t size) : data_(static_cast<char*>(std::calloc(size ? size : 1, 1))), size_(size)
    {
        if (!data_)
            throw std::bad_alloc();
    }
    ~ZeroedBuffer() { std::free(data_); }
    ZeroedBuffer(const ZeroedBuffer&) = delete;
    ZeroedBuffer& operator=(const ZeroedBuffer&) = delete;

    char* data() const { return data_; }
    size_t size() const { return size_; }

private:
    char* data_;
    size_t size_;
};

// Leaves size bytes of buf zero, writing only as far as its last non-zero byte.
void ClearBuffer(char* buf, size_t size);
