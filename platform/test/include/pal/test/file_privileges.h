// A test that needs the file system's permissions to hold runs as root in the build's
// containers; root passes them through its capabilities. Capabilities belong to a thread, so
// the test thread can give up those that override file permissions for a while and take them
// back, leaving the rest of the process as it was.
#pragma once

namespace pal::test {

class WithoutFilePrivileges {
public:
    // Drops the overriding capabilities from the calling thread's effective set.
    WithoutFilePrivileges();
    // Raises them again when they were held.
    ~WithoutFilePrivileges();
    WithoutFilePrivileges(const WithoutFilePrivileges&) = delete;
    WithoutFilePrivileges& operator=(const WithoutFilePrivileges&) = delete;

    // False when the thread's capabilities could not be read or changed: permissions may still
    // be overridden, and the caller should skip rather than pass.
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
    unsigned effective_[2] = {};
};

} // namespace pal::test
