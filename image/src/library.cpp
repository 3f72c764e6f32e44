// The library's process-wide state: the registry, the FreeImage codecs it made and the Init flag.
#include "dvpimage/codec.h"

#include "registry.h"

#include <FreeImage.h>

#include <memory>
#include <vector>

namespace Image {
namespace {

CodecManager& processCodecs() {
    static CodecManager codecs;
    return codecs;
}

std::vector<std::unique_ptr<FreeImageCodec>>& libraryCodecs() {
    static std::vector<std::unique_ptr<FreeImageCodec>> codecs;
    return codecs;
}

bool initialised = false;

void ignoreMessage(FREE_IMAGE_FORMAT, const char*) {}

void addCodec(ICodecs& codecs, const std::string& name, int format) {
    auto& list = libraryCodecs();
    list.push_back(std::make_unique<FreeImageCodec>(name, format));
    if (!codecs.IsRegistered(name))
        codecs.Register(list.back().get());
}

} // namespace

ICodecs& GetCodecs() {
    return processCodecs();
}

void Init() {
    if (initialised)
        return;
    initialised = true;
    RegisterCodecs(GetCodecs());
}

void RegisterCodecs(ICodecs& codecs) {
    FreeImage_Initialise(FALSE);
    for (int format = 0; format < FreeImage_GetFIFCount(); ++format) {
        if (format == FIF_DDS)
            continue;
        const auto fif = static_cast<FREE_IMAGE_FORMAT>(format);
        const char* list = FreeImage_GetFIFExtensionList(fif);
        const std::string extensions = list != nullptr ? list : "";
        std::size_t start = 0;
        while (start < extensions.size()) {
            const std::size_t comma = extensions.find(',', start);
            const std::size_t end = comma == std::string::npos ? extensions.size() : comma;
            addCodec(codecs, extensions.substr(start, end - start), format);
            start = end + 1;
        }
        // Recognising content answers with the format's name; where no extension spells that name
        // (PPMRAW, PGMRAW, PBMRAW, JPEG-XR, KOALA) the answer would find no codec, so the name is a
        // codec of its own too.
        const char* name = FreeImage_GetFormatFromFIF(fif);
        if (name != nullptr && *name != '\0' && !codecs.IsRegistered(name))
            addCodec(codecs, detail::lowerName(name), format);
    }
    FreeImage_SetOutputMessage(&ignoreMessage);
}

void UnRegisterCodecs(ICodecs& codecs) {
    for (const auto& codec : libraryCodecs())
        codecs.Unregister(codec.get());
    FreeImage_DeInitialise();
}

Codec* detail::findCodec(const std::string& name) {
    return processCodecs().Find(name);
}

Codec* detail::findCodecByContent(const void* data, std::size_t size) {
    return processCodecs().FindByContent(data, size);
}

} // namespace Image
