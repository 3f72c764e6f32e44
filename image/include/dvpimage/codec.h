// Codecs and the process-wide codec registry.
#pragma once

#include "dvpimage/pixel_format.h"
#include "pal/visibility.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace Image {

class IStream;

// The pixels of an image: rows follow each other with no gap, width x element size bytes each.
struct ImageData {
    PixelFormat format = PF_UNKNOWN;
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    std::uint32_t depth = 0;
    std::uint32_t reserved0 = 0;
    std::uint32_t reserved1 = 0;
    std::uint32_t dpmX = 0;
    std::uint32_t dpmY = 0;
    std::vector<std::uint8_t> pixels;
};

class Codec {
public:
    virtual ImageData Decode(IStream& stream) = 0;
    virtual ImageData Decode(const void* data, std::size_t size) = 0;
    // The encoded bytes, positioned at 0; empty when the image could not be encoded.
    virtual std::unique_ptr<IStream> Encode(const ImageData& image) = 0;
    virtual std::string GetName() const = 0;
    virtual bool CanDecode(const void* data, std::size_t size) = 0;
    virtual std::string GetTypeName(const void* data, std::size_t size) = 0;
    virtual ~Codec();
};

class FreeImageCodec : public Codec {
public:
    FreeImageCodec(std::string name, int format);

    ImageData Decode(IStream& stream) override;
    ImageData Decode(const void* data, std::size_t size) override;
    std::unique_ptr<IStream> Encode(const ImageData& image) override;
    std::string GetName() const override;
    bool CanDecode(const void* data, std::size_t size) override;
    std::string GetTypeName(const void* data, std::size_t size) override;

private:
    std::string name_;
    int format_;
};

class ICodecs {
public:
    virtual void Register(Codec* codec) = 0;
    virtual void Unregister(Codec* codec) = 0;
    virtual bool IsRegistered(const std::string& name) const = 0;

protected:
    ~ICodecs() = default;
};

// Codecs by lower-case name; the registry never owns them.
class CodecManager : public ICodecs {
public:
    void Register(Codec* codec) override;
    void Unregister(Codec* codec) override;
    bool IsRegistered(const std::string& name) const override;

    // An empty name finds nothing.
    Codec* Find(const std::string& name) const;
    // Asks the codecs in name order what the bytes are; the first answer decides.
    Codec* FindByContent(const void* data, std::size_t size) const;

private:
    std::map<std::string, Codec*> codecs_;
};

ICodecs& GetCodecs();
void Init();
void RegisterCodecs(ICodecs& codecs);
void UnRegisterCodecs(ICodecs& codecs);

} // namespace Image

DV_EXPORTS_END
