// Writes the bundled prototype documents and the sample drawing into a folder:
//   dvkernel_make_documents <folder>
// makes <folder>/Prototypes/*.grb and <folder>/Samples/sample-a3.grb. The committed copies in
// outside/DravikKernel/documents are its output; run it again after a change of the format.
#include "DravikKernel/Document.h"
#include "DravikKernel/Objects.h"
#include "DravikKernel/TitleBlock.h"

#include "pal/text.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using namespace Dravik;

namespace {

// Every text variable the three title-block editors read, so that any of them opens on any sheet.
const wchar_t* const kEditorVariables[] = {
    L"$format",   L"$copy",      L"$inv_n_podl", L"$podl_podp", L"$vz_inv_n", L"$inv_n_dubl", L"$dubl_podp",
    L"$per_prim", L"$sprav_nom", L"$data1",      L"$data2",     L"$data3",    L"$data4",      L"$name_pred",
};

void addLayer(DVDocument& c, const wchar_t* name, std::uint32_t color, std::array<std::uint8_t, 7> states,
              double lineWidth = 0) {
    auto layer = std::make_shared<LAYER>();
    layer->name = name;
    layer->color = color;
    layer->states = states;
    layer->lineWidth = lineWidth;
    c.CreateElement(std::move(layer));
}

void addSheet(CDvw32Doc& doc, double width, double height, const std::wstring& format) {
    DVDocument& c = *doc.Cont2D();
    c.LoadContent({Page{PageKind::Sheet, width, height, L"Лист 1"}}, {}, {});
    for (const std::wstring& name : TitleBlockVariables())
        c.create_text_var(name, -1, L"\"\"", 255, 0);
    for (const wchar_t* name : kEditorVariables)
        c.create_text_var(name, -1, L"\"\"", 255, 0);
    // The reference-table flag is a number, not a text: the editors write 1 or -1 and read the
    // expression back without unquoting it, so a text variable's quotes would keep it on for ever.
    c.create_real_var(L"sprav_tabl", -1, L"1", 0);
    c.create_text_var(L"$format", c.FindVariable(L"$format"), format, 255, 0);
    c.AddElement({ElementKind::SheetFrame, 0, 0, L"frame", {20, 5, 5, 5}, {}});
    c.AddElement({ElementKind::TitleBlock, 0, 0, L"title block", {width - 5, 5}, {}});
    // The layer new elements go to until another is chosen: the defaults name layer 0.
    addLayer(c, L"0", 0, {});
}

void addModel(CDvw32Doc& doc) {
    doc.Cont2D()->LoadContent({Page{PageKind::Model, 1000, 1000, L"Модель"}}, {}, {});
}

std::unique_ptr<CDvw32Doc> make(DocumentKind kind) {
    auto doc = std::make_unique<CDvw32Doc>();
    doc->SetKind(kind);
    return doc;
}

void set(DVDocument& c, const wchar_t* name, const std::wstring& text) {
    c.create_text_var(name, c.FindVariable(name), text, 255, 0);
}

std::unique_ptr<CDvw32Doc> sample() {
    auto doc = make(DocumentKind::Drawing);
    addSheet(*doc, 420, 297, L"A3");
    DVDocument& c = *doc->Cont2D();
    set(c, L"$razrab", L"Иванов");
    set(c, L"$prover", L"Петров");
    set(c, L"$n_contr", L"Сидоров");
    set(c, L"$utverd", L"Кузнецов");
    set(c, L"$oboznach", L"ДВК.301.000.001");
    set(c, L"$naimen1", L"Плита опорная");
    set(c, L"$material1", L"Сталь 45");
    set(c, L"$naim_pred", L"ООО «Дравик»");
    set(c, L"$massa", L"2,4");
    set(c, L"$maschtab", L"1:1");
    set(c, L"$list", L"1");
    set(c, L"$listov", L"1");
    set(c, L"$lit1", L"О");
    c.create_real_var(L"width", -1, L"160", 0);
    c.create_real_var(L"height", -1, L"100", 0);
    // A plate with four holes and a rounded slot, its centre lines and a note.
    const double x0 = 80, y0 = 120, w = 160, h = 100;
    c.AddElement({ElementKind::Polyline,
                  0,
                  0,
                  L"outline",
                  {x0, y0, x0 + w, y0, x0 + w, y0 + h, x0, y0 + h, x0, y0},
                  {}});
    for (auto [dx, dy] : {std::pair{15.0, 15.0}, {w - 15, 15.0}, {w - 15, h - 15}, {15.0, h - 15}})
        c.AddElement({ElementKind::Circle, 0, 0, L"hole", {x0 + dx, y0 + dy, 6}, {}});
    c.AddElement({ElementKind::Circle, 0, 0, L"bore", {x0 + w / 2, y0 + h / 2, 20}, {}});
    c.AddElement({ElementKind::Arc, 0, 0, L"slot left", {x0 + 50, y0 + 80, 6, 90, 180}, {}});
    c.AddElement({ElementKind::Arc, 0, 0, L"slot right", {x0 + 110, y0 + 80, 6, 270, 180}, {}});
    c.AddElement({ElementKind::Line, 0, 0, L"slot top", {x0 + 50, y0 + 86, x0 + 110, y0 + 86}, {}});
    c.AddElement({ElementKind::Line, 0, 0, L"slot bottom", {x0 + 50, y0 + 74, x0 + 110, y0 + 74}, {}});
    c.AddElement(
        {ElementKind::Line, 0, 0x00C00000, L"axis x", {x0 - 10, y0 + h / 2, x0 + w + 10, y0 + h / 2}, {}});
    c.AddElement(
        {ElementKind::Line, 0, 0x00C00000, L"axis y", {x0 + w / 2, y0 - 10, x0 + w / 2, y0 + h + 10}, {}});
    c.AddElement({ElementKind::Text, 0, 0, L"note", {40, 60, 5}, L"1. Острые кромки притупить."});
    c.AddElement({ElementKind::Text, 0, 0, L"note 2", {40, 50, 5}, L"2. Покрытие: Хим. Окс. прм."});
    // Names a person looks for: the mark of the bore's centre and the inspection stamp.
    c.AddElement({ElementKind::Circle, 0, 0x000000C0, L"centre mark", {x0 + w / 2, y0 + h / 2, 2}, {}});
    c.AddElement({ElementKind::Text, 0, 0, L"клеймо ОТК", {40, 40, 3.5}, L"Клеймо ОТК"});
    // Layers with their states, and the coordinate systems of the page: one of the model's
    // systems is shown through a local one on the bore, the other is not shown yet.
    addLayer(c, L"Contour", 0, {0, 0, 0, 1, 0, 0, 0}, 0.5);
    addLayer(c, L"Axes", 0x00C00000u << 8, {0, 0, 1, 1, 1, 0, 0});
    addLayer(c, L"Notes", 3, {1, 0, 0, 0, 0, 1, 0});
    auto origin = std::make_shared<Dravik::CoordinateSystem3D>();
    origin->name = L"Model origin";
    const std::int64_t originId = c.CreateElement(origin);
    auto top = std::make_shared<Dravik::CoordinateSystem3D>();
    top->name = L"Top face system";
    c.CreateElement(top);
    auto bore = std::make_shared<FIXING_POINT>();
    bore->name = L"Bore axis";
    bore->projection = originId;
    bore->comment = Dravik::GetCurrentFixingComment(2);
    bore->x = x0 + w / 2;
    bore->y = y0 + h / 2;
    bore->visible = true;
    c.CreateElement(bore);
    return doc;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dvkernel_make_documents <folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    fs::create_directories(root / "Prototypes");
    fs::create_directories(root / "Samples");

    std::vector<std::pair<std::string, std::unique_ptr<CDvw32Doc>>> files;
    auto sheet = [](DocumentKind kind, double w, double h, const wchar_t* format) {
        auto d = make(kind);
        addSheet(*d, w, h, format);
        return d;
    };
    auto model = [](DocumentKind kind) {
        auto d = make(kind);
        addModel(*d);
        return d;
    };
    files.emplace_back("Prototypes/drawing.grb", sheet(DocumentKind::Drawing, 420, 297, L"A3"));
    files.emplace_back("Prototypes/2dassembly.grb", sheet(DocumentKind::AssemblyDrawing, 420, 297, L"A3"));
    files.emplace_back("Prototypes/text.grb", sheet(DocumentKind::TextDocument, 210, 297, L"A4"));
    files.emplace_back("Prototypes/fragment.grb", model(DocumentKind::Fragment));
    files.emplace_back("Prototypes/part.grb", model(DocumentKind::Part3D));
    files.emplace_back("Prototypes/3dassembly.grb", model(DocumentKind::Assembly3D));
    files.emplace_back("Prototypes/sheetpart.grb", model(DocumentKind::SheetMetalPart));
    files.back().second->Cont2D()->create_real_var(L"thickness", -1, L"1", 0);
    files.emplace_back("Samples/sample-a3.grb", sample());

    for (auto& [name, doc] : files) {
        // Written afresh, so that no backup of an earlier run is left among the sources.
        fs::remove(root / name);
        std::wstring error;
        if (!doc->DoFileSave(pal::text::fromUtf8((root / name).string()), &error)) {
            std::fprintf(stderr, "%s\n", pal::text::toUtf8(error).c_str());
            return 1;
        }
    }
    return 0;
}
