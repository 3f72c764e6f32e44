// Document files: the sample drawing's round trip, the bundled prototypes, refused files and
// failed saves, and the document manager that opens and makes documents.
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/ModelVars.h"
#include "DravikKernel/test/hooks.h"

#include "pal/test/hooks.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"
#include "win/error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace Dravik;

std::wstring w(const fs::path& p) {
    return pal::text::fromUtf8(p.string());
}

std::string bytesOf(const fs::path& p) {
    return pal::test::readFile(p);
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

class Files : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        dir_ = root() / "work";
        fs::create_directories(dir_);
        sample_ = binDir() / "Samples/sample-a3.grb";
    }
    void TearDown() override {
        dvkernel::test::reset();
        // Whatever a test locked is opened again so that the sandbox can be removed.
        for (const auto& entry : fs::recursive_directory_iterator(dir_))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        SandboxTest::TearDown();
    }
    // The bundled documents as the build puts them beside the binaries.
    fs::path prototype(const char* name) const { return binDir() / "Prototypes" / name; }
    static fs::path fixture(const char* name) {
        return sourcePath(std::string("outside/DravikKernel/tests/fixtures/") + name);
    }
    fs::path dir_;
    fs::path sample_;
};

TEST_F(Files, TheSampleOpensChangesUndoesRedoesAndSurvivesSavingElsewhere) {
    const std::string original = bytesOf(sample_);
    auto& manager = DocumentManager::Instance();
    std::wstring error;
    CDvw32Doc* doc = manager.OpenDocument(w(sample_), &error, DocumentKind::Drawing);
    ASSERT_NE(doc, nullptr) << pal::text::toUtf8(error);
    EXPECT_EQ(doc->GetTitle(), L"sample-a3.grb");
    EXPECT_EQ(doc->GetKind(), DocumentKind::Drawing);
    const DVDocument& c = *doc->Cont2D();
    ASSERT_EQ(c.GetPages().size(), 1u);
    EXPECT_EQ(c.GetPages()[0].width, 420.0);
    EXPECT_EQ(c.GetPages()[0].height, 297.0);
    EXPECT_NE(c.FindElementByName(L"FRAME", true), nullptr);
    EXPECT_EQ(c.GetTextValue(L"$naimen1"), L"Плита опорная");
    EXPECT_EQ(manager.OpenDocument(w(sample_), &error), doc) << "an open file is found, not read twice";

    ModelVars& vars = *doc->GetModelVars();
    vars.SetVarExpression(L"$naimen1", L"Плита опорная усиленная");
    ASSERT_TRUE(vars.OK(L"Редактирование форматки"));
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(doc->Cont2D()->Undo());
    EXPECT_EQ(c.GetTextValue(L"$naimen1"), L"Плита опорная");
    ASSERT_TRUE(doc->Cont2D()->Redo());

    const fs::path copy = dir_ / "копия.grb";
    ASSERT_TRUE(doc->DoFileSave(w(copy), &error)) << pal::text::toUtf8(error);
    EXPECT_EQ(doc->GetPathName(), w(copy));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(bytesOf(sample_), original);
    const std::size_t elements = c.GetElements().size();
    manager.CloseDocument(doc);
    EXPECT_EQ(manager.GetDocumentCount(), 0u);

    CDvw32Doc* again = manager.OpenDocument(w(copy), &error);
    ASSERT_NE(again, nullptr) << pal::text::toUtf8(error);
    EXPECT_EQ(again->Cont2D()->GetTextValue(L"$naimen1"), L"Плита опорная усиленная");
    EXPECT_EQ(again->Cont2D()->GetElements().size(), elements);
    EXPECT_EQ(again->Cont2D()->GetUndoCount(), 0u);
}

