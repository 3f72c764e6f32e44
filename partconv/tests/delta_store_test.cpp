// The in-memory delta store: order of operations, block chains and every refusal's message.
#include "partconv/delta_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <numeric>

namespace {
// How many more allocations without exceptions succeed; below 0, all of them. The store takes
// its records and blocks that way, so the tests can run it out of memory.
int nothrowAllocationsLeft = -1;
} // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (nothrowAllocationsLeft == 0)
        return nullptr;
    if (nothrowAllocationsLeft > 0)
        --nothrowAllocationsLeft;
    // Through the throwing form, so the ordinary operator delete pairs with it.
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

namespace partconv {
namespace {

class DeltaStoreTest : public ::testing::Test {
protected:
    std::string takeMessages() { return std::exchange(messages_, {}); }
    std::uint32_t create(int mark = 1) {
        std::uint32_t key = 0;
        EXPECT_EQ(store_.openForWrite(mark, &key), deltaOk);
        return key;
    }
    // A closed delta holding `bytes`.
    std::uint32_t closedDelta(const std::string& bytes) {
        const std::uint32_t key = create();
        EXPECT_EQ(store_.write(key, bytes.size(), bytes.data()), deltaOk);
        EXPECT_EQ(store_.close(key), deltaOk);
        return key;
    }

