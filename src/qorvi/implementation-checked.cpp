#include <qorvi/implementation-checked.hpp>

namespace Qorvi::Implementation::Checked {

void Raise_Overflow() {
    throw Constraint_Error("arithmetic overflow");
}

void Raise_Range(const char* what) {
    throw Constraint_Error(what);
}

} // namespace Qorvi::Implementation::Checked
