// The file, memory and start/stop callbacks on their own.
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"
#include "partconv/file_names.h"
#include "partconv/kernel_files.h"
#include "test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

namespace partconv {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr int guisePartition = 8;
constexpr int guiseTransmit = 4;
constexpr int binary = formatBinary;
constexpr int text = formatText;

class KernelFilesTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        files_.setClock(testing::fixedDate);
        ASSERT_EQ(files_.start(), statusOk);
        fs::create_directories(native("C:\\work"));
        fs::create_directories(native("C:\\many"));
    }
    static fs::path native(const std::string& name) { return pal::path::toNative(pal::text::fromUtf8(name)); }
    void put(const std::string& name, const std::string& bytes) {
        fs::create_directories(native(name).parent_path());
        std::ofstream(native(name), std::ios::binary) << bytes;
    }
    std::string readAll(int guise, int id, int chunk = 4096) {
        std::string all;
        std::vector<char> buffer(static_cast<std::size_t>(chunk));
        int got = 0;
        int status;
        while ((status = files_.read(guise, id, chunk, buffer.data(), &got)) == statusOk)
            all.append(buffer.data(), static_cast<std::size_t>(got));
        EXPECT_EQ(status, statusEndOfFile);
        return all;
    }

    // The names in a folder, sorted.
    static std::vector<std::string> entries(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(native(folder)))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    KernelFiles files_;
};

TEST_F(KernelFilesTest, ASecondStartOnlyRaisesTheCountAndStopsNest) {
    int id = 0;
    ASSERT_EQ(files_.openWrite(guiseTransmit, binary, "C:\\work\\a", "", &id), statusOk);
    EXPECT_EQ(files_.start(), statusOk);
    EXPECT_EQ(files_.startCount(), 2);

    EXPECT_EQ(files_.stop(), statusOk);
    EXPECT_EQ(files_.openCount(), 1) << "an inner stop leaves files open";
    EXPECT_EQ(files_.write(guiseTransmit, id, 2, "ok"), statusOk);

    EXPECT_EQ(files_.stop(), statusOk);
    EXPECT_EQ(files_.openCount(), 0) << "the last stop closes every file";
    EXPECT_EQ(files_.write(guiseTransmit, id, 2, "no"), statusRefused);
    EXPECT_EQ(files_.stop(), statusRefused);
}

TEST_F(KernelFilesTest, NothingWorksBeforeTheFirstStart) {
    KernelFiles fresh;
    int id = 0;
    char* p = nullptr;
    char buffer[4];
    int got = 0;
    EXPECT_EQ(fresh.abort(), statusRefused);
    EXPECT_EQ(fresh.stop(), statusRefused);
    EXPECT_EQ(fresh.allocate(64, &p), statusRefused);
    EXPECT_EQ(fresh.openRead(guisePartition, binary, "C:\\x", 0, &id), statusRefused);
    EXPECT_EQ(fresh.openWrite(guisePartition, binary, "C:\\x", "", &id), statusRefused);
    EXPECT_EQ(fresh.openReadWide(guisePartition, binary, L"C:\\x", 0, &id), statusRefused);
    EXPECT_EQ(fresh.openWriteWide(guisePartition, binary, L"C:\\x", "", &id), statusRefused);
    EXPECT_EQ(fresh.read(guisePartition, 1, 4, buffer, &got), statusRefused);
    EXPECT_EQ(fresh.write(guisePartition, 1, 4, "abcd"), statusRefused);
    EXPECT_EQ(fresh.close(guisePartition, 1, 0), statusRefused);
    EXPECT_FALSE(fs::exists(native("C:\\x.xmp_bin")));
}

TEST_F(KernelFilesTest, The33rdOpenAnswers10AndOpensNothing) {
    for (int i = 1; i <= maxOpenFiles; ++i) {
        int id = 0;
        ASSERT_EQ(files_.openWrite(guiseTransmit, binary, "C:\\many\\f" + std::to_string(i), "", &id),
                  statusOk);
        EXPECT_EQ(id, i);
    }
    int id = 0;
    EXPECT_EQ(files_.openWrite(guiseTransmit, binary, "C:\\many\\f33", "", &id), statusTooManyFiles);
    EXPECT_EQ(files_.openReadWide(guiseTransmit, binary, L"C:\\many\\f1", 0, &id), statusTooManyFiles);
    EXPECT_FALSE(fs::exists(native("C:\\many\\f33")));

    // The lowest free identifier is taken next.
    ASSERT_EQ(files_.close(guiseTransmit, 5, 0), statusOk);
    ASSERT_EQ(files_.openWrite(guiseTransmit, binary, "C:\\many\\f33", "", &id), statusOk);
    EXPECT_EQ(id, 5);
}

