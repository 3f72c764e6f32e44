// The open and save roads where the PDM system takes part: what it is asked before a drawing is
// read, what the drawing carries away, files of foreign formats offered to the 3D module and the
// add-ons, and the saves of every version of an assembly with the nomenclature refresh after.
#include "main_initialisation_fixture.h"

#include "app/DocumentOpening.h"
#include "app/DocumentPipeline.h"

#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentPdm.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/KernelServices.h"
#include "DravikUI/ImageManager.h"
#include "pal/text.h"

namespace dvapp::test {
namespace {

using dvpdm::test::FileScript;

class DocumentPdm : public MainInitialisation {
protected:
    void SetUp() override {
        MainInitialisation::SetUp();
        dvpdm::test::clearScript();
    }
    void TearDown() override {
        CDVCom_Is3D::SetForeignFileOpener(nullptr);
        CDVCom_Is3D::SetPartReader(nullptr);
        dvpdm::test::setWorkMixEnabled(false);
        dvpdm::test::clearScript();
        MainInitialisation::TearDown();
    }
    static std::vector<std::wstring> pdmCallsBut(const wchar_t* left) {
        std::vector<std::wstring> kept;
        for (const std::wstring& call : dvpdm::test::calls())
            if (call.rfind(left, 0) != 0)
                kept.push_back(call);
        return kept;
    }
    static size_t logged(const std::string& text) {
        size_t count = 0;
        for (const std::string& line : dvlog::test::capturedAt(DVLogWarning))
            count += line.find(text) != std::string::npos;
        return count;
    }
};

TEST_F(DocumentPdm, ThePdmSystemIsAskedBeforeTheDrawingIsReadAndItsNomenclatureComesAlong) {
    const std::wstring plate = copySample("plate.grb"), rib = copySample("rib.grb"),
                       bare = copySample("bare.grb");
    ASSERT_TRUE(start());
    dvpdm::test::setWorkMixEnabled(true);
    dvpdm::test::addFile({plate, 1, false, L"N-1", L"Plate, 2 pcs"});
    dvpdm::test::addFile({rib, 1, true, L"N-2", L"Rib", true});
    dvpdm::test::setProviderNomenclature(bare, L"N-3", L"Bare");
    struct Case {
        std::wstring path;
        std::vector<std::wstring> calls;
        std::wstring nomenclature;
        bool readOnly;
    };
    const Case cases[] = {
        {plate, {L"reset " + plate, L"refresh " + plate + L" 0 0", L"load " + plate}, L"Plate, 2 pcs", false},
        // A refresh the system refuses is reported; the drawing opens without the PDM object.
        {rib, {L"reset " + rib, L"refresh " + rib + L" 0 0"}, L"", false},
        // Without an object, the nomenclature provider's object of the path.
        {bare, {L"reset " + bare, L"load " + bare}, L"Bare", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.path));
        dvpdm::test::clearScript();
        dvpdm::test::addFile({plate, 1, false, L"N-1", L"Plate, 2 pcs"});
        dvpdm::test::addFile({rib, 1, true, L"N-2", L"Rib", true});
        dvpdm::test::setProviderNomenclature(bare, L"N-3", L"Bare");
        auto* document = dynamic_cast<CDvw32Doc*>(OpenDocumentByPath(c.path.c_str()));
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(dvpdm::test::calls(), c.calls);
        const Dravik::DocumentPdmLink* link = document->FindPdmLink();
        EXPECT_EQ(link != nullptr ? link->nomenclatureData : L"", c.nomenclature);
        EXPECT_EQ(document->IsReadOnly(), c.readOnly);
    }
    EXPECT_EQ(logged("PDM: the file's object could not be refreshed"), 1u);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DocumentPdm, APictureOfAnyCaseIsAnImageDocumentAndAGriFileOpensNothingQuietly) {
    writeFile("scan.Tiff", "II*\0");
    writeFile("PLAN.JPEG", "\xff\xd8\xff");
    writeFile("plan.jpe", "\xff\xd8\xff");
    writeFile("plan.gri", "grid");
    ASSERT_TRUE(start());
    const std::string format = pal::text::toUtf8(DVLoadString(10046));
    struct Case {
        const char* file;
        bool read; // the road went on past the extension to the PDM system and the file
        std::vector<std::string> box;
    };
    const Case cases[] = {{"scan.Tiff", false, {}},
                          {"PLAN.JPEG", false, {}},
                          {"plan.jpe", true, {format}},
                          {"plan.gri", false, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::wstring path = pal::path::fromNative(root() / c.file);
        dvpdm::test::clearScript();
        const size_t before = boxes().size();
        if (!c.box.empty())
            answer(IDOK);
        EXPECT_EQ(OpenDocumentByPath(path.c_str()), nullptr)
            << "the image documents are not part of this build";
        EXPECT_EQ(dvpdm::test::calls(),
                  c.read ? std::vector<std::wstring>{L"reset " + path} : std::vector<std::wstring>{});
        const std::vector<std::string> shown = boxes();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + static_cast<long>(before), shown.end()), c.box);
    }
}

