// Placeholder: replaced by the real routines.
#include "matrix.h"
std::int32_t MatLU(RCOMat&, RCOMat&, RCOMat&, std::int32_t, std::int32_t) {
    return 0;
}