TEST_F(Files, EveryBundledPrototypeOpensAsItsKind) {
    struct Case {
        const char* file;
        DocumentKind kind;
        bool hasTitleBlock;
    };
    const Case cases[] = {
        {"drawing.grb", DocumentKind::Drawing, true},
        {"2dassembly.grb", DocumentKind::AssemblyDrawing, true},
        {"text.grb", DocumentKind::TextDocument, true},
        {"fragment.grb", DocumentKind::Fragment, false},
        {"part.grb", DocumentKind::Part3D, false},
        {"3dassembly.grb", DocumentKind::Assembly3D, false},
        {"sheetpart.grb", DocumentKind::SheetMetalPart, false},
    };
    for (const Case& k : cases) {
        std::wstring error;
        auto doc = grb::LoadFile(w(prototype(k.file)), &error);
        ASSERT_NE(doc, nullptr) << pal::text::toUtf8(error);
        EXPECT_EQ(doc->GetKind(), k.kind) << k.file;
        EXPECT_EQ(doc->Cont2D()->FindElementByName(L"title block", false) != nullptr, k.hasTitleBlock)
            << k.file;
        EXPECT_FALSE(doc->IsModified());
        if (!k.hasTitleBlock)
            continue;
        // Every editor finds every field it reads.
        for (const wchar_t* name : {L"$razrab", L"$utverd", L"$t_contr", L"$naim_pred", L"$name_pred",
                                    L"$format", L"$copy", L"sprav_tabl", L"$data4"})
            EXPECT_GE(doc->Cont2D()->FindVariable(name), 0) << k.file;
    }
}

TEST_F(Files, ANewDocumentFromAPrototypeIsSavedWhereAskedAndThePrototypeStays) {
    const fs::path copy = dir_ / "drawing.grb";
    fs::copy_file(prototype("drawing.grb"), copy);
    fs::permissions(copy, fs::perms::owner_write, fs::perm_options::remove);
    const std::string before = bytesOf(copy);

    DocInitParams params;
    params.pathName = w(dir_ / "Новый.grb");
    std::wstring error;
    CDvw32Doc* doc =
        DocumentManager::Instance().CreateAndSaveNewDocumentFromPrototype(w(copy).c_str(), params, &error);
    ASSERT_NE(doc, nullptr) << pal::text::toUtf8(error);
    EXPECT_EQ(doc->GetTitle(), L"Новый.grb");
    EXPECT_FALSE(doc->IsReadOnly());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(fs::exists(dir_ / "Новый.grb"));
    EXPECT_TRUE(DocumentManager::Instance().IsOpen(doc));
    EXPECT_EQ(bytesOf(copy), before);

    CDvw32Doc* unsaved =
        DocumentManager::Instance().CreateAndSaveNewDocumentFromPrototype(w(copy).c_str(), {});
    ASSERT_NE(unsaved, nullptr);
    EXPECT_EQ(unsaved->GetPathName(), L"");
    EXPECT_EQ(unsaved->GetTitle(), L"drawing");

    // A file that opens is found by its path name, relative ones against a base folder first.
    EXPECT_EQ(DravikDocument2::FindPathName(L"Новый.grb", w(dir_)), w(dir_ / "Новый.grb"));
    EXPECT_EQ(DravikDocument2::FindPathName(L"none.grb", w(dir_)), L"");
    EXPECT_EQ(DravikDocument2::FindPathName(w(dir_ / "drawing.grb")), w(dir_ / "drawing.grb"));
}

TEST_F(Files, ADocumentOfAnotherKindOrAMissingPrototypeIsRefused) {
    std::wstring error;
    EXPECT_EQ(
        DocumentManager::Instance().OpenDocument(w(prototype("part.grb")), &error, DocumentKind::Drawing),
        nullptr);
    EXPECT_NE(error.find(L"part.grb"), std::wstring::npos);
    EXPECT_EQ(DocumentManager::Instance().CreateAndSaveNewDocumentFromPrototype(w(dir_ / "none.grb").c_str(),
                                                                                {}, &error),
              nullptr);
    EXPECT_NE(error.find(L"none.grb"), std::wstring::npos);
    EXPECT_EQ(DocumentManager::Instance().GetDocumentCount(), 0u);
}

