#include <qorvi/qorvi.hpp>

namespace Qorvi {

// Out-of-line destructors anchor the vtables and type information in the library, so that an
// exception thrown inside it is caught by type in a client.
Constraint_Error::Constraint_Error(const std::string& message) : std::runtime_error(message) {}
Constraint_Error::Constraint_Error(const char* message) : std::runtime_error(message) {}
Constraint_Error::~Constraint_Error() = default;

Program_Error::Program_Error(const std::string& message) : std::logic_error(message) {}
Program_Error::Program_Error(const char* message) : std::logic_error(message) {}
Program_Error::~Program_Error() = default;

Magic_Error::Magic_Error(const std::string& message) : std::logic_error(message) {}
Magic_Error::Magic_Error(const char* message) : std::logic_error(message) {}
Magic_Error::~Magic_Error() = default;

} // namespace Qorvi
