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
