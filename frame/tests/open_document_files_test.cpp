// Several files opened together: what the PDM system is asked and in which order, what the 3D
// module's part is told, and that each file opens whatever the PDM system fails at.
#include "frame/OpenDocumentFiles.h"

#include "DVDiagnostics/test/hooks.h"
#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/DocumentPdm.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/test/hooks.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using dvpdm::test::FileScript;

class OpenDocumentFilesTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        dvpdm::test::clearScript();
        dvtrace::test::clear();
        for (const char* name : {"a.grb", "b.grb"})
            fs::copy_file(binDir() / "Samples/sample-a3.grb", root() / name);
        a = pal::path::fromNative(root() / "a.grb");
        b = pal::path::fromNative(root() / "b.grb");
    }
    void TearDown() override {
        dvpdm::test::setWorkMixEnabled(false);
        dvpdm::test::clearScript();
        CDVCom_Is3D::SetBatchOpenRefused(false);
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    // The 3D module's batch opens, as its trace tells them.
    static std::vector<std::string> batchOpens() {
        std::vector<std::string> found;
        for (const std::string& call : dvtrace::test::callsOf("DravikKernel"))
            if (call.rfind("CDVCom_Is3D::OpenFiles", 0) == 0)
                found.push_back(call);
        return found;
    }
    static std::vector<std::wstring> pdmCalls(const wchar_t* kind) {
        std::vector<std::wstring> found;
        for (const std::wstring& call : dvpdm::test::calls())
            if (call.rfind(kind, 0) == 0)
                found.push_back(call);
        return found;
    }
    std::wstring a, b;
};

