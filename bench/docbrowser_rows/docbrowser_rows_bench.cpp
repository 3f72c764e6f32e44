// Expands the row of a library of 20,000 drawings with the Author column shown (every row's
// Author asked for, as scrolling through all of them would) and, in the same run, lists the
// folder with std::filesystem and reads each drawing's properties; prints the times and their
// ratio (target: at most 3).
#include "docbrowser/DocumentsMenuDlg.h"
#include "docbrowser/GroupRecords.h"
#include "docbrowser/LibraryRecords.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "pal/text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace DocumentsMenu;

namespace {

constexpr int kDrawings = 20'000;
constexpr int kRounds = 5;

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

class Tree : public StructureBase {
public:
    using StructureBase::StructureBase;
};

} // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "docbrowser-rows-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const fs::path dir = pattern;
    {
        CDvw32Doc doc;
        doc.Cont2D()->LoadContent({Dravik::Page{Dravik::PageKind::Sheet, 420, 297, L"Sheet 1"}}, {}, {});
        for (int i = 0; i < kDrawings; ++i) {
            CDVPropertySet p;
            p.SetAuthor(L"Author " + std::to_wstring(i % 97));
            p.SetTitle(L"Part " + std::to_wstring(i));
            doc.SetProperties(p);
            std::ofstream(dir / ("part" + std::to_string(i) + ".grb"), std::ios::binary)
                << Dravik::grb::Encode(doc);
        }
    }
    const std::wstring folder = pal::text::fromUtf8(dir.string()) + L"/";
    auto configuration = std::make_unique<IConfiguration>(L"Bench");
    ILibrary* library = configuration->AddLibrary(CreateLibrary(folder.c_str()));
    GlobalCfgGroup().Add(std::move(configuration));

    double bestRows = 1e9, bestPlain = 1e9;
    bool ok = true;
    for (int round = 0; round < kRounds; ++round) {
        DocumentsMenuDlg panel;
        Tree tree(&panel);
        tree.AddColumn(new CXTPReportColumn(0, L"Name", 200))->SetInternalName(L"Name");
        tree.AddColumn(new CXTPReportColumn(2, L"Author", 100))->SetInternalName(L"Author");
        tree.SetSortColumn(tree.GetColumn(0));
        auto* row = new LibraryRecord(library);
        tree.AddRecord(row);
        row->Init();
        tree.Populate();

        auto t0 = std::chrono::steady_clock::now();
        row->Expand(true);
        tree.Populate();
        std::size_t authors = 0;
        CXTPReportColumn* author = tree.GetColumn(1);
        for (const auto& r : tree.GetRows())
            if (CXTPReportRecordItem* item = r->GetRecord()->GetItem(author))
                authors += item->GetCaption(author).IsEmpty() ? 0 : 1;
        bestRows = std::min(bestRows, seconds(std::chrono::steady_clock::now() - t0));
        ok = ok && tree.GetRowCount() == kDrawings + 1 && authors == kDrawings;

        t0 = std::chrono::steady_clock::now();
        std::size_t read = 0;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.path().extension() != ".grb")
                continue;
            const std::wstring path = pal::text::fromUtf8(entry.path().string());
            read += Dravik::DravikDocument2::ReadProperties(path.c_str()).GetAuthor().empty() ? 0 : 1;
        }
        bestPlain = std::min(bestPlain, seconds(std::chrono::steady_clock::now() - t0));
        ok = ok && read == kDrawings;
    }
    GlobalCfgGroup().Clear();
    std::error_code ec;
    fs::remove_all(dir, ec);
    std::printf("expanding a library row of %d drawings, Author shown: %.3f s\n", kDrawings, bestRows);
    std::printf("listing the folder and reading each drawing's properties: %.3f s\n", bestPlain);
    std::printf("ratio: %.2f (target: at most 3)\n", bestRows / bestPlain);
    if (!ok) {
        std::fprintf(stderr, "the rows or the properties were not all there\n");
        return 1;
    }
    return 0;
}
