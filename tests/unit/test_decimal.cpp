// The signed decimal prefix, saturating at the ends of its range.
#include <gtest/gtest.h>

#include <string>

#include "decimal.h"

TEST(ParseDecimalPrefix, AsAtoiReadsItWithinAndBeyondTheRange)
{
    struct Case {
        const char* text;
        int32_t value32;
        int64_t value64;
    } cases[] = {
        {"0", 0, 0},
        {"123", 123, 123},
        {"  \t\n\v\f\r42x", 42, 42},
        {"+7", 7, 7},
        {"-7", -7, -7},
        {"12ab34", 12, 12},
        {"abc", 0, 0},
        {"", 0, 0},
        {"-", 0, 0},
        {"+-1", 0, 0},
        {" - 1", 0, 0},
        {"0x1F", 0, 0},
        {"007", 7, 7},
        {"2147483647", 2147483647, 2147483647LL},
        {"2147483648", 2147483647, 2147483648LL},
        {"-2147483648", INT32_MIN, -2147483648LL},
        {"-2147483649", INT32_MIN, -2147483649LL},
        {"4294967296", 2147483647, 4294967296LL},
        {"9223372036854775807", 2147483647, INT64_MAX},
        {"9223372036854775808", 2147483647, INT64_MAX},
        {"-9223372036854775808", INT32_MIN, INT64_MIN},
        {"-9223372036854775809", INT32_MIN, INT64_MIN},
        {"99999999999999999999999999999999", 2147483647, INT64_MAX},
        {"-99999999999999999999999999999999", INT32_MIN, INT64_MIN},
        {"000000000000000000000000000000012", 12, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDecimalPrefix(c.text), c.value32) << c.text;
        EXPECT_EQ(ParseDecimalPrefix64(c.text), c.value64) << c.text;
    }
    EXPECT_EQ(ParseDecimalPrefix(nullptr), 0);
    EXPECT_EQ(ParseDecimalPrefix64(nullptr), 0);
}
