#pragma once

// The processor's floating-point state that the exact arithmetic assumes.
//
// x87 (extended): 64-bit significands and rounding to nearest. A thread may
//   start with 53-bit precision on Windows, which would round every extended
//   result to double's significand.
// SSE (single and double, the FFT kernels): rounding to nearest, with
//   subnormal results and operands kept (no flush-to-zero, no
//   denormals-are-zero).
// The exception masks are left as they are: the analysis reads the status flags.
//
// Every thread that designs, filters or transforms calls SetExactFloatControl
// first. A state that cannot be set stops the work with an error rather than
// let it compute other bytes.

namespace dspFloatControl {

// Sets the state above in the calling thread and reads it back; throws
// std::runtime_error when it did not take effect.
void SetExactFloatControl();

// Whether the calling thread has the state above.
bool ExactFloatControlActive() noexcept;

} // namespace dspFloatControl