// Each bad file fails to open with its name in the error and is left byte for byte.
TEST_F(Files, BadFilesFailNamingTheFileAndStayUntouched) {
    const std::string good = bytesOf(sample_);
    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x20;
    std::string longer = good;
    longer.back() ^= 1;
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {"empty.grb", "", L"empty"},
        {"foreign.grb", "\x89PNG\r\n\x1a\n and then an image", L"not a document"},
        {"header-cut.grb", good.substr(0, 12), L"cut short"},
        {"truncated.grb", good.substr(0, good.size() - 7), L"cut short"},
        {"flipped.grb", flipped, L"damaged"},
        {"last-byte.grb", longer, L"damaged"},
        {"trailing.grb", good + "xx", L"damaged"},
        {"huge-count.grb", bytesOf(fixture("huge-count.grb")), L"damaged"},
        {"newer-version.grb", bytesOf(fixture("newer-version.grb")), L"newer version"},
    };
    for (const Case& k : cases) {
        const fs::path file = dir_ / k.name;
        writeBytes(file, k.bytes);
        std::wstring error;
        EXPECT_EQ(DocumentManager::Instance().OpenDocument(w(file), &error), nullptr) << k.name;
        EXPECT_NE(error.find(w(file)), std::wstring::npos) << pal::text::toUtf8(error);
        EXPECT_NE(error.find(k.reason), std::wstring::npos) << pal::text::toUtf8(error);
        EXPECT_EQ(bytesOf(file), k.bytes) << k.name;
        EXPECT_FALSE(fs::exists(file.string() + ".bak")) << k.name;
    }
    EXPECT_EQ(DocumentManager::Instance().GetDocumentCount(), 0u);
    std::wstring error;
    EXPECT_NE(grb::LoadFile(w(fixture("minimal.grb")), &error), nullptr)
        << "the fixtures differ from a good file only where they say";
}

TEST_F(Files, ASaveThatCannotBeWrittenFailsAndKeepsTheOldFile) {
    std::wstring error;
    auto doc = grb::LoadFile(w(sample_), &error);
    ASSERT_NE(doc, nullptr);
    doc->SetPathName(w(sample_));
    const fs::path folder = dir_ / "locked";
    fs::create_directories(folder);
    const fs::path target = folder / "plate.grb";
    fs::copy_file(sample_, target);
    const std::string before = bytesOf(target);
    doc->Cont2D()->AddElement({ElementKind::Line, 0, 0, L"", {0, 0, 10, 10}, {}});

    // A locked folder refuses new files to all but root, the kernel's own folder to everyone.
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    std::vector<fs::path> targets = {"/proc/plate.grb"};
    if (::access(folder.c_str(), W_OK) != 0)
        targets.push_back(target);
    for (const fs::path& place : targets) {
        EXPECT_FALSE(doc->DoFileSave(w(place), &error)) << place;
        EXPECT_NE(error.find(w(place)), std::wstring::npos) << pal::text::toUtf8(error);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(doc->GetPathName(), w(sample_));
    }
    EXPECT_EQ(bytesOf(target), before);
}

TEST_F(Files, ASaveThatFailsHalfWayKeepsTheOldFileAndThePath) {
    std::wstring error;
    CDvw32Doc* doc = DocumentManager::Instance().OpenDocument(w(sample_), &error);
    ASSERT_NE(doc, nullptr);
    const fs::path target = dir_ / "plate.grb";
    ASSERT_TRUE(doc->DoFileSave(w(target), &error));
    const std::string before = bytesOf(target);
    doc->Cont2D()->AddElement({ElementKind::Circle, 0, 0, L"", {10, 10, 5}, {}});
    for (auto step :
         {pal::test::WriteStep::Open, pal::test::WriteStep::Write, pal::test::WriteStep::Rename}) {
        pal::test::injectWriteFailure(step, 13); // EACCES, as from a folder that refuses writing
        EXPECT_FALSE(doc->DoFileSave(&error));
        EXPECT_NE(error.find(w(target)), std::wstring::npos) << pal::text::toUtf8(error);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(bytesOf(target), before);
    }
    pal::test::clearWriteFailure();
    EXPECT_FALSE(doc->DoFileSave(L"", &error)) << "a new document has nowhere to go";

    doc->SetReadOnly(true);
    EXPECT_FALSE(doc->DoFileSave(&error));
    EXPECT_NE(error.find(L"read-only"), std::wstring::npos);
    EXPECT_EQ(bytesOf(target), before);
    ASSERT_TRUE(doc->DoFileSave(w(dir_ / "elsewhere.grb"), &error)) << "saved elsewhere";
    EXPECT_FALSE(doc->IsReadOnly());
}

