#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <qorvi/ucd/implementation-ucd_block_maps.hpp>
#include <qorvi/ucd/implementation-utf8_normalization.hpp>
#include <qorvi/ucd/implementation-utf8_text_builders.hpp>
#include <vector>

namespace Qorvi::Implementation {

namespace {

constexpr std::array<std::string_view, 4> form_images{
    "NORMALIZATION_FORM_D", "NORMALIZATION_FORM_C", "NORMALIZATION_FORM_KD",
    "NORMALIZATION_FORM_KC"};

} // namespace

std::string_view Image(Normalization_Form Value) {
    const auto code = static_cast<std::size_t>(Value);
    if (code >= form_images.size()) {
        throw Constraint_Error("Normalization_Form value out of range");
    }
    return form_images[code];
}

} // namespace Qorvi::Implementation

namespace Qorvi::Implementation::UTF8_Normalization {

namespace Tables = UCD_Normalization_UTF8;
using Tables::Get_Mapping_Information;
using Tables::Mapping_Information;
using UCD_Normalization_Common::Composition_Quick_Check;
using UTF8_Encoding::UTF8_Code_Unit;
using UTF8_Text_Builders::Text_Builder;

namespace {

// Hangul syllables and jamo (the conjoining algorithm of the Unicode Standard, section 3.12).
constexpr Virtual_Character S_Base = 0xAC00;
constexpr Virtual_Character L_Base = 0x1100;
constexpr Virtual_Character V_Base = 0x1161;
constexpr Virtual_Character T_Base = 0x11A7;
constexpr Virtual_Character L_Count = 19;
constexpr Virtual_Character V_Count = 21;
constexpr Virtual_Character T_Count = 28;
constexpr Virtual_Character N_Count = V_Count * T_Count;
constexpr Virtual_Character S_Count = L_Count * N_Count;

constexpr bool Is_Hangul_Syllable(Virtual_Character Code) noexcept {
    return Code - S_Base < S_Count;
}

// A character of a stretch being normalized, with its record for the engine's index.
struct Item {
    Virtual_Character Code;
    Mapping_Information Record;

    std::uint32_t CCC() const noexcept { return Record.CCC(); }
};

// The primary composite of First and Second (Hangul syllables by rule), 0 when none.
Virtual_Character Composite_Of(const Item& First, const Item& Second) {
    if (First.Code - L_Base < L_Count && Second.Code - V_Base < V_Count) {
        return S_Base + ((First.Code - L_Base) * V_Count + (Second.Code - V_Base)) * T_Count;
    }
    if (Is_Hangul_Syllable(First.Code) && (First.Code - S_Base) % T_Count == 0 &&
        Second.Code - T_Base - 1 < T_Count - 1) {
        return First.Code + (Second.Code - T_Base);
    }
    const std::uint32_t first_index = First.Record.First_Index();
    const std::uint32_t second_index = Second.Record.Second_Index();
    if (first_index == 0 || second_index == 0) {
        return 0;
    }
    return UCD_Normalization_Common::Get_Composition(first_index, second_index);
}

// The characters of the stretch of text being worked on: kept inline while few, on the heap
// beyond that. Reused from one stretch to the next.
class Item_Buffer {
public:
    std::size_t Size() const noexcept { return size_; }
    Item* Data() noexcept { return data_; }
    Item& Back() noexcept { return data_[size_ - 1]; }
    void Clear() noexcept { size_ = 0; }
    void Resize(std::size_t Size) noexcept { size_ = Size; }

    void Push(const Item& Value) {
        if (size_ == capacity_) [[unlikely]] {
            Grow();
        }
        data_[size_++] = Value;
    }

private:
    void Grow() {
        const std::size_t capacity = capacity_ * 2;
        auto heap = std::make_unique<Item[]>(capacity);
        std::copy(data_, data_ + size_, heap.get());
        heap_ = std::move(heap);
        data_ = heap_.get();
        capacity_ = capacity;
    }

