// Placeholder: replaced by the real routines.
#include "matrix.h"
void MatQR(RCOMat&, std::int32_t, std::int32_t, RCOMat&) {}
