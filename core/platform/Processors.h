#pragma once

// The processors this process may run on.
namespace Platform {

// The number of processors in the process's affinity mask (POSIX: Linux's
// sched_getaffinity; Windows: GetProcessAffinityMask), at least 1. Where the
// mask cannot be had, the processors of the machine
// (std::thread::hardware_concurrency), at least 1.
int AvailableProcessorCount() noexcept;

} // namespace Platform
