// Streams over global memory.
#include "com_object.h"

#include "win/ole.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace pal::ole {
namespace {

// The block and size that every clone of a stream shares.
struct Shared {
    std::mutex mutex;
    HGLOBAL memory = nullptr;
    ULONGLONG size = 0;
    bool deleteOnRelease = false;
    ~Shared() {
        if (deleteOnRelease)
            GlobalFree(memory);
    }
    // Makes the block at least `bytes` long.
    bool reserve(ULONGLONG bytes) {
        if (bytes <= GlobalSize(memory))
            return true;
        HGLOBAL grown = GlobalReAlloc(memory, static_cast<SIZE_T>(bytes), GMEM_MOVEABLE | GMEM_ZEROINIT);
        if (!grown)
            return false;
        memory = grown;
        return true;
    }
};

class GlobalStream final : public ComObject<IStream> {
public:
    explicit GlobalStream(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

    HRESULT Read(void* buffer, ULONG bytes, ULONG* read) override {
        if (!buffer)
            return STG_E_INVALIDPOINTER;
        std::lock_guard lock(shared_->mutex);
        const ULONGLONG n =
            position_ < shared_->size ? std::min<ULONGLONG>(bytes, shared_->size - position_) : 0;
        if (n) {
            const auto* p = static_cast<const char*>(GlobalLock(shared_->memory));
            if (!p)
                return E_HANDLE;
            std::memcpy(buffer, p + position_, static_cast<size_t>(n));
            GlobalUnlock(shared_->memory);
        }
        position_ += n;
        if (read)
            *read = static_cast<ULONG>(n);
        return n < bytes ? S_FALSE : S_OK;
    }

    HRESULT Write(const void* buffer, ULONG bytes, ULONG* written) override {
        if (!buffer)
            return STG_E_INVALIDPOINTER;
        std::lock_guard lock(shared_->mutex);
        if (written)
            *written = 0;
        if (!shared_->reserve(position_ + bytes))
            return STG_E_MEDIUMFULL;
        if (bytes) {
            auto* p = static_cast<char*>(GlobalLock(shared_->memory));
            if (!p)
                return E_HANDLE;
            std::memcpy(p + position_, buffer, bytes);
            GlobalUnlock(shared_->memory);
        }
        position_ += bytes;
        shared_->size = std::max(shared_->size, position_);
        if (written)
            *written = bytes;
        return S_OK;
    }

    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        std::lock_guard lock(shared_->mutex);
        LONGLONG base = 0;
        switch (origin) {
        case STREAM_SEEK_SET:
            break;
        case STREAM_SEEK_CUR:
            base = static_cast<LONGLONG>(position_);
            break;
        case STREAM_SEEK_END:
            base = static_cast<LONGLONG>(shared_->size);
            break;
        default:
            return STG_E_INVALIDFUNCTION;
        }
        if (base + move.QuadPart < 0)
            return STG_E_INVALIDFUNCTION;
        position_ = static_cast<ULONGLONG>(base + move.QuadPart);
        if (newPosition)
            newPosition->QuadPart = position_;
        return S_OK;
    }

    HRESULT SetSize(ULARGE_INTEGER newSize) override {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->reserve(newSize.QuadPart))
            return STG_E_MEDIUMFULL;
        shared_->size = newSize.QuadPart;
        return S_OK;
    }

    HRESULT CopyTo(IStream* to, ULARGE_INTEGER bytes, ULARGE_INTEGER* read,
                   ULARGE_INTEGER* written) override {
        if (!to)
            return STG_E_INVALIDPOINTER;
        ULONGLONG total = 0, out = 0;
        char chunk[4096];
        while (total < bytes.QuadPart) {
            ULONG got = 0;
            Read(chunk, static_cast<ULONG>(std::min<ULONGLONG>(sizeof chunk, bytes.QuadPart - total)), &got);
            if (got == 0)
                break;
            total += got;
            ULONG put = 0;
            const HRESULT hr = to->Write(chunk, got, &put);
            out += put;
            if (FAILED(hr))
                return hr;
        }
        if (read)
            read->QuadPart = total;
        if (written)
            written->QuadPart = out;
        return S_OK;
    }

    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

    HRESULT Stat(STATSTG* stat, DWORD) override {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        std::lock_guard lock(shared_->mutex);
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = shared_->size;
        return S_OK;
    }

    HRESULT Clone(IStream** clone) override {
        if (!clone)
            return STG_E_INVALIDPOINTER;
        auto* c = new GlobalStream(shared_);
        c->position_ = position_;
        *clone = c;
        return S_OK;
    }

    HGLOBAL memory() {
        std::lock_guard lock(shared_->mutex);
        return shared_->memory;
    }

private:
    bool answers(REFIID iid) const override {
        return IsEqualIID(iid, IID_IStream) || IsEqualIID(iid, IID_ISequentialStream);
    }

    std::shared_ptr<Shared> shared_;
    ULONGLONG position_ = 0;
};

} // namespace
} // namespace pal::ole

using pal::ole::GlobalStream;

HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, LPSTREAM* stream) {
    if (!stream)
        return E_INVALIDARG;
    *stream = nullptr;
    auto shared = std::make_shared<pal::ole::Shared>();
    if (memory) {
        if (!GlobalLock(memory))
            return E_INVALIDARG;
        GlobalUnlock(memory);
        shared->size = GlobalSize(memory);
    } else {
        memory = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (!memory)
            return E_OUTOFMEMORY;
    }
    shared->memory = memory;
    shared->deleteOnRelease = deleteOnRelease;
    *stream = new GlobalStream(std::move(shared));
    return S_OK;
}

HRESULT GetHGlobalFromStream(LPSTREAM stream, HGLOBAL* memory) {
    if (!memory)
        return E_INVALIDARG;
    *memory = nullptr;
    auto* s = dynamic_cast<GlobalStream*>(stream);
    if (!s)
        return E_INVALIDARG;
    *memory = s->memory();
    return S_OK;
}