struct NameCase {
    int guise;
    int format;
    std::string key;
    std::optional<std::string> narrow;
    std::optional<std::wstring> wideWrite;
    std::optional<std::wstring> wideRead;
};

TEST(FileNames, FromKeyAndGuise) {
    const std::string longKey(256, 'k');
    const std::vector<NameCase> cases{
        {8, 1, "Part", "part.xmp_bin", L"Part.P_B", L"Part"},
        {4, 1, "Part", "part", L"Part", L"Part"},
        {5, 2, "Part", "part", L"Part", L"Part"},
        {1, 1, "Part", "part_bin", L"Part_B", L"Part"},
        {2, 2, "C:\\Dir\\Snap", "C:\\Dir\\snap.snp_txt", L"C:\\Dir\\Snap.N_T", L"C:\\Dir\\Snap"},
        {3, 3, "Log", "log.jnl", L"Log.J", L"Log"},
        {9, 1, "D", "d.xmd_bin", L"D.D_B", L"D"},
        {10, 1, "Data", "data_bin", L"Data.XML", L"Data"},
        {7, 1, "Odd", "odd_bin", L"Odd_B", L"Odd"},
        {42, 2, "Odd", "odd_txt", L"Odd_T", L"Odd"},
        {6, 1, "Sch", "C:\\Prog\\SCHEMA\\sch.sch_bin", L"Schemas\\Sch.S_B", L"Schemas\\sch"},
        {8, 1, longKey, std::nullopt, std::nullopt, std::nullopt},
        {8, 1, std::string(253, 'k'), std::nullopt, std::nullopt, std::wstring(253, L'k')},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.guise) + " " + c.key.substr(0, 12));
        const std::wstring key = pal::text::fromUtf8(c.key);
        EXPECT_EQ(narrowFileName(c.guise, c.format, c.key, L"C:\\Prog"), c.narrow);
        EXPECT_EQ(wideWriteFileName(c.guise, c.format, key), c.wideWrite);
        EXPECT_EQ(wideReadFileName(c.guise, key), c.wideRead);
    }
}

TEST_F(KernelFilesTest, ANarrowOpenLowerCasesTheLeafAndAddsTheEndings) {
    put("C:\\work\\part.xmp_bin", "partition bytes");
    put("C:\\work\\part", "transmit bytes");
    int id = 0;
    ASSERT_EQ(files_.openRead(guisePartition, binary, "C:\\work\\Part", 0, &id), statusOk);
    EXPECT_EQ(readAll(guisePartition, id), "partition bytes");
    ASSERT_EQ(files_.openRead(guiseTransmit, binary, "C:\\work\\Part", 0, &id), statusOk);
    EXPECT_EQ(readAll(guiseTransmit, id), "transmit bytes");
    EXPECT_EQ(files_.openRead(guisePartition, binary, "C:\\work\\Other", 0, &id), statusNotReadable);
}

TEST_F(KernelFilesTest, KeysBeyondTheLimitAnswer1) {
    int id = 0;
    const std::string longKey = "C:\\" + std::string(260, 'k');
    EXPECT_EQ(files_.openWrite(guiseTransmit, binary, longKey, "", &id), statusNameTooLong);
    EXPECT_EQ(files_.openRead(guiseTransmit, binary, longKey, 0, &id), statusNameTooLong);
    EXPECT_EQ(files_.openWriteWide(guiseTransmit, binary, pal::text::fromUtf8(longKey), "", &id),
              statusNameTooLong);
    EXPECT_EQ(files_.openReadWide(guiseTransmit, binary, pal::text::fromUtf8(longKey), 0, &id),
              statusNameTooLong);
    EXPECT_EQ(files_.openCount(), 0);
}

