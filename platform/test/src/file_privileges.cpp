#include "pal/test/file_privileges.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pal::test {

namespace {

// The capabilities by which a thread reads, writes or changes files against their permissions.
constexpr unsigned kOverriding =
    (1u << CAP_CHOWN) | (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

// pid 0: the calling thread alone.
bool readCaps(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

bool writeCaps(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

WithoutFilePrivileges::WithoutFilePrivileges() {
    __user_cap_data_struct data[2] = {};
    if (!readCaps(data))
        return;
    effective_[0] = data[0].effective;
    effective_[1] = data[1].effective;
    data[0].effective &= ~kOverriding;
    ok_ = writeCaps(data);
}

WithoutFilePrivileges::~WithoutFilePrivileges() {
    if (!ok_)
        return;
    __user_cap_data_struct data[2] = {};
    if (!readCaps(data))
        return;
    data[0].effective = effective_[0];
    data[1].effective = effective_[1];
    writeCaps(data);
}

} // namespace pal::test
