// Transmitting parts into a part file.
#include "session.h"

#include <cstdio>

using namespace pskernel;

namespace {

constexpr int writeChunk = 64 * 1024;

// Collects the content in one chunk of kernel memory and hands full chunks to the frustrum.
class FileSink : public content::Sink {
public:
    explicit FileSink(int id) : id_(id) {}
    bool open() { return buffer_.reserve(writeChunk); }
    bool put(const unsigned char* bytes, std::size_t size) override {
        while (size > 0) {
            if (buffer_.size() == static_cast<std::size_t>(writeChunk) && !flush())
                return false;
            const std::size_t room = static_cast<std::size_t>(writeChunk) - buffer_.size();
            const std::size_t n = size < room ? size : room;
            std::memcpy(buffer_.spare(n), bytes, n);
            buffer_.commit(n);
            bytes += n;
            size -= n;
        }
        return true;
    }
    bool flush() {
        if (buffer_.size() == 0)
            return true;
        const int guise = PK_FILE_guise_transmit;
        const int length = static_cast<int>(buffer_.size());
        int status = -1;
        session().frustrum.write(&guise, &id_, &length, reinterpret_cast<const char*>(buffer_.data()),
                                 &status);
        buffer_.resize(0);
        return status == 0;
    }

private:
    int id_;
    FruArray<unsigned char> buffer_;
};

bool writePart(content::Sink& sink, PK_TAG_t tag) {
    std::uint32_t number = 0;
    const Partition* p = findEntity(tag, number);
    const Entity& e = p->entities[number - 1];
    const auto t = static_cast<std::uint32_t>(tag);
    if (e.kind == content::Kind::body)
        return content::writeBody(sink, t, e.bodyType, p->geometry + e.first, e.count);
    if (!content::writeAssembly(sink, t, e.count))
        return false;
    for (std::uint32_t i = 0; i < e.count; ++i) {
        content::Instance instance = p->instances[e.first + i];
        instance.target = static_cast<std::uint32_t>(p->tag) + instance.target;
        if (!content::writeInstance(sink, instance))
            return false;
    }
    return true;
}

} // namespace

extern "C" {

PK_ERROR_t PK_PART_transmit_u(int n_parts, const PK_PART_t* parts, const wchar_t* name,
                              const PK_PART_transmit_o_t* options) {
    const Session& s = session();
    if (!s.started)
        return PK_ERROR_session_not_started;
    if (!s.unicode)
        return PK_ERROR_not_unicode;
    if (!options || options->version != 4 || options->transmit_format != PK_transmit_format_binary || !name ||
        n_parts < 0 || (n_parts > 0 && !parts))
        return PK_ERROR_bad_option;
    // Every tag is checked before the file is touched, so a bad list leaves no file behind.
    for (int i = 0; i < n_parts; ++i) {
        std::uint32_t number = 0;
        if (!findEntity(parts[i], number))
            return PK_ERROR_bad_tag;
    }

    char header[64];
    std::snprintf(header, sizeof header, "CONTENT=part;COUNT=%d;", n_parts);
    int id = 0;
    if (s.frustrum.open_write_wide(PK_FILE_guise_transmit, PK_FILE_format_binary, name, header, &id) != 0)
        return PK_ERROR_file_open_failed;

    bool ok;
    {
        FileSink sink(id);
        ok = sink.open() && content::writePartStart(sink, static_cast<std::uint32_t>(n_parts));
        for (int i = 0; ok && i < n_parts; ++i)
            ok = writePart(sink, parts[i]);
        ok = ok && sink.flush();
    }
    const int guise = PK_FILE_guise_transmit;
    const int action = ok ? PK_FILE_close_keep : PK_FILE_close_delete;
    int status = -1;
    s.frustrum.close(&guise, &id, &action, &status);
    return ok && status == 0 ? PK_ERROR_no_errors : PK_ERROR_file_write_failed;
}

} // extern "C"
