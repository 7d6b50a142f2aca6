// Placeholder: replaced by the real routines.
#include "matrix.h"
Extended MatRank(RCOMat&, std::int32_t, std::int32_t) {
    return 0;
}
