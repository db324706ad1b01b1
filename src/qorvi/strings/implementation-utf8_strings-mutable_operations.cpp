#include <cstring>
#include <functional>
#include <memory>
#include <qorvi/implementation-checked.hpp>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <vector>

namespace Qorvi::Implementation::UTF8_Strings::Mutable_Operations {

namespace {

void Check_Character(Virtual_Character Code) {
    if (!Is_Scalar_Value(Code)) {
        Raise_Not_A_Scalar_Value();
    }
}

[[noreturn]] void Raise_Out_Of_Range() {
    throw Constraint_Error("code unit range out of bounds");
}

UTF8_Code_Unit_Count New_Size(UTF8_Code_Unit_Count Size, UTF8_Code_Unit_Count Added) {
    return Checked::In_Range(Checked::Add(Size, Added), 0, UTF8_Code_Unit_Count_Last,
                             "string size out of range");
}

Character_Count New_Length(Character_Count Length, Character_Count Added) {
    return Checked::In_Range(Checked::Add(Length, Added), 0, Character_Count_Last,
                             "string length out of range");
}

Cursor_Offset Grown(const Cursor_Offset& Offset, UTF8_Code_Unit_Count UTF8,
                    UTF16_Code_Unit_Count UTF16, Character_Count Characters) {
    return {Checked::Add(Offset.UTF8_Offset, UTF8), Checked::Add(Offset.UTF16_Offset, UTF16),
            Checked::In_Range(Checked::Add(Offset.Index_Offset, Characters), Character_Offset_First,
                              Character_Offset_Last, "extent out of range")};
}

// Offset must be in 0 .. Size.
void Check_Offset(const UTF8_String_Data& Self, UTF8_Code_Unit_Offset Offset) {
    if (Offset < 0 || Offset > Self.Size) {
        Raise_Out_Of_Range();
    }
}

// From .. From + Count - 1 must lie in 0 .. Size - 1 (Count may be 0).
void Check_Span(std::int64_t Size, UTF8_Code_Unit_Offset From, UTF8_Code_Unit_Count Count) {
    if (From < 0 || Count < 0 || std::int64_t{From} + Count > Size) {
        Raise_Out_Of_Range();
    }
}

void Check_Count(Character_Count Count) {
    if (Count < 0) {
        throw Constraint_Error("negative character count");
    }
}

// Source data inside Self's own storage would move or be overwritten by Make_Mutable: copy it
// aside into Buffer first.
UTF8_Code_Unit_Array Unaliased(const UTF8_String_Data& Self, UTF8_Code_Unit_Array Data,
                               std::vector<UTF8_Code_Unit>& Buffer) {
    if (Self.Storage_Address == nullptr || Data.empty()) {
        return Data;
    }
    const UTF8_Code_Unit* first = Is_SSO(Self) ? Self.Storage : Self.Storage_Address;
    const UTF8_Code_Unit* last = Is_SSO(Self) ? Self.Storage + sizeof Self.Storage
                                              : Self.Storage_Address + Capacity(Self) + 1;
    const std::less<const UTF8_Code_Unit*> less;
    if (less(Data.data() + Data.size() - 1, first) || !less(Data.data(), last)) {
        return Data;
    }
    Buffer.assign(Data.begin(), Data.end());
    return Buffer;
}

// UTF-16 length of well-formed text, walking its lead units.
UTF16_Code_Unit_Count UTF16_Length_Of(const UTF8_String_Data& Text) {
    const UTF8_Code_Unit* units = Text.Storage_Address;
    std::int64_t length = 0;
    UTF8_Code_Unit_Offset offset = 0;
    while (offset < Text.Size) {
        const UTF8_Code_Unit lead = units[offset];
        int size;
        if (lead < 0x80) {
            size = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            size = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            size = 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            size = 4;
        } else {
            UTF8_Encoding::Raise_Invalid_Lead_Unit();
        }
        length += size == 4 ? 2 : 1;
        offset += size;
    }
    return static_cast<UTF16_Code_Unit_Count>(length);
}

// Number of four-unit lead units (0xF0 .. 0xF7) among Count code units.
UTF16_Code_Unit_Count Four_Unit_Leads(const UTF8_Code_Unit* Units, UTF8_Code_Unit_Count Count) {
    UTF16_Code_Unit_Count count = 0;
    for (UTF8_Code_Unit_Count i = 0; i < Count; ++i) {
        count += (Units[i] & 0xF8) == 0xF0 ? 1 : 0;
    }
    return count;
}

} // namespace

// --- Character-level operations ---------------------------------------------------------------

void Raise_Not_A_Scalar_Value() {
    throw Constraint_Error("not a Unicode scalar value");
}

void Append(UTF8_String_Data& Self, const UTF8_String_Data& Suffix, Cursor_Offset& Offset) {
    const UTF8_Code_Unit_Count suffix_size = Suffix.Size;
    if (suffix_size == 0) {
        return;
    }
    const Character_Count suffix_length = Suffix.Length;
    const UTF16_Code_Unit_Count suffix_utf16 =
        Checked::Add(suffix_length, Four_Unit_Leads(Suffix.Storage_Address, suffix_size));
    const Cursor_Offset offset = Grown(Offset, suffix_size, suffix_utf16, suffix_length);
    const UTF8_Code_Unit_Count size = New_Size(Self.Size, suffix_size);
    const Character_Count length = New_Length(Self.Length, suffix_length);
    Make_Mutable(Self, size);
    // Suffix's address is read after Make_Mutable: Suffix may be Self.
    std::memmove(Self.Storage_Address + Self.Size, Suffix.Storage_Address,
                 static_cast<std::size_t>(suffix_size));
    Self.Storage_Address[size] = 0;
    Self.Size = size;
    Self.Length = length;
    Offset = offset;
}

void Append(UTF8_String_Data& Self, UTF8_Code_Unit_Array Data, Character_Count Length) {
    Check_Count(Length);
    if (Data.size() > static_cast<std::size_t>(UTF8_Code_Unit_Count_Last)) {
        Raise_Out_Of_Range();
    }
    const auto count = static_cast<UTF8_Code_Unit_Count>(Data.size());
    Unchecked_Append(Self, Data, 0, count, Length, true);
}

void Insert(UTF8_String_Data& Self, const Cursor& From, Virtual_Character Code,
            Cursor_Offset& Offset) {
    if (Strings::Is_Invalid(From)) {
        return;
    }
    Check_Character(Code);
    Check_Offset(Self, From.UTF8_Offset);
    const UTF8_Code_Unit_Count units = UTF8_Encoding::Encoded_Length(Code);
    const Cursor_Offset offset = Grown(Offset, units, UTF8_Encoding::UTF16_Length(Code), 1);
    const UTF8_Code_Unit_Count size = New_Size(Self.Size, units);
    const Character_Count length = New_Length(Self.Length, 1);
    Make_Mutable(Self, size);
    UTF8_Code_Unit* at = Self.Storage_Address + From.UTF8_Offset;
    std::memmove(at + units, at, static_cast<std::size_t>(Self.Size - From.UTF8_Offset) + 1);
    UTF8_Encoding::Encode(Code, at);
    Self.Storage_Address[size] = 0;
    Self.Size = size;
    Self.Length = length;
    Offset = offset;
}

void Insert(UTF8_String_Data& Self, const Cursor& From, const UTF8_String_Data& Item,
            Cursor_Offset& Offset) {
    const UTF8_Code_Unit_Count item_size = Item.Size;
    if (item_size == 0 || Strings::Is_Invalid(From)) {
        return;
    }
    Check_Offset(Self, From.UTF8_Offset);
    const Character_Count item_length = Item.Length;
    const Cursor_Offset offset = Grown(Offset, item_size, UTF16_Length_Of(Item), item_length);
    if (Self.Size == 0) {
        // Share Item's text instead of copying it (Item is not Self: Item is not empty).
        Unreference(Self);
        Self = Item;
        Reference(Self);
        Offset = offset;
        return;
    }
    const UTF8_Code_Unit_Count size = New_Size(Self.Size, item_size);
    const Character_Count length = New_Length(Self.Length, item_length);
    Make_Mutable(Self, size);
    UTF8_Code_Unit* at = Self.Storage_Address + From.UTF8_Offset;
    std::memmove(at + item_size, at, static_cast<std::size_t>(Self.Size - From.UTF8_Offset) + 1);
    // Item's address is read after Make_Mutable, so that Item may be Self. Its code units
    // 0 .. item_size - 1 lie below the moved tail (which now starts at From + item_size), so
    // they are still intact.
    std::memmove(at, Item.Storage_Address, static_cast<std::size_t>(item_size));
    Self.Storage_Address[size] = 0;
    Self.Size = size;
    Self.Length = length;
    Offset = offset;
}

void Delete(UTF8_String_Data& Self, const Cursor& From, const Cursor_Offset& Extent) {
    if (Extent.Index_Offset == 0) {
        return;
    }
    Check_Offset(Self, From.UTF8_Offset);
    Check_Span(Self.Size, From.UTF8_Offset, Extent.UTF8_Offset);
    if (Extent.Index_Offset < 0 || Extent.Index_Offset > Self.Length) {
        throw Constraint_Error("string length out of range");
    }
    Make_Mutable(Self, Self.Size);
    UTF8_Code_Unit* at = Self.Storage_Address + From.UTF8_Offset;
    std::memmove(at, at + Extent.UTF8_Offset,
                 static_cast<std::size_t>(Self.Size - From.UTF8_Offset - Extent.UTF8_Offset) + 1);
    Self.Size -= Extent.UTF8_Offset;
    Self.Length -= Extent.Index_Offset;
    Self.Storage_Address[Self.Size] = 0;
}

void Initialize(UTF8_String_Data& Self, UTF8_Code_Unit_Array Data, Character_Count Length) {
    Checked::In_Range(Length, 0, Character_Count_Last, "string length out of range");
    if (Data.size() > static_cast<std::size_t>(UTF8_Code_Unit_Count_Last)) {
        Raise_Out_Of_Range();
    }
    const auto size = static_cast<UTF8_Code_Unit_Count>(Data.size());
    UTF8_String_Data result;
    UTF8_Strings::Initialize(result, size);
    if (size > 0) {
        std::memcpy(result.Storage_Address, Data.data(), Data.size());
    }
    result.Storage_Address[size] = 0;
    result.Size = size;
    result.Length = Length;
    Self = result;
    Adjust(Self);
}

// --- Unchecked byte-level operations ----------------------------------------------------------

void Unchecked_Append(UTF8_String_Data& Self, UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Offset From,
                      UTF8_Code_Unit_Count Count, Character_Count Added_Length, bool Terminate) {
    Check_Span(static_cast<std::int64_t>(Data.size()), From, Count);
    Check_Count(Added_Length);
    const UTF8_Code_Unit_Count size = New_Size(Self.Size, Count);
    const Character_Count length = New_Length(Self.Length, Added_Length);
    std::vector<UTF8_Code_Unit> buffer;
    const UTF8_Code_Unit_Array source = Unaliased(
        Self, Data.subspan(static_cast<std::size_t>(From), static_cast<std::size_t>(Count)),
        buffer);
    Make_Mutable(Self, size);
    if (Count > 0) {
        std::memcpy(Self.Storage_Address + Self.Size, source.data(), source.size());
    }
    if (Terminate) {
        Self.Storage_Address[size] = 0;
    }
    Self.Size = size;
    Self.Length = length;
}

void Unchecked_Append(UTF8_String_Data& Self, std::string_view Data, UTF8_Code_Unit_Offset From,
                      UTF8_Code_Unit_Count Count, Character_Count Added_Length, bool Terminate) {
    Unchecked_Append(
        Self,
        UTF8_Code_Unit_Array(reinterpret_cast<const UTF8_Code_Unit*>(Data.data()), Data.size()),
        From, Count, Added_Length, Terminate);
}

Size_And_Length Unchecked_Insert(UTF8_String_Data& Self, UTF8_Code_Unit_Offset Into,
                                 UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Offset From,
                                 UTF8_Code_Unit_Count Count, Character_Count Added_Length) {
    Check_Offset(Self, Into);
    Check_Span(static_cast<std::int64_t>(Data.size()), From, Count);
    Check_Count(Added_Length);
    const UTF8_Code_Unit_Count size = New_Size(Self.Size, Count);
    const Character_Count length = New_Length(Self.Length, Added_Length);
    std::vector<UTF8_Code_Unit> buffer;
    const UTF8_Code_Unit_Array source = Unaliased(
        Self, Data.subspan(static_cast<std::size_t>(From), static_cast<std::size_t>(Count)),
        buffer);
    Make_Mutable(Self, size);
    UTF8_Code_Unit* at = Self.Storage_Address + Into;
    std::memmove(at + Count, at, static_cast<std::size_t>(Self.Size - Into) + 1);
    if (Count > 0) {
        std::memcpy(at, source.data(), source.size());
    }
    Self.Size = size;
    Self.Length = length;
    return {size, length};
}

void Unchecked_Delete(UTF8_String_Data& Self, UTF8_Code_Unit_Offset From,
                      UTF8_Code_Unit_Count Count, Character_Count Removed_Length) {
    if (Count == 0) {
        return;
    }
    Check_Span(Self.Size, From, Count);
    if (Removed_Length < 0 || Removed_Length > Self.Length) {
        throw Constraint_Error("string length out of range");
    }
    // Does nothing for text that is already exclusively owned; shared text is never written.
    Make_Mutable(Self, Self.Size);
    UTF8_Code_Unit* at = Self.Storage_Address + From;
    std::memmove(at, at + Count, static_cast<std::size_t>(Self.Size - From - Count) + 1);
    Self.Size -= Count;
    Self.Length -= Removed_Length;
}

void Unchecked_Replace(UTF8_String_Data& Self, UTF8_Code_Unit_Offset From,
                       UTF8_Code_Unit_Count Count, Character_Count Removed_Length,
                       UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Offset Data_From,
                       UTF8_Code_Unit_Count Data_Count, Character_Count Data_Length) {
    Check_Span(Self.Size, From, Count);
    Check_Span(static_cast<std::int64_t>(Data.size()), Data_From, Data_Count);
    Check_Count(Removed_Length);
    Check_Count(Data_Length);
    const UTF8_Code_Unit_Count size = New_Size(Checked::Subtract(Self.Size, Count), Data_Count);
    const Character_Count length =
        New_Length(Checked::Subtract(Self.Length, Removed_Length), Data_Length);
    std::vector<UTF8_Code_Unit> buffer;
    const UTF8_Code_Unit_Array source = Unaliased(
        Self,
        Data.subspan(static_cast<std::size_t>(Data_From), static_cast<std::size_t>(Data_Count)),
        buffer);
    Make_Mutable(Self, size);
    UTF8_Code_Unit* at = Self.Storage_Address + From;
    std::memmove(at + Data_Count, at + Count,
                 static_cast<std::size_t>(Self.Size - From - Count) + 1);
    if (Data_Count > 0) {
        std::memcpy(at, source.data(), source.size());
    }
    Self.Size = size;
    Self.Length = length;
}

void Unchecked_Move_Slice(UTF8_String_Data& Self, UTF8_Code_Unit_Offset From,
                          UTF8_Code_Unit_Count Count, UTF8_Code_Unit_Offset Into) {
    if (Into > From) {
        throw Program_Error("slice can only move backward");
    }
    Check_Span(Self.Size, From, Count);
    if (Into < 0) {
        Raise_Out_Of_Range();
    }
    Make_Mutable(Self, Self.Size);
    if (Into == From || Count == 0) {
        return;
    }
    // The moved slice goes through a temporary of exactly its size (on the stack when small).
    constexpr UTF8_Code_Unit_Count small = 64;
    UTF8_Code_Unit local[small];
    std::unique_ptr<UTF8_Code_Unit[]> heap;
    UTF8_Code_Unit* temporary = local;
    if (Count > small) {
        heap = std::make_unique_for_overwrite<UTF8_Code_Unit[]>(static_cast<std::size_t>(Count));
        temporary = heap.get();
    }
    UTF8_Code_Unit* text = Self.Storage_Address;
    std::memcpy(temporary, text + From, static_cast<std::size_t>(Count));
    std::memmove(text + Into + Count, text + Into, static_cast<std::size_t>(From - Into));
    std::memcpy(text + Into, temporary, static_cast<std::size_t>(Count));
}

} // namespace Qorvi::Implementation::UTF8_Strings::Mutable_Operations
