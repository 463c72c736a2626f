#pragma once

// Division of a block of singles by one extended divisor, rounding as the
// extended quotient does.

#include "dsp/dspTypes.h"

// values[i] = (single)((extended)values[i] / divisor) for i < count, bit for bit,
// raising the same overflow, division-by-zero and invalid-operation flags.
// Quotients are formed in double where that gives the same single.
void BlockDivide(single* values, int count, extended divisor);
