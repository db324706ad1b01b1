#include <algorithm>
#include <cstring>
#include <qorvi/converters/implementation-decoder_output.hpp>
#include <qorvi/converters/implementation-packed_indexes.hpp>
#include <qorvi/converters/strings-converters-decoders-eucjp-jis0212.hpp>
#include <qorvi/converters/strings-converters-decoders-eucjp.hpp>
#include <qorvi/converters/strings-converters-decoders-index_jis0208.hpp>

namespace Qorvi::Strings::Converters::Decoders::EUCJP {

namespace {

using Implementation::Decoder_Output::Output;

constexpr bool Is_Row_Or_Cell(std::uint8_t Byte) noexcept {
    return Byte >= 0xA1 && Byte <= 0xFE;
}

// The pointer parts of row and cell bytes: (row - 0xA1) * 94 and cell - 0xA1; a byte outside
// 0xA1 .. 0xFE gives a part that puts the pointer beyond both indexes.
constexpr Implementation::Decoder_Output::Byte_Table Row_Part = [] {
    Implementation::Decoder_Output::Byte_Table table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        table.Value[byte] = byte >= 0xA1 && byte <= 0xFE
                                ? (byte - 0xA1) * 94
                                : Implementation::Decoder_Output::Not_A_Pointer;
    }
    return table;
}();
constexpr Implementation::Decoder_Output::Byte_Table Cell_Part = [] {
    Implementation::Decoder_Output::Byte_Table table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        table.Value[byte] = byte >= 0xA1 && byte <= 0xFE
                                ? byte - 0xA1
                                : Implementation::Decoder_Output::Not_A_Pointer;
    }
    return table;
}();

// The character of a JIS X 0208 (or, with JIS0212 set, JIS X 0212) pair of row and cell bytes,
// or 0 when it has none.
inline Virtual_Character Double_Byte(std::uint8_t Row, std::uint8_t Cell, bool JIS0212) noexcept {
    const std::uint32_t pointer = Row_Part[Row] + Cell_Part[Cell];
    if (JIS0212) {
        const std::uint32_t index = pointer - JIS0212::First_Pointer; // wraps below 108
        return index < JIS0212::Table_Size ? JIS0212::Table[index] : 0;
    }
    return pointer < Index_JIS0208::Table_Size ? Index_JIS0208::Table[pointer] : 0;
}

// Decodes from First while the input needs no state and has no error: bytes below 0x80 (with
// the JIS X 0201 Roman forms), half-width katakana after 0x8E and whole JIS X 0208 pairs that
// have a character. Returns where it stopped: Last, or a byte that the state machine must take.
const std::uint8_t* Decode_Plain(const std::uint8_t* First, const std::uint8_t* Last, Output& Out) {
    constexpr std::ptrdiff_t block = 1024; // input bytes per reservation, at most 3 units each
    const std::uint32_t* const packed_index = Implementation::Packed_Indexes::EUC_JP_UTF8();
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
                if (Last - p < 2) {
                    break;
                }
                if (byte == 0x8E && p[1] >= 0xA1 && p[1] <= 0xDF) {
                    w = Implementation::Decoder_Output::Put_BMP_Character(w,
                                                                          0xFF61 + (p[1] - 0xA1U));
                    p += 2;
                    ++characters;
                    continue;
                }
                // A byte outside 0xA1 .. 0xFE gives a pointer beyond the index.
                const std::uint32_t pointer = Row_Part[byte] + Cell_Part[p[1]];
                if (pointer < Index_JIS0208::Table_Size) {
                    packed = packed_index[pointer];
                }
                if (packed == 0) {
                    break; // for the state machine: 0x8F, an error, or a pair without character
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

class EUCJP_Decoder final : public Abstract_Decoder {
public:
    explicit EUCJP_Decoder(Converter_Flags Given_Flags) noexcept : Flags(Given_Flags) {
        Reset_State();
    }

    void Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                UTF8_String_Data& Target) override;
    bool Has_Error() const override { return Error; }
    Virtual_String Error_Message() const override {
        return Error ? Virtual_String("Iff-formed sequence") : Virtual_String();
    }
    void Reset_State() override {
        JIS0212_Mark = false;
        Lead = 0;
        Error = false;
    }

private:
    // Records an error; true when decoding must stop, otherwise U+FFFD has been appended.
    bool Report_Error(Output& Out) {
        Error = true;
        if (Flags[Converter_Flag::STOP_ON_ERROR]) {
            Lead = 0;
            JIS0212_Mark = false;
            return true;
        }
        Out.Character(Replacement_Character);
        return false;
    }

    Converter_Flags Flags;
    bool JIS0212_Mark = false;
    std::uint8_t Lead = 0;
    bool Error = false;
};

void EUCJP_Decoder::Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                           UTF8_String_Data& Target) {
    if (Error && Flags[Converter_Flag::STOP_ON_ERROR]) {
        return;
    }
    Output out(Target);
    const std::uint8_t* p = Source.data();
    const std::uint8_t* const last = p + Source.size();
    while (p != last) {
        if (Lead != 0) {
            const std::uint8_t byte = *p;
            if (Lead == 0x8E && byte >= 0xA1 && byte <= 0xDF) {
                Lead = 0;
                ++p;
                out.Character(0xFF61 + (byte - 0xA1U));
                continue;
            }
            if (Lead == 0x8F && Is_Row_Or_Cell(byte)) {
                JIS0212_Mark = true;
                Lead = byte;
                ++p;
                continue;
            }
            const std::uint8_t lead = Lead;
            Lead = 0;
            const Virtual_Character code = Double_Byte(lead, byte, JIS0212_Mark);
            JIS0212_Mark = false;
            if (code != 0) {
                ++p;
                out.Character(code);
                continue;
            }
            if (byte >= 0x80) {
                ++p; // an ASCII byte is examined again
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
        } else if (byte <= 0x7F) {
            out.Character(byte);
        } else if (Is_Row_Or_Cell(byte) || byte == 0x8E || byte == 0x8F) {
            Lead = byte;
        } else if (Report_Error(out)) { // 0x80 .. 0x8D, 0x90 .. 0xA0, 0xFF
            return;
        }
    }
    if (Lead != 0 && (End_Of_Data || Flags[Converter_Flag::STATELESS])) {
        Lead = 0;
        JIS0212_Mark = false;
        Report_Error(out);
    }
}

} // namespace

Decoder_Access Factory(Converter_Flags Flags) {
    return std::make_unique<EUCJP_Decoder>(Flags);
}

} // namespace Qorvi::Strings::Converters::Decoders::EUCJP
