// Placeholder: replaced by the real routines.
#include "matrix.h"
void MatTranspose(const RCOMat&, RCOMat&) {}
void MatMultiply(const RCOMat&, const RCOMat&, RCOMat&) {}
