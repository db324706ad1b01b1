// Virtual_String: the library's Unicode string value.
//
// A Virtual_String holds its characters as UTF-8: up to 15 code units inside the value, longer
// text in shared, reference-counted storage that is copied only when one of its sharers is
// edited. Copies are cheap and share the text. Cursors, markers and iterators attach to one
// string object (never to its copies) and follow its edits; when the object is destroyed or
// assigned to, they are invalidated and detached.
//
// A string that never received text is null. Null strings are empty and equal every empty
// string; Is_Null tells them apart. Comparisons are in code point order.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <qorvi/cursors/implementation-referrers.hpp>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/strings/strings-line_terminators.hpp>
#include <string>
#include <string_view>

namespace Qorvi::String_Vectors {
class Virtual_String_Vector;
} // namespace Qorvi::String_Vectors

namespace Qorvi::Strings::Cursors {
class Abstract_Cursor;
class Abstract_Character_Cursor;
namespace Iterators::Characters {
class Character_Iterator;
} // namespace Iterators::Characters
} // namespace Qorvi::Strings::Cursors

namespace Qorvi::Strings {

using Hash_Type = std::uint64_t;

class QORVI_API Virtual_String : public Implementation::Referrers::Magic_String_Base {
public:
    // A null string.
    Virtual_String() noexcept = default;

    // Strings from UTF-8 text; ill-formed text raises Constraint_Error "Ill-formed UTF-8 data".
    // An empty text gives an empty, non-null string.
    Virtual_String(const char* UTF8_Text);
    Virtual_String(const char8_t* UTF8_Text);
    explicit Virtual_String(std::string_view UTF8_Text);
    explicit Virtual_String(std::u8string_view UTF8_Text);
    // A string from code points; a surrogate or a value above 0x10FFFF raises Constraint_Error
    // "Ill-formed UTF-32 data".
    explicit Virtual_String(std::u32string_view Text);

    // A copy shares the text; the referrers attached to Source stay with Source.
    Virtual_String(const Virtual_String& Source) noexcept
        : Magic_String_Base(Source), Data(Source.Data) {
        if (Data.Has_Storage != 0) {
            Implementation::UTF8_Strings::Reference(Data);
        } else if (Data.Storage_Address != nullptr) {
            Data.Storage_Address = Data.Storage; // in-place text: point at the copy's own
        }
    }
    // Takes Source's text and leaves Source null. No referrer is told; those attached to
    // Source stay attached to it (they find it null).
    Virtual_String(Virtual_String&& Source) noexcept;
    // Unless Source is Self: every referrer attached to Self is invalidated and detached
    // (cursors and markers, then iterators), then Self shares Source's text.
    Virtual_String& operator=(const Virtual_String& Source) noexcept;
    // As assignment, but takes Source's text and leaves Source null (Source's referrers are
    // not told).
    Virtual_String& operator=(Virtual_String&& Source) noexcept;
    // Invalidates and detaches every attached referrer, then lets go of the text.
    ~Virtual_String() override {
        // Referrers first, while the text they point into still exists.
        if (Has_Referrers()) {
            Emancipate_Referrers();
        }
        if (Data.Has_Storage != 0) {
            Implementation::UTF8_Strings::Unreference(Data);
        }
    }

    // Number of characters.
    Character_Count Character_Length() const noexcept { return Data.Length; }
    bool Is_Empty() const noexcept { return Data.Size == 0; }
    bool Is_Null() const noexcept { return Data.Storage_Address == nullptr; }

    // Lets go of the text: Self becomes null. Attached referrers are not told.
    void Clear() noexcept;

    // In-place edits. Each changes the text once and then tells every attached cursor, marker
    // and iterator, which follow the edit (Qorvi::Strings::Cursors). Positions are cursors
    // attached to this very string object: a cursor of another string, or of a copy of this
    // one, makes the edit do nothing. A character that is not a Unicode scalar value
    // (0 .. 0x10FFFF without the surrogates) raises Constraint_Error, whatever the cursors.
    // Cursor positions before the first character count as the first character. A Segment_Marker
    // passed as a position raises Program_Error.

