// Floating-point faults.  A command clears the status flags when it starts and calls
// CheckFloatingPoint() at each point where a fault must end it; the first fault found is
// thrown as a CalcError with the system's message.  No traps, no signal handlers.
#pragma once

#include <cfenv>

#include "calc_error.h"

inline constexpr int kFaultFlags = FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID;

inline void ClearFloatingPoint() {
    std::feclearexcept(FE_ALL_EXCEPT);
}

// Throws "Floating point division by zero", "Floating point overflow" or "Invalid floating
// point operation" when the matching flag is raised (tested in that order, so the fault that
// started a chain wins over the invalid operations it led to).
void CheckFloatingPoint();
