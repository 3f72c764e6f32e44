// The kernel's string resources that the shell asks for by number.
#include "DravikKernel/KernelServices.h"

#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/UIModuleProxy.h"
#include "afx/resource.h"

#include <algorithm>
#include <iterator>

namespace {

struct KernelString {
    UINT id;
    const wchar_t* text;
};

// Sorted by id.
constexpr KernelString kStrings[] = {
    {2, L"DRAVIK CAD 2D"},
    {3, L"DRAVIK CAD 3D"},
    {5, L"DRAVIK CAD SE"},
    {9, L"DRAVIK CAD Alder"},
    {10, L"DRAVIK CAD Birch"},
    {11, L"DRAVIK CAD Alder Administrator"},
    {12, L"VIRELO CAD 3D"},
    {15, L"MERROW CAD"},
    {16, L"OSTREL CAD"},
    {215, L"New layer"},
    {218, L"Local coordinate system"},
    {690, L"New configuration"},
    {691, L"Open a configuration"},
    {692, L"Find in the documents browser"},
    {693, L"Find"},
    // The drawing templates of the brands: the open and save dialogs offer the kernel's drawings
    // by the filter name and extension of these.
    {992, L"\n\n\nDrawings (*.grb)\n.grb"},
    {993, L"\n\n\nDrawings (*.grb)\n.grb"},
    {994, L"\n\n\nDrawings (*.grb)\n.grb"},
    {1000, L"\n\n\nDrawings (*.grb)\n.grb"},
    {1912, L"Open a configuration of the PDM system"},
    {2238, L"Library configurations (*.tws)|*.tws|All files (*.*)|*.*||"},
    {9014, L"Clipboard"},
    {9015, L"Zoom"},
    {9018, L"Transform"},
    {9019, L"Trim and extend"},
    {9020, L"Insert"},
    {9021, L"Hatching"},
    {9022, L"Text and tables"},
    {9023, L"Constraints"},
    {9024, L"Pipes"},
    {9025, L"Part features"},
    {9026, L"Sheet metal"},
    {9027, L"Measure"},
    {9028, L"Assembly"},
    {9029, L"Surfaces"},
    {9030, L"Curves"},
    {9031, L"Reference geometry"},
    {9035, L"Lines"},
    {9036, L"Circles and arcs"},
    {9037, L"Outlines"},
    {9038, L"Annotations"},
    {9039, L"Sketch lines"},
    {9040, L"Sketch circles"},
    {10046, L"The file format is not supported."},
    {10054, L"built on"},
    {10123, L"New layer"},
    {10161, L"System panel"},
    {10163, L"Bird's eye view"},
    {10237, L"Name of the new layer:"},
    {11286, L"A layer named \"%s\" already exists."},
    {11287, L"A layer name has at most 255 characters and no control characters."},
    {11660, L"The text browser module cannot be loaded."},
    {12125, L"Messages"},
    {12605, L"Documents"},
    {12753, L"Properties"},
    {13087, L"Installed configurations"},
    {13402, L"Model tree"},
    {13583, L"Archives"},
    {13584, L"Desktop"},
    {13585, L"Favourites"},
    {13654, L" (recovered)"},
    {13655, L"The document \"%s\" cannot be opened."},
    {40332, L"Tasks"},
    {40580, L"NC programs"},
    {40701, L"Search"},
    {40702, L"Macros"},
    {41004, L"Main window"},
    {41010, L"The user settings could not be reset."},
    {41014, L"Some settings of the profile could not be applied"},
    {41016, L"applied in part"},
    {41045, L"Weld tree"},
    {41279, L"Variables"},
    {41446, L"Work mix"},
    {41454, L"Tutorial"},
    {41469, L"File"},
    {41518, L"Main tool bar"},
    {41519, L"Standard views"},
    {41751, L"Remove the tool bar?"},
    {41960, L"The tutorials are not installed. Download them now?"},
    {42295, L"Themes"},
    {42471, L"%s is starting"},
    {42513, L"Materials"},
    {42561, L"Product structure"},
    {43107, L"Full screen"},
    {43505, L"New drawing"},
    {43506, L"New model"},
    {43717, L"Structure elements"},
    {61703, L"The API reference cannot be opened."},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const KernelString& a, const KernelString& b) { return a.id < b.id; }),
              "DVLoadString searches the table by id");

} // namespace

std::wstring DVLoadString(UINT id) {
    const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                     [](const KernelString& s, UINT key) { return s.id < key; });
    if (it != std::end(kStrings) && it->id == id)
        return it->text;
    // A command's string has the resource form: its prompt, a line break, its tip.
    if (DVFindCatalogueCommand(id) != nullptr)
        if (const auto strings = UIModuleProxy::Instance().GetCommandStrings(id))
            return strings->Description + L"\n" + strings->Caption;
    return {};
}

std::wstring DVLoadFormatString(UINT id, const std::wstring& argument) {
    const std::wstring format = DVLoadString(id);
    const size_t at = format.find(L"%s");
    return at == std::wstring::npos ? format : format.substr(0, at) + argument + format.substr(at + 2);
}

namespace {

// The string resources of the process (CString::LoadString, the tool kit's texts of a button
// added by id) find the kernel's strings too.
const pal::mfc::StringSource kKernelStringSource([](UINT id, std::wstring& text) {
    text = DVLoadString(id);
    return !text.empty();
});

} // namespace
