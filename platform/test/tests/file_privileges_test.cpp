// Without its file privileges a thread meets the permissions of files as any user does, as
// does a thread it makes meanwhile, and it has them back afterwards.
#include "pal/test/file_privileges.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FilePrivileges : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "dv-privileges-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        std::ofstream(dir / "kept.txt") << "kept";
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        fs::permissions(dir / "kept.txt", fs::perms::none);
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    bool canCreate(const char* name) const {
        const int fd = ::open((dir / name).c_str(), O_CREAT | O_WRONLY, 0600);
        if (fd >= 0)
            ::close(fd);
        return fd >= 0;
    }
    bool canRead(const char* name) const {
        const int fd = ::open((dir / name).c_str(), O_RDONLY);
        if (fd >= 0)
            ::close(fd);
        return fd >= 0;
    }
    fs::path dir;
};

TEST_F(FilePrivileges, PermissionsHoldWhileDroppedAndTheThreadHasItsOwnBackAfterwards) {
    const bool privileged = ::geteuid() == 0;
    {
        pal::test::WithoutFilePrivileges dropped;
        ASSERT_TRUE(dropped.ok());
        EXPECT_FALSE(canCreate("new.txt"));
        EXPECT_FALSE(canRead("kept.txt"));
        bool other = false;
        std::thread([&] { other = canRead("kept.txt"); }).join();
        // A thread made while dropped starts as its maker stands.
        EXPECT_FALSE(other);
    }
    EXPECT_EQ(canRead("kept.txt"), privileged) << "taken back";
    bool other = false;
    std::thread([&] { other = canCreate("other.txt"); }).join();
    EXPECT_EQ(other, privileged);
}

} // namespace
