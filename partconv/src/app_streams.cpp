#include "partconv/app_streams.h"

#include "partconv/kernel_files.h"

namespace partconv {

int StreamRegistry::open(AppStream* stream, int* identifier) {
    std::lock_guard lock(mutex_);
    int id;
    if (!released_.empty()) {
        id = released_.back();
        released_.pop_back();
    } else {
        id = next_++;
    }
    streams_[id] = stream;
    if (identifier)
        *identifier = id;
    return statusOk;
}

AppStream* StreamRegistry::find(int identifier) {
    const auto it = streams_.find(identifier);
    return it == streams_.end() ? nullptr : it->second;
}

int StreamRegistry::write(int identifier, std::size_t itemSize, int items, const void* data) {
    std::lock_guard lock(mutex_);
    AppStream* s = find(identifier);
    if (!s || items < 0)
        return statusRefused;
    s->write(data, itemSize * static_cast<std::size_t>(items));
    return statusOk;
}

int StreamRegistry::read(int identifier, std::size_t itemSize, int items, void* data) {
    std::lock_guard lock(mutex_);
    AppStream* s = find(identifier);
    if (!s || items < 0)
        return statusRefused;
    s->read(data, itemSize * static_cast<std::size_t>(items));
    return statusOk;
}

int StreamRegistry::close(int identifier, int abort) {
    std::lock_guard lock(mutex_);
    if (streams_.erase(identifier) == 0)
        return statusCloseFailed;
    released_.push_back(identifier);
    return abort ? statusCloseFailed : statusOk;
}

StreamRegistry& streamRegistry() {
    static StreamRegistry registry;
    return registry;
}

namespace {

int openStream(void* stream, int* id) {
    return streamRegistry().open(static_cast<AppStream*>(stream), id);
}

template <std::size_t Size> int writeItems(int id, int n, const void* items) {
    return streamRegistry().write(id, Size, n, items);
}

template <std::size_t Size> int readItems(int id, int n, void* items) {
    return streamRegistry().read(id, Size, n, items);
}

int closeStream(int id, int abort) {
    return streamRegistry().close(id, abort);
}

} // namespace

PK_SESSION_applio_t applioRecord() {
    PK_SESSION_applio_t r{};
    r.open_read = openStream;
    r.open_write = openStream;
    r.write_bytes = writeItems<1>;
    r.write_chars = writeItems<1>;
    r.write_shorts = writeItems<2>;
    r.write_ints = writeItems<4>;
    r.write_longs = writeItems<8>;
    r.read_bytes = readItems<1>;
    r.read_chars = readItems<1>;
    r.read_shorts = readItems<2>;
    r.read_ints = readItems<4>;
    r.read_longs = readItems<8>;
    r.close = closeStream;
    return r;
}

} // namespace partconv
