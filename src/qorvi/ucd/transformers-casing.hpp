// Case conversion transformers: full lowercase (with Final_Sigma) and uppercase, and the simple
// one-to-one lowercase and uppercase. Conversion is language-independent. An empty or null
// string gives a null string (function form) or is left as it is (in-place form).
#pragma once

#include <qorvi/ucd/transformers.hpp>

namespace Qorvi::Transformers::Casing {

class QORVI_API Lowercase_Transformer final : public Abstract_Transformer {
public:
    constexpr Lowercase_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

class QORVI_API Uppercase_Transformer final : public Abstract_Transformer {
public:
    constexpr Uppercase_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

class QORVI_API Simple_Lowercase_Transformer final : public Abstract_Transformer {
public:
    constexpr Simple_Lowercase_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

class QORVI_API Simple_Uppercase_Transformer final : public Abstract_Transformer {
public:
    constexpr Simple_Uppercase_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

// Full lowercase mapping; a final capital sigma becomes U+03C2.
extern QORVI_API const Lowercase_Transformer To_Lowercase;
// Full uppercase mapping (U+00DF becomes "SS").
extern QORVI_API const Uppercase_Transformer To_Uppercase;
// Simple (one-to-one) lowercase mapping of UnicodeData.txt.
extern QORVI_API const Simple_Lowercase_Transformer To_Simple_Lowercase;
// Simple (one-to-one) uppercase mapping of UnicodeData.txt (U+00DF stays).
extern QORVI_API const Simple_Uppercase_Transformer To_Simple_Uppercase;

} // namespace Qorvi::Transformers::Casing