TEST_F(DocumentPdm, AnOpenForgetsTheIconKeptForThePath) {
    const std::wstring plate = copySample("plate.grb");
    ASSERT_TRUE(start());
    Dravik::UI::ImageManager* images = Dravik::UI::ImageManager::GetInstance(true);
    images->SetExtensionIcon(L".grb", 40782);
    ASSERT_EQ(images->GetPathIconId(plate, true), 40782u);
    images->SetExtensionIcon(L".grb", 40783);
    ASSERT_EQ(images->GetPathIconId(plate, true), 40782u) << "kept";
    ASSERT_NE(OpenDocumentByPath(plate.c_str()), nullptr);
    EXPECT_EQ(images->GetPathIconId(plate, true), 40783u) << "found again after the open";
}

TEST_F(DocumentPdm, AForeignFileIsOfferedToTheThreeDModuleAndThenToTheAddOns) {
    writeFile("bracket.step", "ISO-10303-21;\n");
    const std::wstring path = pal::path::fromNative(root() / "bracket.step");
    ASSERT_TRUE(start());
    ASSERT_NE(CDVCom_Is3D::Instance(), nullptr) << "the 3D edition's module";
    const std::string format = pal::text::toUtf8(DVLoadString(10046));
    struct Case {
        const char* what;
        bool moduleReads;
        bool opens;
        std::vector<std::string> box;
    };
    const Case cases[] = {
        {"the 3D module reads it", true, true, {}},
        {"nobody reads it", false, false, {format}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dvtrace::test::clear();
        const size_t before = boxes().size();
        CDVCom_Is3D::SetForeignFileOpener(
            c.moduleReads ? std::function<CDvw32Doc*(const std::wstring&)>([](const std::wstring& file) {
                return DocumentManager::Instance().CreateDocument(Dravik::DocumentKind::Part3D, file);
            })
                          : nullptr);
        if (!c.box.empty())
            answer(IDOK);
        auto* document = dynamic_cast<CDvw32Doc*>(OpenDocumentByPath(path.c_str()));
        EXPECT_EQ(document != nullptr, c.opens);
        if (document != nullptr) {
            EXPECT_TRUE(document->IsFlagSet(0x200000000000)) << "no view yet: shown once it has one";
        }
        const auto calls = dvtrace::test::callsOf("DravikKernel");
        const std::string offered = "add-ons offered: " + pal::text::toUtf8(path);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), offered), c.opens ? 0 : 1);
        const std::vector<std::string> shown = boxes();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + static_cast<long>(before), shown.end()), c.box);
    }
}

TEST_F(DocumentPdm, AGrbFileThatIsNoDrawingNorWorkSessionIsReadIntoANewPart) {
    const std::string bytes = "solid bracket\nendsolid bracket\n";
    writeFile("bracket.grb", bytes);
    const std::wstring path = pal::path::fromNative(root() / "bracket.grb");
    ASSERT_TRUE(start());
    const std::string format = pal::text::toUtf8(DVLoadString(10046));
    struct Case {
        const char* what;
        bool moduleReads;
        std::vector<std::string> box;
    };
    const Case cases[] = {
        {"the 3D module reads it into the part", true, {}},
        {"the 3D module does not read it", false, {format}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::pair<Dravik::DocumentKind, int>> reads;
        CDVCom_Is3D::SetPartReader([&](CDvw32Doc& part, const std::wstring& file, int mode) {
            EXPECT_EQ(file, path);
            reads.emplace_back(part.GetKind(), mode);
            return c.moduleReads;
        });
        const size_t before = boxes().size();
        if (!c.box.empty())
            answer(IDOK);
        auto* document = dynamic_cast<CDvw32Doc*>(OpenDocumentByPath(path.c_str()));
        EXPECT_EQ(reads,
                  (std::vector<std::pair<Dravik::DocumentKind, int>>{{Dravik::DocumentKind::Part3D, 1}}));
        EXPECT_EQ(document != nullptr, c.moduleReads);
        const std::vector<std::string> shown = boxes();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + static_cast<long>(before), shown.end()), c.box);
        EXPECT_EQ(DocumentManager::Instance().GetDocuments().size(), c.moduleReads ? 1u : 0u)
            << "a part that read nothing is not left open";
        EXPECT_EQ(pal::test::readFile(root() / "bracket.grb"), bytes);
        if (document != nullptr) {
            EXPECT_EQ(document->GetKind(), Dravik::DocumentKind::Part3D);
            document->OnCloseDocument();
        }
    }
    CDVCom_Is3D::SetPartReader(nullptr);
}

class SavedListener : public TypedApplicationEventListener<1> {
public:
    void OnApplicationEvent(int, ApplicationEventArgs&) override { ++heard; }
    int heard = 0;
};

