#include "frame/MessageBarText.h"

#include <array>
#include <string_view>

namespace dvframe {

namespace {

struct Replacement {
    wchar_t from;
    std::wstring_view to;
};

// "&" first, so that the entities written by the later rows are not escaped again.
constexpr std::array<Replacement, 8> kEscapes{{
    {L'&', L"&amp;"},
    {L'<', L"&lt;"},
    {L'>', L"&gt;"},
    {L'\'', L"&apos;"},
    {L'"', L"&quot;"},
    {L'{', L"&#x7b;"},
    {L'}', L"&#x7d;"},
    {L'\n', L"<LineBreak/>"},
}};

} // namespace

std::wstring EscapeMessageBarText(const std::wstring& text) {
    std::wstring out = text;
    for (const Replacement& r : kEscapes) {
        std::wstring next;
        next.reserve(out.size());
        for (wchar_t c : out) {
            if (c == r.from)
                next += r.to;
            else
                next += c;
        }
        out = std::move(next);
    }
    return out;
}

std::wstring BuildMessageBarMarkup(bool hasImage, int imageId, const std::wstring& title,
                                   const std::wstring& text) {
    const bool hasText = !title.empty() || !text.empty();
    std::wstring xaml = L"<Grid><Grid.ColumnDefinitions>";
    if (hasImage)
        xaml += L"<ColumnDefinition Width=\"Auto\"/>";
    if (hasText)
        xaml += L"<ColumnDefinition Width=\"*\"/>";
    xaml += L"</Grid.ColumnDefinitions>";
    if (hasImage)
        xaml += L"<Image Grid.Column=\"0\" Source=\"" + std::to_wstring(imageId) +
                L"\" MaxWidth=\"32\" VerticalAlignment=\"Center\"/>";
    if (hasText) {
        xaml += hasImage ? L"<TextBlock Grid.Column=\"1\" Padding=\"5, 0, 0, 0\""
                         : L"<TextBlock Grid.Column=\"0\" ";
        xaml += L" VerticalAlignment=\"Center\" TextWrapping=\"Wrap\">";
        if (!title.empty())
            xaml += L"<Bold>" + EscapeMessageBarText(title) + L"</Bold>";
        if (!title.empty() && !text.empty())
            xaml += L' ';
        if (!text.empty())
            xaml += EscapeMessageBarText(text);
        xaml += L"</TextBlock>";
    }
    xaml += L"</Grid>";
    return xaml;
}

} // namespace dvframe
