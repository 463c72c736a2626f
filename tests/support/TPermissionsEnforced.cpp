#include "tests/support/TPermissionsEnforced.h"

#include <fcntl.h>
#include <filesystem>
#include <linux/capability.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testsupport {

namespace {

bool GetCapabilities(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

bool SetCapabilities(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

TPermissionsEnforced::TPermissionsEnforced()
{
    __user_cap_data_struct data[2]{};
    if (!GetCapabilities(data)) {
        return;
    }
    savedEffective_[0] = data[0].effective;
    savedEffective_[1] = data[1].effective;
    const std::uint32_t mask = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
    data[0].effective &= ~mask;
    changed_ = SetCapabilities(data);
    dropped_ = changed_;
    if (dropped_) {
        // Proof that it worked: a read-only file must now refuse writing.
        std::string probe = (std::filesystem::temp_directory_path() / "tulvo-probe-XXXXXX").string();
        const int handle = ::mkstemp(probe.data());
        if (handle >= 0) {
            ::fchmod(handle, 0444);
            ::close(handle);
            const int writer = ::open(probe.c_str(), O_WRONLY);
            if (writer >= 0) {
                ::close(writer);
                dropped_ = false;
            }
            ::unlink(probe.c_str());
        }
    }
}

TPermissionsEnforced::~TPermissionsEnforced()
{
    if (!changed_) {
        return;
    }
    __user_cap_data_struct data[2]{};
    if (GetCapabilities(data)) {
        data[0].effective = savedEffective_[0];
        data[1].effective = savedEffective_[1];
        SetCapabilities(data);
    }
}

} // namespace testsupport
