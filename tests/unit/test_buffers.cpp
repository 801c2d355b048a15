// Scratch buffers: zero-filled on allocation, cleared as far as they hold anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "buffers.h"

TEST(Buffers, ZeroedBufferStartsZero)
{
    ZeroedBuffer b(2097152);
    ASSERT_EQ(b.size(), 2097152u);
    EXPECT_TRUE(std::all_of(b.data(), b.data() + b.size(), [](char c) { return c == 0; }));
}

TEST(Buffers, ClearBufferLeavesEveryByteZero)
{
    // Sizes around the word steps of the scan, with bytes set at its edges.
    for (size_t size : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 4096u, 4099u}) {
        for (size_t at : {size_t(0), size / 2, size ? size - 1 : 0}) {
            std::vector<char> buf(size + 8, 'g');  // a guard past the end
            std::fill(buf.begin(), buf.begin() + static_cast<long>(size), 0);
            if (size) {
                buf[at] = 'x';
                buf[0] = 'y';
            }
            ClearBuffer(buf.data(), size);
            for (size_t i = 0; i < size; ++i)
                ASSERT_EQ(buf[i], 0) << size << " " << at << " " << i;
            for (size_t i = size; i < buf.size(); ++i)
                ASSERT_EQ(buf[i], 'g') << "written past the buffer: " << size;
        }
    }
    ClearBuffer(nullptr, 10);
}

TEST(Buffers, LargeBufferIsClearedAsFarAsItsWritersNoted)
{
    // Writes noted at the edges, around page boundaries and from inside the buffer.
    ZeroedBuffer b(2097152);
    const size_t marks[] = {0, 1, 4095, 4096, 4097, 65536, 1048577, 2097150, 2097151};
    for (size_t at : marks) {
        b.data()[at] = 'x';
        NoteWritten(b.data() + at, 1);
    }
    ClearBuffer(b.data(), b.size());
    EXPECT_TRUE(std::all_of(b.data(), b.data() + b.size(), [](char c) { return c == 0; }));

    // A range that starts and ends inside pages: bytes outside it stay.
    std::fill(b.data(), b.data() + b.size(), 'g');
    NoteWritten(b.data(), b.size());
    const size_t from = 1000, size = 1500000;
    ClearBuffer(b.data() + from, size);
    for (size_t i = 0; i < b.size(); ++i)
        ASSERT_EQ(b.data()[i], i >= from && i < from + size ? 0 : 'g') << i;
    // The rest is still known as written: clearing all of it leaves nothing behind.
    ClearBuffer(b.data(), b.size());
    EXPECT_TRUE(std::all_of(b.data(), b.data() + b.size(), [](char c) { return c == 0; }));

    // A note past the end counts to the end only.
    b.data()[b.size() - 1] = 'z';
    NoteWritten(b.data() + b.size() - 1, 100);
    ClearBuffer(b.data() + b.size() - 10, 10);
    EXPECT_EQ(b.data()[b.size() - 1], 0);
}
