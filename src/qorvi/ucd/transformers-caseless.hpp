// The caseless form of identifiers (identifier caseless matching, section 3.13 of the Unicode
// Standard): toNFKC_Casefold (NFD (X)), computed as NFD, then the NFKC_Casefold mapping of
// each character (default ignorable code points are removed), then NFC. Two identifiers are
// caseless-equal when their transformed strings are equal.
//
// The function form gives a null string for an empty or null string; the in-place form makes
// an empty or null string empty and non-null.
#pragma once

#include <qorvi/ucd/transformers.hpp>

namespace Qorvi::Transformers::Caseless {

class QORVI_API Identifier_Caseless_Transformer final : public Abstract_Transformer {
public:
    constexpr Identifier_Caseless_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

extern QORVI_API const Identifier_Caseless_Transformer To_Identifier_Caseless;

} // namespace Qorvi::Transformers::Caseless
