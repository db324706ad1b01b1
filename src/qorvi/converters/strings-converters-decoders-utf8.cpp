#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <qorvi/converters/implementation-decoder_output.hpp>
#include <qorvi/converters/strings-converters-decoders-utf8.hpp>

namespace Qorvi::Strings::Converters::Decoders::UTF8 {

namespace {

using Implementation::Decoder_Output::Output;

// The number of characters in well-formed UTF-8: the bytes that are not continuation bytes.
std::ptrdiff_t Count_Characters(const std::uint8_t* First, const std::uint8_t* Last) noexcept {
    std::ptrdiff_t count = 0;
#if defined(__SSE2__)
    // Per-byte-lane counters of lead bytes, summed before any lane can overflow. Continuation
    // bytes are 0x80 .. 0xBF, the signed values -128 .. -65.
    const __m128i last_continuation = _mm_set1_epi8(static_cast<char>(0xBF));
    while (Last - First >= 16) {
        __m128i lanes = _mm_setzero_si128();
        for (int i = 0; i < 255 && Last - First >= 16; ++i, First += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(First));
            lanes = _mm_sub_epi8(lanes, _mm_cmpgt_epi8(bytes, last_continuation));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
#endif
    for (; First != Last; ++First) {
        count += (*First & 0xC0) != 0x80;
    }
    return count;
}

// The length of the complete, well-formed sequence at First, or 0 when there is none.
inline std::ptrdiff_t Sequence_Length(const std::uint8_t* First,
                                      const std::uint8_t* Last) noexcept {
    const std::uint8_t lead = *First;
    const std::ptrdiff_t available = Last - First;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return available >= 2 && (First[1] & 0xC0) == 0x80 ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const std::uint8_t lower = lead == 0xE0 ? 0xA0 : 0x80;
        const std::uint8_t upper = lead == 0xED ? 0x9F : 0xBF;
        return available >= 3 && First[1] >= lower && First[1] <= upper && (First[2] & 0xC0) == 0x80
                   ? 3
                   : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const std::uint8_t lower = lead == 0xF0 ? 0x90 : 0x80;
        const std::uint8_t upper = lead == 0xF4 ? 0x8F : 0xBF;
        return available >= 4 && First[1] >= lower && First[1] <= upper &&
                       (First[2] & 0xC0) == 0x80 && (First[3] & 0xC0) == 0x80
                   ? 4
                   : 0;
    }
    return 0;
}

#if defined(__SSE2__)
// Checks the sixteen bytes at First (a character boundary; seventeen bytes must be readable)
// for one-, two- and three-byte sequences only, without branching on the text. Returns how
// many bytes from First are complete well-formed sequences (13 to 16: a sequence cut by the end
// of the sixteen bytes is left for the next check), or 0 when the bytes hold anything else
// (four-byte sequences, ill-formed input), which the caller then takes one sequence at a time.
inline std::ptrdiff_t Check_Sixteen(const std::uint8_t* First) noexcept {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(First));
    const int high = _mm_movemask_epi8(bytes);
    if (high == 0) {
        return 16;
    }
    const auto below = [&bytes](int value) {
        return _mm_cmplt_epi8(bytes, _mm_set1_epi8(static_cast<char>(value)));
    };
    const auto above = [&bytes](int value) {
        return _mm_cmpgt_epi8(bytes, _mm_set1_epi8(static_cast<char>(value)));
    };
    // As signed bytes: continuation 0x80 .. 0xBF is -128 .. -65, a two-byte lead 0xC2 .. 0xDF
    // is -62 .. -33, a three-byte lead 0xE0 .. 0xEF is -32 .. -17.
    const unsigned continuation = static_cast<unsigned>(_mm_movemask_epi8(below(-64)));
    const unsigned lead_2 =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(above(-63), below(-32))));
    const unsigned lead_3 =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(above(-33), below(-16))));
    // After E0 the next byte must be A0 .. BF (no overlong form), after ED 80 .. 9F (no
    // surrogate); the next bytes are read one position on.
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(First + 1));
    const __m128i e0 = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(0xE0)));
    const __m128i ed = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(0xED)));
    const __m128i next_low = _mm_cmplt_epi8(next, _mm_set1_epi8(static_cast<char>(0xA0)));
    const int bad_second = _mm_movemask_epi8(
        _mm_or_si128(_mm_and_si128(e0, next_low), _mm_andnot_si128(next_low, ed)));
    const unsigned expected = ((lead_2 << 1) | (lead_3 << 1) | (lead_3 << 2)) & 0xFFFF;
    if ((continuation | lead_2 | lead_3) != static_cast<unsigned>(high) ||
        continuation != expected || bad_second != 0) {
        return 0;
    }
    // A lead in the last position, or a three-byte lead in the one before, is cut short.
    return 16 - static_cast<std::ptrdiff_t>(((lead_2 | lead_3) >> 15) + ((lead_3 >> 14) & 1) * 2);
}
#endif

