// Placeholder: replaced by the real routines.
#include "matrix.h"
std::int32_t MatSVD(RCOMat&, RCOMat&, RCOMat&, Extended, std::int32_t, std::int32_t) { return 1; }
