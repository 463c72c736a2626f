#pragma once

#include <cstdint>

namespace testsupport {

// While it lives, the calling thread lacks the capabilities that let root
// read and write files regardless of their permissions, so that a read-only
// file behaves as it does for any user (the tests run as root on the build
// machines). Available() is false when the capabilities could not be dropped;
// the test should then be skipped.
class TPermissionsEnforced {
public:
    TPermissionsEnforced();
    ~TPermissionsEnforced();
    TPermissionsEnforced(const TPermissionsEnforced&) = delete;
    TPermissionsEnforced& operator=(const TPermissionsEnforced&) = delete;
    bool Available() const { return dropped_; }

private:
    bool changed_ = false;
    bool dropped_ = false;
    std::uint32_t savedEffective_[2] = {0, 0};
};

} // namespace testsupport
