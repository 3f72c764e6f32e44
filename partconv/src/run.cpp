#include "partconv/run.h"

#include "pal/text.h"
#include "partconv/app_streams.h"
#include "partconv/frustrum.h"
#include "pskernel.h"

#include <memory>
#include <vector>

namespace partconv {
namespace {

// An array the kernel handed out, given back when it goes.
struct FreeKernelMemory {
    void operator()(PK_TAG_t* tags) const { PK_MEMORY_free(tags); }
};
using KernelTags = std::unique_ptr<PK_TAG_t, FreeKernelMemory>;

// Appends the kernel's array of tags to the list.
void take(int count, const KernelTags& tags, std::vector<PK_PART_t>& into) {
    if (count > 0 && tags)
        into.insert(into.end(), tags.get(), tags.get() + count);
}

// The kernel's callbacks reach `host` for as long as this lives.
class Binding {
public:
    explicit Binding(Host& host) {
        bindKernelFiles(&host.files);
        bindDeltaStore(&host.deltas);
    }
    ~Binding() {
        bindKernelFiles(nullptr);
        bindDeltaStore(nullptr);
    }
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;
};

void report(std::FILE* errors, const char* what, const std::wstring& name, PK_ERROR_t error) {
    std::fprintf(errors, "PartConv: %s \"%s\" (kernel error %d)\n", what, pal::text::toUtf8(name).c_str(),
                 error);
    std::fflush(errors);
}

} // namespace

int run(std::wstring_view stem, Host& host, std::FILE* errors) {
    const Binding binding(host);

    PK_SESSION_set_unicode(1);
    const PK_SESSION_frustrum_t frustrum = frustrumRecord();
    if (PK_SESSION_register_frustrum(&frustrum) == PK_ERROR_no_errors &&
        PK_DELTA_register_callbacks(deltaRecord()) != PK_ERROR_bad_delta_callbacks) {
        const PK_SESSION_applio_t applio = applioRecord();
        if (PK_SESSION_register_applio(&applio) == PK_ERROR_no_errors) {
            const PK_SESSION_start_o_t start{1, nullptr, 0, 1};
            PK_SESSION_start(&start);
        }
    }

    const std::wstring input = std::wstring(stem) + L".xmp_bin";
    const std::wstring output = std::wstring(stem) + L".xmt_bin";

    // The receive goes ahead whatever happened above: a session that did not start shows
    // itself as a failed receive.
    const PK_PARTITION_receive_o_t receive{
        10, PK_transmit_format_binary, 0, 18240, 0, nullptr, nullptr, 23030, nullptr, 1, 25100, 26380, 26490};
    PK_PARTITION_t partition = 0;
    PK_ERROR_t error = PK_PARTITION_receive_u(input.c_str(), &receive, &partition);
    if (error == PK_ERROR_no_errors && partition == 0)
        error = PK_ERROR_bad_tag;
    if (error != PK_ERROR_no_errors) {
        // Nothing is transmitted, so an earlier part file of the same name stays as it was.
        report(errors, "cannot receive the partition", input, error);
        return exitNotReceived;
    }

    // Assemblies first, then bodies. A partition whose parts cannot be listed is not
    // written at all rather than written without them.
    std::vector<PK_PART_t> parts;
    int count = 0;
    PK_ASSEMBLY_t* assemblies = nullptr;
    error = PK_PARTITION_ask_assemblies(partition, &count, &assemblies);
    take(error == PK_ERROR_no_errors ? count : 0, KernelTags(assemblies), parts);
    if (error == PK_ERROR_no_errors) {
        PK_BODY_t* bodies = nullptr;
        count = 0;
        error = PK_PARTITION_ask_bodies(partition, &count, &bodies);
        take(error == PK_ERROR_no_errors ? count : 0, KernelTags(bodies), parts);
    }
    if (error != PK_ERROR_no_errors) {
        report(errors, "cannot list the parts of the partition", input, error);
        return exitNotReceived;
    }

    const PK_PART_transmit_o_t transmit{4, PK_transmit_format_binary, 1, 0, 0, nullptr, 26130};
    error = PK_PART_transmit_u(static_cast<int>(parts.size()), parts.empty() ? nullptr : parts.data(),
                               output.c_str(), &transmit);
    if (error != PK_ERROR_no_errors) {
        report(errors, "cannot write the part file", output, error);
        return exitNotWritten;
    }
    return exitConverted;
}

std::wstring stemFromArguments(const std::vector<std::wstring>& args) {
    std::wstring stem;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (i > 1)
            stem += L' ';
        stem += args[i];
    }
    return stem;
}

std::wstring stemFromCommandLine(std::wstring_view line) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    std::size_t at = 0;
    // The program name: quotes group and are not part of the stem.
    for (bool quoted = false; at < line.size() && (quoted || !blank(line[at])); ++at)
        if (line[at] == L'"')
            quoted = !quoted;
    while (at < line.size() && blank(line[at]))
        ++at;
    return std::wstring(line.substr(at));
}

} // namespace partconv