TEST_F(Files, AFileThatCannotBeWrittenOpensReadOnly) {
    const fs::path file = dir_ / "locked.grb";
    fs::copy_file(sample_, file);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
    if (::access(file.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with the power to write anywhere";
    std::wstring error;
    auto doc = grb::LoadFile(w(file), &error);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->IsReadOnly());
}

} // namespace

namespace {

TEST(ActiveDocument, FollowsTheViewsPerFrameAndEndsWithTheDocument) {
    dvkernel::test::reset();
    auto& manager = DocumentManager::Instance();
    CDvw32Doc* a = manager.CreateDocument(Dravik::DocumentKind::Drawing, L"Чертёж 1");
    CDvw32Doc* b = manager.CreateDocument(Dravik::DocumentKind::Part3D, L"Деталь 1");
    const HWND frame1 = reinterpret_cast<HWND>(0x10), frame2 = reinterpret_cast<HWND>(0x20);
    EXPECT_EQ(DVGetActiveDoc(), nullptr);
    manager.SetActiveDocument(a, frame1);
    manager.SetActiveDocument(b, frame2);
    EXPECT_EQ(DVGetActiveDoc(), b);
    EXPECT_EQ(DVGetActiveDoc(frame1), a);
    EXPECT_EQ(DVGetActiveDoc(reinterpret_cast<HWND>(0x30)), b) << "a frame without one: the last active";

    CDvw32Doc stranger;
    manager.SetActiveDocument(&stranger);
    EXPECT_EQ(DVGetActiveDoc(), b) << "only listed documents become active";

    b->AddHold();
    EXPECT_FALSE(manager.CloseDocument(b)) << "held";
    EXPECT_EQ(DVGetActiveDoc(), b);
    b->ReleaseHold();
    EXPECT_TRUE(manager.CloseDocument(b));
    EXPECT_EQ(DVGetActiveDoc(), nullptr);
    EXPECT_EQ(DVGetActiveDoc(frame2), nullptr);
    EXPECT_EQ(DVGetActiveDoc(frame1), a);
    dvkernel::test::reset();
    EXPECT_EQ(DVGetActiveDoc(frame1), nullptr);
}

} // namespace

namespace {

class FileInfo : public pal::test::SandboxTest {};

TEST_F(FileInfo, TellsTheKindOrWhyTheFileIsNotADocument) {
    const fs::path dir = root() / "info";
    fs::create_directories(dir);
    writeBytes(dir / "empty.grb", "");
    writeBytes(dir / "foreign.grb", "PK\x03\x04 an archive with something else in it");
    fs::copy_file(sourcePath("outside/DravikKernel/tests/fixtures/newer-version.grb"), dir / "newer.grb");
    writeBytes(dir / "a-file", "x");
    std::string noVersion = pal::test::readFile(binDir() / "Samples/sample-a3.grb");
    noVersion.replace(8, 4, std::string(4, '\0'));
    writeBytes(dir / "no-version.grb", noVersion);
    // A FIFO under a drawing's name would hold a reader until someone wrote to it.
    ASSERT_EQ(::mkfifo((dir / "pipe.grb").c_str(), 0600), 0);
    struct Case {
        fs::path path;
        HRESULT result;
        Dravik::DocumentKind kind;
    };
    const Case cases[] = {
        {binDir() / "Samples/sample-a3.grb", S_OK, Dravik::DocumentKind::Drawing},
        {binDir() / "Prototypes/3dassembly.grb", S_OK, Dravik::DocumentKind::Assembly3D},
        {dir / "none.grb", static_cast<HRESULT>(0x80030002), {}},
        {dir / "no-folder" / "x.grb", static_cast<HRESULT>(0x80030003), {}},
        {dir / "a-file" / "x.grb", static_cast<HRESULT>(0x80030003), {}},
        {dir / "empty.grb", static_cast<HRESULT>(0x800300FB), {}},
        {dir / "foreign.grb", static_cast<HRESULT>(0x800300FB), {}},
        {dir / "newer.grb", static_cast<HRESULT>(0x80030105), {}},
        {dir / "no-version.grb", static_cast<HRESULT>(0x80030109), {}},
        {dir, static_cast<HRESULT>(0x8003001E), {}},
        {dir / "pipe.grb", static_cast<HRESULT>(0x8003001E), {}},
    };
    for (const Case& k : cases) {
        DocumentFileInfo info;
        EXPECT_EQ(ReadDocumentFileInfo(w(k.path).c_str(), &info), k.result) << k.path;
        if (k.result == S_OK) {
            EXPECT_EQ(info.kind, k.kind) << k.path;
        }
    }
    for (const fs::path& notAFile : {dir, dir / "pipe.grb"}) {
        std::wstring error;
        EXPECT_EQ(grb::LoadFile(w(notAFile), &error), nullptr) << notAFile;
        EXPECT_NE(error.find(L"it is not a file"), std::wstring::npos) << pal::text::toUtf8(error);
    }
}

} // namespace