// The end of the longest run from First of complete, well-formed UTF-8 sequences: stops before
// the first byte that does not start one (including a sequence cut short by Last).
const std::uint8_t* Well_Formed_Run_End(const std::uint8_t* First,
                                        const std::uint8_t* Last) noexcept {
    const std::uint8_t* p = First;
    for (;;) {
#if defined(__SSE2__)
        std::ptrdiff_t checked = 0;
        while (Last - p >= 17 && (checked = Check_Sixteen(p)) != 0) {
            p += checked;
        }
#endif
        if (p == Last) {
            return p;
        }
        const std::ptrdiff_t length = Sequence_Length(p, Last);
        if (length == 0) {
            return p;
        }
        p += length;
    }
}

class UTF8_Decoder final : public Abstract_Decoder {
public:
    explicit UTF8_Decoder(Converter_Flags Given_Flags) noexcept : Flags(Given_Flags) {
        Reset_State();
    }

    void Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                UTF8_String_Data& Target) override;
    bool Has_Error() const override { return Error; }
    Virtual_String Error_Message() const override {
        return Error ? Virtual_String("Iff-formed sequence") : Virtual_String();
    }
    void Reset_State() override {
        Reset_Sequence();
        Error = false;
        BOM_Pending = Flags[Converter_Flag::PROCESS_BOM];
    }

private:
    void Reset_Sequence() noexcept {
        Code_Point = 0;
        Bytes_Needed = 0;
        Bytes_Seen = 0;
        Lower_Boundary = 0x80;
        Upper_Boundary = 0xBF;
    }

    // Records an error; true when decoding must stop, otherwise U+FFFD has been appended.
    bool Report_Error(Output& Out) {
        Error = true;
        BOM_Pending = false;
        if (Flags[Converter_Flag::STOP_ON_ERROR]) {
            return true;
        }
        Out.Character(Replacement_Character);
        return false;
    }

    void Produce(Output& Out, Virtual_Character Code) {
        if (BOM_Pending) {
            BOM_Pending = false;
            if (Code == 0xFEFF) {
                return;
            }
        }
        Out.Character(Code);
    }

    Converter_Flags Flags;
    std::uint32_t Code_Point = 0;
    std::int32_t Bytes_Needed = 0;
    std::int32_t Bytes_Seen = 0;
    std::uint8_t Lower_Boundary = 0x80;
    std::uint8_t Upper_Boundary = 0xBF;
    bool Error = false;
    bool BOM_Pending = false;
};

void UTF8_Decoder::Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                          UTF8_String_Data& Target) {
    if (Error && Flags[Converter_Flag::STOP_ON_ERROR]) {
        return;
    }
    Output out(Target);
    const std::uint8_t* p = Source.data();
    const std::uint8_t* const last = p + Source.size();
    while (p != last) {
        if (Bytes_Needed == 0 && !BOM_Pending) {
            // Outside a sequence, complete well-formed sequences decode to themselves: copy
            // them in one go. What this takes is exactly what the byte loop below would
            // produce; the loop handles whatever the run stops at.
            const std::uint8_t* run_end = Well_Formed_Run_End(
                p, p + std::min(last - p, Implementation::Decoder_Output::Max_Run));
            if (run_end != p) {
                out.Text(p, run_end - p, Count_Characters(p, run_end));
                p = run_end;
                continue;
            }
        }
        const std::uint8_t byte = *p;
        if (Bytes_Needed == 0) {
            ++p;
            if (byte <= 0x7F) {
                Produce(out, byte);
            } else if (byte >= 0xC2 && byte <= 0xDF) {
                Bytes_Needed = 1;
                Code_Point = byte & 0x1FU;
            } else if (byte >= 0xE0 && byte <= 0xEF) {
                if (byte == 0xE0) {
                    Lower_Boundary = 0xA0;
                } else if (byte == 0xED) {
                    Upper_Boundary = 0x9F;
                }
                Bytes_Needed = 2;
                Code_Point = byte & 0x0FU;
            } else if (byte >= 0xF0 && byte <= 0xF4) {
                if (byte == 0xF0) {
                    Lower_Boundary = 0x90;
                } else if (byte == 0xF4) {
                    Upper_Boundary = 0x8F;
                }
                Bytes_Needed = 3;
                Code_Point = byte & 0x07U;
            } else if (Report_Error(out)) {
                return;
            }
            continue;
        }
        if (byte < Lower_Boundary || byte > Upper_Boundary) {
            // The sequence ends here; the byte is examined again as the start of something new.
            Reset_Sequence();
            if (Report_Error(out)) {
                return;
            }
            continue;
        }
        ++p;
        Lower_Boundary = 0x80;
        Upper_Boundary = 0xBF;
        Code_Point = ((Code_Point << 6) & 0x1FFFFFU) | (byte & 0x3FU);
        ++Bytes_Seen;
        if (Bytes_Seen == Bytes_Needed) {
            const Virtual_Character code = Code_Point;
            Code_Point = 0;
            Bytes_Needed = 0;
            Bytes_Seen = 0;
            Produce(out, code);
        }
    }
    if (Bytes_Needed != 0 && (End_Of_Data || Flags[Converter_Flag::STATELESS])) {
        Reset_Sequence();
        Report_Error(out);
    }
}

} // namespace

Decoder_Access Factory(Converter_Flags Flags) {
    return std::make_unique<UTF8_Decoder>(Flags);
}

} // namespace Qorvi::Strings::Converters::Decoders::UTF8
