#include <qorvi/formatters/implementation-integer_formatting.hpp>
#include <qorvi/implementation-checked.hpp>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>

namespace Qorvi::Implementation::Integer_Formatting {

namespace UTF8 = Implementation::UTF8_Strings;
namespace Mutable = Implementation::UTF8_Strings::Mutable_Operations;
using Implementation::Strings::Cursor;
using Qorvi::Strings::Virtual_String;

namespace {

// Reads one text character by character; No_Character once the text is exhausted.
class Reader {
public:
    explicit Reader(const UTF8::UTF8_String_Data& Text) : text(Text) {
        UTF8::Before_First_Character(text, position);
    }
    Virtual_Character Next() {
        return UTF8::Forward(text, position) ? UTF8::Element(text, position)
                                             : Implementation::Strings::No_Character;
    }

private:
    const UTF8::UTF8_String_Data& text;
    Cursor position;
};

constexpr bool is_digit(Virtual_Character c) noexcept {
    return c >= U'0' && c <= U'9';
}

// Reads decimal digits from c on into value, each step value := value * 10 + digit; a value
// above last raises Constraint_Error. Returns the first character that is not a digit.
Virtual_Character read_number(Reader& reader, Virtual_Character c, std::int32_t& value,
                              std::int32_t last, const char* what) {
    while (is_digit(c)) {
        // value <= last <= 2**31 - 1, so the step fits in 64 bits.
        const std::int64_t next = std::int64_t{value} * 10 + std::int64_t{c - U'0'};
        if (next > last) {
            Checked::Raise_Range(what);
        }
        value = static_cast<std::int32_t>(next);
        c = reader.Next();
    }
    return c;
}

} // namespace

Formatter_Options Parse(const Virtual_String& Format_Text) {
    Formatter_Options options;
    Reader reader(*Qorvi::Strings::Internals::Data_Access_Constant(Format_Text));
    Virtual_Character c = reader.Next();

    if (c == U'+') {
        options.Sign = Sign_Mode::PLUS;
        c = reader.Next();
    } else if (c == U'-') {
        options.Sign = Sign_Mode::SPACE;
        c = reader.Next();
    }
    if (c == U'0') {
        options.Leading_Zeros = true;
        c = reader.Next();
    }
    c = read_number(reader, c, options.Width, Width_Last, "format width out of range");
    if (c == U'#') {
        options.Base = 0;
        c = read_number(reader, reader.Next(), options.Base, 0x7FFF'FFFF,
                        "format base out of range");
    }
    if (c == U'_') {
        c = read_number(reader, reader.Next(), options.Group, Group_Last,
                        "format group out of range");
        if (c != Implementation::Strings::No_Character) {
            options.Separator = c;
        }
    }
    return options;
}

Virtual_String Render(bool Negative, std::uint64_t Magnitude, const Formatter_Options& Options,
                      int Digit_Room) {
    if (Digit_Room < 1 || Digit_Room > Digit_Room_Last) {
        throw Program_Error("integer formatter: digit room out of range");
    }
    if (Options.Base < 0 || Options.Width < 0 || Options.Width > Width_Last || Options.Group < 0 ||
        Options.Group > Group_Last) {
        Checked::Raise_Range("integer format options out of range");
    }

    // The digits, least significant first.
    char digits[Digit_Room_Last];
    int count = 0;
    if (Magnitude == 0) {
        digits[count++] = '0';
    } else {
        if (Options.Base == 0) {
            throw Constraint_Error("integer format: base 0 (division by zero)");
        }
        const auto base = static_cast<std::uint64_t>(Options.Base);
        for (std::uint64_t rest = Magnitude; rest != 0; rest /= base) {
            if (count == Digit_Room) {
                throw Constraint_Error("integer format: more digits than the digit room");
            }
            const std::uint64_t digit = rest % base;
            if (digit >= 26) {
                throw Program_Error("integer format: digit value above 25");
            }
            digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'A' + (digit - 10));
        }
    }

    // The layout: spaces, the sign, the digit positions (padding zeros, then the digits) and
    // the separators between groups of digit positions.
    const bool sign = Negative || Options.Sign != Sign_Mode::NONE;
    const char sign_character = Negative ? '-' : Options.Sign == Sign_Mode::PLUS ? '+' : ' ';
    const std::int64_t padding = Options.Width > count ? Options.Width - count : 0;
    const std::int64_t spaces = Options.Leading_Zeros ? 0 : padding;
    const std::int64_t zeros = Options.Leading_Zeros ? padding : 0;
    const std::int64_t positions = zeros + count;
    const std::int64_t separators = Options.Group > 0 ? (positions - 1) / Options.Group : 0;
    if (Options.Group > 0 && !Mutable::Is_Scalar_Value(Options.Separator)) {
        Mutable::Raise_Not_A_Scalar_Value();
    }
    const std::int64_t separator_size =
        Implementation::UTF8_Encoding::Encoded_Length(Options.Separator);
    // Every term is below 2**31, so neither sum can overflow.
    const std::int64_t length = spaces + (sign ? 1 : 0) + positions + separators;
    const std::int64_t size = length - separators + separators * separator_size;
    if (length > Character_Count_Last || size > UTF8_Code_Unit_Count_Last) {
        Checked::Raise_Range("formatted integer longer than a string can be");
    }

    Virtual_String result;
    UTF8::UTF8_String_Data& data = *Qorvi::Strings::Internals::Data_Access_Variable(result);
    UTF8::Make_Mutable(data, static_cast<UTF8_Code_Unit_Count>(size));
    for (std::int64_t k = 0; k < spaces; ++k) {
        Mutable::Append(data, U' ');
    }
    if (sign) {
        Mutable::Append(data, static_cast<Virtual_Character>(sign_character));
    }
    // Position p counts the digit positions from the right (the last digit is 1); a separator
    // follows each position whose p - 1 is a positive multiple of the group.
    for (std::int64_t p = positions; p >= 1; --p) {
        const char unit = p > count ? '0' : digits[p - 1];
        Mutable::Append(data, static_cast<Virtual_Character>(unit));
        if (Options.Group > 0 && p > 1 && (p - 1) % Options.Group == 0) {
            Mutable::Append(data, Options.Separator);
        }
    }
    return result;
}

} // namespace Qorvi::Implementation::Integer_Formatting
