// Counted memory blocks.
#include "frame/memory.h"
#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>
#include <vector>

// A small block from the heap, a middle one and a large one mapped on their own, filled and given
// back.
TEST(Memory, BlocksAreZeroFilledAlignedAndCounted) {
    for (size_t size : {(size_t)700, (size_t)7 << 13, (size_t)7 << 19}) {
        int before = fmalloc_count();
        unsigned char *block = (unsigned char *)fmalloc(size / 7, 7);
        ASSERT_NE(block, nullptr);
        std::vector<unsigned char> zeros(size);
        EXPECT_EQ(memcmp(block, zeros.data(), size), 0) << size;
        EXPECT_EQ((uintptr_t)block % 16, 0u) << size;
        memset(block, 0xA5, size);
        EXPECT_EQ(fmalloc_count(), before + 1);
        EXPECT_EQ(ffree(block), 0);
        EXPECT_EQ(fmalloc_count(), before);
    }
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
