#include "DravikKernel/ApplicationCommand.h"

namespace Dravik {

std::optional<UniqueIdentifier> UniqueIdentifier::TryParse(std::wstring_view text) {
    if (text.size() == 38 && text.front() == L'{' && text.back() == L'}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::nullopt;
    UniqueIdentifier id;
    size_t byte = 0;
    for (size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != L'-')
                return std::nullopt;
            ++i;
            continue;
        }
        int value = 0;
        for (int k = 0; k < 2; ++k, ++i) {
            const wchar_t c = text[i];
            int digit;
            if (c >= L'0' && c <= L'9')
                digit = c - L'0';
            else if (c >= L'a' && c <= L'f')
                digit = c - L'a' + 10;
            else if (c >= L'A' && c <= L'F')
                digit = c - L'A' + 10;
            else
                return std::nullopt;
            value = value * 16 + digit;
        }
        id.bytes[byte++] = static_cast<std::uint8_t>(value);
    }
    return id;
}

} // namespace Dravik

bool ApplicationCommand::IsEqualID(const IApplicationCommand& other) const {
    const auto* o = dynamic_cast<const ApplicationCommand*>(&other);
    return o && o->GetInternalID() == GetInternalID() && o->key_ == key_;
}

bool CDVAppCommand::IsEqualID(const IApplicationCommand& other) const {
    const auto* o = dynamic_cast<const CDVAppCommand*>(&other);
    return o && o->GetInternalID() == GetInternalID() && o->addOnName_ == addOnName_;
}