TEST_F(DocumentPdm, EveryVersionOfAnAssemblyIsStoredAndTheActiveOneComesBack) {
    const std::wstring path = copySample("assembly.grb");
    ASSERT_TRUE(start());
    dvpdm::test::setWorkMixEnabled(true);
    struct Case {
        const char* what;
        std::vector<std::wstring> versions;
        const wchar_t* failing;
        int result;
        std::vector<std::wstring> stores;
        int heard;
        size_t boxes;
    };
    const Case cases[] = {
        {"one version is saved once", {L"Main"}, nullptr, 1, {}, 1, 0},
        {"three versions",
         {L"Main", L"Export", L"Service"},
         nullptr,
         1,
         {L"store " + path + L" Export 1 N-1", L"store " + path + L" Service 1 N-1"},
         1,
         0},
        {"the second version refused",
         {L"Main", L"Export", L"Service"},
         L"Export",
         0,
         {L"store " + path + L" Export 1 N-1"},
         1,
         1},
        {"two versions of one name", {L"Main", L"Main"}, nullptr, 0, {}, 0, 0},
    };
    auto* document = dynamic_cast<CDvw32Doc*>(OpenDocumentByPath(path.c_str()));
    ASSERT_NE(document, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dvpdm::test::clearScript();
        if (c.failing != nullptr)
            dvpdm::test::failStoreOf(c.failing);
        Dravik::DocumentPdmLink& link = document->GetPdmLink();
        link.workMix = Dravik::WorkMixReference::AssemblyWorkingCopy;
        link.nomenclature = std::make_shared<DVPDMNomenclatureObject>(L"N-1", L"Assembly");
        link.productStructures.clear();
        for (const std::wstring& name : c.versions)
            link.productStructures.push_back({name, L"", 0});
        const size_t active = c.versions.size() - 1;
        link.activeProductStructure = active;
        document->SetModifiedFlag(TRUE);
        const size_t before = boxes().size();
        if (c.boxes != 0)
            answer(IDOK);
        SavedListener saved;
        EXPECT_EQ(SaveDocumentVersionsToOrsa(document), c.result);
        EXPECT_EQ(pdmCallsBut(L"read"), c.stores);
        EXPECT_EQ(saved.heard, c.heard) << "told once the main version is stored";
        EXPECT_EQ(link.activeProductStructure, active);
        EXPECT_EQ(boxes().size() - before, c.boxes);
        EXPECT_FALSE(document->IsFlagSet(512));
        EXPECT_EQ(document->GetHoldCount(), 0);
        EXPECT_EQ(document->IsModified(), c.heard == 0) << "the main version went to the working copy";
    }
    EXPECT_EQ(logged("Caught a PDM exception \"the PDM system refused the version\""), 1u);
}

TEST_F(DocumentPdm, ASavedPartRefreshesTheAssembliesWhoseNomenclatureHoldsIt) {
    const std::wstring part = copySample("part.grb"), assembly = copySample("assembly.grb"),
                       other = copySample("other.grb");
    ASSERT_TRUE(start());
    dvpdm::test::setWorkMixEnabled(true);
    dvpdm::test::addFile({assembly, 1, false, L"A-1", L"Assembly, revised"});
    auto* partDocument = dynamic_cast<CDvw32Doc*>(OpenDocumentByPath(part.c_str()));
    auto* assemblyDocument = dynamic_cast<CDvw32Doc*>(OpenDocumentByPath(assembly.c_str()));
    auto* otherDocument = dynamic_cast<CDvw32Doc*>(OpenDocumentByPath(other.c_str()));
    ASSERT_TRUE(partDocument && assemblyDocument && otherDocument);
    partDocument->GetPdmLink().nomenclature = std::make_shared<DVPDMNomenclatureObject>(L"P-1", L"Part");
    for (auto [document, tree] : {std::pair{assemblyDocument, part}, std::pair{otherDocument, assembly}}) {
        Dravik::DocumentPdmLink& link = document->GetPdmLink();
        link.nomenclature = std::make_shared<DVPDMNomenclatureObject>(L"A-1", L"Assembly");
        link.nomenclatureData = L"Assembly";
        link.synchronised = true;
        link.nomenclatureTree = {tree};
    }
    dvpdm::test::clearScript();
    dvpdm::test::addFile({assembly, 1, false, L"A-1", L"Assembly, revised"});
    partDocument->SetModifiedFlag(TRUE);
    EXPECT_EQ(SaveDocument(partDocument), 1);
    EXPECT_EQ(assemblyDocument->FindPdmLink()->nomenclatureData, L"Assembly, revised");
    EXPECT_EQ(otherDocument->FindPdmLink()->nomenclatureData, L"Assembly") << "its tree holds another path";
    EXPECT_EQ(dvpdm::test::calls(), std::vector<std::wstring>{L"read A-1"});

    dvpdm::test::failNomenclatureRead(true);
    partDocument->SetModifiedFlag(TRUE);
    answer(IDOK);
    EXPECT_EQ(SaveDocument(partDocument), 1) << "the save stands; only the refresh failed";
    EXPECT_EQ(boxes(), std::vector<std::string>{"the nomenclature could not be read"});
}

} // namespace
} // namespace dvapp::test
