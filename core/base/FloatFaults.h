#pragma once

// Floating-point faults of this thread as errors. The analysis clears the
// status flags before a stage and tests them after it, once every result of
// the stage is stored, so that the stage runs at full speed and a fault still
// ends it with the runtime's message. Underflow and inexact results are not
// faults.

// Clears the invalid-operation, division-by-zero and overflow flags.
void ClearFloatFaults() noexcept;

// Throws the error of a flag raised since the last ClearFloatFaults: EOverflow,
// then EZeroDivide, then EInvalidOp when several are set (an overflow or a
// division by zero makes an infinity, which can go on to make an invalid
// operation in the same stage, never the other way round). Returns normally
// when none is set.
void RaiseFloatFaults();

// Makes the compiler finish computing value, and store it, before the next
// statement: the flag test that follows then sees the faults of its
// computation. Needed for locals only; stores through member or escaped
// pointers already happen before the (opaque) flag test.
template <class T> inline void KeepBeforeFlagTest(T& value) noexcept { __asm__ __volatile__("" : "+m"(value)); }
