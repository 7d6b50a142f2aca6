// Placeholder: replaced by the real routines.
#include "matrix.h"
Extended MatDeterminant(RCOMat&, std::int32_t) {
    return 0;
}
