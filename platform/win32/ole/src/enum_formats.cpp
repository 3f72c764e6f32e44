// The standard enumerator of formats.
#include "com_object.h"

#include "win/ole.h"

#include <vector>

namespace pal::ole {
namespace {

class FormatEnumerator final : public ComObject<IEnumFORMATETC> {
public:
    explicit FormatEnumerator(std::vector<FORMATETC> formats, size_t next = 0)
        : formats_(std::move(formats)), next_(next) {}

    HRESULT Next(ULONG count, FORMATETC* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched))
            return E_INVALIDARG;
        ULONG n = 0;
        for (; n < count && next_ < formats_.size(); ++n)
            out[n] = formats_[next_++]; // no target devices are kept, so there is nothing to duplicate
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        const size_t left = formats_.size() - next_;
        next_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC** clone) override {
        if (!clone)
            return E_INVALIDARG;
        *clone = new FormatEnumerator(formats_, next_);
        return S_OK;
    }

private:
    bool answers(REFIID iid) const override { return IsEqualIID(iid, IID_IEnumFORMATETC); }

    std::vector<FORMATETC> formats_;
    size_t next_;
};

} // namespace
} // namespace pal::ole

HRESULT SHCreateStdEnumFmtEtc(UINT count, const FORMATETC* formats, IEnumFORMATETC** enumerator) {
    if (!enumerator || (count && !formats))
        return E_INVALIDARG;
    std::vector<FORMATETC> copy(formats, formats + count);
    for (FORMATETC& f : copy)
        f.ptd = nullptr; // target devices are not modelled
    *enumerator = new pal::ole::FormatEnumerator(std::move(copy));
    return S_OK;
}
