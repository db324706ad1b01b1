#include <algorithm>
#include <array>
#include <cstring>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <qorvi/ucd/implementation-ucd_block_maps.hpp>
#include <qorvi/ucd/implementation-utf8_casing.hpp>
#include <qorvi/ucd/implementation-utf8_text_builders.hpp>

namespace Qorvi::Implementation::UTF8_Casing {

namespace Tables = UCD_Casing_UTF8;
using UTF8_Encoding::UTF8_Code_Unit;
using UTF8_Text_Builders::Text_Builder;

namespace {

constexpr std::array<std::string_view, 8> mapping_images{
    "SIMPLE_LOWERCASE", "SIMPLE_TITLECASE", "SIMPLE_UPPERCASE", "SIMPLE_CASE_FOLDING",
    "NFKC_CASEFOLD",    "LOWERCASE",        "TITLECASE",        "UPPERCASE"};

void Check_Mapping(Case_Mapping Mapping) {
    if (static_cast<unsigned>(Mapping) >= mapping_images.size()) {
        throw Constraint_Error("Case_Mapping value out of range");
    }
}

// The raw record of a code point decoded from text (so at most 0x10FFFF, and the page index
// needs no check).
std::uint32_t Raw_Record(const Mapping_Data_Offset_Array& Index, Virtual_Character Code) {
    const std::uint32_t position =
        static_cast<std::uint32_t>(Index[Code >> 8]) + static_cast<std::uint32_t>(Code & 0xFFu);
    if (position >= Tables::Mapping_Record_Count) [[unlikely]] {
        Raise_Corrupted_Table();
    }
    return Tables::Mapping_Data_Table_Raw[position];
}

const UTF8_Code_Unit* Result_Bytes(std::uint32_t Offset, UTF8_Code_Unit_Count Size) {
    if (std::size_t{Offset} + static_cast<std::size_t>(Size) > Tables::UTF8_Data_Size)
        [[unlikely]] {
        Raise_Corrupted_Table();
    }
    return Tables::UTF8_Data_Table.data() + Offset;
}

// The ASCII characters of a table, when each one maps to itself or to one ASCII character
// (true of the Unicode 15.1 tables): the loops then convert stretches of ASCII text byte by
// byte through this small map, without decoding or reading the page index.
struct ASCII_Map {
    bool Usable = false;
    std::array<UTF8_Code_Unit, 128> Result{};
};

template <typename Record>
ASCII_Map Compute_ASCII_Map(const Mapping_Data_Offset_Array& Index) {
    ASCII_Map map;
    for (unsigned code = 0; code < 128; ++code) {
        const Record record{Tables::Mapping_Data_Table_Raw[Detail::Record_Position(Index, code)]};
        map.Result[code] = static_cast<UTF8_Code_Unit>(code);
        if (record.Has_Mapping()) {
            if (record.Size() != 1 || record.Length() != 1 ||
                Result_Bytes(record.Offset(), 1)[0] >= 0x80) {
                return ASCII_Map{};
            }
            map.Result[code] = Result_Bytes(record.Offset(), 1)[0];
        }
    }
    map.Usable = true;
    return map;
}

template <typename Record>
const ASCII_Map& ASCII_Map_Of(const Mapping_Data_Offset_Array& Index) {
    // One map per table, made on first use.
    static const std::array<const Mapping_Data_Offset_Array*, 9> indexes{
        &Tables::Simple_Lowercase_Index, &Tables::Simple_Titlecase_Index,
        &Tables::Simple_Uppercase_Index, &Tables::Simple_Case_Folding_Index,
        &Tables::NFKC_Casefold_Index,    &Tables::Full_Lowercase_Index,
        &Tables::Full_Titlecase_Index,   &Tables::Full_Uppercase_Index,
        &Tables::Full_Case_Folding_Index};
    static const std::array<ASCII_Map, 9> maps = [] {
        std::array<ASCII_Map, 9> result;
        for (std::size_t i = 0; i < indexes.size(); ++i) {
            result[i] = Compute_ASCII_Map<Record>(*indexes[i]);
        }
        return result;
    }();
    static const ASCII_Map unusable;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        if (indexes[i] == &Index) {
            return maps[i];
        }
    }
    return unusable;
}

// Per table, the blocks of 64 code points whose records are all zero (no mapping and no
// context bit) or, with Mapping_Only, that have no mapping. Made on first use.
template <const Mapping_Data_Offset_Array* Index, bool Mapping_Only>
const UCD_Block_Maps::Block_Map& Block_Map_For() {
    static const UCD_Block_Maps::Block_Map map =
        UCD_Block_Maps::Block_Map::Build(*Index, Tables::Mapping_Record_Count, [](std::size_t at) {
            const std::uint32_t raw = Tables::Mapping_Data_Table_Raw[at];
            return Mapping_Only ? (raw >> 31) == 0 : raw == 0;
        });
    return map;
}

template <bool Mapping_Only>
const UCD_Block_Maps::Block_Map& Block_Map_Of(const Mapping_Data_Offset_Array& Index) {
    static const UCD_Block_Maps::Block_Map none;
    if (&Index == &Tables::Simple_Lowercase_Index) {
        return Block_Map_For<&Tables::Simple_Lowercase_Index, Mapping_Only>();
    }
    if (&Index == &Tables::Simple_Uppercase_Index) {
        return Block_Map_For<&Tables::Simple_Uppercase_Index, Mapping_Only>();
    }
    if (&Index == &Tables::Simple_Case_Folding_Index) {
        return Block_Map_For<&Tables::Simple_Case_Folding_Index, Mapping_Only>();
    }
    if (&Index == &Tables::NFKC_Casefold_Index) {
        return Block_Map_For<&Tables::NFKC_Casefold_Index, Mapping_Only>();
    }
    if (&Index == &Tables::Full_Lowercase_Index) {
        return Block_Map_For<&Tables::Full_Lowercase_Index, Mapping_Only>();
    }
    if (&Index == &Tables::Full_Uppercase_Index) {
        return Block_Map_For<&Tables::Full_Uppercase_Index, Mapping_Only>();
    }
    return none; // the other tables are not converted whole: no fast path for them
}

// Characters without a mapping are copied from the source as one block per stretch.
struct Pending_Run {
    UTF8_Code_Unit_Offset Start = 0;
    std::int64_t Characters = 0;