TEST_F(KernelFilesTest, WritesTheStandardHeaderAndCutsTheHeaderTextAfterEachSemicolon) {
    int id = 0;
    ASSERT_EQ(files_.openWrite(guisePartition, binary, "C:\\work\\Out", "x=1;y=2;z", &id), statusOk);
    ASSERT_EQ(files_.write(guisePartition, id, 4, "DATA"), statusOk);
    ASSERT_EQ(files_.close(guisePartition, id, 0), statusOk);
    const std::string expected =
        headerLine1() + headerLine2() +
        "**PART1;\nMC=x86;\nMC_MODEL=AMD_X64;\nMC_ID=unknown;\nOS=MS_WINDOWS;\nOS_RELEASE=unknown;\n"
        "FRU=Dravik;\nAPPL=PartConv " DV_PROJECT_VERSION ";\nSITE=unknown;\nUSER=unknown;\nFORMAT=binary;\n"
        "GUISE=transmit_partition;\nKEY=C:\\work\\Out;\nFILE=C:\\work\\out.xmp_bin;\nDATE=7-okt-2025;\n"
        "**PART2;\nx=1;\ny=2;\n**PART3;\n" +
        headerEndLine() + "DATA";
    EXPECT_EQ(pal::test::readFile(native("C:\\work\\out.xmp_bin")), expected);
}

TEST_F(KernelFilesTest, AHeaderThatCannotBeWrittenLeavesAnEarlierFileAsItWas) {
    const std::string tooLong = std::string(maxHeaderPiece, 'p') + ";";
    put("C:\\work\\kept", "earlier bytes");
    int id = 0;
    EXPECT_EQ(files_.openWrite(guiseTransmit, binary, "C:\\work\\Kept", tooLong, &id), statusWriteFailed);
    EXPECT_EQ(files_.openWriteWide(guiseTransmit, binary, L"C:\\work\\kept", tooLong, &id),
              statusWriteFailed);
    EXPECT_EQ(pal::test::readFile(native("C:\\work\\kept")), "earlier bytes");
    EXPECT_EQ(files_.openCount(), 0);
}

TEST(HeaderText, PiecesEndAtEachSemicolon) {
    const std::string longest(maxHeaderPiece - 1, 'p');
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
        {"x=1;y=2;z", "x=1;\ny=2;\n"},
        {"", ""},
        {"no semicolon", ""},
        {";;", ";\n;\n"},
        {longest + ";", longest + ";\n"},
        {longest + "p;", std::nullopt},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(headerTextLines(in), out) << in.size();
}

TEST(HeaderText, DatesAndMachineModels) {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 1;
    t.wDay = 31;
    EXPECT_EQ(headerDate(t), "31-jan-2024");
    t.wMonth = 10;
    t.wDay = 7;
    EXPECT_EQ(headerDate(t), "7-okt-2024");
    const std::vector<std::pair<int, std::string>> models{{386, "INTEL_386"},     {486, "INTEL_486"},
                                                          {586, "INTEL_PENTIUM"}, {2200, "INTEL_IA64"},
                                                          {8664, "AMD_X64"},      {0, "Unknown"}};
    for (const auto& [type, model] : models)
        EXPECT_EQ(machineModel(type), model);
}

TEST_F(KernelFilesTest, AFileWithoutHeaderIsReadFromItsFirstByte) {
    put("C:\\work\\plain.xmp_bin", "no header here\nsecond line");
    int id = 0;
    ASSERT_EQ(files_.openRead(guisePartition, binary, "C:\\work\\plain", 1, &id), statusOk);
    EXPECT_EQ(readAll(guisePartition, id, 5), "no header here\nsecond line");
    EXPECT_EQ(files_.rememberedFileName(), "");
}

TEST_F(KernelFilesTest, SkippingAHeaderRemembersItsFileLine) {
    put("C:\\work\\h.xmp_bin", testing::partitionHeader("origin.xmp_bin") + "BODY");
    int id = 0;
    ASSERT_EQ(files_.openReadWide(guisePartition, binary, L"C:\\work\\h.xmp_bin", 1, &id), statusOk);
    EXPECT_EQ(readAll(guisePartition, id), "BODY");
    EXPECT_EQ(files_.rememberedFileName(), "origin.xmp_bin");

    // A file written afterwards names the remembered file.
    ASSERT_EQ(files_.openWrite(guiseTransmit, binary, "C:\\work\\next", "", &id), statusOk);
    ASSERT_EQ(files_.close(guiseTransmit, id, 0), statusOk);
    EXPECT_THAT(pal::test::readFile(native("C:\\work\\next")), HasSubstr("\nFILE=origin.xmp_bin;\n"));
}