    static constexpr std::size_t inline_capacity = 32;
    std::array<Item, inline_capacity> inline_{};
    std::unique_ptr<Item[]> heap_;
    Item* data_ = inline_.data();
    std::size_t size_ = 0;
    std::size_t capacity_ = inline_capacity;
};

// The record bits that make a character an unchanged starter: for the decomposing forms the
// decomposition quick check set and class 0, for the composing forms the composition quick
// check YES and class 0.
constexpr std::uint64_t Starter_Class_Mask = Tables::CCC_Field.Mask();
constexpr std::uint64_t Decomposition_Mask =
    Tables::Decomposition_QC_Field.Mask() | Starter_Class_Mask;
constexpr std::uint64_t Unchanged_Decomposition_Starter = Tables::Decomposition_QC_Field.Mask();
constexpr std::uint64_t Composition_Mask = Tables::Composition_QC_Field.Mask() | Starter_Class_Mask;
constexpr std::uint64_t Unchanged_Composition_Starter =
    std::uint64_t{static_cast<unsigned>(Composition_Quick_Check::YES)}
    << Tables::Composition_QC_Field.Shift;

// Per index and kind of engine, the blocks of 64 code points that are all unchanged starters.
const UCD_Block_Maps::Block_Map& Block_Map_Of(const Mapping_Data_Offset_Array& Index,
                                              bool Compose) {
    using UCD_Block_Maps::Block_Map;
    const auto build = [](const Mapping_Data_Offset_Array& index, bool compose) {
        return Block_Map::Build(index, Tables::Mapping_Record_Count, [compose](std::size_t at) {
            const std::uint64_t raw = Tables::Mapping_Data_Table_Raw[at];
            return compose ? (raw & Composition_Mask) == Unchanged_Composition_Starter
                           : (raw & Decomposition_Mask) == Unchanged_Decomposition_Starter;
        });
    };
    static const Block_Map canonical_d = build(Tables::Canonical_Index, false);
    static const Block_Map canonical_c = build(Tables::Canonical_Index, true);
    static const Block_Map compatibility_d = build(Tables::Compatibility_Index, false);
    static const Block_Map compatibility_c = build(Tables::Compatibility_Index, true);
    static const Block_Map none;
    if (&Index == &Tables::Canonical_Index) {
        return Compose ? canonical_c : canonical_d;
    }
    if (&Index == &Tables::Compatibility_Index) {
        return Compose ? compatibility_c : compatibility_d;
    }
    return none;
}

// The first code point that is not unchanged by each kind of engine with an index: every
// character below it is a starter that needs no work, so a run can take it without a table
// read (for the tables of Unicode 15.1: U+00C0 for D, U+0300 for C, U+00A0 for KD and KC).
struct Thresholds {
    Virtual_Character Decomposition = 0;
    Virtual_Character Composition = 0;
};

Thresholds Compute_Thresholds(const Mapping_Data_Offset_Array& Index) {
    Thresholds thresholds{0x11'0000, 0x11'0000};
    bool decomposition_found = false;
    bool composition_found = false;
    for (Virtual_Character code = 0; code <= 0x10'FFFF; ++code) {
        const Mapping_Information record = Get_Mapping_Information(Index, code);
        if (!decomposition_found && !(record.Decomposition_QC() && record.CCC() == 0)) {
            thresholds.Decomposition = code;
            decomposition_found = true;
        }
        if (!composition_found &&
            !(record.Composition_QC() == Composition_Quick_Check::YES && record.CCC() == 0)) {
            thresholds.Composition = code;
            composition_found = true;
        }
        if (decomposition_found && composition_found) {
            break;
        }
    }
    return thresholds;
}

Thresholds Thresholds_Of(const Mapping_Data_Offset_Array& Index) {
    static const Thresholds canonical = Compute_Thresholds(Tables::Canonical_Index);
    static const Thresholds compatibility = Compute_Thresholds(Tables::Compatibility_Index);
    if (&Index == &Tables::Canonical_Index) {
        return canonical;
    }
    if (&Index == &Tables::Compatibility_Index) {
        return compatibility;
    }
    return Compute_Thresholds(Index);
}

// The end of the stretch of ASCII characters at Position (eight code units at a time).
UTF8_Code_Unit_Offset Skip_ASCII(const UTF8_Code_Unit* Text, UTF8_Code_Unit_Offset Size,
                                 UTF8_Code_Unit_Offset Position) {
    while (Size - Position >= 8) {
        std::uint64_t word;
        std::memcpy(&word, Text + Position, sizeof word);
        if ((word & 0x8080'8080'8080'8080u) != 0) {
            break;
        }
        Position += 8;
    }
    while (Position < Size && Text[Position] < 0x80) {
        ++Position;
    }
    return Position;
}

// For the decomposing forms, one byte per code point, grouped by blocks of 64 code points
// that follow the layout of UTF-8 (the last code unit of a character gives its position in
// the block, the code units before it the block). Checking that a character can stay where
// it is then takes its code units, two small-table reads and one comparison, without decoding
// the code point. Identical blocks are stored once; the tables are derived from the generated
// records the first time they are needed, so they always agree with them.
//
// The byte is a key compared with the class of the last character plus one (the "level",
// 1..56): 0 for a character the form changes (below every level: always work), class + 1 for
// an unchanged mark (stays when not below the level, and its key is the new level) and
// Starter_Key for an unchanged starter (above every level, and its low six bits give level 1).
class Decomposition_Classes {
public:
    static constexpr std::uint8_t Changed_Key = 0;
    static constexpr std::uint8_t Starter_Key = 0xC1;
    static constexpr std::uint32_t Level_Mask = 0x3F;
    // Blocks of 64 code points up to U+10FFFF.
    static constexpr std::uint32_t Block_Count = 0x11'0000 / 64;

    explicit Decomposition_Classes(const Mapping_Data_Offset_Array& Index) {
        static_assert((Starter_Key & Level_Mask) == 1);
        std::map<std::array<std::uint8_t, 64>, std::uint16_t> known;
        const auto block_of = [&](const std::array<std::uint8_t, 64>& content) {
            const auto [at, added] =
                known.try_emplace(content, static_cast<std::uint16_t>(known.size()));
            if (added) {
                keys_.insert(keys_.end(), content.begin(), content.end());
            }
            return at->second;
        };
        // Block 0 is all Changed_Key: pages whose start lies outside the record array go to
        // the full path, which reports the corrupted table.
        std::array<std::uint8_t, 64> content;
        content.fill(Changed_Key);
        const std::uint16_t unknown = block_of(content);
        // Pages share their records: each distinct start is derived once.
        std::map<std::int64_t, std::array<std::uint16_t, 4>> pages;
        for (std::size_t page = 0; page < Index.size() && page < Block_Count / 4; ++page) {
            const auto start = static_cast<std::int64_t>(Index[page]);
            std::array<std::uint16_t, 4> blocks{unknown, unknown, unknown, unknown};
            if (start >= 0 &&
                static_cast<std::size_t>(start) + 256 <= Tables::Mapping_Record_Count) {
                const auto [at, added] = pages.try_emplace(start);
                if (added) {
                    for (std::size_t block = 0; block < 4; ++block) {
                        for (std::size_t i = 0; i < 64; ++i) {
                            content[i] = Key_Of(Mapping_Information{
                                Tables::Mapping_Data_Table_Raw[static_cast<std::size_t>(start) +
                                                               block * 64 + i]});
                        }
                        at->second[block] = block_of(content);
                    }
                }
                blocks = at->second;
            }
            for (std::size_t block = 0; block < 4; ++block) {
                blocks_[page * 4 + block] = blocks[block];
            }
        }
        ascii_unchanged_ = true;
        for (std::uint32_t code = 0; code < 0x80; ++code) {
            ascii_unchanged_ = ascii_unchanged_ && Key(code >> 6, code & 63u) == Starter_Key;
        }
    }

    // Takes into a run the characters from Position that the form leaves as they stand and
    // that need no reordering: Characters counts them and Last_Class is the class of the last
    // one. Stops before the first other character, before a code unit that cannot start a
    // character, and when fewer than four code units are left (so that no check of the size
    // is needed for the code units of a character); the engine's full path goes on from there.
    // Returns true when it stopped before a character that needs work.
    bool Scan(const UTF8_Code_Unit* Text, UTF8_Code_Unit_Offset Size,
              UTF8_Code_Unit_Offset& Position, std::int64_t& Characters,
              std::uint32_t& Last_Class) const noexcept {
        if (Size - Position < 4) {
            return false;
        }
        const std::uint16_t* const blocks = blocks_.data();
        const std::uint8_t* const keys = keys_.data();
        const bool ascii_unchanged = ascii_unchanged_;
        const UTF8_Code_Unit* p = Text + Position;
        const UTF8_Code_Unit* const limit = Text + (Size - 3);
        std::int64_t characters = Characters;
        std::uint32_t level = Last_Class + 1;
        bool work = false;
        while (p < limit) {
            const std::uint32_t u1 = p[0];
            std::uint32_t block;
            std::uint32_t low;
            std::ptrdiff_t length;
            if (u1 < 0x80) {
                if (ascii_unchanged) {
                    // One ASCII character, then the stretch of ASCII after it, if any.
                    ++p;
                    ++characters;
                    level = 1;
                    if (*p < 0x80) {
                        const auto at = static_cast<UTF8_Code_Unit_Offset>(p - Text);
                        const UTF8_Code_Unit_Offset end = Skip_ASCII(Text, Size, at);
                        characters += end - at;
                        p = Text + end;
                    }
                    continue;
                }
                block = u1 >> 6;
                low = u1 & 63u;
                length = 1;
            } else if (u1 < 0xE0) {
                if (u1 < 0xC2) [[unlikely]] {
                    break;
                }
                block = u1 & 0x1Fu;
                low = p[1] & 0x3Fu;
                length = 2;
            } else if (u1 < 0xF0) {
                block = ((u1 & 0x0Fu) << 6) | (p[1] & 0x3Fu);
                low = p[2] & 0x3Fu;
                length = 3;
            } else {
                block = ((u1 & 0x07u) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
                if (u1 > 0xF4 || block >= Block_Count) [[unlikely]] {
                    break;
                }
                low = p[3] & 0x3Fu;
                length = 4;
            }
            const std::uint32_t key = keys[(std::size_t{blocks[block]} << 6) | low];
            if (key < level) {
                work = true;
                break;
            }
            level = key & Level_Mask;
            ++characters;
            p += length;
        }
        Position = static_cast<UTF8_Code_Unit_Offset>(p - Text);
        Characters = characters;
        Last_Class = level - 1;
        return work;
    }

private:
    static std::uint8_t Key_Of(const Mapping_Information& Record) noexcept {
        if (!Record.Decomposition_QC()) {
            return Changed_Key;
        }
        return Record.CCC() == 0 ? Starter_Key : static_cast<std::uint8_t>(Record.CCC() + 1);
    }

    std::uint32_t Key(std::uint32_t Block, std::uint32_t Low) const noexcept {
        return keys_[(std::size_t{blocks_[Block]} << 6) | Low];
    }

    std::array<std::uint16_t, Block_Count> blocks_{};
    std::vector<std::uint8_t> keys_;
    bool ascii_unchanged_ = false;
};

// The classes for the two generated indexes; null for another index, whose characters all
// take the full path.
const Decomposition_Classes* Decomposition_Classes_Of(const Mapping_Data_Offset_Array& Index) {
    if (&Index == &Tables::Canonical_Index) {
        static const Decomposition_Classes canonical(Tables::Canonical_Index);
        return &canonical;
    }
    if (&Index == &Tables::Compatibility_Index) {
        static const Decomposition_Classes compatibility(Tables::Compatibility_Index);
        return &compatibility;
    }
    return nullptr;
}

// The engine's state: its index, its source, its result and the work buffer.
class Engine {
public:
    Engine(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
           UTF8_String_Data& Result)
        : source_(Source), index_(Index), out_(Result),
          size_(static_cast<UTF8_Code_Unit_Offset>(Source.size())) {}

    void Decompose();
    void Decompose_And_Compose();

private:
    Mapping_Information Record(Virtual_Character Code) const {
        return Get_Mapping_Information(index_, Code);
    }

    // The record of a code point decoded from the source (so at most 0x10FFFF: the page needs
    // no check). A negative page start converts to a position far beyond the array.
    Mapping_Information Source_Record(Virtual_Character Code) const {
        const std::uint32_t position =
            static_cast<std::uint32_t>(static_cast<std::int32_t>(index_[Code >> 8])) +
            static_cast<std::uint32_t>(Code & 0xFFu);
        if (position >= Tables::Mapping_Record_Count) [[unlikely]] {
            Tables::Raise_Corrupted_Table();
        }
        return Tables::Mapping_Data_Table[position];
    }

    Virtual_Character Decode(UTF8_Code_Unit_Offset& Offset) const {
        return UTF8_Text_Builders::Decode_Next(source_.data(), size_, Offset);
    }

    // Takes a stretch of ASCII characters at Position into the run (when ASCII needs no work
    // for the engine) and returns the position after it, or returns Position.
    UTF8_Code_Unit_Offset Take_ASCII(UTF8_Code_Unit_Offset Position, Virtual_Character Threshold) {
        if (Threshold < 0x80 || source_[static_cast<std::size_t>(Position)] >= 0x80) {
            return Position;
        }
        const UTF8_Code_Unit_Offset end = Skip_ASCII(source_.data(), size_, Position);
        run_characters_ += end - Position;
        last_class_ = 0;
        return end;
    }

    UTF8_Code_Unit_Array Result_Units() const noexcept {
        return {out_.Data(), static_cast<std::size_t>(out_.Size())};
    }

    // Copies the pending run, the source bytes Run_Start .. End - 1, into the result.
    void Flush_Run(UTF8_Code_Unit_Offset End) {
        if (End > run_start_) {
            out_.Append(source_.data() + run_start_, End - run_start_, run_characters_);
        }
        run_characters_ = 0;
    }

    static const UTF8_Code_Unit* Stored_Decomposition(const Mapping_Information& Record) {
        if (std::size_t{Record.Offset()} + static_cast<std::size_t>(Record.Size()) >
            Tables::UTF8_Data_Size) [[unlikely]] {
            Tables::Raise_Corrupted_Table();
        }
        return Tables::UTF8_Data_Table.data() + Record.Offset();
    }

    void Append_Hangul_Jamo(Virtual_Character Code) {
        const Virtual_Character s = Code - S_Base;
        out_.Append_Character(L_Base + s / N_Count);
        out_.Append_Character(V_Base + (s % N_Count) / T_Count);
        if (s % T_Count != 0) {
            out_.Append_Character(T_Base + s % T_Count);
        }
    }

    // Pushes the full decomposition of Code (its record is Record) onto the buffer.
    void Push_Decomposition(Virtual_Character Code, const Mapping_Information& Record);
    // Puts every run of non-starters of the buffer in canonical order (stable by class).
    void Put_Buffer_In_Canonical_Order();
    // Canonical composition of the buffer, in place.
    void Compose_Buffer();
    // Writes the buffer at the end of the result; returns the class of its last character.
    std::uint32_t Write_Buffer();

    // Takes the result's tail back into the buffer: from its last starter (by the starter
    // bit when By_Starter_Bit, by the character's own class otherwise) to its end, each
    // character decomposed when Decompose_Tail.
    void Take_Back_Tail(bool By_Starter_Bit, bool Decompose_Tail);

    // Whether composition can never reach back across the character: it and the first
    // character of its decomposition are starters that never compose with what precedes.
    bool Is_Composition_Boundary(const Mapping_Information& Record) const;

    // The work done for a character that needs it, from Position; each returns the position
    // from which the engine goes on.
    UTF8_Code_Unit_Offset Reorder_Marks(UTF8_Code_Unit_Offset Position);
    UTF8_Code_Unit_Offset Recompose(UTF8_Code_Unit_Offset Position);

    // The two frequent cases of composition that need no work buffer; each returns false
    // (having changed nothing) when its conditions do not hold.
    bool Append_Starter_Decomposition(const Mapping_Information& Record);
    bool Compose_With_Last(Virtual_Character Code, const Mapping_Information& Record,
                           UTF8_Code_Unit_Offset Position, UTF8_Code_Unit_Offset Next);

    UTF8_Code_Unit_Array source_;
    const Mapping_Data_Offset_Array& index_;
    Text_Builder out_;
    UTF8_Code_Unit_Offset size_;
    UTF8_Code_Unit_Offset run_start_ = 0;
    std::int64_t run_characters_ = 0;
    std::uint32_t last_class_ = 0;
    Item_Buffer buffer_;
};

void Engine::Push_Decomposition(Virtual_Character Code, const Mapping_Information& Record) {
    if (Is_Hangul_Syllable(Code)) {
        const Virtual_Character s = Code - S_Base;
        const Virtual_Character l = L_Base + s / N_Count;
        const Virtual_Character v = V_Base + (s % N_Count) / T_Count;
        buffer_.Push({l, this->Record(l)});
        buffer_.Push({v, this->Record(v)});
        if (s % T_Count != 0) {
            const Virtual_Character t = T_Base + s % T_Count;
            buffer_.Push({t, this->Record(t)});
        }
        return;
    }
    if (Record.Size() == 0) {
        buffer_.Push({Code, Record});
        return;
    }
    const UTF8_Code_Unit_Array stored(Stored_Decomposition(Record),
                                      static_cast<std::size_t>(Record.Size()));
    UTF8_Code_Unit_Offset offset = 0;
    while (static_cast<std::size_t>(offset) < stored.size()) {
        const Virtual_Character part = UTF8_Encoding::Unchecked_Decode_Forward(stored, offset);
        buffer_.Push({part, this->Record(part)});
    }
}

void Engine::Put_Buffer_In_Canonical_Order() {
    Item* items = buffer_.Data();
    const std::size_t count = buffer_.Size();
    std::size_t first = 0;
    while (first < count) {
        if (items[first].CCC() == 0) {
            ++first;
            continue;
        }
        std::size_t last = first + 1;
        while (last < count && items[last].CCC() != 0) {
            ++last;
        }
        if (last - first <= 16) {
            // Insertion sort: equal classes keep their order.
            for (std::size_t i = first + 1; i < last; ++i) {
                const Item moved = items[i];
                std::size_t j = i;
                while (j > first && items[j - 1].CCC() > moved.CCC()) {
                    items[j] = items[j - 1];
                    --j;
                }
                items[j] = moved;
            }
        } else {
            std::stable_sort(items + first, items + last, [](const Item& left, const Item& right) {
                return left.CCC() < right.CCC();
            });
        }
        first = last;
    }
}

void Engine::Compose_Buffer() {
    Item* items = buffer_.Data();
    const std::size_t count = buffer_.Size();
    std::size_t written = 0;
    std::size_t starter = 0;
    bool has_starter = false;
    // The class of the last character written after the starter (0 right after it). Since
    // the characters after the starter are non-starters in canonical order, a character is
    // blocked from the starter exactly when one is written between them and that class is not
    // below its own.
    std::uint32_t last_class = 0;
    for (std::size_t read = 0; read < count; ++read) {
        const Item item = items[read];
        const std::uint32_t item_class = item.CCC();
        if (has_starter && (written == starter + 1 || last_class < item_class)) {
            const Virtual_Character composite = Composite_Of(items[starter], item);
            if (composite != 0) {
                items[starter] = {composite, Record(composite)};
                continue;
            }
        }
        if (item_class == 0) {
            starter = written;
            has_starter = true;
        }
        last_class = item_class;
        items[written++] = item;
    }
    buffer_.Resize(written);
}

std::uint32_t Engine::Write_Buffer() {
    const Item* items = buffer_.Data();
    const std::size_t count = buffer_.Size();
    if (count == 0) {
        return 0;
    }
    UTF8_Code_Unit* at =
        out_.Reserve(Checked::Multiply(static_cast<UTF8_Code_Unit_Count>(std::min<std::size_t>(
                                           count, static_cast<std::size_t>(Character_Count_Last))),
                                       4));
    UTF8_Code_Unit_Count written = 0;
    for (std::size_t i = 0; i < count; ++i) {
        written += UTF8_Encoding::Encode(items[i].Code, at + written);
    }
    out_.Commit(written, static_cast<std::int64_t>(count));
    return items[count - 1].CCC();
}

void Engine::Take_Back_Tail(bool By_Starter_Bit, bool Decompose_Tail) {
    const UTF8_Code_Unit_Array result = Result_Units();
    UTF8_Code_Unit_Offset tail = out_.Size();
    std::int64_t characters = 0;
    while (tail > 0) {
        UTF8_Code_Unit_Offset before = tail;
        const Virtual_Character code = UTF8_Encoding::Unchecked_Backward_Decode(result, before);
        const Mapping_Information record = Record(code);
        const bool starter = By_Starter_Bit ? record.Starter() : record.CCC() == 0;
        if (starter && !By_Starter_Bit) {
            break; // the starter stays in the result
        }
        tail = before;
        ++characters;
        if (starter) {
            break; // the starter is taken back too: what follows may compose with it
        }
    }
    for (UTF8_Code_Unit_Offset offset = tail; offset < out_.Size();) {
        const Virtual_Character code = UTF8_Encoding::Unchecked_Decode_Forward(result, offset);
        const Mapping_Information record = Record(code);
        if (Decompose_Tail) {
            Push_Decomposition(code, record);
        } else {
            buffer_.Push({code, record});
        }
    }
    out_.Truncate(tail, characters);
}

bool Engine::Is_Composition_Boundary(const Mapping_Information& Record) const {
    if (!Record.Starter()) {
        return false;
    }
    switch (Record.Composition_QC()) {
    case Composition_Quick_Check::YES:
        return Record.CCC() == 0;
    case Composition_Quick_Check::MAYBE:
        return false;
    case Composition_Quick_Check::NO:
        break;
    }
    if (Record.Size() == 0) {
        return false;
    }
    const UTF8_Code_Unit_Array stored(Stored_Decomposition(Record),
                                      static_cast<std::size_t>(Record.Size()));
    UTF8_Code_Unit_Offset offset = 0;
    const Mapping_Information first =
        this->Record(UTF8_Encoding::Unchecked_Decode_Forward(stored, offset));
    return first.CCC() == 0 && first.Composition_QC() == Composition_Quick_Check::YES;
}

UTF8_Code_Unit_Offset Engine::Reorder_Marks(UTF8_Code_Unit_Offset Position) {
    // The non-starters at the end of the result, then the source's characters up to the next
    // one whose decomposition begins with a starter (which no mark can pass).
    buffer_.Clear();
    Take_Back_Tail(false, false);
    UTF8_Code_Unit_Offset position = Position;
    do {
        UTF8_Code_Unit_Offset next = position;
        const Virtual_Character code = Decode(next);
        const Mapping_Information record = Record(code);
        if (position != Position && record.Starter()) {
            break;
        }
        Push_Decomposition(code, record);
        position = next;
    } while (position < size_);
    Put_Buffer_In_Canonical_Order();
    last_class_ = Write_Buffer();
    return position;
}

UTF8_Code_Unit_Offset Engine::Recompose(UTF8_Code_Unit_Offset Position) {
    // From the result's last starter (decomposed again, so that composition sees the full
    // canonical sequence) through the source's characters up to the next composition
    // boundary: decompose, put in canonical order, compose, and write back.
    buffer_.Clear();
    Take_Back_Tail(true, true);
    UTF8_Code_Unit_Offset position = Position;
    do {
        UTF8_Code_Unit_Offset next = position;
        const Virtual_Character code = Decode(next);
        const Mapping_Information record = Record(code);
        if (position != Position && Is_Composition_Boundary(record)) {
            break;
        }
        Push_Decomposition(code, record);
        position = next;
    } while (position < size_);
    Put_Buffer_In_Canonical_Order();
    Compose_Buffer();
    last_class_ = Write_Buffer();
    return position;
}

bool Engine::Append_Starter_Decomposition(const Mapping_Information& Record) {
    // A decomposition made only of unchanged starters (U+FF0C to U+002C, U+3392 to "MHz") is
    // in composed form as it stands, and its first character never composes with what
    // precedes it: it is appended as it is.
    if (Record.Composition_QC() != Composition_Quick_Check::NO || Record.Size() == 0) {
        return false;
    }
    const UTF8_Code_Unit_Array stored(Stored_Decomposition(Record),
                                      static_cast<std::size_t>(Record.Size()));
    UTF8_Code_Unit_Offset offset = 0;
    while (static_cast<std::size_t>(offset) < stored.size()) {
        const Mapping_Information part =
            this->Record(UTF8_Encoding::Unchecked_Decode_Forward(stored, offset));
        if ((part.Raw & Composition_Mask) != Unchanged_Composition_Starter) {
            return false;
        }
    }
    out_.Append(stored.data(), Record.Size(), Record.Length());
    last_class_ = 0;
    return true;
}

bool Engine::Compose_With_Last(Virtual_Character Code, const Mapping_Information& Record,
                               UTF8_Code_Unit_Offset Position, UTF8_Code_Unit_Offset Next) {
    // A character that may compose with what precedes it (MAYBE, without a decomposition)
    // right after a starter L at the end of the result: when it needs no reordering against
    // the marks of L's decomposition, composing it with L gives the same as decomposing L
    // again and composing the whole (L is in composed form).
    if (Record.Composition_QC() != Composition_Quick_Check::MAYBE || Record.Size() != 0 ||
        out_.Size() == 0) {
        return false;
    }
    UTF8_Code_Unit_Offset before = out_.Size();
    const Virtual_Character last = UTF8_Encoding::Unchecked_Backward_Decode(Result_Units(), before);
    const Mapping_Information last_record = this->Record(last);
    if (last_record.CCC() != 0 || !last_record.Starter() ||
        (Record.CCC() != 0 && Record.CCC() < last_record.Last_CCC())) {
        return false;
    }
    const Virtual_Character composite = Composite_Of({last, last_record}, {Code, Record});
    if (composite == 0) {
        out_.Append(source_.data() + Position, Next - Position, 1);
        last_class_ = Record.CCC();
    } else {
        out_.Truncate(before, 1);
        out_.Append_Character(composite);
        last_class_ = 0;
    }
    return true;
}

void Engine::Decompose() {
    const Virtual_Character threshold = Thresholds_Of(index_).Decomposition;
    const UCD_Block_Maps::Block_Map& plain = Block_Map_Of(index_, false);
    const Decomposition_Classes* classes = Decomposition_Classes_Of(index_);
    const bool ascii_unchanged = threshold >= 0x80;
    const UTF8_Code_Unit* text = source_.data();
    UTF8_Code_Unit_Offset position = 0;
    while (position < size_) {
        // The run of characters already in the target form, with its state in locals.
        std::int64_t characters = run_characters_;
        std::uint32_t last_class = last_class_;
        UTF8_Code_Unit_Offset next = position;
        Virtual_Character code = 0;
        Mapping_Information record{0};
        bool needs_work = false;
        while (position < size_) {
            // The scan takes what stays as it is; the character it stopped at and the last
            // few code units go through the full checks below.
            if (classes != nullptr) {
                if (classes->Scan(text, size_, position, characters, last_class)) {
                    next = position;
                    code = Decode(next);
                    record = Source_Record(code);
                    needs_work = true;
                    break;
                }
                if (position >= size_) {
                    break;
                }
            }
            if (text[position] < 0x80 && ascii_unchanged) {
                const UTF8_Code_Unit_Offset end = Skip_ASCII(text, size_, position);
                characters += end - position;
                last_class = 0;
                position = end;
                continue;
            }
            next = position;
            code = Decode(next);
            if (code < threshold || plain.Test(code)) {
                ++characters;
                last_class = 0;
                position = next;
                continue;
            }
            record = Source_Record(code);
            if ((record.Raw & Decomposition_Mask) == Unchanged_Decomposition_Starter) {
                ++characters;
                last_class = 0;
                position = next;
                continue;
            }
            if (record.Decomposition_QC() && record.CCC() >= last_class) {
                ++characters;
                last_class = record.CCC();
                position = next;
                continue;
            }
            needs_work = true;
            break;
        }
        run_characters_ = characters;
        last_class_ = last_class;
        if (!needs_work) {
            break;
        }
        Flush_Run(position);
        if (record.Decomposition_QC()) {
            // A mark out of canonical order.
            position = Reorder_Marks(position);
            run_start_ = position;
            continue;
        }
        if (Is_Hangul_Syllable(code)) {
            Append_Hangul_Jamo(code);
            last_class_ = 0;
        } else if (record.Size() == 0) {
            // No stored decomposition although the quick check says one is needed: the
            // character is kept as it stands.
            out_.Append(text + position, next - position, 1);
            last_class_ = record.CCC();
        } else if (record.First_CCC() != 0 && record.First_CCC() < last_class_) {
            position = Reorder_Marks(position);
            run_start_ = position;
            continue;
        } else {
            out_.Append(Stored_Decomposition(record), record.Size(), record.Length());
            last_class_ = record.Last_CCC();
        }
        position = next;
        run_start_ = next;
    }
    Flush_Run(size_);
    out_.Finish();
}

void Engine::Decompose_And_Compose() {
    const Virtual_Character threshold = Thresholds_Of(index_).Composition;
    const UCD_Block_Maps::Block_Map& plain = Block_Map_Of(index_, true);
    const bool ascii_unchanged = threshold >= 0x80;
    const UTF8_Code_Unit* text = source_.data();
    UTF8_Code_Unit_Offset position = 0;
    while (position < size_) {
        // The run of characters already in the target form, with its state in locals.
        std::int64_t characters = run_characters_;
        std::uint32_t last_class = last_class_;
        Mapping_Information record{0};
        bool needs_work = false;
        while (position < size_) {
            if (text[position] < 0x80 && ascii_unchanged) {
                const UTF8_Code_Unit_Offset end = Skip_ASCII(text, size_, position);
                characters += end - position;
                last_class = 0;
                position = end;
                continue;
            }
            UTF8_Code_Unit_Offset next = position;
            const Virtual_Character code = Decode(next);
            if (code < threshold || plain.Test(code)) {
                ++characters;
                last_class = 0;
                position = next;
                continue;
            }
            record = Source_Record(code);
            if ((record.Raw & Composition_Mask) == Unchanged_Composition_Starter) {
                ++characters;
                last_class = 0;
                position = next;
                continue;
            }
            if (record.Composition_QC() == Composition_Quick_Check::YES &&
                record.CCC() >= last_class) {
                ++characters;
                last_class = record.CCC();
                position = next;
                continue;
            }
            needs_work = true;
            break;
        }
        run_characters_ = characters;
        last_class_ = last_class;
        if (!needs_work) {
            break;
        }
        Flush_Run(position);
        UTF8_Code_Unit_Offset next = position;
        const Virtual_Character code = Decode(next);
        if (Append_Starter_Decomposition(record) ||
            Compose_With_Last(code, record, position, next)) {
            position = next;
        } else {
            position = Recompose(position);
        }
        run_start_ = position;
    }
    Flush_Run(size_);
    out_.Finish();
}

} // namespace

void Decompose(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
               UTF8_String_Data& Result) {
    Engine(Source, Index, Result).Decompose();
}

void Decompose_And_Compose(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
                           UTF8_String_Data& Result) {
    Engine(Source, Index, Result).Decompose_And_Compose();
}

void Normalize(const UTF8_String_Data& Data, Normalization_Form Form, UTF8_String_Data& Result) {
    if (static_cast<unsigned>(Form) > 3) {
        throw Constraint_Error("Normalization_Form value out of range");
    }
    // Data may be Result: its text is taken over first and released at the end.
    UTF8_String_Data taken;
    const UTF8_String_Data* source = &Data;
    if (&Data == &Result) {
        std::memcpy(static_cast<void*>(&taken), &Result, sizeof taken);
        UTF8_Strings::Adjust(taken);
        Result = UTF8_Strings::Default_UTF8_String_Data;
        source = &taken;
    }
    try {
        UTF8_Strings::Initialize(Result, source->Size);
        if (source->Size != 0) {
            const UTF8_Code_Unit_Array units = UTF8_Strings::Code_Units(*source);
            switch (Form) {
            case Normalization_Form::NORMALIZATION_FORM_D:
                Decompose(units, Tables::Canonical_Index, Result);
                break;
            case Normalization_Form::NORMALIZATION_FORM_C:
                Decompose_And_Compose(units, Tables::Canonical_Index, Result);
                break;
            case Normalization_Form::NORMALIZATION_FORM_KD:
                Decompose(units, Tables::Compatibility_Index, Result);
                break;
            case Normalization_Form::NORMALIZATION_FORM_KC:
                Decompose_And_Compose(units, Tables::Compatibility_Index, Result);
                break;
            }
        }
    } catch (...) {
        UTF8_Strings::Unreference(Result);
        UTF8_Strings::Unreference(taken);
        throw;
    }
    UTF8_Strings::Unreference(taken);
}

} // namespace Qorvi::Implementation::UTF8_Normalization
