#include "fp_guard.h"

void CheckFloatingPoint() {
    const int raised = std::fetestexcept(kFaultFlags);
    if (raised == 0) return;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (raised & FE_DIVBYZERO) throw CalcError("Floating point division by zero");
    if (raised & FE_OVERFLOW) throw CalcError("Floating point overflow");
    throw CalcError("Invalid floating point operation");
}