TEST_F(KernelFilesTest, SkippingFailuresCloseTheFileAgain) {
    put("C:\\work\\empty.xmp_bin", "");
    put("C:\\work\\cut.xmp_bin", headerLine1() + headerLine2() + "**PART1;\n");
    int id = 0;
    EXPECT_EQ(files_.openRead(guisePartition, binary, "C:\\work\\empty", 1, &id), statusEndOfFile);
    EXPECT_EQ(files_.openRead(guisePartition, binary, "C:\\work\\cut", 1, &id), statusEndOfFile);
    EXPECT_EQ(files_.openCount(), 0);
    // Without skipping the empty file opens and ends at once.
    ASSERT_EQ(files_.openRead(guisePartition, binary, "C:\\work\\empty", 0, &id), statusOk);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(readAll(guisePartition, id), "");
}

TEST_F(KernelFilesTest, CloseWithAction2DeletesWhatWasWritten) {
    struct Case {
        int action;
        bool wide;
        bool kept;
    };
    for (const Case& c :
         {Case{2, false, false}, Case{1, false, true}, Case{0, false, true}, Case{2, true, false}}) {
        SCOPED_TRACE(std::to_string(c.action) + (c.wide ? " wide" : " narrow"));
        int id = 0;
        ASSERT_EQ(c.wide ? files_.openWriteWide(guiseTransmit, binary, L"C:\\work\\gone", "", &id)
                         : files_.openWrite(guiseTransmit, binary, "C:\\work\\gone", "", &id),
                  statusOk);
        EXPECT_FALSE(fs::exists(native("C:\\work\\gone"))) << "the file appears when it is whole";
        EXPECT_EQ(files_.close(guiseTransmit, id, c.action), statusOk);
        EXPECT_EQ(fs::exists(native("C:\\work\\gone")), c.kept);
        EXPECT_EQ(entries("C:\\work"),
                  c.kept ? std::vector<std::string>{"gone"} : std::vector<std::string>{});
        fs::remove(native("C:\\work\\gone"));
    }
    // A file opened for reading is never deleted by its close.
    int id = 0;
    put("C:\\work\\keep", "x");
    ASSERT_EQ(files_.openRead(guiseTransmit, binary, "C:\\work\\keep", 0, &id), statusOk);
    EXPECT_EQ(files_.close(guiseTransmit, id, 2), statusOk);
    EXPECT_TRUE(fs::exists(native("C:\\work\\keep")));
    EXPECT_EQ(files_.close(guiseTransmit, id, 0), statusCloseFailed);
}

// However a write ends short of a whole file, the file of that name keeps every byte it had and
// nothing else is left in its folder (but for a process that was killed, whose temporary file no
// one can remove).
enum class WriteEnd { closedWhole, aborted, lastStop, filesDestroyed, fileSizeLimit, killed };

struct WriteEndCase {
    const char* name;
    WriteEnd end;
};

class WriteEndTest : public KernelFilesTest, public ::testing::WithParamInterface<WriteEndCase> {};

