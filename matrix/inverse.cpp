// Placeholder: replaced by the real routines.
#include "matrix.h"
void MatInverse(RCOMat&, RCOMat&) {}
