#include <algorithm>
#include <cstring>
#include <qorvi/converters/implementation-decoder_output.hpp>
#include <qorvi/converters/implementation-packed_indexes.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030-indices.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030-ranges.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030.hpp>

namespace Qorvi::Strings::Converters::Decoders::GB18030 {

namespace {

using Implementation::Decoder_Output::Output;

constexpr bool Is_Digit(std::uint8_t Byte) noexcept {
    return Byte >= 0x30 && Byte <= 0x39;
}
constexpr bool Is_Lead(std::uint8_t Byte) noexcept {
    return Byte >= 0x81 && Byte <= 0xFE;
}

// The code point of a four-byte pointer, or 0 when it has none.
Virtual_Character Ranges_Code_Point(std::uint32_t Pointer) noexcept {
    if ((Pointer > 39419 && Pointer < 189000) || Pointer > 1237575) {
        return 0;
    }
    if (Pointer == 7457) {
        return 0xE7C7;
    }
    // The last record whose pointer is not above Pointer (the first record's pointer is 0).
    const auto* record =
        std::upper_bound(Ranges::Table, Ranges::Table + Ranges::Table_Size, Pointer,
                         [](std::uint32_t value, const Ranges::Table_Record& item) {
                             return value < item.Pointer;
                         }) -
        1;
    return record->Code_Point + (Pointer - record->Pointer);
}

// The pointer parts of the bytes of a two-byte sequence: (lead - 0x81) * 190 and trail - 0x40
// or 0x41; a byte that can not take the place gives a part beyond the index.
constexpr Implementation::Decoder_Output::Byte_Table Lead_Part = [] {
    Implementation::Decoder_Output::Byte_Table table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        table.Value[byte] = byte >= 0x81 && byte <= 0xFE
                                ? (byte - 0x81) * 190
                                : Implementation::Decoder_Output::Not_A_Pointer;
    }
    return table;
}();
constexpr Implementation::Decoder_Output::Byte_Table Trail_Part = [] {
    Implementation::Decoder_Output::Byte_Table table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        table.Value[byte] = byte >= 0x40 && byte <= 0x7E ? byte - 0x40
                            : byte >= 0x80 && byte <= 0xFE
                                ? byte - 0x41
                                : Implementation::Decoder_Output::Not_A_Pointer;
    }
    return table;
}();

// The character of a two-byte sequence, or 0 when the bytes do not make one.
inline Virtual_Character Two_Byte(std::uint8_t Lead, std::uint8_t Trail) noexcept {
    const std::uint32_t pointer = Lead_Part[Lead] + Trail_Part[Trail];
    return pointer < Indices::Table_Size ? Indices::Table[pointer] : 0;
}

// Decodes from First while the input needs no state and has no error: bytes below 0x80, 0x80
// (the euro sign) and whole two-byte sequences. Returns where it stopped: Last, or a byte that
// the state machine must take (four-byte sequences among them).
const std::uint8_t* Decode_Plain(const std::uint8_t* First, const std::uint8_t* Last, Output& Out) {
    constexpr std::ptrdiff_t block = 1024; // input bytes per reservation, at most 3 units each
    const std::uint32_t* const packed_index = Implementation::Packed_Indexes::GB18030_UTF8();
    const std::uint8_t* p = First;
    while (p != Last) {
        const std::uint8_t* const block_end = p + std::min(Last - p, block);
        std::uint8_t* w = Out.Reserve(3 * block + 3); // a pair may end past the block
        std::ptrdiff_t characters = 0;
        while (p < block_end) {
            const std::uint8_t byte = *p;
            Virtual_Character code;
            if (byte < 0x80) {
                *w++ = byte;
                ++p;
                ++characters;
                continue;
            } else if (const std::uint32_t pointer =
                           Last - p >= 2 ? Lead_Part[byte] + Trail_Part[p[1]]
                                         : Implementation::Decoder_Output::Not_A_Pointer;
                       pointer < Indices::Table_Size) {
                const std::uint32_t packed = packed_index[pointer]; // all have one
                std::memcpy(w, &packed, 4);
                w += packed >> 24;
                p += 2;
                ++characters;
                continue;
            } else if (byte == 0x80) {
                code = 0x20AC;
                ++p;
            } else {
                Out.Commit(w, characters);
                return p;
            }
            w = Implementation::Decoder_Output::Put_BMP_Character(w, code);
            ++characters;
        }
        Out.Commit(w, characters);
    }
    return p;
}

