#include "dvpimage/stream.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace Image;
using dvpimage_test::VectorStream;

namespace {

TEST(MemoryStream, ReadsSkipsAndEndsWithinItsBytes) {
    MemoryStream stream(0);
    const std::uint8_t bytes[6] = {1, 2, 3, 4, 5, 6};
    stream.Write(bytes, 6);
    EXPECT_EQ(stream.Size(), 6u);
    EXPECT_TRUE(stream.IsEof());
    stream.Skip(-100); // stops at the start
    EXPECT_FALSE(stream.IsEof());
    std::uint8_t out[8] = {};
    EXPECT_EQ(stream.Read(out, 2), 2u);
    stream.Skip(1);
    EXPECT_EQ(stream.Read(out + 2, 8), 3u); // only what is left
    EXPECT_EQ(out[2], 4);
    EXPECT_EQ(out[4], 6);
    EXPECT_TRUE(stream.IsEof());
    stream.Skip(50); // stops at the end
    EXPECT_EQ(stream.Read(out, 1), 0u);
}

TEST(MemoryStream, WriteInTheMiddleOverwritesAndGrowsOnlyPastTheEnd) {
    MemoryStream stream(0);
    const std::uint8_t first[4] = {1, 2, 3, 4};
    const std::uint8_t second[4] = {9, 9, 9, 9};
    stream.Write(first, 4);
    stream.Skip(-2);
    stream.Write(second, 4);
    EXPECT_EQ(stream.Size(), 6u);
    const auto* data = static_cast<const std::uint8_t*>(stream.Data());
    EXPECT_EQ(std::vector<std::uint8_t>(data, data + 6), (std::vector<std::uint8_t>{1, 2, 9, 9, 9, 9}));
}

TEST(MemoryStream, SizedStreamHoldsThatManyBytes) {
    MemoryStream stream(10);
    EXPECT_EQ(stream.Size(), 10u);
    EXPECT_FALSE(stream.IsEof());
    MemoryStream none(0);
    EXPECT_EQ(none.Size(), 0u);
    EXPECT_TRUE(none.IsEof());
}

// A source longer than 1 MiB that hands its bytes out in small reads is taken whole.
TEST(MemoryStream, FromAStreamTakesEverythingTheSourceHas) {
    std::vector<std::uint8_t> bytes(3 * 1048576 + 17);
    std::iota(bytes.begin(), bytes.end(), 0);
    VectorStream source(bytes, 65536);
    source.Skip(5);
    MemoryStream copy(source);
    ASSERT_EQ(copy.Size(), bytes.size() - 5);
    const auto* data = static_cast<const std::uint8_t*>(copy.Data());
    EXPECT_TRUE(std::equal(bytes.begin() + 5, bytes.end(), data));
    EXPECT_TRUE(source.IsEof());
}

// A source that never ends hands out bytes without writing them, so that nothing is spent on them.
class EndlessStream : public IStream {
public:
    std::uint64_t Read(void*, std::uint64_t count) override {
        handedOut += count;
        return count;
    }
    void Write(const void*, std::uint64_t) override {}
    void Skip(std::int32_t) override {}
    bool IsEof() const override { return false; }
    std::uint64_t handedOut = 0;
};

// No picture the codecs take is longer than 4 GiB - 1 bytes: a stream built from another one
// reads no further, and one whose source goes on holds nothing.
TEST(MemoryStream, FromAStreamReadsNoMoreThanTheLongestPicture) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator touches every byte it moves";
#endif
    EndlessStream endless;
    MemoryStream copy(endless);
    EXPECT_LE(endless.handedOut, std::uint64_t{UINT32_MAX});
    EXPECT_EQ(copy.Size(), 0u);
}

} // namespace