    // Inline, so that the frequent empty run costs one comparison.
    void Flush(Text_Builder& Out, const UTF8_Code_Unit* Source, UTF8_Code_Unit_Offset End) {
        if (End > Start) {
            Copy(Out, Source, End);
        }
        Characters = 0;
    }

    void Copy(Text_Builder& Out, const UTF8_Code_Unit* Source, UTF8_Code_Unit_Offset End) {
        const UTF8_Code_Unit_Count count = End - Start;
        if (count > 16) {
            Out.Append(Source + Start, count, Characters);
        } else {
            Out.Append_Short(Source + Start, count, Characters);
        }
    }
};

// A lone ASCII character between others (a space in Cyrillic text) is converted on the spot;
// a longer stretch goes through Convert_ASCII. Returns whether the character was converted.
inline bool Convert_Lone_ASCII(const ASCII_Map& Map, const UTF8_Code_Unit* Source,
                               UTF8_Code_Unit_Offset Size, UTF8_Code_Unit_Offset& Position,
                               Text_Builder& Out, Pending_Run& Run) {
    if (Position + 1 < Size && Source[Position + 1] < 0x80) {
        return false;
    }
    const UTF8_Code_Unit unit = Source[Position];
    if (Map.Result[unit] == unit) {
        ++Run.Characters;
    } else {
        Run.Flush(Out, Source, Position);
        *Out.Reserve(1) = Map.Result[unit];
        Out.Commit(1, 1);
        Run.Start = Position + 1;
    }
    ++Position;
    return true;
}

// Converts the stretch of ASCII characters at Position through Map; returns the position after
// it.
UTF8_Code_Unit_Offset Convert_ASCII(const ASCII_Map& Map, const UTF8_Code_Unit* Source,
                                    UTF8_Code_Unit_Offset Size, UTF8_Code_Unit_Offset Position,
                                    Text_Builder& Out) {
    while (Position < Size) {
        const UTF8_Code_Unit_Count chunk = std::min<UTF8_Code_Unit_Count>(Size - Position, 256);
        UTF8_Code_Unit* at = Out.Reserve(chunk);
        UTF8_Code_Unit_Count done = 0;
        for (; done < chunk; ++done) {
            const UTF8_Code_Unit unit = Source[Position + done];
            if (unit >= 0x80) {
                break;
            }
            at[done] = Map.Result[unit];
        }
        Out.Commit(done, done);
        Position += done;
        if (done < chunk) {
            break;
        }
    }
    return Position;
}

// The Final_Sigma flag of the casing context just before the character at Position: the flag
// is set by a cased character that is not case-ignorable, kept across case-ignorable ones and
// cleared by any other, so it is found by stepping back over the case-ignorable characters
// before Position to the first other one (false at the start of the text). This gives the
// same as following the context through the whole text, which the loop then need not do: the
// flag is only read at a capital sigma.
bool Final_Sigma_Before(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
                        UTF8_Code_Unit_Offset Position) {
    while (Position > 0) {
        const Contextual_Mapping_Information before = Get_Contextual_Case_Mapping_Information(
            Index, UTF8_Encoding::Unchecked_Backward_Decode(Source, Position));
        const UCD_Casing::Casing_Context context =
            UCD_Casing::Update(UCD_Casing::Casing_Context{0x01}, before.Context_Change());
        if (!before.Case_Ignorable()) {
            return context.Final_Sigma();
        }
    }
    return false;
}

// Whether the characters after Position, past the case-ignorable ones, begin with a cased one
// (the end of the text counts as not cased).
bool Cased_After(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
                 UTF8_Code_Unit_Offset Position) {
    const auto size = static_cast<UTF8_Code_Unit_Offset>(Source.size());
    while (Position < size) {
        const Contextual_Mapping_Information following = Get_Contextual_Case_Mapping_Information(
            Index, UTF8_Text_Builders::Decode_Next(Source.data(), size, Position));
        if (!following.Case_Ignorable()) {
            return following.Cased();
        }
    }
    return false;
}

} // namespace