namespace {

TEST_F(Files, ACopyAsAndAfterCreatingSaveWhereTheyShould) {
    std::wstring error;
    CDvw32Doc* doc = DocumentManager::Instance().OpenDocument(w(sample_), &error);
    ASSERT_NE(doc, nullptr);
    doc->Cont2D()->create_text_var(L"$massa", doc->Cont2D()->FindVariable(L"$massa"), L"3,1", 0, 0);
    ASSERT_TRUE(doc->IsModified());

    // A copy leaves the document where and as it was.
    const fs::path copy = dir_ / "copy.grb";
    ASSERT_TRUE(doc->DoFileSaveCopy(w(copy).c_str()));
    EXPECT_EQ(std::wstring(doc->GetPathName()), w(sample_));
    EXPECT_TRUE(doc->IsModified());
    auto read = grb::LoadFile(w(copy), &error);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Cont2D()->GetTextValue(L"$massa"), L"3,1");

    // Save as moves it; after that the creation save has nothing to do until it changes again.
    const fs::path moved = dir_ / "moved.grb";
    ASSERT_TRUE(doc->DoFileSaveAs(nullptr, w(moved).c_str()));
    EXPECT_EQ(std::wstring(doc->GetPathName()), w(moved));
    EXPECT_FALSE(doc->IsModified());
    const auto stamp = fs::last_write_time(moved);
    EXPECT_TRUE(doc->SaveAfterCreatingIfNeed());
    EXPECT_EQ(fs::last_write_time(moved), stamp);
    doc->SetModifiedFlag(TRUE);
    EXPECT_TRUE(doc->SaveAfterCreatingIfNeed());
    EXPECT_FALSE(doc->IsModified());

    EXPECT_FALSE(doc->DoFileSaveOrsa(L"", TRUE)) << "no PDM system in this build";
}

TEST_F(Files, ALockedFileIsTakenUntilItsDocumentLetsGo) {
    const fs::path file = dir_ / "original.grb";
    fs::copy_file(sample_, file);
    auto first = std::make_unique<CDvw32Doc>();
    CDvw32Doc second;
    ASSERT_TRUE(first->LockDocumentFile(SharedPathName(w(file))));
    EXPECT_TRUE(first->IsDocumentFileLocked());
    EXPECT_FALSE(second.LockDocumentFile(SharedPathName(w(file)))) << "taken";
    first.reset();
    EXPECT_TRUE(second.LockDocumentFile(SharedPathName(w(file)))) << "let go with its document";
    EXPECT_FALSE(second.LockDocumentFile(SharedPathName(w(dir_ / "none.grb"))));
    EXPECT_FALSE(second.IsDocumentFileLocked());
}

class BundledDocuments : public pal::test::SandboxTest {};

// The committed documents are what the tool makes now: a change of the layout or of the
// previews that was not followed by a new run of the tool shows here.
TEST_F(BundledDocuments, AreWhatTheToolMakes) {
    const fs::path made = root() / "made";
    const std::string command = (binDir() / "dvkernel_make_documents").string() + " '" + made.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(made)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), made);
        EXPECT_EQ(bytesOf(entry.path()), bytesOf(sourcePath("outside/DravikKernel/documents" / relative)))
            << relative << ": run dvkernel_make_documents outside/DravikKernel/documents";
        ++compared;
    }
    EXPECT_EQ(compared, 8);
}

} // namespace
