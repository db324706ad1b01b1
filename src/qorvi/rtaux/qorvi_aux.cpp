// Built as C++23 for basic_string::resize_and_overwrite, which lets the writer fill the buffer
// without the buffer being cleared first.
#include <exception>
#include <qorvi/rtaux/qorvi_aux.hpp>

namespace Qorvi_Aux {

void Set_String(std::u32string& Target, std::size_t Length, Set_Procedure Set, void* Context) {
    if (Target.capacity() < Length) {
        // Drop the old buffer first, so that growing copies nothing of the old content.
        std::u32string fresh;
        fresh.reserve(Length);
        Target.swap(fresh);
    }
    std::exception_ptr failure;
    // The operation may be handed a count above Length (libstdc++ 12 rounds it up); only Length
    // elements are given to the writer and Length is what the string keeps.
    Target.resize_and_overwrite(Length, [&](char32_t* buffer, std::size_t) noexcept {
        try {
            Set(std::span<char32_t>(buffer, Length), Context);
            return Length;
        } catch (...) {
            // An operation that throws is undefined behaviour for resize_and_overwrite: leave
            // the string empty and raise again afterwards.
            failure = std::current_exception();
            return std::size_t{0};
        }
    });
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace Qorvi_Aux
