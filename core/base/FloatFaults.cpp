#include "core/base/FloatFaults.h"

#include "core/base/TulvoErrors.h"

#include <cfenv>

namespace {
constexpr int FaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
}

void ClearFloatFaults() noexcept { std::feclearexcept(FaultFlags); }

void RaiseFloatFaults()
{
    const int raised = std::fetestexcept(FaultFlags);
    if (raised == 0) {
        return;
    }
    std::feclearexcept(FaultFlags);
    if (raised & FE_OVERFLOW) {
        throw EOverflow();
    }
    if (raised & FE_DIVBYZERO) {
        throw EZeroDivide();
    }
    throw EInvalidOp();
}
