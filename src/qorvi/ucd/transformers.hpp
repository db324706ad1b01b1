// Transformers: stateless objects that turn one Virtual_String into another (change of case,
// normalization, the caseless form of identifiers), and the string operations that use them.
//
// Every transformer offers two forms of Transform: the function form takes a string and
// returns a new one, leaving the argument unchanged; the in-place form replaces the text of the
// string it is given. In C++ the two are overloads on the argument's constness: a modifiable
// string argument selects the in-place form, so write Transform (std::as_const (S), T) to get
// a new string from a modifiable S. The in-place form does not notify the cursors attached to
// the string (as other whole-text replacements do not).
//
// Transformers are non-copyable; the library's own are constants (<qorvi/ucd/transformers-
// casing.hpp>, -normalization.hpp, -caseless.hpp) that any number of threads may use at once.
#pragma once

#include <iosfwd>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/strings.hpp>
#include <string_view>

namespace Qorvi::Transformers {

class QORVI_API Abstract_Transformer {
public:
    Abstract_Transformer(const Abstract_Transformer&) = delete;
    Abstract_Transformer(Abstract_Transformer&&) = delete;
    Abstract_Transformer& operator=(const Abstract_Transformer&) = delete;
    Abstract_Transformer& operator=(Abstract_Transformer&&) = delete;

    // A new string holding the transformed text of Item; Item is unchanged.
    virtual Strings::Virtual_String Transform(const Strings::Virtual_String& Item) const = 0;
    // Replaces Item's text by its transformed text.
    virtual void Transform(Strings::Virtual_String& Item) const = 0;

    // The diagnostic image: the fully qualified upper-case name of the class, such as
    // "QORVI.TRANSFORMERS.CASING.LOWERCASE_TRANSFORMER".
    virtual std::string_view Image() const noexcept;

    virtual ~Abstract_Transformer();

protected:
    constexpr Abstract_Transformer() noexcept = default;
};

// Both write the diagnostic image (PrintTo is what GoogleTest and similar frameworks use).
QORVI_API std::ostream& operator<<(std::ostream& Stream, const Abstract_Transformer& Item);
QORVI_API void PrintTo(const Abstract_Transformer& Item, std::ostream* Stream);

} // namespace Qorvi::Transformers

namespace Qorvi::Strings {

// The function form of Transformer on Self: a new string.
QORVI_API Virtual_String Transform(const Virtual_String& Self,
                                   const Transformers::Abstract_Transformer& Transformer);
// The in-place form: Self's text is replaced by its transformed text.
QORVI_API void Transform(Virtual_String& Self,
                         const Transformers::Abstract_Transformer& Transformer);

// Whether the transformed text of Self begins with the transformed text of Prefix (a byte
// prefix test; an empty transformed prefix always matches). With To_Identifier_Caseless this
// is a caseless prefix test of identifiers.
QORVI_API bool Starts_With(const Virtual_String& Self, const Virtual_String& Prefix,
                           const Transformers::Abstract_Transformer& Transformer);

} // namespace Qorvi::Strings
