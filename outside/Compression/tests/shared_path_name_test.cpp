#include "Compression/SharedPathName.h"

#include "pal/path.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unordered_set>

namespace fs = std::filesystem;

namespace {

TEST(SharedPathName, ComparesAsThePlatformComparesPaths) {
    const SharedPathName a(L"C:\\Docs\\Part.dvd");
    EXPECT_EQ(a, SharedPathName(L"c:/docs/PART.DVD"));
    EXPECT_NE(a, SharedPathName(L"C:\\Docs\\Part.dvd2"));
    EXPECT_EQ(a.asCString(), L"C:\\Docs\\Part.dvd") << "the text stays as given";
    std::unordered_set<SharedPathName, SharedPathNameHash> set{a};
    EXPECT_EQ(set.count(SharedPathName(L"c:/docs/part.dvd")), 1u);
    EXPECT_TRUE(SharedPathName().empty());
    EXPECT_TRUE(SharedPathName(static_cast<const wchar_t*>(nullptr)).empty());
    EXPECT_EQ(SharedPathName(), SharedPathName(L""));
}

class SharedPathNameFlags : public pal::test::SandboxTest {};

TEST_F(SharedPathNameFlags, TheBlockAnswersEachPathOnceUntilItCloses) {
    const SharedPathName file(L"C:\\work\\a.dvd");
    const fs::path native = pal::path::toNative(file.asCString());
    EXPECT_FALSE(file.exists());
    {
        SharedPathNameFlagsCacheBlock outer;
        EXPECT_FALSE(file.exists());
        writeFile(fs::relative(native, root()).string(), "x");
        {
            SharedPathNameFlagsCacheBlock inner;
            EXPECT_FALSE(file.exists()) << "answered from the cache";
        }
        EXPECT_FALSE(SharedPathName(L"c:/WORK/A.DVD").exists()) << "an equal path shares the answer";
    }
    EXPECT_TRUE(file.exists()) << "the cache is dropped with the outermost block";
    EXPECT_FALSE(file.isDirectory());
    EXPECT_TRUE(SharedPathName(L"C:\\work").isDirectory());
}

} // namespace
