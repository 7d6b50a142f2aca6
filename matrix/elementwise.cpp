// Placeholder: replaced by the real routines.
#include "matrix.h"
Extended MatMax(const RCOMat&) {
    return 0;
}
Extended MatMin(const RCOMat&) {
    return 0;
}
void MatAdd(const RCOMat&, const RCOMat&, RCOMat&) {}
void MatAnd(const RCOMat&, const RCOMat&, RCOMat&) {}
void MatOr(const RCOMat&, const RCOMat&, RCOMat&) {}
void MatXor(const RCOMat&, const RCOMat&, RCOMat&) {}
Extended MatTrace(const RCOMat&) {
    return 0;
}
void MatScale(const RCOMat&, RCOMat&, Extended) {}
void MatArrayMultiply(const RCOMat&, const RCOMat&, RCOMat&) {}
bool MatArrayDivide(const RCOMat&, const RCOMat&, RCOMat&) {
    return true;
}
