// The relay between two threads: every piece arrives once and in order, also while the maker
// waits for a full ring to empty and the taker still reads the oldest batch.
#include "timerec/batch_relay.h"
#include <gtest/gtest.h>
#include <string.h>
#include <vector>

namespace {

enum { PIECE = 1000, PIECES = 20 * RELAY_BATCH / PIECE };

struct taken_pieces {
    batch_relay *relay;
    bool held_first = true;
    std::vector<int> numbers;
};

// Takes a batch's pieces; the first batch only once the maker has found the ring full.
void take(const char *bytes, size_t length, void *context) {
    taken_pieces *taken = (taken_pieces *)context;
    while (taken->held_first && taken->relay->sleeping.load() == 0) {
    }
    taken->held_first = false;
    for (size_t at = 0; at + PIECE <= length; at += PIECE) {
        int number;
        memcpy(&number, bytes + at, sizeof number);
        taken->numbers.push_back(number);
    }
}

TEST(BatchRelay, PiecesArriveOnceInOrderThroughAFullRing) {
    static batch_relay relay;
    taken_pieces taken = {&relay, true, {}};
    ASSERT_TRUE(relay_start(&relay, take, &taken));
    for (int number = 0; number < PIECES; number++) {
        char *room = relay_room(&relay, PIECE);
        memset(room, 0, PIECE);
        memcpy(room, &number, sizeof number);
        relay_put(&relay, PIECE);
    }
    relay_end(&relay);
    ASSERT_EQ(taken.numbers.size(), (size_t)PIECES);
    for (int number = 0; number < PIECES; number++) ASSERT_EQ(taken.numbers[number], number);
}

} // namespace
