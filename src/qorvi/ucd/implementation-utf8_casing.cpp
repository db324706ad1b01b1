#include <algorithm>
#include <array>
#include <cstring>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <qorvi/ucd/implementation-ucd_block_maps.hpp>
#include <qorvi/ucd/implementation-utf8_casing.hpp>
#include <qorvi/ucd/implementation-utf8_text_builders.hpp>
#include <type_traits>

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
    std::array<UCD_Casing::Casing_Context_Change, 128> Change{};
};

template <typename Record>
ASCII_Map Compute_ASCII_Map(const Mapping_Data_Offset_Array& Index) {
    ASCII_Map map;
    for (unsigned code = 0; code < 128; ++code) {
        const Record record{Tables::Mapping_Data_Table_Raw[Detail::Record_Position(Index, code)]};
        map.Result[code] = static_cast<UTF8_Code_Unit>(code);
        if constexpr (std::is_same_v<Record, Contextual_Mapping_Information>) {
            map.Change[code] = record.Context_Change();
        }
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

    void Flush(Text_Builder& Out, const UTF8_Code_Unit* Source, UTF8_Code_Unit_Offset End) {
        const UTF8_Code_Unit_Count count = End - Start;
        if (count > 16) [[unlikely]] {
            Out.Append(Source + Start, count, Characters);
        } else if (count > 0) {
            Out.Append_Short(Source + Start, count, Characters);
        }
        Characters = 0;
    }
};

// A lone ASCII character between others (a space in Cyrillic text) is converted on the spot;
// a longer stretch goes through Convert_ASCII. Returns whether the character was converted.
inline bool Convert_Lone_ASCII(const ASCII_Map& Map, const UTF8_Code_Unit* Source,
                               UTF8_Code_Unit_Offset Size, UTF8_Code_Unit_Offset& Position,
                               Text_Builder& Out, Pending_Run& Run,
                               UCD_Casing::Casing_Context* Context) {
    if (Position + 1 < Size && Source[Position + 1] < 0x80) {
        return false;
    }
    const UTF8_Code_Unit unit = Source[Position];
    if (Context != nullptr) {
        *Context = UCD_Casing::Update(*Context, Map.Change[unit]);
    }
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
// it. Change, when given, is updated with each character's context change.
UTF8_Code_Unit_Offset Convert_ASCII(const ASCII_Map& Map, const UTF8_Code_Unit* Source,
                                    UTF8_Code_Unit_Offset Size, UTF8_Code_Unit_Offset Position,
                                    Text_Builder& Out, UCD_Casing::Casing_Context* Context) {
    const UTF8_Code_Unit_Offset first = Position;
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
    if (Context != nullptr) {
        // The state after the stretch only depends on its end: from the last character that
        // keeps no flag, the state is that character's set bits, then the characters after
        // it update it (for a stretch of characters that all keep some flag, the state from
        // before the stretch is updated by each).
        UTF8_Code_Unit_Offset from = Position;
        UCD_Casing::Casing_Context context = *Context;
        constexpr unsigned keep_bits = UCD_Casing::Casing_Context_Change::Final_Sigma_Keep |
                                       UCD_Casing::Casing_Context_Change::After_Soft_Dotted_Keep |
                                       UCD_Casing::Casing_Context_Change::After_I_Keep;
        while (from > first && (Map.Change[Source[from - 1]].Bits & keep_bits) != 0) {
            --from;
        }
        if (from > first) {
            --from;
            context = UCD_Casing::Update({}, Map.Change[Source[from]]);
            ++from;
        }
        for (; from < Position; ++from) {
            context = UCD_Casing::Update(context, Map.Change[Source[from]]);
        }
        *Context = context;
    }
    return Position;
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
            if (Convert_Lone_ASCII(ascii, source, size, position, out, run, nullptr)) {
                continue;
            }
            run.Flush(out, source, position);
            position = Convert_ASCII(ascii, source, size, position, out, nullptr);
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

namespace {

// The full loop, in two versions: the context is only followed when Final_Sigma is on (no other
// result depends on it).
template <bool Final_Sigma>
void Convert_Full(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
                  UTF8_String_Data& Result) {
    Text_Builder out(Result);
    const ASCII_Map& ascii = ASCII_Map_Of<Contextual_Mapping_Information>(Index);
    const bool ascii_usable = ascii.Usable;
    const UCD_Block_Maps::Block_Map& plain = Block_Map_Of<!Final_Sigma>(Index);
    const UTF8_Code_Unit* source = Source.data();
    const auto size = static_cast<UTF8_Code_Unit_Offset>(Source.size());
    UCD_Casing::Casing_Context context;
    Pending_Run run;
    UTF8_Code_Unit_Offset position = 0;
    while (position < size) {
        if (source[position] < 0x80 && ascii_usable) {
            UCD_Casing::Casing_Context* followed = Final_Sigma ? &context : nullptr;
            if (Convert_Lone_ASCII(ascii, source, size, position, out, run, followed)) {
                continue;
            }
            run.Flush(out, source, position);
            position = Convert_ASCII(ascii, source, size, position, out, followed);
            run.Start = position;
            continue;
        }
        UTF8_Code_Unit_Offset next = position;
        const Virtual_Character code = UTF8_Text_Builders::Decode_Next(source, size, next);
        if (code >= 0x800 && plain.Test(code)) {
            context = {};
            ++run.Characters;
            position = next;
            continue;
        }
        const Contextual_Mapping_Information record{Raw_Record(Index, code)};
        if (!record.Has_Mapping() && (!Final_Sigma || record.Raw == 0)) {
            // No mapping (and, when the context is followed, no context bit either): the
            // case of most characters of most scripts.
            context = {};
            ++run.Characters;
            position = next;
            continue;
        }

        // The context flag reflects the characters before this one. Looking ahead, the
        // case-ignorable characters are skipped; the first other one decides: a cased one
        // means the sigma is not final. The end of the text counts as "not cased".
        bool final_sigma = false;
        if (Final_Sigma && code == 0x03A3 && context.Final_Sigma()) [[unlikely]] {
            final_sigma = true;
            UTF8_Code_Unit_Offset ahead = next;
            while (ahead < size) {
                const Contextual_Mapping_Information following =
                    Get_Contextual_Case_Mapping_Information(
                        Index, UTF8_Text_Builders::Decode_Next(source, size, ahead));
                if (!following.Case_Ignorable()) {
                    final_sigma = !following.Cased();
                    break;
                }
            }
        }
        if constexpr (Final_Sigma) {
            context = UCD_Casing::Update(context, record.Context_Change());
        }

        if (final_sigma) [[unlikely]] {
            run.Flush(out, source, position);
            out.Append_Short(Tables::Final_Sigma_UTF8.data(), 2, 1);
            run.Start = next;
        } else if (record.Has_Mapping()) {
            run.Flush(out, source, position);
            out.Append_Short(Result_Bytes(record.Offset(), record.Size()), record.Size(),
                             record.Length());
            run.Start = next;
        } else {
            ++run.Characters;
        }
        position = next;
    }
    run.Flush(out, source, size);
    out.Finish();
}

} // namespace

void Convert_Case_Full(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
                       bool Final_Sigma, UTF8_String_Data& Result) {
    if (Final_Sigma) {
        Convert_Full<true>(Source, Index, Result);
    } else {
        Convert_Full<false>(Source, Index, Result);
    }
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
