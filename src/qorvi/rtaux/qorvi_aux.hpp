// libqorvi-rtaux: fills a std::u32string in place through a caller-supplied writer.
#pragma once

#include <concepts>
#include <cstddef>
#include <qorvi/export.hpp>
#include <span>
#include <string>
#include <utility>

namespace Qorvi_Aux {

// A writer given as a plain function with a context pointer.
using Set_Procedure = void (*)(std::span<char32_t> Item, void* Context);

// Makes Target hold exactly Length elements, all written by Set, which is called once with a
// span of Length elements before Set_String returns. The current buffer is reused when its
// capacity is at least Length; otherwise a new buffer is taken and the old content is never
// copied. Set must write every element. An exception from Set reaches the caller unchanged;
// Target is then empty (its buffer may already be the new one).
QORVI_AUX_API void Set_String(std::u32string& Target, std::size_t Length, Set_Procedure Set,
                              void* Context);

// The same for any callable (a lambda, possibly capturing its context).
template <typename Writer>
requires std::invocable<Writer&, std::span<char32_t>>
void Set_String(std::u32string& Target, std::size_t Length, Writer&& Set) {
    Set_String(
        Target, Length,
        [](std::span<char32_t> item, void* context) { (*static_cast<Writer*>(context))(item); },
        const_cast<void*>(static_cast<const void*>(std::addressof(Set))));
}

} // namespace Qorvi_Aux