    std::string messages_;
    DeltaStore store_{[this](const std::string& text) { messages_ += text; }};
};

TEST_F(DeltaStoreTest, BytesComeBackInAnySplitAcrossBlocks) {
    std::string bytes(2500, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 256);
    const std::uint32_t key = create();
    // Written in uneven pieces that straddle block ends.
    ASSERT_EQ(store_.write(key, 1000, bytes.data()), deltaOk);
    ASSERT_EQ(store_.write(key, 1, bytes.data() + 1000), deltaOk);
    ASSERT_EQ(store_.write(key, 1499, bytes.data() + 1001), deltaOk);
    ASSERT_EQ(store_.close(key), deltaOk);

    for (const std::vector<std::size_t>& split : std::vector<std::vector<std::size_t>>{
             {2500}, {1024, 1024, 452}, {1, 1023, 1, 1475}, {1023, 2, 1475}, {500, 0, 2000}}) {
        SCOPED_TRACE(split.size());
        ASSERT_EQ(store_.openForRead(key), deltaOk);
        std::string back;
        for (std::size_t n : split) {
            std::string piece(n, '\0');
            ASSERT_EQ(store_.read(key, n, piece.data()), deltaOk);
            back += piece;
        }
        EXPECT_EQ(back, bytes);
        EXPECT_EQ(store_.close(key), deltaOk);
        EXPECT_EQ(takeMessages(), "") << "a reader that took every byte closes quietly";
    }
}

TEST_F(DeltaStoreTest, ANullBufferSkipsBytes) {
    const std::uint32_t key = closedDelta("0123456789");
    ASSERT_EQ(store_.openForRead(key), deltaOk);
    char tail[3];
    ASSERT_EQ(store_.read(key, 7, nullptr), deltaOk);
    ASSERT_EQ(store_.read(key, 3, tail), deltaOk);
    EXPECT_EQ(std::string(tail, 3), "789");
}

TEST_F(DeltaStoreTest, ReadingZeroBytesFromAnEmptyDeltaSucceeds) {
    const std::uint32_t key = closedDelta("");
    ASSERT_EQ(store_.openForRead(key), deltaOk);
    EXPECT_EQ(store_.read(key, 0, nullptr), deltaOk);
    EXPECT_EQ(store_.close(key), deltaOk);
    EXPECT_EQ(takeMessages(), "");
}

TEST_F(DeltaStoreTest, ReadingPastTheEndIsRefusedAndLeavesTheReaderWhereItWas) {
    const std::uint32_t key = closedDelta("abcdef");
    ASSERT_EQ(store_.openForRead(key), deltaOk);
    char buffer[8] = {};
    ASSERT_EQ(store_.read(key, 2, buffer), deltaOk);
    EXPECT_EQ(store_.read(key, 5, buffer), deltaReadPastEnd);
    EXPECT_EQ(takeMessages(), "*** FRU_delta_read(): Attempt to read beyond end of delta.\n");
    ASSERT_EQ(store_.read(key, 4, buffer), deltaOk);
    EXPECT_EQ(std::string(buffer, 4), "cdef");
}

TEST_F(DeltaStoreTest, ClosingAReaderWithDataUnreadWarnsButCloses) {
    for (const std::size_t read : {std::size_t{0}, std::size_t{1024}, std::size_t{1500}}) {
        const std::uint32_t key = closedDelta(std::string(2000, 'x'));
        ASSERT_EQ(store_.openForRead(key), deltaOk);
        ASSERT_EQ(store_.read(key, read, nullptr), deltaOk);
        EXPECT_EQ(store_.close(key), deltaOk);
        EXPECT_EQ(takeMessages(),
                  "*** FRU_delta_close(): Delta " + std::to_string(key) + " closed with data unread\n");
        EXPECT_EQ(store_.remove(key), deltaOk);
    }
}

TEST_F(DeltaStoreTest, DeletedKeysAreReusedLowestFirstAndTheTableDoubles) {
    std::vector<std::uint32_t> keys;
    for (int i = 0; i < 9; ++i)
        keys.push_back(closedDelta("d"));
    EXPECT_EQ(keys, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(store_.tableSize(), 16u);
    ASSERT_EQ(store_.remove(3), deltaOk);
    ASSERT_EQ(store_.remove(1), deltaOk);
    EXPECT_EQ(create(), 1u);
    EXPECT_EQ(create(), 3u);
    EXPECT_EQ(create(), 10u);
}

TEST_F(DeltaStoreTest, DeletingAnOpenDeltaIsRefusedAndKeepsIt) {
    const std::uint32_t key = create();
    ASSERT_EQ(store_.write(key, 3, "abc"), deltaOk);
    EXPECT_EQ(store_.remove(key), deltaBadKey);
    EXPECT_EQ(takeMessages(), "*** FRU_delta_delete(): Delta 1 is open.\n");
    ASSERT_EQ(store_.close(key), deltaOk);
    ASSERT_EQ(store_.openForRead(key), deltaOk);
    char back[3];
    ASSERT_EQ(store_.read(key, 3, back), deltaOk);
    EXPECT_EQ(std::string(back, 3), "abc");
}

// Memory that runs out part-way: the refusal leaves the delta as it was.
TEST_F(DeltaStoreTest, AWriteThatRunsOutOfMemoryLeavesTheDeltaAsItWas) {
    struct Case {
        const char* name;
        std::string before; // written before memory runs out; none: a first write
        std::size_t count;
        int blocksLeft;
        std::string message;
    };
    const std::vector<Case> cases{
        {"FirstBlock", "", 5, 0, "*** FRU_delta_write(): Can't allocate block\n"},
        {"FirstBlockOfALongWrite", "", 3000, 2,
         "*** FRU_delta_write(): Couldn't allocate following block.\n"},
        {"FollowingBlock", std::string(1000, 'a'), 2000, 1,
         "*** FRU_delta_write(): Couldn't allocate following block.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint32_t key = create();
        if (!c.before.empty()) {
            ASSERT_EQ(store_.write(key, c.before.size(), c.before.data()), deltaOk);
        }
        const std::string bytes(c.count, 'b');
        nothrowAllocationsLeft = c.blocksLeft;
        EXPECT_EQ(store_.write(key, bytes.size(), bytes.data()), deltaNoMemory);
        nothrowAllocationsLeft = -1;
        EXPECT_EQ(takeMessages(), c.message);

        ASSERT_EQ(store_.close(key), deltaOk);
        ASSERT_EQ(store_.openForRead(key), deltaOk);
        std::string back(c.before.size(), '\0');
        EXPECT_EQ(store_.read(key, back.size(), back.data()), deltaOk);
        EXPECT_EQ(back, c.before);
        EXPECT_EQ(store_.read(key, 1, nullptr), deltaReadPastEnd) << "nothing of the refused write was kept";
        EXPECT_EQ(store_.close(key), deltaOk);
        takeMessages();
    }
}

TEST_F(DeltaStoreTest, ADeltaThatCannotBeAllocatedGivesNoKey) {
    std::uint32_t key = 99;
    nothrowAllocationsLeft = 0;
    EXPECT_EQ(store_.openForWrite(1, &key), deltaNoMemory);
    nothrowAllocationsLeft = -1;
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(takeMessages(), "*** FRU_delta_open_for_write(): Failed to allocate delta!\n");
    EXPECT_EQ(create(), 1u) << "the entry stayed free";
}

// Each callback that takes a key, by the name its messages use.
struct KeyedCall {
    const char* name;
    std::function<int(DeltaStore&, std::uint32_t)> call;
};

std::vector<KeyedCall> keyedCalls() {
    static char buffer[4];
    return {
        {"FRU_delta_open_for_read", [](DeltaStore& s, std::uint32_t k) { return s.openForRead(k); }},
        {"FRU_delta_write", [](DeltaStore& s, std::uint32_t k) { return s.write(k, 1, "x"); }},
        {"FRU_delta_read", [](DeltaStore& s, std::uint32_t k) { return s.read(k, 1, buffer); }},
        {"FRU_delta_close", [](DeltaStore& s, std::uint32_t k) { return s.close(k); }},
        {"FRU_delta_delete", [](DeltaStore& s, std::uint32_t k) { return s.remove(k); }},
    };
}

TEST_F(DeltaStoreTest, KeysZeroAndPastTheTableAreOutOfRangeForEveryCallback) {
    create();
    const std::uint32_t past = store_.tableSize() + 1;
    for (const KeyedCall& c : keyedCalls()) {
        for (const std::uint32_t key : {0u, past}) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(key));
            EXPECT_EQ(c.call(store_, key), deltaBadKey);
            std::string expected =
                "*** " + std::string(c.name) + "(): Key value " + std::to_string(key) + " out of range!\n";
            if (std::string(c.name) == "FRU_delta_write")
                expected += "*** FRU_delta_write(): n_deltas_g = " + std::to_string(past - 1) + " \n";
            EXPECT_EQ(takeMessages(), expected);
        }
    }
}

TEST_F(DeltaStoreTest, RefusalsInTheWrongStateNameTheDelta) {
    // Key 1 is open for writing, key 2 open for reading, key 3 closed, key 4 deleted.
    create();
    const std::uint32_t reading = closedDelta("abc");
    ASSERT_EQ(store_.openForRead(reading), deltaOk);
    closedDelta("c");
    const std::uint32_t deleted = closedDelta("d");
    ASSERT_EQ(store_.remove(deleted), deltaOk);
    char buffer[4];
    struct Case {
        std::function<int()> call;
        std::string message;
    };
    const std::vector<Case> cases{
        {[&] { return store_.openForRead(1); }, "*** FRU_delta_open_for_read(): Delta 1 is already open\n"},
        {[&] { return store_.openForRead(4); }, "*** FRU_delta_open_for_read(): Delta 4 does not exist\n"},
        {[&] { return store_.write(2, 1, "x"); }, "*** FRU_delta_write(): Delta 2 is open for reading\n"},
        {[&] { return store_.write(3, 1, "x"); }, "*** FRU_delta_write(): Delta 3 is not open.\n"},
        {[&] { return store_.write(4, 1, "x"); }, "*** FRU_delta_write(): Delta 4 does not exist.\n"},
        {[&] { return store_.read(1, 1, buffer); }, "*** FRU_delta_read(): Delta 1 is open for writing\n"},
        {[&] { return store_.read(3, 1, buffer); }, "*** FRU_delta_read(): Delta 3 is not open.\n"},
        {[&] { return store_.read(4, 1, buffer); }, "*** FRU_delta_read(): Delta 4 does not exist.\n"},
        {[&] { return store_.close(3); }, "*** FRU_delta_close(): Delta 3 is not open\n"},
        {[&] { return store_.close(4); }, "*** FRU_delta_close(): Delta 4 does not exist.\n"},
        {[&] { return store_.remove(2); }, "*** FRU_delta_delete(): Delta 2 is open.\n"},
        {[&] { return store_.remove(4); }, "*** FRU_delta_delete(): Delta 4 does not exist.\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), deltaBadKey) << c.message;
        EXPECT_EQ(takeMessages(), c.message);
    }
}

TEST(DeltaCallbacks, TheRegisteredFunctionsWorkOnTheBoundStore) {
    std::string messages;
    DeltaStore store([&](const std::string& text) { messages += text; });
    bindDeltaStore(&store);
    unsigned key = 0;
    ASSERT_EQ(FRU_delta_open_for_write(7, &key), deltaOk);
    ASSERT_EQ(FRU_delta_write(key, 2, "hi"), deltaOk);
    ASSERT_EQ(FRU_delta_close(key), deltaOk);
    ASSERT_EQ(FRU_delta_open_for_read(key), deltaOk);
    char back[2];
    ASSERT_EQ(FRU_delta_read(key, 2, back), deltaOk);
    ASSERT_EQ(FRU_delta_close(key), deltaOk);
    ASSERT_EQ(FRU_delta_delete(key), deltaOk);
    EXPECT_EQ(FRU_delta_delete(key), deltaBadKey);
    EXPECT_EQ(messages, "*** FRU_delta_delete(): Delta 1 does not exist.\n");
    // The release routine leaves alone an index that holds no delta.
    free_delta(0);
    free_delta(1000);
    EXPECT_EQ(store.tableSize(), 8u);
    bindDeltaStore(nullptr);
}

} // namespace
} // namespace partconv
