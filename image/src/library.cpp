// The library's process-wide state: the registry, the FreeImage codecs it made and the Init flag.
#include "dvpimage/codec.h"

#include "registry.h"

#include "DVDiagnostics/DVLog.h"

#include <FreeImage.h>
#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
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

// Log levels: a warning, and the failure of something optional (one picture).
constexpr int kLogWarning = 6;
constexpr int kLogFailure = 7;

// What FreeImage and the libraries under it have to say goes to the log: a program using this
// library keeps its standard error to itself.
void logMessage(FREE_IMAGE_FORMAT format, const char* message) {
    const char* name = format == FIF_UNKNOWN ? nullptr : FreeImage_GetFormatFromFIF(format);
    DVLog_Write(kLogWarning, "FreeImage %s: %s", name != nullptr ? name : "",
                message != nullptr ? message : "");
}

// libtiff speaks for itself, not through FreeImage.
void logTiff(int level, const char* module, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    DVLog_Write(level, "libtiff %s: %s", module != nullptr ? module : "", text);
}
void logTiffWarning(const char* module, const char* format, va_list args) {
    logTiff(kLogWarning, module, format, args);
}
void logTiffError(const char* module, const char* format, va_list args) {
    logTiff(kLogFailure, module, format, args);
}

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
    // Before anything can speak.
    FreeImage_SetOutputMessage(&logMessage);
    TIFFSetWarningHandler(&logTiffWarning);
    TIFFSetErrorHandler(&logTiffError);
    FreeImage_Initialise(FALSE);
    for (int format = 0; format < FreeImage_GetFIFCount(); ++format) {
        if (format == FIF_DDS)
            continue;
        const char* list = FreeImage_GetFIFExtensionList(static_cast<FREE_IMAGE_FORMAT>(format));
        const std::string extensions = list != nullptr ? list : "";
        std::size_t start = 0;
        while (start < extensions.size()) {
            const std::size_t comma = extensions.find(',', start);
            const std::size_t end = comma == std::string::npos ? extensions.size() : comma;
            addCodec(codecs, extensions.substr(start, end - start), format);
            start = end + 1;
        }
    }
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