    // Adds Item after the last character. A null or empty Item changes nothing.
    void Append(Virtual_Character Item);
    void Append(const Virtual_String& Item);
    // Adds Item before the first character.
    void Prepend(Virtual_Character Item);
    void Prepend(const Virtual_String& Item);
    // Adds Item before the character at Position's first position (at the after-last position:
    // after the last character).
    void Insert(const Cursors::Abstract_Cursor& Position, Virtual_Character Item);
    void Insert(const Cursors::Abstract_Cursor& Position, const Virtual_String& Item);
    // Removes the characters from From's first position to To's first position inclusive;
    // nothing when To lies before From.
    void Delete(const Cursors::Abstract_Cursor& From, const Cursors::Abstract_Cursor& To);
    // Removes the span of Delete (From, To) and inserts By in its place, with one notification;
    // when To lies before From nothing is removed and By is inserted at From.
    void Replace(const Cursors::Abstract_Cursor& From, const Cursors::Abstract_Cursor& To,
                 Virtual_Character By);
    void Replace(const Cursors::Abstract_Cursor& From, const Cursors::Abstract_Cursor& To,
                 const Virtual_String& By);

    // New strings from parts of Self. A cursor of another string gives a null string.

    // Self without any occurrence of Item; null when no character remains.
    virtual Virtual_String Delete(Virtual_Character Item) const;
    // The characters from From's first position to To's last position inclusive; null when To
    // lies before From.
    virtual Virtual_String Slice(const Cursors::Abstract_Cursor& From,
                                 const Cursors::Abstract_Cursor& To) const;
    // The characters from Segment's first to its last position.
    virtual Virtual_String Slice(const Cursors::Abstract_Cursor& Segment) const;
    // The characters before Before's first position; null when there is none.
    virtual Virtual_String Head_Before(const Cursors::Abstract_Cursor& Before) const;
    // The characters from From's first position to the end.
    virtual Virtual_String Tail_From(const Cursors::Abstract_Cursor& From) const;
    // The characters after After's first position; null when there is none.
    virtual Virtual_String Tail_After(const Cursors::Abstract_Cursor& After) const;

    // Vectors of parts of Self (include <qorvi/strings/string_vectors.hpp> to use them).

    // The segments between the occurrences of Separator, in order. Empty segments (between two
    // adjacent separators, before a leading or after a trailing one, or of an empty text) are
    // kept as null strings only when Keep_Empty_Segments is true. A Separator that is not a
    // Unicode scalar value raises Constraint_Error.
    String_Vectors::Virtual_String_Vector Split(Virtual_Character Separator,
                                                bool Keep_Empty_Segments = false) const;
    // A vector of one element, a copy of Self (also when Self is null).
    String_Vectors::Virtual_String_Vector To_Virtual_String_Vector() const;
    // The lines of Self, cut by the members of Terminators, with or without their
    // terminators. A text ending with a terminator has no empty line after it; an empty text
    // has no line. An empty line is an empty, non-null string.
    String_Vectors::Virtual_String_Vector
    Split_Lines(Line_Terminator_Set Terminators = New_Line_Function,
                bool Keep_Terminator = false) const;

    // Byte-wise prefix and suffix tests; an empty Prefix or Suffix always matches.
    bool Starts_With(const Virtual_String& Prefix) const noexcept;
    bool Ends_With(const Virtual_String& Suffix) const noexcept;
    // The last character is Suffix (false for an empty string).
    bool Ends_With(Virtual_Character Suffix) const;
    // The text ends with the characters of Terminator (CR LF for CRLF).
    bool Ends_With(Line_Terminator Terminator) const;
    // The text ends with a member of Terminators.
    bool Ends_With(Line_Terminator_Set Terminators) const;

    // Character iterators attached to this string object (it must outlive them, or they are
    // left detached when it goes). Include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
    // to use them.
    Cursors::Iterators::Characters::Character_Iterator Before_First_Character() const;
    Cursors::Iterators::Characters::Character_Iterator At_First_Character() const;
    // At Position when Position is attached to this very string; otherwise detached.
    Cursors::Iterators::Characters::Character_Iterator
    At_Character(const Cursors::Abstract_Character_Cursor& Position) const;
    Cursors::Iterators::Characters::Character_Iterator At_Last_Character() const;
    Cursors::Iterators::Characters::Character_Iterator After_Last_Character() const;

    // FNV-1a (64-bit) over the code points, each fed as four bytes, least significant first.
    // The empty and the null string hash to 0xCBF29CE484222325.
    Hash_Type Hash() const;

    // The diagnostic image: the text in quotation marks, each quotation mark in it doubled.
    virtual std::string Image() const;

    // Streaming a string is not provided: both raise Program_Error "Not implemented".
    virtual void Read(std::istream& Stream);
    virtual void Write(std::ostream& Stream) const;

