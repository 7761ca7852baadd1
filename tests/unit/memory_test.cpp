// Counted memory blocks.
#include "frame/memory.h"
#include <gtest/gtest.h>
#include <string.h>

TEST(Memory, BlocksAreZeroFilledAndCounted) {
    int before = fmalloc_count();
    unsigned char *block = (unsigned char *)fmalloc(100, 7);
    ASSERT_NE(block, nullptr);
    unsigned char zeros[700] = {};
    EXPECT_EQ(memcmp(block, zeros, sizeof zeros), 0);
    EXPECT_EQ(fmalloc_count(), before + 1);
    EXPECT_EQ(ffree(block), 0);
    EXPECT_EQ(fmalloc_count(), before);
}

TEST(Memory, FailedAllocationStillCounts) {
    int before = fmalloc_count();
    fmalloc_inject_failures(1);
    EXPECT_EQ(fmalloc(10, 10), nullptr);
    EXPECT_EQ(fmalloc_count(), before + 1);
    // A size whose product overflows is refused rather than wrapped to a small block.
    EXPECT_EQ(fmalloc((size_t)-1 / 2, 4), nullptr);
    EXPECT_EQ(fmalloc_count(), before + 2);
}

#ifdef _WIN32
TEST(Memory, FreeingSomethingElseIsRefused) {
    static char not_a_block[64];
    int before = fmalloc_count();
    EXPECT_EQ(ffree(not_a_block + 16), -1);
    EXPECT_EQ(fmalloc_count(), before - 1);
}
#endif
