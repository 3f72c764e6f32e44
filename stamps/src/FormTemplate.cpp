#include "FormTemplate.h"

namespace stamps {

FormTemplate::FormTemplate(WORD id, const wchar_t* caption, short cx, short cy)
    : id_(id), caption_(caption), cx_(cx), cy_(cy) {
    controls.caption = caption;
}

int FormTemplate::add(const std::wstring& name, const wchar_t* cls, const std::wstring& text, DWORD style,
                      short x, short y, short cx, short cy) {
    const int id = nextId_++;
    texts_.push_back(text);
    items_.push_back({cls, texts_.back().c_str(), static_cast<WORD>(id), style, x, y, cx, cy});
    controls.ids[name] = id;
    return id;
}

void FormTemplate::label(const std::wstring& text, short x, short y, short cx, short cy, DWORD align) {
    texts_.push_back(text);
    items_.push_back(
        {L"Static", texts_.back().c_str(), static_cast<WORD>(0xFFFF), align | SS_NOPREFIX, x, y, cx, cy});
}

void FormTemplate::seal() {
    template_ = std::make_unique<pal::win::DialogTemplate>(pal::win::DialogTemplate{
        id_, caption_, kFormStyle, 0, 0, cx_, cy_, items_.data(), items_.size(), kFormFont, 8});
    set_ = std::make_unique<pal::win::DialogTemplateSet>(template_.get(), 1);
}

} // namespace stamps
