#include <qorvi/cursors/implementation-text_segmentation.hpp>

namespace Qorvi::Implementation::Text_Segmentation {

using UCD_Core::EA_Values;
using UCD_Core::INCB_Values;

namespace {

constexpr unsigned value(GCB_Values v) noexcept {
    return static_cast<unsigned>(v);
}
constexpr unsigned value(INCB_Values v) noexcept {
    return static_cast<unsigned>(v);
}

unsigned gcb(Core_Data_Record record) noexcept {
    return UCD_Core::GCB_Field.Get(record.Raw);
}
unsigned incb(Core_Data_Record record) noexcept {
    return UCD_Core::INCB_Field.Get(record.Raw);
}
unsigned wb(Core_Data_Record record) noexcept {
    return UCD_Core::WB_Field.Get(record.Raw);
}

} // namespace

bool Grapheme_Context_Joins(const Text& In, std::uint32_t Offset_B, Core_Data_Record B,
                            Core_Data_Record A) {
    const unsigned incb_b = incb(B);
    // GB9c: Consonant [Extend Linker]* Linker [Extend Linker]* x Consonant.
    if (incb_b >= value(INCB_Values::INCB_EXTEND) &&
        incb(A) == value(INCB_Values::INCB_CONSONANT)) {
        bool linker_seen = incb_b == value(INCB_Values::INCB_LINKER);
        std::uint32_t at = Offset_B;
        while (at > 0) {
            char32_t code;
            at = Decode_Backward(In, at, code);
            const unsigned kind = incb(Properties(code));
            if (kind >= value(INCB_Values::INCB_EXTEND)) {
                linker_seen = linker_seen || kind == value(INCB_Values::INCB_LINKER);
                continue;
            }
            if (kind == value(INCB_Values::INCB_CONSONANT) && linker_seen) {
                return true;
            }
            break;
        }
    }
    // GB11: Extended_Pictographic Extend* ZWJ x Extended_Pictographic.
    if (gcb(B) == value(GCB_Values::GCB_ZWJ) && A.Extended_Pictographic()) {
        std::uint32_t at = Offset_B;
        while (at > 0) {
            char32_t code;
            at = Decode_Backward(In, at, code);
            const Core_Data_Record record = Properties(code);
            if (gcb(record) != value(GCB_Values::GCB_EX)) {
                return record.Extended_Pictographic();
            }
        }
        return false;
    }
    // GB12/13: regional indicators pair up from the start of their run.
    if (gcb(B) == value(GCB_Values::GCB_RI) && gcb(A) == value(GCB_Values::GCB_RI)) {
        std::uint32_t count = 0;
        std::uint32_t at = Offset_B;
        while (at > 0) {
            char32_t code;
            at = Decode_Backward(In, at, code);
            if (gcb(Properties(code)) != value(GCB_Values::GCB_RI)) {
                break;
            }
            count += 1;
        }
        return count % 2 == 0;
    }
    return false; // GB999
}

// ---------------------------------------------------------------------------------------------
// Word segments

namespace {

using namespace Word_Rules;

// Stands for "no character" (the start or the end of the text) in look-ahead and look-back;
// no group holds it.
constexpr unsigned Nothing = 31;

// The Word_Break value of the first character at or after From that is not ignorable.
unsigned look_ahead(const Text& In, std::uint32_t From) {
    while (From < In.Size) {
        char32_t code;
        const std::uint32_t size = Decode(In, From, code);
        const unsigned v = wb(Properties(code));
        if (!Word_Rules::In(v, Ignorable)) {
            return v;
        }
        From += size;
    }
    return Nothing;
}

// The Word_Break value of the last character before Before that is not ignorable.
unsigned look_back(const Text& In, std::uint32_t Before) {
    while (Before > 0) {
        char32_t code;
        Before = Decode_Backward(In, Before, code);
        const unsigned v = wb(Properties(code));
        if (!Word_Rules::In(v, Ignorable)) {
            return v;
        }
    }
    return Nothing;
}

// Rules WB5 to WB999 for the pair B | A, where B is the character at B_Offset (or the last one
// before the ignorable characters that precede A) and A the character at A_Offset (of A_Size
// code units). True to join.
bool word_rules_join(const Text& Text_In, std::uint32_t B_Offset, unsigned b,
                     std::uint32_t A_Offset, std::uint32_t A_Size, unsigned a) {
    constexpr unsigned HL = V(WB_Values::WB_HL);
    constexpr unsigned NU = V(WB_Values::WB_NU);
    constexpr unsigned SQ = V(WB_Values::WB_SQ);
    constexpr unsigned DQ = V(WB_Values::WB_DQ);
    constexpr unsigned KA = V(WB_Values::WB_KA);
    constexpr unsigned EX = V(WB_Values::WB_EX);
    constexpr unsigned RI = V(WB_Values::WB_RI);
    const std::uint32_t after_a = A_Offset + A_Size;
    // WB5
    if (In(b, AHLetter) && In(a, AHLetter)) {
        return true;
    }
    // WB6
    if (In(b, AHLetter) && In(a, Mid_Letter) && In(look_ahead(Text_In, after_a), AHLetter)) {
        return true;
    }
    // WB7
    if (In(a, AHLetter) && In(b, Mid_Letter) && In(look_back(Text_In, B_Offset), AHLetter)) {
        return true;
    }
    // WB7a
    if (b == HL && a == SQ) {
        return true;
    }
    // WB7b
    if (b == HL && a == DQ && look_ahead(Text_In, after_a) == HL) {
        return true;
    }
    // WB7c
    if (a == HL && b == DQ && look_back(Text_In, B_Offset) == HL) {
        return true;
    }
    // WB8, WB9, WB10
    if (a == NU && (b == NU || In(b, AHLetter))) {
        return true;
    }
    if (b == NU && In(a, AHLetter)) {
        return true;
    }
    // WB11
    if (In(b, Mid_Num) && a == NU && look_back(Text_In, B_Offset) == NU) {
        return true;
    }
    // WB12
    if (In(a, Mid_Num) && b == NU) {
        return look_ahead(Text_In, after_a) == NU;
    }
    // WB13
    if (b == KA && a == KA) {
        return true;
    }
    // WB13a, WB13b
    if (In(b, Before_Extend_Num_Let)) {
        return a == EX || (b == EX && In(a, After_Extend_Num_Let));
    }
    if (In(a, After_Extend_Num_Let)) {
        return false;
    }
    // WB15, WB16: regional indicators pair up from the start of their run.
    if (b == RI && a == RI) {
        std::uint32_t count = 0;
        std::uint32_t at = B_Offset;
        while (at > 0) {
            char32_t code;
            at = Decode_Backward(Text_In, at, code);
            const unsigned v = wb(Properties(code));
            if (v == RI) {
                count += 1;
            } else if (!In(v, Ignorable)) {
                break;
            }
        }
        return count % 2 == 0;
    }
    return false; // WB999
}

} // namespace

bool Word_Rules_Join(const Text& In, std::uint32_t B_Offset, unsigned B, const Character& A) {
    return word_rules_join(In, B_Offset, B, A.Offset, A.Size, wb(A.Record));
}

// ---------------------------------------------------------------------------------------------
// Emoji sequences and display width

namespace {

constexpr char32_t ZWJ = 0x200D;
constexpr char32_t Presentation_Selector = 0xFE0F;
constexpr char32_t Combining_Keycap = 0x20E3;
constexpr char32_t Cancel_Tag = 0xE007F;

constexpr bool is_regional_indicator(char32_t code) noexcept {
    return code >= 0x1F1E6 && code <= 0x1F1FF;
}
constexpr bool is_tag(char32_t code) noexcept {
    return code >= 0xE0020 && code <= 0xE007E;
}
constexpr bool is_keycap_base(char32_t code) noexcept {
    return code == 0x23 || code == 0x2A || (code >= 0x30 && code <= 0x39);
}

} // namespace

bool Is_Emoji_Sequence(const Text& In, std::uint32_t First, std::uint32_t End) {
    std::uint32_t at = First;
    const auto next = [&](char32_t& code) {
        if (at >= End) {
            return false;
        }
        at += Decode(In, at, code);
        return true;
    };
    enum class State { Element, After_Selector, Tags, After_Keycap, After_Joiner, After_Cancel };
    char32_t element;
    if (!next(element)) {
        return false;
    }
    State state = State::Element;
    bool keycap_base = false;
    bool element_is_flag = false;
    while (true) {
        char32_t code;
        switch (state) {
        case State::Element: {
            const Core_Data_Record record = Properties(element);
            if (!record.Emoji()) {
                return false;
            }
            keycap_base = is_keycap_base(element);
            element_is_flag = is_regional_indicator(element);
            if (!next(code)) {
                return true;
            }
            if (code == ZWJ) {
                state = State::After_Joiner;
            } else if (code == Presentation_Selector) {
                state = State::After_Selector;
            } else if (is_regional_indicator(code)) {
                if (!element_is_flag) {
                    return false;
                }
                state = State::After_Selector;
            } else if (is_tag(code)) {
                state = State::Tags;
            } else if (record.Emoji_Modifier_Base() && Properties(code).Emoji_Modifier()) {
                keycap_base = false;
                state = State::After_Selector;
            } else {
                return false;
            }
            break;
        }
        case State::After_Selector:
            if (!next(code)) {
                return true;
            }
            if (code == Combining_Keycap) {
                if (!keycap_base) {
                    return false;
                }
                state = State::After_Keycap;
            } else if (code == ZWJ) {
                state = State::After_Joiner;
            } else if (is_tag(code) && !element_is_flag) {
                state = State::Tags;
            } else {
                return false;
            }
            break;
        case State::Tags:
            if (!next(code)) {
                return false;
            }
            if (code == Cancel_Tag) {
                state = State::After_Cancel;
            } else if (!is_tag(code)) {
                return false;
            }
            break;
        case State::After_Keycap:
        case State::After_Cancel:
            // A closed tag sequence (or a keycap) goes on only with a joiner; anything else
            // after it within the cluster is not part of an emoji sequence.
            if (!next(code)) {
                return true;
            }
            if (code != ZWJ) {
                return false;
            }
            state = State::After_Joiner;
            break;
        case State::After_Joiner:
            if (!next(element)) {
                return false;
            }
            state = State::Element;
            break;
        }
    }
}

std::int32_t Cluster_Display_Width(const Text& In, std::uint32_t First, std::uint32_t End) {
    std::uint32_t at = First;
    std::int32_t characters = 0;
    Core_Data_Record record{0};
    while (at < End) {
        char32_t code;
        at += Decode(In, at, code);
        record = Properties(code);
        const auto width = static_cast<EA_Values>(UCD_Core::EA_Field.Get(record.Raw));
        if (width == EA_Values::EA_W || width == EA_Values::EA_F) {
            return 2;
        }
        characters += 1;
    }
    if (!Is_Emoji_Sequence(In, First, End)) {
        return 1;
    }
    if (characters > 1) {
        return 2;
    }
    return record.Emoji_Presentation() ? 2 : 1;
}

} // namespace Qorvi::Implementation::Text_Segmentation
