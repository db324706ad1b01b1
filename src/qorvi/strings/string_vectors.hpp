// Virtual_String_Vector: an ordered list of strings with value semantics.
//
// Copying a vector shares its element array (copy on write), and each element shares its text
// with the string it was taken from. Indices are 1-based; range-for walks the elements.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <iterator>
#include <qorvi/strings/implementation-string_vectors.hpp>
#include <qorvi/strings/strings-line_terminators.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::String_Vectors {

using Qorvi::Strings::Virtual_String;

class QORVI_API Virtual_String_Vector {
public:
    // An element index for First/Next/Previous walks; 0 means no element.
    using Cursor = std::int32_t;

    // Walks the elements that were there when Iterate was called.
    class Reversible_Iterator {
    public:
        explicit Reversible_Iterator(std::int32_t length) noexcept : Length(length) {}
        Cursor First() const noexcept { return Length > 0 ? 1 : 0; }
        Cursor Last() const noexcept { return Length; }
        Cursor Next(Cursor Position) const noexcept {
            return Position > 0 && Position < Length ? Position + 1 : 0;
        }
        Cursor Previous(Cursor Position) const noexcept { return Position > 0 ? Position - 1 : 0; }

    private:
        std::int32_t Length;
    };

    // Range-for support: yields the elements as strings sharing their text.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Virtual_String;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Virtual_String;

        const_iterator() noexcept = default;
        Virtual_String operator*() const { return Vector->Element(Index); }
        const_iterator& operator++() noexcept {
            ++Index;
            return *this;
        }
        const_iterator operator++(int) noexcept {
            const_iterator previous = *this;
            ++Index;
            return previous;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

    private:
        friend class Virtual_String_Vector;
        const_iterator(const Virtual_String_Vector* vector, std::int32_t index) noexcept
            : Vector(vector), Index(index) {}

        const Virtual_String_Vector* Vector = nullptr;
        std::int32_t Index = 0;
    };

    Virtual_String_Vector() noexcept = default;
    Virtual_String_Vector(std::initializer_list<Virtual_String> Items);
    Virtual_String_Vector(const Virtual_String_Vector& Source) noexcept;
    Virtual_String_Vector(Virtual_String_Vector&& Source) noexcept;
    Virtual_String_Vector& operator=(const Virtual_String_Vector& Source) noexcept;
    Virtual_String_Vector& operator=(Virtual_String_Vector&& Source) noexcept;
    ~Virtual_String_Vector();

    std::int32_t Length() const noexcept { return Data == nullptr ? 0 : Data->Last; }
    bool Is_Empty() const noexcept { return Length() == 0; }
    static constexpr std::int32_t First_Index() noexcept { return 1; }
    std::int32_t Last_Index() const noexcept { return Length(); }

    // Element Index, sharing its text; a null string when Index > Length. Index below 1:
    // Constraint_Error.
    Virtual_String Element(std::int32_t Index) const;
    // The first or last element, or a null string for an empty vector.
    Virtual_String First_Element() const;
    Virtual_String Last_Element() const;

    void Append(const Virtual_String& Item);
    // Appends the elements Items holds now (appending a vector to itself doubles it).
    void Append(const Virtual_String_Vector& Items);
    void Prepend(const Virtual_String& Item);
    // Nothing when Index > Length; Index below 1: Constraint_Error.
    void Replace(std::int32_t Index, const Virtual_String& Item);
    void Delete(std::int32_t Index);
    // Remove the first or the last element; nothing for an empty vector.
    void Delete_First();
    void Delete_Last();
    // Releases the elements; the vector becomes empty.
    void Clear() noexcept;

    bool Contains(const Virtual_String& Item) const noexcept;

    // The elements From .. To that exist (empty when From > To). From below 1:
    // Constraint_Error.
    Virtual_String_Vector Slice(std::int32_t From, std::int32_t To) const;

    // The elements with Separator between consecutive ones; a null string for an empty vector.
    // A separator that is not a Unicode scalar value raises Constraint_Error.
    Virtual_String Join(Virtual_Character Separator) const;
    Virtual_String Join(const Virtual_String& Separator) const;
    // The elements, each followed by Terminator except the last when Terminate is false.
    Virtual_String Join_Lines(Qorvi::Strings::Line_Terminator Terminator,
                              bool Terminate = true) const;

    Reversible_Iterator Iterate() const noexcept { return Reversible_Iterator(Length()); }
    static bool Has_Element(Cursor Position) noexcept { return Position > 0; }
    const_iterator begin() const noexcept { return const_iterator(this, 1); }
    const_iterator end() const noexcept { return const_iterator(this, Length() + 1); }

    // Streaming a vector is not provided: both raise Program_Error.
    void Read(std::istream& Stream);
    void Write(std::ostream& Stream) const;

    // Same length and equal elements.
    friend QORVI_API bool operator==(const Virtual_String_Vector& Left,
                                     const Virtual_String_Vector& Right) noexcept;
    // Left's elements followed by Right's.
    friend QORVI_API Virtual_String_Vector operator+(const Virtual_String_Vector& Left,
                                                     const Virtual_String_Vector& Right);

private:
    Implementation::String_Vectors::String_Vector_Data* Data = nullptr;
};

// A copy of Self (sharing) without its first element.
QORVI_API Virtual_String_Vector Delete_First(const Virtual_String_Vector& Self);

// The vector with no elements.
QORVI_API extern const Virtual_String_Vector Empty_Virtual_String_Vector;

} // namespace Qorvi::String_Vectors