void PrintTo(const WriteEndCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(WriteEndTest, TheEarlierFileStaysByteIdenticalUntilTheNewOneIsWhole) {
    const WriteEnd end = GetParam().end;
    const std::string earlier = "earlier part file\n" + std::string(1000, 'e');
    put("C:\\work\\part", earlier);
    fs::permissions(native("C:\\work\\part"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string data(64 * 1024, 'n');

    // The cases that end the process run in a child of their own.
    const auto writeIn = [&](KernelFiles& files) {
        int id = 0;
        if (files.openWriteWide(guiseTransmit, binary, L"C:\\work\\part", "", &id) != statusOk)
            return 10;
        const int written = files.write(guiseTransmit, id, static_cast<int>(data.size()), data.data());
        switch (end) {
        case WriteEnd::closedWhole:
            return written == statusOk && files.close(guiseTransmit, id, 0) == statusOk ? 0 : 11;
        case WriteEnd::aborted:
            return written == statusOk && files.close(guiseTransmit, id, closeDelete) == statusOk ? 0 : 12;
        case WriteEnd::lastStop:
            return files.stop() == statusOk ? 0 : 13;
        case WriteEnd::filesDestroyed:
            return 0;
        case WriteEnd::fileSizeLimit: {
            // The bytes the buffer held back fail at the latest when the file is closed.
            const int closed = files.close(guiseTransmit, id, 0);
            return written != statusOk || closed != statusOk ? 0 : 14;
        }
        case WriteEnd::killed:
            ::kill(::getpid(), SIGKILL);
            return 15;
        }
        return 16;
    };
    if (end == WriteEnd::fileSizeLimit || end == WriteEnd::killed) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{8192, 8192};
            if (end == WriteEnd::fileSizeLimit && ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(20);
            KernelFiles files;
            files.start();
            ::_exit(writeIn(files));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (end == WriteEnd::killed) {
            EXPECT_TRUE(WIFSIGNALED(status));
        } else {
            EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
        }
    } else {
        std::optional<KernelFiles> files(std::in_place);
        files->start();
        EXPECT_EQ(writeIn(*files), 0);
        files.reset();
    }

    const std::string now = pal::test::readFile(native("C:\\work\\part"));
    if (end == WriteEnd::closedWhole) {
        EXPECT_TRUE(now.ends_with(data));
        EXPECT_EQ(fs::status(native("C:\\work\\part")).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
            << "the new file keeps the permissions of the one it replaces";
    } else {
        EXPECT_EQ(now, earlier);
    }
    if (end != WriteEnd::killed) {
        EXPECT_EQ(entries("C:\\work"), std::vector<std::string>{"part"});
    }
}

INSTANTIATE_TEST_SUITE_P(Ends, WriteEndTest,
                         ::testing::Values(WriteEndCase{"closed_whole", WriteEnd::closedWhole},
                                           WriteEndCase{"aborted", WriteEnd::aborted},
                                           WriteEndCase{"last_stop", WriteEnd::lastStop},
                                           WriteEndCase{"files_destroyed", WriteEnd::filesDestroyed},
                                           WriteEndCase{"file_size_limit", WriteEnd::fileSizeLimit},
                                           WriteEndCase{"killed", WriteEnd::killed}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KernelFilesTest, OnlyRegularFilesOfBoundedSizeAreRead) {
    fs::create_symlink("/dev/zero", native("C:\\work\\zero.xmp_bin"));
    fs::create_symlink("/dev/null", native("C:\\work\\null.xmp_bin"));
    ASSERT_EQ(::mkfifo(native("C:\\work\\fifo.xmp_bin").c_str(), 0600), 0);
    fs::create_directories(native("C:\\work\\folder.xmp_bin"));
    // Sparse: no disk is spent on them.
    put("C:\\work\\limit.xmp_bin", "");
    fs::resize_file(native("C:\\work\\limit.xmp_bin"), maxInputBytes);
    put("C:\\work\\huge.xmp_bin", "");
    fs::resize_file(native("C:\\work\\huge.xmp_bin"), maxInputBytes + 1);

    // Should a pipe be opened after all, a writer comes by and ends the wait.
    std::atomic<bool> done{false};
    std::thread unblock([&] {
        for (int waited = 0; waited < 40 && !done; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        while (!done) {
            const int fd = ::open(native("C:\\work\\fifo.xmp_bin").c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const std::vector<std::pair<std::string, int>> cases{
        {"zero", statusNotReadable},   {"null", statusNotReadable}, {"fifo", statusNotReadable},
        {"folder", statusNotReadable}, {"huge", statusNotReadable}, {"limit", statusOk},
    };
    for (const auto& [stem, status] : cases) {
        int id = 0;
        EXPECT_EQ(files_.openRead(guisePartition, binary, "C:\\work\\" + stem, 0, &id), status) << stem;
        EXPECT_EQ(files_.openReadWide(guisePartition, binary,
                                      pal::text::fromUtf8("C:\\work\\" + stem + ".xmp_bin"), 0, &id),
                  status)
            << stem << " (wide)";
    }
    done = true;
    unblock.join();
    EXPECT_EQ(files_.openCount(), 2) << "only the file at the limit";
}

TEST_F(KernelFilesTest, ReadAndWriteNeedTheSameGuiseAndTheRightMode) {
    int writer = 0;
    int reader = 0;
    put("C:\\work\\in", "abc");
    ASSERT_EQ(files_.openWrite(guiseTransmit, binary, "C:\\work\\out", "", &writer), statusOk);
    ASSERT_EQ(files_.openRead(guiseTransmit, binary, "C:\\work\\in", 0, &reader), statusOk);
    char buffer[4];
    int got = 0;
    EXPECT_EQ(files_.write(guisePartition, writer, 1, "x"), statusRefused);
    EXPECT_EQ(files_.write(guiseTransmit, reader, 1, "x"), statusRefused);
    EXPECT_EQ(files_.read(guisePartition, reader, 4, buffer, &got), statusRefused);
    EXPECT_EQ(files_.read(guiseTransmit, writer, 4, buffer, &got), statusRefused);
    EXPECT_EQ(files_.read(guiseTransmit, 30, 4, buffer, &got), statusRefused);
    EXPECT_EQ(files_.close(guisePartition, reader, 0), statusOk) << "close does not look at the guise";
}

TEST_F(KernelFilesTest, TextFilesAreReadByLineAndWrittenAsStrings) {
    int id = 0;
    ASSERT_EQ(files_.openWrite(guiseTransmit, text, "C:\\work\\t", "", &id), statusOk);
    ASSERT_EQ(files_.write(guiseTransmit, id, 6, "first\n"), statusOk);
    ASSERT_EQ(files_.write(guiseTransmit, id, 1, "s"), statusOk);
    ASSERT_EQ(files_.write(guiseTransmit, id, 7, "econd\nX"), statusOk);
    ASSERT_EQ(files_.close(guiseTransmit, id, 0), statusOk);

    ASSERT_EQ(files_.openRead(guiseTransmit, text, "C:\\work\\t", 1, &id), statusOk);
    char buffer[16];
    int got = 0;
    ASSERT_EQ(files_.read(guiseTransmit, id, 15, buffer, &got), statusOk);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), "first\n");
    ASSERT_EQ(files_.read(guiseTransmit, id, 1, buffer, &got), statusOk);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), "s");
    ASSERT_EQ(files_.read(guiseTransmit, id, 3, buffer, &got), statusOk);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), "eco");
    ASSERT_EQ(files_.read(guiseTransmit, id, 15, buffer, &got), statusOk);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), "nd\n");
    ASSERT_EQ(files_.read(guiseTransmit, id, 15, buffer, &got), statusOk);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), "X");
    EXPECT_EQ(files_.read(guiseTransmit, id, 15, buffer, &got), statusEndOfFile);
}