std::string_view Image(Case_Mapping Value) {
    Check_Mapping(Value);
    return mapping_images[static_cast<std::size_t>(Value)];
}

void Raise_Corrupted_Table() {
    throw Constraint_Error("case mapping table is corrupted");
}

void Convert_Case_Simple(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
                         UTF8_String_Data& Result) {
    Text_Builder out(Result);
    const ASCII_Map& ascii = ASCII_Map_Of<Simplified_Mapping_Information>(Index);
    const bool ascii_usable = ascii.Usable;
    const UCD_Block_Maps::Block_Map& unmapped = Block_Map_Of<false>(Index);
    const UTF8_Code_Unit* source = Source.data();
    const auto size = static_cast<UTF8_Code_Unit_Offset>(Source.size());
    Pending_Run run;
    UTF8_Code_Unit_Offset position = 0;
    while (position < size) {
        if (source[position] < 0x80 && ascii_usable) {
            if (Convert_Lone_ASCII(ascii, source, size, position, out, run)) {
                continue;
            }
            run.Flush(out, source, position);
            position = Convert_ASCII(ascii, source, size, position, out);
            run.Start = position;
            continue;
        }
        UTF8_Code_Unit_Offset next = position;
        const Virtual_Character code = UTF8_Text_Builders::Decode_Next(source, size, next);
        // Blocks are only worth testing above the two-unit range, where whole blocks of
        // characters without case (CJK, kana, most of the Indic scripts) lie.
        if (code >= 0x800 && unmapped.Test(code)) {
            ++run.Characters;
            position = next;
            continue;
        }
        const Simplified_Mapping_Information record{Raw_Record(Index, code)};
        if (record.Has_Mapping()) {
            run.Flush(out, source, position);
            const UTF8_Code_Unit* result = Result_Bytes(record.Offset(), record.Size());
            if (record.Size() > 16) {
                out.Append(result, record.Size(), record.Length());
            } else {
                out.Append_Short(result, record.Size(), record.Length());
            }
            run.Start = next;
        } else {
            ++run.Characters;
        }
        position = next;
    }
    run.Flush(out, source, size);
    out.Finish();
}