class GB18030_Decoder final : public Abstract_Decoder {
public:
    explicit GB18030_Decoder(Converter_Flags Given_Flags) noexcept : Flags(Given_Flags) {
        Reset_State();
    }

    void Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                UTF8_String_Data& Target) override;
    bool Has_Error() const override { return Error; }
    Virtual_String Error_Message() const override {
        return Error ? Virtual_String("Iff-formed sequence") : Virtual_String();
    }
    void Reset_State() override {
        Clear();
        Error = false;
    }

private:
    void Clear() noexcept {
        First = 0;
        Second = 0;
        Third = 0;
    }

    // Records an error; true when decoding must stop (the state is then cleared), otherwise
    // U+FFFD has been appended.
    bool Report_Error(Output& Out) {
        Error = true;
        if (Flags[Converter_Flag::STOP_ON_ERROR]) {
            Clear();
            return true;
        }
        Out.Character(Replacement_Character);
        return false;
    }

    // Takes one byte; true when decoding must stop.
    bool Step(std::uint8_t Byte, Output& Out);

    Converter_Flags Flags;
    std::uint8_t First = 0;
    std::uint8_t Second = 0;
    std::uint8_t Third = 0;
    bool Error = false;
};

bool GB18030_Decoder::Step(std::uint8_t Byte, Output& Out) {
    if (Third != 0) {
        const std::uint8_t second = Second;
        const std::uint8_t third = Third;
        if (Is_Digit(Byte)) {
            const std::uint32_t pointer = (First - 0x81U) * 12600 + (second - 0x30U) * 1260 +
                                          (third - 0x81U) * 10 + (Byte - 0x30U);
            Clear();
            const Virtual_Character code = Ranges_Code_Point(pointer);
            if (code == 0) {
                return Report_Error(Out);
            }
            Out.Character(code);
            return false;
        }
        // The three bytes after the lead are decoded again; they leave the decoder idle.
        Clear();
        if (Report_Error(Out)) {
            return true;
        }
        Step(second, Out);
        Step(third, Out);
        return Step(Byte, Out);
    }
    if (Second != 0) {
        if (Is_Lead(Byte)) {
            Third = Byte;
            return false;
        }
        const std::uint8_t second = Second;
        Clear();
        if (Report_Error(Out)) {
            return true;
        }
        Step(second, Out);
        return Step(Byte, Out);
    }
    if (First != 0) {
        if (Is_Digit(Byte)) {
            Second = Byte;
            return false;
        }
        const std::uint8_t lead = First;
        First = 0;
        const Virtual_Character code = Two_Byte(lead, Byte);
        if (code != 0) {
            Out.Character(code);
            return false;
        }
        if (Report_Error(Out)) {
            return true;
        }
        return Byte < 0x80 ? Step(Byte, Out) : false;
    }
    if (Byte <= 0x7F) {
        Out.Character(Byte);
    } else if (Byte == 0x80) {
        Out.Character(0x20AC);
    } else if (Byte != 0xFF) {
        First = Byte;
    } else {
        return Report_Error(Out);
    }
    return false;
}

void GB18030_Decoder::Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                             UTF8_String_Data& Target) {
    if (Error && Flags[Converter_Flag::STOP_ON_ERROR]) {
        return;
    }
    Output out(Target);
    const std::uint8_t* p = Source.data();
    const std::uint8_t* const last = p + Source.size();
    while (p != last) {
        if (First == 0) {
            p = Decode_Plain(p, last, out);
            if (p == last) {
                break;
            }
        }
        if (Step(*p++, out)) {
            return;
        }
    }
    if ((First != 0 || Second != 0 || Third != 0) &&
        (End_Of_Data || Flags[Converter_Flag::STATELESS])) {
        Clear();
        Report_Error(out);
    }
}

} // namespace

Decoder_Access Factory(Converter_Flags Flags) {
    return std::make_unique<GB18030_Decoder>(Flags);
}

} // namespace Qorvi::Strings::Converters::Decoders::GB18030
