// Terminals on POSIX: file descriptors carry bytes as they are.

#include "core/platform/Terminal.h"

#include <unistd.h>

namespace Platform {

bool IsTerminal(TFileHandle handle) noexcept { return ::isatty(static_cast<int>(handle)) == 1; }

void PrepareStandardStreams() noexcept {}

} // namespace Platform
