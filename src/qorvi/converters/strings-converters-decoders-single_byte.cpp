#include <algorithm>
#include <cstring>
#include <qorvi/converters/implementation-decoder_output.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte_tables.hpp>

namespace Qorvi::Strings::Converters::Decoders {

namespace {

using Implementation::Decoder_Output::Output;
using Single_Byte_Tables::Single_Byte_Table;

// ISO-8859-1 maps every byte to the code point of the same value; its table is computed here
// at compile time.
constexpr Single_Byte_Table Make_Latin_1() {
    Single_Byte_Table table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        if (byte >= 0x80) {
            table.Code_Point[byte - 0x80] = static_cast<std::uint16_t>(byte);
        }
        table.UTF8[byte] = byte < 0x80
                               ? byte | 1U << 24
                               : (0xC0U | byte >> 6) | (0x80U | (byte & 0x3FU)) << 8 | 2U << 24;
    }
    return table;
}

constexpr Single_Byte_Table Latin_1 = Make_Latin_1();

// Appends the characters of the bytes First .. Last - 1 and returns the first unassigned byte,
// or Last when there is none. Every byte goes through the same table lookup and four-byte
// store: a loop without branches that depend on the text runs faster on mixed text than one
// that copies runs below 0x80 apart, because those branches are mispredicted at every change.
template <const Single_Byte_Table* Table, bool Has_Unassigned>
const std::uint8_t* Decode_Assigned(const std::uint8_t* First, const std::uint8_t* Last,
                                    Output& Out) {
    // Input bytes per reservation; each gives at most three code units.
    constexpr std::ptrdiff_t block = 1024;
    static_assert(3 * block <= Output::Buffer_Size);
    while (First != Last) {
        const std::uint8_t* const block_end = First + std::min(Last - First, block);
        std::uint8_t* w = Out.Reserve(3 * block);
        const std::uint8_t* p = First;
        const auto put = [&w](std::uint32_t packed) {
            std::memcpy(w, &packed, 4); // the fourth byte lands in the slack
            w += packed >> 24;
        };
        while (p != block_end) {
            const std::uint32_t packed = Table->UTF8[*p];
            if (Has_Unassigned && packed == 0) {
                Out.Commit(w, p - First);
                return p;
            }
            put(packed);
            ++p;
        }
        Out.Commit(w, p - First);
        First = p;
    }
    return Last;
}

// A member in which every byte value is assigned: no fields, no state, no errors. Table is its
// mapping.
template <const Single_Byte_Table* Table>
class Total_Decoder final : public Abstract_Decoder {
public:
    void Decode(std::span<const std::uint8_t> Source, bool, UTF8_String_Data& Target) override {
        Output out(Target);
        Decode_Assigned<Table, false>(Source.data(), Source.data() + Source.size(), out);
    }
    bool Has_Error() const override { return false; }
    Virtual_String Error_Message() const override { return {}; }
    void Reset_State() override {}
};

// A member with unassigned byte values, each of which is an error.
template <const Single_Byte_Table* Table>
class Partial_Decoder final : public Abstract_Decoder {
public:
    explicit Partial_Decoder(Converter_Flags Given_Flags) noexcept : Flags(Given_Flags) {
        Reset_State();
    }

    void Decode(std::span<const std::uint8_t> Source, bool, UTF8_String_Data& Target) override {
        if (Error && Flags[Converter_Flag::STOP_ON_ERROR]) {
            return;
        }
        Output out(Target);
        const std::uint8_t* p = Source.data();
        const std::uint8_t* const last = p + Source.size();
        while ((p = Decode_Assigned<Table, true>(p, last, out)) != last) {
            Error = true;
            if (Flags[Converter_Flag::STOP_ON_ERROR]) {
                return;
            }
            out.Character(Replacement_Character);
            ++p;
        }
    }
    bool Has_Error() const override { return Error; }
    Virtual_String Error_Message() const override {
        return Error ? Virtual_String("Unmapped character") : Virtual_String();
    }
    void Reset_State() override { Error = false; }

private:
    Converter_Flags Flags;
    bool Error = false;
};

} // namespace

// The members without unassigned bytes ignore their flags.

Decoder_Access ISO88591::Factory(Converter_Flags) {
    return std::make_unique<Total_Decoder<&Latin_1>>();
}
Decoder_Access ISO88592::Factory(Converter_Flags) {
    return std::make_unique<Total_Decoder<&Single_Byte_Tables::ISO_8859_2>>();
}
Decoder_Access ISO88595::Factory(Converter_Flags) {
    return std::make_unique<Total_Decoder<&Single_Byte_Tables::ISO_8859_5>>();
}
Decoder_Access ISO88596::Factory(Converter_Flags Flags) {
    return std::make_unique<Partial_Decoder<&Single_Byte_Tables::ISO_8859_6>>(Flags);
}
Decoder_Access ISO88597::Factory(Converter_Flags Flags) {
    return std::make_unique<Partial_Decoder<&Single_Byte_Tables::ISO_8859_7>>(Flags);
}
Decoder_Access ISO88598::Factory(Converter_Flags Flags) {
    return std::make_unique<Partial_Decoder<&Single_Byte_Tables::ISO_8859_8>>(Flags);
}
Decoder_Access ISO88599::Factory(Converter_Flags) {
    return std::make_unique<Total_Decoder<&Single_Byte_Tables::ISO_8859_9>>();
}
Decoder_Access ISO885915::Factory(Converter_Flags) {
    return std::make_unique<Total_Decoder<&Single_Byte_Tables::ISO_8859_15>>();
}
Decoder_Access KOI8R::Factory(Converter_Flags) {
    return std::make_unique<Total_Decoder<&Single_Byte_Tables::KOI8_R>>();
}

} // namespace Qorvi::Strings::Converters::Decoders