    // Code point order; a null string equals every empty string.
    friend QORVI_API bool operator==(const Virtual_String& Left,
                                     const Virtual_String& Right) noexcept;
    friend QORVI_API bool operator<(const Virtual_String& Left,
                                    const Virtual_String& Right) noexcept;
    friend QORVI_API bool operator<=(const Virtual_String& Left,
                                     const Virtual_String& Right) noexcept;
    friend QORVI_API bool operator>(const Virtual_String& Left,
                                    const Virtual_String& Right) noexcept;
    friend QORVI_API bool operator>=(const Virtual_String& Left,
                                     const Virtual_String& Right) noexcept;

private:
    friend struct Internals_Access;

    Implementation::UTF8_Strings::UTF8_String_Data Data;
};

// The null string.
QORVI_API extern const Virtual_String Empty_Virtual_String;

// The hash of Item, for hashed containers (the same value as Item.Hash ()).
QORVI_API Hash_Type Hash(const Virtual_String& Item);

// A string from code points (as the constructor from std::u32string_view).
QORVI_API Virtual_String To_Virtual_String(std::u32string_view Item);

// Concatenations: the result shares Left's text, then the right operand is appended (so
// nothing is copied when it is empty). A character that is not a Unicode scalar value raises
// Constraint_Error.
QORVI_API Virtual_String operator+(const Virtual_String& Left, const Virtual_String& Right);
QORVI_API Virtual_String operator+(const Virtual_String& Left, Virtual_Character Right);
QORVI_API Virtual_String operator+(Virtual_Character Left, const Virtual_String& Right);

// Count copies of Item; a null string when Count is 0 or less. (Named, because C++ can not
// overload an operator of two built-in types.)
QORVI_API Virtual_String Repeat(Character_Count Count, Virtual_Character Item);

// A vector of Count copies of Item (empty when Count is 0 or less). Include
// <qorvi/strings/string_vectors.hpp> to use it.
QORVI_API String_Vectors::Virtual_String_Vector operator*(Character_Count Count,
                                                          const Virtual_String& Item);

// Writes the plain UTF-8 text.
QORVI_API std::ostream& operator<<(std::ostream& Stream, const Virtual_String& Item);

// GoogleTest and similar frameworks print the diagnostic image.
QORVI_API void PrintTo(const Virtual_String& Item, std::ostream* Stream);

} // namespace Qorvi::Strings

// Access to the string data for the library's own units; not for clients.
namespace Qorvi::Strings::Internals {

using Implementation::Referrers::Magic_String_Access;
using Implementation::UTF8_Strings::UTF8_String_Data;

QORVI_API const UTF8_String_Data* Data_Access_Constant(const Virtual_String& Self) noexcept;
QORVI_API UTF8_String_Data* Data_Access_Variable(Virtual_String& Self) noexcept;

// A new string sharing Data's text.
QORVI_API Virtual_String To_Virtual_String(const UTF8_String_Data& Data) noexcept;

// Lets go of Self's text and moves Data into Self without touching any counter; Data becomes
// null. A moved-in null value becomes empty and non-null. Referrers are not told.
QORVI_API void Set_By_Move(Virtual_String& Self, UTF8_String_Data& Data) noexcept;

QORVI_API Magic_String_Access To_Magic_String_Access(Virtual_String* Self) noexcept;
// Null for null; Constraint_Error when the object is not a Virtual_String.
QORVI_API Virtual_String* To_Virtual_String_Access(Magic_String_Access Self);

} // namespace Qorvi::Strings::Internals

namespace Qorvi::Characters {

// A one-character string. A value that is not a Unicode scalar value raises Constraint_Error.
QORVI_API Strings::Virtual_String To_Virtual_String(Virtual_Character Item);

} // namespace Qorvi::Characters

namespace Qorvi::Locales {

// Case mapping is language-independent: locales are accepted and not consulted, and any two
// locales compare equal.
class QORVI_API Locale {
public:
    virtual ~Locale();
    friend bool operator==(const Locale&, const Locale&) noexcept { return true; }
};

QORVI_API Locale Current_Locale();
QORVI_API Locale Default_Unicode_Locale();

} // namespace Qorvi::Locales

template <>
struct std::hash<Qorvi::Strings::Virtual_String> {
    std::size_t operator()(const Qorvi::Strings::Virtual_String& Item) const {
        return static_cast<std::size_t>(Qorvi::Strings::Hash(Item));
    }
};