TEST_F(KernelFilesTest, TheWideXmlGuiseWritesOnlyTheXmlDeclaration) {
    int id = 0;
    ASSERT_EQ(files_.openWriteWide(10, binary, L"C:\\work\\Doc", "ignored;", &id), statusOk);
    ASSERT_EQ(files_.write(10, id, 6, "<a/>\r\n"), statusOk);
    ASSERT_EQ(files_.close(10, id, 0), statusOk);
    EXPECT_EQ(pal::test::readFile(native("C:\\work\\Doc.XML")), "<?xml version=\"1.0\" ?>\n<a/>\r\n");
}

TEST_F(KernelFilesTest, AWideOpenForWritingThatFailsAnswers10) {
    fs::create_directories(native("C:\\work\\dir"));
    int id = 0;
    EXPECT_EQ(files_.openWriteWide(guiseTransmit, binary, L"C:\\work\\dir", "", &id), statusTooManyFiles);
    EXPECT_EQ(files_.openWrite(guiseTransmit, binary, "C:\\work\\dir", "", &id), statusNotWritable);
    EXPECT_TRUE(fs::is_directory(native("C:\\work\\dir")));
    EXPECT_EQ(entries("C:\\work"), std::vector<std::string>{"dir"});
}

TEST_F(KernelFilesTest, MemoryComesInCommittedPages) {
    char* p = nullptr;
    ASSERT_EQ(files_.allocate(10000, &p), statusOk);
    ASSERT_NE(p, nullptr);
    p[0] = 'a';
    p[9999] = 'z';
    EXPECT_EQ(files_.release(10000, p), statusOk);
    EXPECT_EQ(files_.allocate(0, &p), statusNoMemory);
}

} // namespace
} // namespace partconv
