// What a crash answered with a restart leaves for the restarted program: the list of the open
// drawings under "ErrorRestore", a changed one as a recovery copy written whole or not at all.
#include "main_initialisation_fixture.h"

#include "app/GenerateDumpFileAppContext.h"

#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"

#include <algorithm>
#include <filesystem>

namespace dvapp::test {
namespace {

namespace fs = std::filesystem;

using CrashRecovery = MainInitialisation;

CDvw32Doc* open(CDvw32App& app, const std::wstring& path) {
    CDocument* document = path.empty() ? app.GetDocTemplate()->OpenDocumentFile(nullptr, FALSE)
                                       : app.OpenDocumentFile(path.c_str(), FALSE);
    return dynamic_cast<CDvw32Doc*>(document);
}

std::vector<std::wstring> listed(CDvw32App& app) {
    std::vector<std::wstring> paths;
    const int count = static_cast<int>(app.GetProfileInt(L"ErrorRestore", L"DocsCount", 0));
    for (int i = 0; i < count; ++i)
        paths.emplace_back(
            app.GetProfileStringW(L"ErrorRestore", std::to_wstring(i).c_str(), L"").GetString());
    return paths;
}

TEST_F(CrashRecovery, EveryOpenDrawingIsListedAndAChangedOneKeptAsAWholeCopy) {
    const std::wstring changed = copySample("changed.grb");
    const std::wstring kept = copySample("kept.grb");
    const std::wstring blocked = copySample("blocked.grb");
    ASSERT_TRUE(start());
    CDvw32Doc* changedDoc = open(*app, changed);
    CDvw32Doc* blockedDoc = open(*app, blocked);
    ASSERT_NE(open(*app, kept), nullptr);
    CDvw32Doc* fresh = open(*app, L"");
    ASSERT_TRUE(changedDoc && blockedDoc && fresh);
    const std::string before = pal::test::readFile(pal::path::toNative(changed));
    for (CDvw32Doc* document : {changedDoc, blockedDoc, fresh}) {
        document->Cont2D()->create_text_var(L"$crash_note", -1, L"\"unsaved\"", 0, 0);
        document->SetModifiedFlag(TRUE);
    }
    // The copy's place is taken by a folder: nothing can be written there.
    fs::create_directory(pal::path::toNative(blocked + L".err"));

    GenerateDumpFileAppContext context;
    context.SaveDocuments();
    EXPECT_TRUE(listed(*app).empty()) << "nothing is kept unless a restart was asked for";

    app->SetApplicationState(CDvw32App::kStateErrorRestore);
    context.SaveDocuments();
    const std::vector<std::wstring> paths = listed(*app);
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[0], changed + L".err");
    EXPECT_EQ(paths[1], blocked) << "the file as last saved, when no copy could be written";
    EXPECT_EQ(paths[2], kept) << "an unchanged drawing opens again from its own file";
    const fs::path freshCopy = pal::path::toNative(paths[3]);
    EXPECT_EQ(freshCopy.parent_path().filename(), "Recovery")
        << "a drawing never saved has no folder of its own";
    EXPECT_EQ(freshCopy.extension(), ".err");

    for (const std::wstring& copy : {paths[0], paths[3]}) {
        std::wstring error;
        const std::unique_ptr<CDvw32Doc> read = Dravik::grb::LoadFile(copy, &error);
        ASSERT_NE(read, nullptr) << pal::text::toUtf8(error);
        EXPECT_GE(read->Cont2D()->FindVariable(L"$crash_note"), 0) << "the copy holds the change";
    }
    EXPECT_EQ(pal::test::readFile(pal::path::toNative(changed)), before)
        << "the drawing's own file is untouched";
    const std::string refused = "No recovery copy of \"" + pal::text::toUtf8(blocked) + ".err\"";
    const auto failures = dvlog::test::capturedAt(DVLogOptionalFailure);
    EXPECT_TRUE(std::any_of(failures.begin(), failures.end(), [&](const std::string& line) {
        return line.rfind(refused, 0) == 0;
    })) << "the copy that could not be written is logged";
    std::vector<fs::path> strays;
    for (const auto& entry : fs::directory_iterator(root()))
        if (entry.path().filename().string().find("blocked") != std::string::npos)
            strays.push_back(entry.path().filename());
    EXPECT_EQ(strays.size(), 2u) << "the drawing and the folder in the copy's place, no part of a copy";
    EXPECT_TRUE(fs::is_empty(pal::path::toNative(blocked + L".err")));
}

} // namespace
} // namespace dvapp::test
