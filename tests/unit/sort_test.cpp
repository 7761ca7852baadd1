// Shell sort: orders any element size in place and leaves short or empty arrays alone.
#include "frame/sort.h"

#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

int compare_ints(const void *a, const void *b) {
    int x = *(const int *)a, y = *(const int *)b;
    return (x > y) - (x < y);
}

// Five bytes: a text key of three bytes and a payload that travels with it.
struct record {
    char key[3];
    unsigned char payload[2];
};

int compare_records(const void *a, const void *b) {
    return memcmp(((const record *)a)->key, ((const record *)b)->key, 3);
}

TEST(Sort, OrdersIntegersOfEveryCount) {
    std::mt19937 random(11);
    for (int count = 0; count <= 70; count++) {
        std::vector<int> values(count);
        for (int &v : values) v = (int)(random() % 20) - 10; // with duplicates and negatives
        std::vector<int> expected = values;
        std::sort(expected.begin(), expected.end());
        sort(values.data(), count, sizeof(int), compare_ints);
        EXPECT_EQ(values, expected) << count;
    }
}

TEST(Sort, MovesWholeRecordsOfOddSize) {
    record records[] = {
        {{'c', 'c', 'c'}, {3, 30}}, {{'a', 'a', 'b'}, {2, 20}}, {{'z', 'a', 'a'}, {9, 90}},
        {{'a', 'a', 'a'}, {1, 10}}, {{'b', 'x', 'x'}, {5, 50}},
    };
    sort(records, 5, sizeof(record), compare_records);
    const unsigned char order[] = {1, 2, 5, 3, 9};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(records[i].payload[0], order[i]);
        EXPECT_EQ(records[i].payload[1], order[i] * 10);
    }
}

TEST(Sort, ShortArraysAndZeroSizeStayAsTheyAre) {
    int values[] = {3, 1, 2};
    sort(values, 1, sizeof(int), compare_ints);
    sort(values, 0, sizeof(int), compare_ints);
    sort(values, -4, sizeof(int), compare_ints);
    sort(values, 3, 0, compare_ints);
    EXPECT_EQ(values[0], 3);
    EXPECT_EQ(values[1], 1);
    EXPECT_EQ(values[2], 2);
}

} // namespace
