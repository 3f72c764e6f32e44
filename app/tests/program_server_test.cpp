// DravikCad as the automation server other programs drive: a start registers "DVW32.SERVER" for
// the program itself, and a client in a process of its own then reaches a DravikCad that COM
// starts for it, edits the title block of a drawing through it, and lets it end.
#include "app/DVServer.h"

#include "pal/journal.h"
#include "pal/test/classes_root.h"
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"
#include "pal/text.h"
#include "win/com.h"
#include "win/system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

namespace {

using pal::test::classesDefault;
namespace fs = std::filesystem;

class ProgramServer : public pal::test::SandboxTest {
protected:
    pal::test::ProgramEnding run(const fs::path& program, const std::vector<std::string>& args) {
        return pal::test::runProgram(program, args, root() / (program.filename().string() + ".err"),
                                     {{"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
    }
};

TEST_F(ProgramServer, AStartRegistersTheServerAndAClientEditsATitleBlockThroughTheDravikCadItStarts) {
    // An ordinary start, with nobody at a display, registers the server for this program.
    const pal::test::ProgramEnding first = run(binDir() / "DravikCad", {});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    // Both of the program's factories serve the name; it is kept by one of them.
    const std::wstring clsid = classesDefault(std::wstring(kServerProgId) + L"\\CLSID");
    EXPECT_TRUE(clsid == pal::com::guidToString(kServerFactoryClsid) ||
                clsid == pal::com::guidToString(CLSID{DV_SERVER_STATIC_CLSID}))
        << pal::text::toUtf8(clsid);
    const std::wstring server = classesDefault(L"CLSID\\" + clsid + L"\\LocalServer32");
    EXPECT_NE(server.find(L"DravikCad"), std::wstring::npos) << pal::text::toUtf8(server);

    // A client: COM starts DravikCad for it, and it ends once the client lets it go.
    const fs::path drawing = root() / "лист.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", drawing);
    const pal::test::ProgramEnding client =
        run(binDir() / "dvserver_client", {"--title-block", drawing.string()});
    ASSERT_EQ(client.exitCode, 0) << client.err;
    const auto answers = journal("dvserver.client.answers");
    ASSERT_EQ(answers.size(), 1u);
    const auto& a = answers.front();
    EXPECT_EQ(a.get("version"), "1800");
    EXPECT_EQ(a.get("opened"), "1");
    EXPECT_EQ(a.get("active"), "1");
    EXPECT_FALSE(a.get("before").empty()) << "the sample's title block names its designer";
    EXPECT_EQ(a.get("committed"), "1");
    EXPECT_EQ(a.get("after"), "\"Сидоров\"");

    // The DravikCad that served it shares the client's standard error: its last words there say
    // that it has ended, and where its log is.
    std::string err;
    std::smatch match;
    const bool ended = pal::test::eventually(
        [&] {
            err = pal::test::readFile(root() / "dvserver_client.err");
            return std::regex_search(err, match, std::regex("DravikCad: the log of this run is ([^\n]+)"));
        },
        60);
    ASSERT_TRUE(ended) << "DravikCad outlived its only client";
    const std::string log = pal::test::readFile(match[1].str());
    EXPECT_NE(log.find("> Initialized in "), std::string::npos) << log;
    EXPECT_EQ(log.find("Failed"), std::string::npos) << log;
}

} // namespace