TEST_F(OpenDocumentFilesTest, ThePdmSystemsContextsReachTheDocumentsAndTheThreeDModuleHearsOfThem) {
    CDVCom_Is3D::Attach(2);
    dvpdm::test::setWorkMixEnabled(true);
    struct Case {
        const char* what;
        std::vector<FileScript> scripted;
        bool pdmEdit;
        std::vector<std::string> batch;         // the 3D module's call, none when skipped
        std::vector<std::wstring> pdmWork;      // updates and edits
        std::vector<bool> readOnly;             // of a and b
        std::vector<std::wstring> nomenclature; // the data a and b carry
    };
    const Case cases[] = {
        {"one file the PDM system does not know skips the 3D module", {}, false, {}, {}, {false}, {L""}},
        {"two files, one known with nomenclature data",
         {{a, 1, false, L"N-1", L"Plate, 2 pcs"}},
         false,
         {"CDVCom_Is3D::OpenFiles(2,2,01)"},
         {L"update " + a + L" 0"},
         {false, false},
         {L"Plate, 2 pcs", L""}},
        {"a read-only context and an editing open of a checked-in file",
         {{a, 3, true, L"N-1", L"Plate"}, {b, 2, false, L"N-2", L"Rib"}},
         true,
         {"CDVCom_Is3D::OpenFiles(2,3,00)"},
         {L"edit " + a + L" 1 0 1 1"},
         {true, false},
         {L"Plate", L"Rib"}},
        {"a failing nomenclature fetch still opens the file",
         {{a, 1, false, L"N-1", L"Plate", false, true}, {b, 1, false, L"", L""}},
         false,
         {"CDVCom_Is3D::OpenFiles(2,2,01)"},
         {L"update " + a + L" 0", L"update " + b + L" 0"},
         {false, false},
         {L"", L""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dvkernel::test::reset();
        CDVCom_Is3D::Attach(2);
        dvpdm::test::clearScript();
        dvtrace::test::clear();
        for (const FileScript& file : c.scripted)
            dvpdm::test::addFile(file);
        std::vector<SharedPathName> files{SharedPathName(a)};
        if (c.readOnly.size() == 2)
            files.emplace_back(b);
        DocInitParams options = DocumentManager::GetDefaultInitParams();
        options.flags |= DocInitParams::kHidden;
        options.options |= DocInitParams::kMayCarryNomenclature;
        options.pdmEdit = c.pdmEdit;
        std::vector<CDvw32Doc*> documents;
        ASSERT_TRUE(OpenDocumentFiles(files, options, &documents));
        EXPECT_EQ(batchOpens(), c.batch);
        std::vector<std::wstring> work = pdmCalls(L"update ");
        for (const std::wstring& edit : pdmCalls(L"edit "))
            work.push_back(edit);
        EXPECT_EQ(work, c.pdmWork);
        ASSERT_EQ(documents.size(), files.size());
        for (size_t i = 0; i < documents.size(); ++i) {
            EXPECT_EQ(documents[i]->IsReadOnly(), c.readOnly[i]) << i;
            const Dravik::DocumentPdmLink* link = documents[i]->FindPdmLink();
            EXPECT_EQ(link != nullptr ? link->nomenclatureData : L"", c.nomenclature[i]) << i;
        }
        EXPECT_EQ(options.pdmContext, nullptr) << "the context goes back once the files are open";
        EXPECT_EQ(pdmCalls(L"reset ").size(), files.size());
    }
}

TEST_F(OpenDocumentFilesTest, ACallersContextGoesWithEveryFileAndMarksTheFirstOneOpenAlready) {
    CDVCom_Is3D::Attach(2);
    DocInitParams options = DocumentManager::GetDefaultInitParams();
    options.flags |= DocInitParams::kHidden;
    std::vector<CDvw32Doc*> first;
    ASSERT_TRUE(OpenDocumentFiles({SharedPathName(b)}, options, &first));
    dvtrace::test::clear();
    options.pdmContext = std::make_shared<DVPDMOpenningContext>(
        a, false, std::make_shared<DVPDMNomenclatureObject>(L"N-9", L"Frame"));
    std::vector<CDvw32Doc*> documents;
    ASSERT_TRUE(OpenDocumentFiles({SharedPathName(a), SharedPathName(b)}, options, &documents));
    EXPECT_EQ(batchOpens(), std::vector<std::string>{"CDVCom_Is3D::OpenFiles(2,2,01)"});
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[1], first.front()) << "an open document is found, not opened again";
    EXPECT_NE(options.pdmContext, nullptr) << "the caller's context stays the caller's";
    EXPECT_TRUE(dvpdm::test::calls().empty()) << "the work mix is not asked";
}

TEST_F(OpenDocumentFilesTest, AThreeDModuleThatRefusesLeavesEveryFileUnopened) {
    CDVCom_Is3D::Attach(2);
    CDVCom_Is3D::SetBatchOpenRefused(true);
    DocInitParams options = DocumentManager::GetDefaultInitParams();
    options.flags |= DocInitParams::kHidden;
    std::vector<CDvw32Doc*> documents;
    EXPECT_FALSE(OpenDocumentFiles({SharedPathName(a), SharedPathName(b)}, options, &documents));
    EXPECT_TRUE(documents.empty());
    EXPECT_EQ(DocumentManager::Instance().GetDocumentCount(), 0u);
}

TEST_F(OpenDocumentFilesTest, TheAnnotateModuleOpensEachFileWhenItIsThere) {
    AnnotateModuleProxy::Attach();
    DocInitParams options = DocumentManager::GetDefaultInitParams();
    options.flags |= DocInitParams::kHidden;
    std::vector<CDvw32Doc*> documents;
    ASSERT_TRUE(
        OpenDocumentFiles({SharedPathName(a), SharedPathName(pal::path::fromNative(root() / "missing.grb"))},
                          options, &documents));
    EXPECT_EQ(documents.size(), 1u) << "a file that does not open is left out";
    const auto calls = dvtrace::test::callsOf("DravikKernel");
    EXPECT_EQ(std::count(calls.begin(), calls.end(),
                         "AnnotateModuleProxy::OpenFile(" + pal::text::toUtf8(a) + ",0,-1)"),
              1);
    AnnotateModuleProxy::Detach();
}

} // namespace