void Convert_Case_Full(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
                       bool Final_Sigma, UTF8_String_Data& Result) {
    Text_Builder out(Result);
    const ASCII_Map& ascii = ASCII_Map_Of<Contextual_Mapping_Information>(Index);
    const bool ascii_usable = ascii.Usable;
    const UCD_Block_Maps::Block_Map& unmapped = Block_Map_Of<true>(Index);
    const UTF8_Code_Unit* source = Source.data();
    const auto size = static_cast<UTF8_Code_Unit_Offset>(Source.size());
    Pending_Run run;
    UTF8_Code_Unit_Offset position = 0;
    while (position < size) {
        if (source[position] < 0x80 && ascii_usable) {
            if (Convert_Lone_ASCII(ascii, source, size, position, out, run)) {
                continue;
            }
            run.Flush(out, source, position);
            position = Convert_ASCII(ascii, source, size, position, out);
            run.Start = position;
            continue;
        }
        UTF8_Code_Unit_Offset next = position;
        const Virtual_Character code = UTF8_Text_Builders::Decode_Next(source, size, next);
        // Blocks are only worth testing above the two-unit range (see Convert_Case_Simple).
        if (code >= 0x800 && unmapped.Test(code)) {
            ++run.Characters;
            position = next;
            continue;
        }
        const Contextual_Mapping_Information record{Raw_Record(Index, code)};
        if (code == 0x03A3 && Final_Sigma) [[unlikely]] {
            // A final sigma: a cased letter before it (past case-ignorable characters), none
            // after it.
            if (Final_Sigma_Before(Source, Index, position) && !Cased_After(Source, Index, next)) {
                run.Flush(out, source, position);
                out.Append_Short(Tables::Final_Sigma_UTF8.data(), 2, 1);
                run.Start = next;
                position = next;
                continue;
            }
        }
        if (record.Has_Mapping()) {
            run.Flush(out, source, position);
            // Results of the full tables have at most seven code units.
            const UTF8_Code_Unit* result = Result_Bytes(record.Offset(), record.Size());
            if (record.Offset() + 8 <= Tables::UTF8_Data_Size) [[likely]] {
                out.Append_Up_To_8(result, record.Size(), record.Length());
            } else {
                out.Append_Short(result, record.Size(), record.Length());
            }
            run.Start = next;
        } else {
            ++run.Characters;
        }
        position = next;
    }
    run.Flush(out, source, size);
    out.Finish();
}

