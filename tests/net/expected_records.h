#pragma once
// What the stand-in player must have received of one link, compared record by record.
#include <gtest/gtest.h>

#include <vector>

#include "page_records.h"
#include "player_record.h"

// Every copy a 1540-byte record with wParam 0 and the expected data word and fields; with
// notBefore, none arrived earlier (system time, 100 ns units).
inline void ExpectRecords(const PlayerRecord& record, const std::vector<ExpectedRecord>& expected,
                          unsigned long long notBefore = 0)
{
    ASSERT_EQ(record.copies.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const PlayerCopyData& got = record.copies[i];
        EXPECT_EQ(got.dataWord, expected[i].word) << i;
        EXPECT_EQ(got.byteCount, 1540u) << i;
        EXPECT_EQ(got.wParam, 0u) << i;
        EXPECT_EQ(got.address, expected[i].address) << i;
        EXPECT_EQ(got.title, expected[i].title) << i;
        EXPECT_EQ(got.siteCode, expected[i].site) << i;
        EXPECT_GE(got.time, notBefore) << i;
    }
}
