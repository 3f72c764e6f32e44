// Any bytes given to the document reader either fail cleanly or make a document that writes
// back to bytes which read again to the same bytes.
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/TitleBlock.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CDvw32Doc document;
    std::wstring error;
    if (!Dravik::grb::Decode(bytes, document, &error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    const Dravik::DVDocument& content = *document.Cont2D();
    for (const Dravik::Variable& v : content.GetVariables())
        if (v.type == Dravik::VarType::Real)
            (void)content.IsValidRealExpression(v.name, v.expression);
    for (const Dravik::Element& e : content.GetElements())
        (void)Dravik::TitleBlockCells(content, e);
    const std::string again = Dravik::grb::Encode(document);
    CDvw32Doc copy;
    if (!Dravik::grb::Decode(again, copy, &error) || Dravik::grb::Encode(copy) != again)
        std::abort();
    return 0;
}