void Convert_Case(const UTF8_String_Data& Source, Case_Mapping Mapping, UTF8_String_Data& Result) {
    Check_Mapping(Mapping);
    // Source may be Result: the text is then taken over first, so that initialising Result
    // does not lose it, and released at the end.
    UTF8_String_Data taken;
    const UTF8_String_Data* source = &Source;
    if (&Source == &Result) {
        std::memcpy(static_cast<void*>(&taken), &Result, sizeof taken);
        UTF8_Strings::Adjust(taken);
        Result = UTF8_Strings::Default_UTF8_String_Data;
        source = &taken;
    }
    try {
        UTF8_Strings::Initialize(Result, source->Size);
        if (source->Size != 0) {
            const UTF8_Code_Unit_Array units = UTF8_Strings::Code_Units(*source);
            switch (Mapping) {
            case Case_Mapping::SIMPLE_LOWERCASE:
                Convert_Case_Simple(units, Tables::Simple_Lowercase_Index, Result);
                break;
            case Case_Mapping::SIMPLE_UPPERCASE:
                Convert_Case_Simple(units, Tables::Simple_Uppercase_Index, Result);
                break;
            case Case_Mapping::SIMPLE_CASE_FOLDING:
                Convert_Case_Simple(units, Tables::Simple_Case_Folding_Index, Result);
                break;
            case Case_Mapping::NFKC_CASEFOLD:
                Convert_Case_Simple(units, Tables::NFKC_Casefold_Index, Result);
                break;
            case Case_Mapping::LOWERCASE:
                Convert_Case_Full(units, Tables::Full_Lowercase_Index, true, Result);
                break;
            case Case_Mapping::UPPERCASE:
                Convert_Case_Full(units, Tables::Full_Uppercase_Index, false, Result);
                break;
            case Case_Mapping::SIMPLE_TITLECASE:
            case Case_Mapping::TITLECASE:
                throw Program_Error("title case conversion of strings is not provided");
            }
        }
    } catch (...) {
        UTF8_Strings::Unreference(Result);
        UTF8_Strings::Unreference(taken);
        throw;
    }
    UTF8_Strings::Unreference(taken);
}

void Get_Case_Mapping(Virtual_Character Code, Case_Mapping Mapping, UTF8_String_Data& Data) {
    Check_Mapping(Mapping);
    if (Code > 0x10'FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) {
        throw Constraint_Error("not a Unicode scalar value");
    }
    bool has_mapping;
    std::uint32_t offset;
    UTF8_Code_Unit_Count size;
    Character_Count length;
    const auto simple = [&](const Mapping_Data_Offset_Array& Index) {
        const Simplified_Mapping_Information record =
            Get_Simplified_Case_Mapping_Information(Index, Code);
        has_mapping = record.Has_Mapping();
        offset = record.Offset();
        size = record.Size();
        length = record.Length();
    };
    const auto full = [&](const Mapping_Data_Offset_Array& Index) {
        const Contextual_Mapping_Information record =
            Get_Contextual_Case_Mapping_Information(Index, Code);
        has_mapping = record.Has_Mapping();
        offset = record.Offset();
        size = record.Size();
        length = record.Length();
    };
    switch (Mapping) {
    case Case_Mapping::SIMPLE_LOWERCASE:
        simple(Tables::Simple_Lowercase_Index);
        break;
    case Case_Mapping::SIMPLE_TITLECASE:
        simple(Tables::Simple_Titlecase_Index);
        break;
    case Case_Mapping::SIMPLE_UPPERCASE:
        simple(Tables::Simple_Uppercase_Index);
        break;
    case Case_Mapping::SIMPLE_CASE_FOLDING:
        simple(Tables::Simple_Case_Folding_Index);
        break;
    case Case_Mapping::NFKC_CASEFOLD:
        simple(Tables::NFKC_Casefold_Index);
        break;
    case Case_Mapping::LOWERCASE:
        full(Tables::Full_Lowercase_Index);
        break;
    case Case_Mapping::TITLECASE:
        full(Tables::Full_Titlecase_Index);
        break;
    case Case_Mapping::UPPERCASE:
    default:
        full(Tables::Full_Uppercase_Index);
        break;
    }
    if (!has_mapping) {
        UTF8_Strings::Mutable_Operations::Append(Data, Code);
    } else if (size > 0) {
        UTF8_Strings::Mutable_Operations::Append(
            Data, UTF8_Code_Unit_Array(Result_Bytes(offset, size), static_cast<std::size_t>(size)),
            length);
    }
}

} // namespace Qorvi::Implementation::UTF8_Casing
