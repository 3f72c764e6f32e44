// Work sessions, the kernel's stream strings and paths in library form.
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/StreamStrings.h"
#include "DravikKernel/WorkSession.h"
#include "DravikKernel/test/hooks.h"

#include "pal/path.h"
#include "pal/test/hooks.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace Dravik;

std::wstring w(const fs::path& p) {
    return pal::text::fromUtf8(p.string());
}

class Sessions : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        sample_ = binDir() / "Samples/sample-a3.grb";
        for (const char* name : {"a.grb", "b.grb"})
            fs::copy_file(sample_, root() / name);
    }
    void TearDown() override {
        dvkernel::test::reset();
        SetLibraryPathFinder(nullptr);
        SandboxTest::TearDown();
    }
    void write(const fs::path& p, const std::string& text) const {
        std::ofstream(p, std::ios::binary) << text;
    }
    fs::path sample_;
};

TEST_F(Sessions, ASessionIsSavedAndReadBackWhole) {
    WorkSession session;
    session.name = L"Сборка\\стенд\nвторая строка";
    session.documents = {w(root() / "a.grb"), w(root() / "b.grb")};
    session.active = 1;
    session.readOnly = true;
    const std::wstring path = w(root() / "bench.grs");
    std::wstring error;
    ASSERT_TRUE(SaveWorkSession(path, session, &error)) << pal::text::toUtf8(error);
    WorkSession read;
    ASSERT_TRUE(LoadWorkSession(path, &read, &error)) << pal::text::toUtf8(error);
    EXPECT_EQ(read, session);
    // Not a document: the open road tells it apart by the document information.
    EXPECT_EQ(ReadDocumentFileInfo(path.c_str(), nullptr), static_cast<HRESULT>(0x800300FB));
}

// A name in the program's own drive form is a file of the sandbox, never a host file whose name
// holds the drive and the backslashes.
TEST_F(Sessions, DriveFormNamesAreFilesOfTheSandbox) {
    wchar_t temp[MAX_PATH + 1] = L"";
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring session = std::wstring(temp) + L"drive-form.grs";
    const std::wstring drawing = std::wstring(temp) + L"drive-form.grb";
    ASSERT_EQ(session.substr(1, 2), L":\\");
    WorkSession written;
    written.documents = {drawing};
    std::wstring error;
    ASSERT_TRUE(SaveWorkSession(session, written, &error)) << pal::text::toUtf8(error);
    fs::copy_file(sample_, pal::path::toNative(drawing));
    WorkSession read;
    ASSERT_TRUE(LoadWorkSession(session, &read, &error)) << pal::text::toUtf8(error);
    EXPECT_EQ(read.documents, written.documents);
    auto document = grb::LoadFile(drawing, &error);
    ASSERT_NE(document, nullptr) << pal::text::toUtf8(error);
    ASSERT_TRUE(grb::SaveFile(*document, drawing, &error)) << pal::text::toUtf8(error);
    EXPECT_EQ(ReadDocumentFileInfo(drawing.c_str(), nullptr), S_OK);
    EXPECT_TRUE(fs::exists(pal::path::toNative(session)));
    for (const auto& entry : fs::directory_iterator(fs::current_path()))
        EXPECT_EQ(entry.path().filename().string().find(':'), std::string::npos) << entry.path();
}

TEST_F(Sessions, RelativePathsLieBesideTheSessionFile) {
    fs::create_directories(root() / "sessions" / "parts");
    fs::copy_file(sample_, root() / "sessions" / "parts" / "c.grb");
    write(root() / "sessions" / "s.grs", "DVGRS 1\nname=\nreadonly=0\nactive=-1\ndocument=parts/c.grb\n");
    WorkSession read;
    std::wstring error;
    ASSERT_TRUE(LoadWorkSession(w(root() / "sessions" / "s.grs"), &read, &error)) << pal::text::toUtf8(error);
    ASSERT_EQ(read.documents.size(), 1u);
    EXPECT_EQ(read.documents[0], w(root() / "sessions" / "parts" / "c.grb"));
}

struct Damaged {
    const char* name;
    const char* text;
};

