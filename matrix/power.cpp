// Placeholder: replaced by the real routines.
#include "matrix.h"
std::int32_t MatPower(const RCOMat&, std::int32_t, RCOMat&, RCOMat&) {
    return 0;
}
