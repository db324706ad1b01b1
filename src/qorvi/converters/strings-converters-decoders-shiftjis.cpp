#include <algorithm>
#include <cstring>
#include <qorvi/converters/implementation-decoder_output.hpp>
#include <qorvi/converters/implementation-packed_indexes.hpp>
#include <qorvi/converters/strings-converters-decoders-index_jis0208.hpp>
#include <qorvi/converters/strings-converters-decoders-shiftjis.hpp>

namespace Qorvi::Strings::Converters::Decoders::ShiftJIS {

namespace {

using Implementation::Decoder_Output::Output;

// The user-defined area of JIS X 0208 (leads 0xF0 .. 0xF9), mapped to private use characters.
constexpr std::uint32_t User_Defined_First = 8836;
constexpr std::uint32_t User_Defined_Last = 10715;

// The pointer parts of lead and trail bytes: a pair's pointer is (lead - lead offset) * 188 +
// trail - trail offset; a byte that can not be a lead (or a trail) gives a part that puts the
// pointer beyond the index.
constexpr Implementation::Decoder_Output::Byte_Table Lead_Part = [] {
    Implementation::Decoder_Output::Byte_Table table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        table.Value[byte] = byte >= 0x81 && byte <= 0x9F ? (byte - 0x81) * 188
                            : byte >= 0xE0 && byte <= 0xFC
                                ? (byte - 0xC1) * 188
                                : Implementation::Decoder_Output::Not_A_Pointer;
    }
    return table;
}();
constexpr Implementation::Decoder_Output::Byte_Table Trail_Part = [] {
    Implementation::Decoder_Output::Byte_Table table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        table.Value[byte] = byte >= 0x40 && byte <= 0x7E ? byte - 0x40
                            : byte >= 0x80 && byte <= 0xFC
                                ? byte - 0x41
                                : Implementation::Decoder_Output::Not_A_Pointer;
    }
    return table;
}();

// The character of the lead Lead and trail Trail, or 0 when the pair has none.
inline Virtual_Character Double_Byte(std::uint8_t Lead, std::uint8_t Trail) noexcept {
    const std::uint32_t pointer = Lead_Part[Lead] + Trail_Part[Trail];
    if (pointer - User_Defined_First <= User_Defined_Last - User_Defined_First) {
        return 0xE000 + (pointer - User_Defined_First);
    }
    return pointer < Index_JIS0208::Table_Size ? Index_JIS0208::Table[pointer] : 0;
}

constexpr bool Is_Lead(std::uint8_t Byte) noexcept {
    return (Byte >= 0x81 && Byte <= 0x9F) || (Byte >= 0xE0 && Byte <= 0xFC);
}

// Decodes from First while the input needs no state and has no error: bytes below 0x80 (with
// the JIS X 0201 Roman forms), half-width katakana and whole pairs that have a character.
// Returns where it stopped: Last, or a byte that the state machine must take.
const std::uint8_t* Decode_Plain(const std::uint8_t* First, const std::uint8_t* Last, Output& Out) {
    constexpr std::ptrdiff_t block = 1024; // input bytes per reservation, at most 3 units each
    const std::uint32_t* const packed_index = Implementation::Packed_Indexes::Shift_JIS_UTF8();
    const std::uint8_t* p = First;
    while (p != Last) {
        const std::uint8_t* const block_end = p + std::min(Last - p, block);
        std::uint8_t* w = Out.Reserve(3 * block + 3); // a pair may end past the block
        std::ptrdiff_t characters = 0;
        while (p < block_end) {
            const std::uint8_t byte = *p;
            if (byte < 0x80 && byte != 0x5C && byte != 0x7E) {
                *w++ = byte;
                ++p;
                ++characters;
                continue;
            }
            std::uint32_t packed = 0;
            if (byte >= 0x80) {
                if (byte >= 0xA1 && byte <= 0xDF) {
                    w = Implementation::Decoder_Output::Put_BMP_Character(w,
                                                                          0xFF61 + (byte - 0xA1U));
                    ++p;
                    ++characters;
                    continue;
                }
                // A byte that is not a lead gives a pointer beyond the index.
                const std::uint32_t pointer = Last - p >= 2
                                                  ? Lead_Part[byte] + Trail_Part[p[1]]
                                                  : Implementation::Decoder_Output::Not_A_Pointer;
                if (pointer < Index_JIS0208::Table_Size) {
                    packed = packed_index[pointer];
                }
                if (packed == 0) {
                    break; // for the state machine: 0x80, an error, or a pair without character
                }
                p += 2;
            } else {
                packed = byte == 0x5C ? 0x0200A5C2U : 0x03BE80E2U; // U+00A5, U+203E
                ++p;
            }
            std::memcpy(w, &packed, 4); // the fourth byte lands in the slack
            w += packed >> 24;
            ++characters;
        }
        Out.Commit(w, characters);
        if (p < block_end) {
            return p;
        }
    }
    return p;
}

class ShiftJIS_Decoder final : public Abstract_Decoder {
public:
    explicit ShiftJIS_Decoder(Converter_Flags Given_Flags) noexcept : Flags(Given_Flags) {
        Reset_State();
    }

    void Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                UTF8_String_Data& Target) override;
    bool Has_Error() const override { return Error; }
    Virtual_String Error_Message() const override {
        return Error ? Virtual_String("Iff-formed sequence") : Virtual_String();
    }
    void Reset_State() override {
        Lead = 0;
        Error = false;
    }

private:
    // Records an error; true when decoding must stop, otherwise U+FFFD has been appended.
    bool Report_Error(Output& Out) {
        Error = true;
        if (Flags[Converter_Flag::STOP_ON_ERROR]) {
            Lead = 0;
            return true;
        }
        Out.Character(Replacement_Character);
        return false;
    }

    Converter_Flags Flags;
    std::uint8_t Lead = 0;
    bool Error = false;
};

void ShiftJIS_Decoder::Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                              UTF8_String_Data& Target) {
    if (Error && Flags[Converter_Flag::STOP_ON_ERROR]) {
        return;
    }
    Output out(Target);
    const std::uint8_t* p = Source.data();
    const std::uint8_t* const last = p + Source.size();
    while (p != last) {
        if (Lead != 0) {
            const std::uint8_t lead = Lead;
            const std::uint8_t trail = *p;
            Lead = 0;
            const Virtual_Character code = Double_Byte(lead, trail);
            if (code != 0) {
                ++p;
                out.Character(code);
                continue;
            }
            if (trail >= 0x80) {
                ++p; // an ASCII trail byte is examined again
            }
            if (Report_Error(out)) {
                return;
            }
            continue;
        }
        p = Decode_Plain(p, last, out);
        if (p == last) {
            break;
        }
        const std::uint8_t byte = *p++;
        if (byte == 0x5C) {
            out.Character(0x00A5);
        } else if (byte == 0x7E) {
            out.Character(0x203E);
        } else if (byte <= 0x80) {
            out.Character(byte);
        } else if (byte >= 0xA1 && byte <= 0xDF) {
            out.Character(0xFF61 + (byte - 0xA1U));
        } else if (Is_Lead(byte)) {
            Lead = byte;
        } else if (Report_Error(out)) { // 0xA0, 0xFD .. 0xFF
            return;
        }
    }
    if (Lead != 0 && (End_Of_Data || Flags[Converter_Flag::STATELESS])) {
        Lead = 0;
        Report_Error(out);
    }
}

} // namespace

Decoder_Access Factory(Converter_Flags Flags) {
    return std::make_unique<ShiftJIS_Decoder>(Flags);
}

} // namespace Qorvi::Strings::Converters::Decoders::ShiftJIS