class DamagedSession : public Sessions, public ::testing::WithParamInterface<Damaged> {};

TEST_P(DamagedSession, DoesNotOpenAndStaysAsItWas) {
    const fs::path file = root() / "damaged.grs";
    write(file, GetParam().text);
    const std::string before = pal::test::readFile(file);
    WorkSession read;
    read.name = L"untouched";
    std::wstring error;
    EXPECT_FALSE(LoadWorkSession(w(file), &read, &error));
    EXPECT_NE(error.find(w(file)), std::wstring::npos) << pal::text::toUtf8(error);
    EXPECT_EQ(read.name, L"untouched");
    EXPECT_EQ(pal::test::readFile(file), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSession,
    ::testing::Values(Damaged{"empty", ""}, Damaged{"a_drawing", "DVGRB\x1a\r\n"},
                      Damaged{"newer_version", "DVGRS 2\nname=\nreadonly=0\nactive=-1\n"},
                      Damaged{"missing_key", "DVGRS 1\nname=x\nactive=-1\n"},
                      Damaged{"twice", "DVGRS 1\nname=x\nname=y\nreadonly=0\nactive=-1\n"},
                      Damaged{"unknown_key", "DVGRS 1\nname=x\nreadonly=0\nactive=-1\ncolour=red\n"},
                      Damaged{"no_equals", "DVGRS 1\nname=x\nreadonly=0\nactive=-1\ndocument\n"},
                      Damaged{"bad_escape", "DVGRS 1\nname=x\\q\nreadonly=0\nactive=-1\n"},
                      Damaged{"active_past_the_list", "DVGRS 1\nname=x\nreadonly=0\nactive=0\n"},
                      Damaged{"active_not_a_number", "DVGRS 1\nname=x\nreadonly=0\nactive=1x\n"},
                      Damaged{"empty_document", "DVGRS 1\nname=x\nreadonly=0\nactive=-1\ndocument=\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Sessions, MissingAndHugeFilesDoNotOpen) {
    WorkSession read;
    std::wstring error;
    EXPECT_FALSE(LoadWorkSession(w(root() / "none.grs"), &read, &error));
    EXPECT_NE(error.find(L"none.grs"), std::wstring::npos);
    const fs::path huge = root() / "huge.grs";
    write(huge, "DVGRS 1\nname=" + std::string(2 << 20, 'x') + "\nreadonly=0\nactive=-1\n");
    EXPECT_FALSE(LoadWorkSession(w(huge), &read, &error));
}

TEST_F(Sessions, OpeningOpensWhatOpensReadOnlyAsAskedAndSkipsTheRest) {
    WorkSession session;
    session.documents = {w(root() / "a.grb"), w(root() / "gone.grb"), w(root() / "b.grb")};
    session.active = 2;
    session.readOnly = true;
    std::vector<std::wstring> errors;
    DocInitParams params = DocumentManager::GetDefaultInitParams();
    params.flags |= DocInitParams::kHidden;
    const auto opened = OpenWorkSession(session, params, &errors);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(std::wstring(opened[0]->GetPathName()), session.documents[0]);
    EXPECT_EQ(std::wstring(opened[1]->GetPathName()), session.documents[2]);
    EXPECT_TRUE(opened[0]->IsReadOnly());
    EXPECT_TRUE(opened[1]->IsReadOnly());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(L"gone.grb"), std::wstring::npos);

    // The open documents make the session back, the active one marked.
    DocumentManager::Instance().SetActiveDocument(opened[1]);
    const WorkSession current = CurrentWorkSession(L"now");
    EXPECT_EQ(current.name, L"now");
    EXPECT_EQ(current.documents, (std::vector<std::wstring>{session.documents[0], session.documents[2]}));
    EXPECT_EQ(current.active, 1);
}

TEST(StreamStrings, AwkwardTextsComeBackAsWritten) {
    const std::wstring cases[] = {L"",
                                  L"plain",
                                  L"Чертёж «Плита»",
                                  L"emoji \U0001F4D0 beyond the basic plane",
                                  L"line\nbreak\tand\\back",
                                  std::wstring(70000, L'Ж')};
    dvio::MemoryWriteStream out;
    for (const auto& text : cases)
        ASSERT_TRUE(DvwWriteString(out, text.c_str()));
    dvio::MemoryReadStream in(out.Bytes());
    for (const auto& text : cases) {
        CString read;
        ASSERT_TRUE(DvwReadUniString(in, read));
        EXPECT_TRUE(std::wstring(read) == text) << text.size();
    }
    EXPECT_EQ(in.Left(), 0u);
    CString after;
    EXPECT_FALSE(DvwReadUniString(in, after)) << "nothing left";
}

TEST(StreamStrings, TheLayoutIsACountOfUnitsThenTheUnits) {
    dvio::MemoryWriteStream out;
    ASSERT_TRUE(DvwWriteString(out, L"Aж"));
    EXPECT_EQ(out.Bytes(), std::string("\x02\x00\x00\x00"
                                       "A\x00\x36\x04",
                                       8));
}

TEST(StreamStrings, ATruncatedOrOverlongStringIsRefused) {
    dvio::MemoryWriteStream out;
    ASSERT_TRUE(DvwWriteString(out, L"truncated"));
    const std::string cut = out.Bytes().substr(0, out.Bytes().size() - 1);
    dvio::MemoryReadStream short_(cut);
    CString read = L"old";
    EXPECT_FALSE(DvwReadUniString(short_, read));
    EXPECT_TRUE(read.IsEmpty());
    // A count far beyond the stream is refused without reading it.
    const std::string huge("\xff\xff\xff\x7f", 4);
    dvio::MemoryReadStream lie(huge);
    EXPECT_FALSE(DvwReadUniString(lie, read));
    const std::string big("\x00\x00\x10\x00", 4); // a million units, none there
    dvio::MemoryReadStream empty(big);
    EXPECT_FALSE(DvwReadUniString(empty, read));
}

// A library the finder knows, like the documents browser's active configuration.
fs::path g_libraryFolder;
std::wstring findLibrary(const std::wstring& name) {
    return name == L"Детали" ? w(g_libraryFolder) + L"/" : std::wstring();
}

TEST_F(Sessions, PathsInLibraryFormAreFoundThroughTheLibraries) {
    g_libraryFolder = root() / "library";
    fs::create_directories(g_libraryFolder / "plates");
    fs::copy_file(sample_, g_libraryFolder / "plates" / "p.grb");
    const std::wstring expected = w(g_libraryFolder / "plates" / "p.grb");
    EXPECT_EQ(DravikDocument2::FindPathName(L"<Детали>plates/p.grb"), L"")
        << "nobody knows the libraries yet";
    SetLibraryPathFinder(&findLibrary);
    struct Case {
        const wchar_t* path;
        bool found;
    };
    const Case cases[] = {
        {L"<Детали>plates/p.grb", true},
        {L"<Детали>plates\\p.grb", true},
        {L"<Детали>plates/none.grb", false},
        {L"<Чужая>plates/p.grb", false},
        {L"<Детали>", false},
        {L"<Детали>plates/p.grb>", false},
        {L"plates>p.grb<Детали", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DravikDocument2::FindPathName(c.path), c.found ? expected : L"")
            << pal::text::toUtf8(c.path);
    // Without a library form the rules stay: the base folder, then the current one.
    EXPECT_EQ(DravikDocument2::FindPathName(L"plates/p.grb", w(g_libraryFolder)), expected);

    // "@name" is a profile folder under the program folder.
    const std::wstring profile = L"dvtest-" + std::to_wstring(::getpid());
    const fs::path folder = pal::path::toNative(DVAppendProgramPath(L"profiles", 0, false)) / profile;
    fs::create_directories(folder);
    fs::copy_file(sample_, folder / "q.grb");
    const std::wstring found = DravikDocument2::FindPathName(L"<@" + profile + L">q.grb");
    fs::remove_all(folder);
    if (fs::is_empty(folder.parent_path()))
        fs::remove(folder.parent_path());
    EXPECT_EQ(found, w(folder / "q.grb"));
}

} // namespace
