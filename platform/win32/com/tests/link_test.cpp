// The socket link: who may connect, what the socket file allows, and how frames are read.
#include "pal/com/link.h"

#include "pal/com/wire.h"
#include "pal/sandbox.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace pal::com;
namespace fs = std::filesystem;

constexpr CLSID kClass = {0x34FF1B91, 0x6F6F, 0x11D0, {0x81, 0xC9, 0x00, 0x4F, 0x56, 0x00, 0x9C, 0x20}};

class Link : public pal::test::SandboxTest {};

TEST(PeerCheck, OnlyTheSameUserIsAllowed) {
    struct Case {
        uid_t peer, self;
        bool allowed;
    } cases[] = {{1000, 1000, true}, {1001, 1000, false}, {0, 1000, false}, {1000, 0, false}, {0, 0, true}};
    for (const auto& c : cases)
        EXPECT_EQ(link::peerAllowed({1234, c.peer, c.peer}, c.self), c.allowed) << c.peer << " -> " << c.self;
}

TEST_F(Link, SocketIsPrivateAndPeersAreKnown) {
    const fs::path path = link::classSocketPath(kClass);
    EXPECT_EQ(path.parent_path(), pal::sandbox::runDir());
    EXPECT_EQ(path.filename(), "com-{34FF1B91-6F6F-11D0-81C9-004F56009C20}");
    link::Fd server = link::listenAt(path);
    ASSERT_TRUE(server) << strerror(errno);
    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(path.parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u) << "the run folder is not open to others";
    // No stray temporary names are left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()), 1);

    link::Fd client = link::connectTo(path);
    ASSERT_TRUE(client);
    bool refused = true;
    link::Fd accepted;
    for (int i = 0; i < 100 && !accepted; ++i) { // the listener does not block
        accepted = link::acceptFrom(server.get(), refused);
        if (!accepted)
            usleep(1000);
    }
    ASSERT_TRUE(accepted);
    EXPECT_FALSE(refused);
    auto peer = link::peerOf(accepted.get());
    ASSERT_TRUE(peer);
    EXPECT_EQ(peer->uid, ::geteuid());
    EXPECT_EQ(peer->pid, ::getpid());
}

TEST_F(Link, LiveListenerIsKeptAndStaleFileReplaced) {
    const fs::path path = link::classSocketPath(kClass);
    link::Fd first = link::listenAt(path);
    ASSERT_TRUE(first);
    errno = 0;
    EXPECT_FALSE(link::listenAt(path));
    EXPECT_EQ(errno, EADDRINUSE);
    first.reset(); // the process ends; its file stays behind
    ASSERT_TRUE(fs::exists(path));
    EXPECT_FALSE(link::connectTo(path));
    link::Fd second = link::listenAt(path);
    EXPECT_TRUE(second);
    EXPECT_TRUE(link::connectTo(path));
}

TEST_F(Link, LongSandboxPathsStillBind) {
    const fs::path deep = root() / std::string(120, 'd');
    fs::create_directories(deep);
    const fs::path path = deep / "com-test";
    ASSERT_GT(path.string().size(), 108u);
    link::Fd server = link::listenAt(path);
    ASSERT_TRUE(server) << strerror(errno);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(link::connectTo(path));
}

// Writes raw bytes on one end of a pair and reads a frame on the other.
link::ReadResult readAfter(const std::string& bytes, std::string& body) {
    int pair[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    link::Fd reader(pair[0]), writer(pair[1]);
    EXPECT_TRUE(link::sendAll(writer.get(), bytes));
    writer.reset();
    return link::readFrame(reader.get(), body);
}

TEST(Frames, LengthsAreCheckedBeforeReading) {
    std::string body;
    EXPECT_EQ(readAfter(std::string("\x03\x00\x00\x00"
                                    "abc",
                                    7),
                        body),
              link::ReadResult::Frame);
    EXPECT_EQ(body, "abc");
    EXPECT_EQ(readAfter("", body), link::ReadResult::Closed);
    EXPECT_EQ(readAfter(std::string("\x03\x00", 2), body), link::ReadResult::Malformed);
    EXPECT_EQ(readAfter(std::string("\x05\x00\x00\x00"
                                    "ab",
                                    6),
                        body),
              link::ReadResult::Malformed);
    // Announcing more than the cap ends the link before anything is allocated for it.
    EXPECT_EQ(readAfter(std::string("\xFF\xFF\xFF\x7F", 4), body), link::ReadResult::Malformed);
    EXPECT_LT(body.capacity(), 1024u);
}

TEST(Frames, WritingToAClosedPeerFailsQuietly) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    link::Fd a(pair[0]);
    ::close(pair[1]);
    EXPECT_FALSE(link::sendAll(a.get(), std::string(1 << 20, 'x'))); // no SIGPIPE
}

} // namespace
