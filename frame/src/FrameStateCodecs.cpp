#include "frame/FrameState.h"

namespace {

struct PaneToken {
    std::wstring_view token;
    std::uint32_t bit;
};

constexpr PaneToken kPaneTokens[] = {
    {L"files", PdmPaneFiles},
    {L"assembly", PdmPaneAssembly},
    {L"desktop", PdmPaneDesktop},
    {L"nomenclature", PdmPaneNomenclature},
    {L"search", PdmPaneSearch},
    {L"mail", PdmPaneMail},
    {L"configurationSettings", PdmPaneConfigurationSettings},
    {L"libraryElements", PdmPaneLibraryElements},
};

void appendToken(std::wstring& text, std::wstring_view token, bool excluded) {
    if (!text.empty())
        text += L',';
    if (excluded)
        text += L'!';
    text += token;
}

} // namespace

std::wstring PdmPanesToText(std::uint32_t mask) {
    std::wstring text;
    for (const PaneToken& pane : kPaneTokens)
        if (mask & pane.bit)
            appendToken(text, pane.token, false);
    return text;
}

std::uint32_t ParsePdmPanes(std::wstring_view text) {
    namespace XML = Dravik::UI::XML;
    return XML::ParseValueSetMask(text,
                                  {{kPaneTokens[0].token, kPaneTokens[0].bit},
                                   {kPaneTokens[1].token, kPaneTokens[1].bit},
                                   {kPaneTokens[2].token, kPaneTokens[2].bit},
                                   {kPaneTokens[3].token, kPaneTokens[3].bit},
                                   {kPaneTokens[4].token, kPaneTokens[4].bit},
                                   {kPaneTokens[5].token, kPaneTokens[5].bit},
                                   {kPaneTokens[6].token, kPaneTokens[6].bit},
                                   {kPaneTokens[7].token, kPaneTokens[7].bit}},
                                  PdmPaneAll);
}

std::wstring AnalysisModeToText(int mode) {
    switch (mode) {
    case 1:
        return L"fea";
    case 2:
        return L"dynamics";
    default:
        return {};
    }
}

int ParseAnalysisMode(std::wstring_view text, int previous) {
    if (text == L"fea")
        return 1;
    if (text == L"dynamics")
        return 2;
    return previous;
}

std::optional<std::wstring> ViewTypesToText(std::uint32_t tag) {
    constexpr std::uint32_t k2d = 0x1000, k3d = 0x2000, kCamera = 0x4000, kWorkPlane = 0x8000;
    constexpr std::uint32_t kViews = k2d | k3d | kCamera | kWorkPlane;
    constexpr std::uint32_t kAll = 0x7F000;
    if ((tag & kAll) == kAll)
        return std::nullopt;
    std::wstring text;
    const std::uint32_t views = tag & kViews;
    if (views == kViews) {
        appendToken(text, L"cad", false);
    } else if (views == 0) {
        appendToken(text, L"cad", true);
    } else {
        const bool solid = (views & k3d) != 0, camera = (views & kCamera) != 0;
        if (solid && camera)
            appendToken(text, L"3d", false);
        else if (!solid && !camera)
            appendToken(text, L"3d", true);
        else
            appendToken(text, L"camera", solid); // camera alone, or 3D without camera views
        appendToken(text, L"2d", (views & k2d) == 0);
        appendToken(text, L"workplane", (views & kWorkPlane) == 0);
    }
    if (tag & 0x10000)
        appendToken(text, L"cam", false);
    if (tag & 0x20000)
        appendToken(text, L"fea", false);
    if (tag & 0x40000)
        appendToken(text, L"optix", false);
    return text;
}
