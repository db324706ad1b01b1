// Normalization transformers: the four normalization forms of UAX #15. An empty or null
// string gives an empty, non-null string (both forms).
#pragma once

#include <qorvi/ucd/transformers.hpp>

namespace Qorvi::Transformers::Normalization {

class QORVI_API Normalization_Form_D_Transformer final : public Abstract_Transformer {
public:
    constexpr Normalization_Form_D_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

class QORVI_API Normalization_Form_C_Transformer final : public Abstract_Transformer {
public:
    constexpr Normalization_Form_C_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

class QORVI_API Normalization_Form_KD_Transformer final : public Abstract_Transformer {
public:
    constexpr Normalization_Form_KD_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

class QORVI_API Normalization_Form_KC_Transformer final : public Abstract_Transformer {
public:
    constexpr Normalization_Form_KC_Transformer() noexcept = default;
    Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const override;
    void Transform(Strings::Virtual_String& Item) const override;
    std::string_view Image() const noexcept override;
};

// Canonical decomposition.
extern QORVI_API const Normalization_Form_D_Transformer To_Normalization_Form_D;
// Canonical decomposition, then canonical composition.
extern QORVI_API const Normalization_Form_C_Transformer To_Normalization_Form_C;
// Compatibility decomposition.
extern QORVI_API const Normalization_Form_KD_Transformer To_Normalization_Form_KD;
// Compatibility decomposition, then canonical composition.
extern QORVI_API const Normalization_Form_KC_Transformer To_Normalization_Form_KC;

} // namespace Qorvi::Transformers::Normalization
