#include "dvpimage/codec.h"

#include "registry.h"

#include <cctype>

namespace Image {

std::string detail::lowerName(const std::string& name) {
    std::string result = name;
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

using detail::lowerName;

Codec::~Codec() = default;

void CodecManager::Register(Codec* codec) {
    if (codec != nullptr)
        codecs_[lowerName(codec->GetName())] = codec;
}

void CodecManager::Unregister(Codec* codec) {
    if (codec != nullptr)
        codecs_.erase(lowerName(codec->GetName()));
}

bool CodecManager::IsRegistered(const std::string& name) const {
    return codecs_.count(lowerName(name)) != 0;
}

Codec* CodecManager::Find(const std::string& name) const {
    if (name.empty())
        return nullptr;
    const auto it = codecs_.find(lowerName(name));
    return it == codecs_.end() ? nullptr : it->second;
}

Codec* CodecManager::FindByContent(const void* data, std::size_t size) const {
    for (const auto& [key, codec] : codecs_) {
        const std::string answer = codec->GetTypeName(data, size);
        if (answer.empty())
            continue;
        if (answer == codec->GetName())
            return codec;
        return Find(answer);
    }
    return nullptr;
}

} // namespace Image
