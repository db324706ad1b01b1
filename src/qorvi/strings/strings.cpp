#include <cstring>
#include <ostream>
#include <qorvi/cursors/implementation-line_iterators.hpp>
#include <qorvi/cursors/strings-cursors.hpp>
#include <qorvi/implementation-checked.hpp>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <qorvi/strings/string_vectors.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Strings {

namespace UTF8 = Implementation::UTF8_Strings;
namespace Mutable = Implementation::UTF8_Strings::Mutable_Operations;
using Implementation::Strings::Cursor;
using Implementation::Strings::Cursor_Offset;

// Grants the Internals functions access to the text of a string.
struct Internals_Access {
    static UTF8::UTF8_String_Data& Data(Virtual_String& Self) noexcept { return Self.Data; }
    static const UTF8::UTF8_String_Data& Data(const Virtual_String& Self) noexcept {
        return Self.Data;
    }
};

namespace {

UTF8::UTF8_String_Data from_utf8(std::string_view text) {
    UTF8::UTF8_String_Data data;
    if (!UTF8::From_UTF_8_String(data, text)) {
        UTF8::Unreference(data);
        throw Constraint_Error("Ill-formed UTF-8 data");
    }
    return data;
}

UTF8::UTF8_String_Data from_utf32(std::u32string_view text) {
    UTF8::UTF8_String_Data data;
    if (!UTF8::From_Wide_Wide_String(data, text)) {
        UTF8::Unreference(data);
        throw Constraint_Error("Ill-formed UTF-32 data");
    }
    return data;
}

std::string_view as_chars(std::u8string_view text) noexcept {
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

// Makes target the holder of data, which was built for it (or moved out of another string).
void take(UTF8::UTF8_String_Data& target, UTF8::UTF8_String_Data& data) noexcept {
    std::memcpy(static_cast<void*>(&target), &data, sizeof target);
    UTF8::Adjust(target);
    data = UTF8::Default_UTF8_String_Data;
}

// Makes target the holder of data, which was built here and is null exactly when text was.
void take_built(UTF8::UTF8_String_Data& target, UTF8::UTF8_String_Data data) noexcept {
    take(target, data);
}

// Characters given by clients must be Unicode scalar values: anything else would be written
// into the text as ill-formed UTF-8.
void check_character(Virtual_Character item) {
    if (item > 0x10FFFF || (item >= 0xD800 && item <= 0xDFFF)) {
        throw Constraint_Error("not a Unicode scalar value");
    }
}

// A string holding data, which was built for it (null data gives a null string).
Virtual_String from_built(UTF8::UTF8_String_Data& data) noexcept {
    Virtual_String result;
    if (!UTF8::Is_Null(data)) {
        Internals::Set_By_Move(result, data);
    }
    return result;
}

bool is_owner(const Cursors::Abstract_Cursor& cursor, const Virtual_String& self) {
    return Cursors::Internals::Is_Owner(cursor, self);
}

// Where an edit at a cursor position starts: the before-first position counts as the first
// character (text inserted there goes before the first character).
Cursor edit_start(const Cursor& position) noexcept {
    return position.Index == 0 ? Cursor{0, 0, 1} : position;
}

// The last character, or the before-first position of an empty text.
Cursor last_character(const UTF8::UTF8_String_Data& data) {
    Cursor result;
    UTF8::After_Last_Character(data, result);
    UTF8::Backward(data, result);
    return result;
}

Virtual_String slice(const UTF8::UTF8_String_Data& data, const Cursor& from, const Cursor& to) {
    UTF8::UTF8_String_Data result;
    UTF8::Slice(data, from, to, result);
    return from_built(result);
}

// The UTF-8 form of each line terminator, by its value.
constexpr std::string_view terminator_sequences[] = {"\r", "\n", "\r\n",         "\xC2\x85",
                                                     "\v", "\f", "\xE2\x80\xA8", "\xE2\x80\xA9"};

} // namespace

Virtual_String::Virtual_String(const char* UTF8_Text)
    : Virtual_String(std::string_view(UTF8_Text == nullptr ? "" : UTF8_Text)) {}

Virtual_String::Virtual_String(const char8_t* UTF8_Text)
    : Virtual_String(std::u8string_view(UTF8_Text == nullptr ? u8"" : UTF8_Text)) {}

Virtual_String::Virtual_String(std::string_view UTF8_Text) {
    take_built(Data, from_utf8(UTF8_Text));
}

Virtual_String::Virtual_String(std::u8string_view UTF8_Text)
    : Virtual_String(as_chars(UTF8_Text)) {}

Virtual_String::Virtual_String(std::u32string_view Text) {
    take_built(Data, from_utf32(Text));
}

Virtual_String::Virtual_String(Virtual_String&& Source) noexcept : Magic_String_Base() {
    if (!Source.Is_Null()) {
        take(Data, Source.Data);
    }
}

Virtual_String& Virtual_String::operator=(const Virtual_String& Source) noexcept {
    if (this != &Source) {
        Magic_String_Base::operator=(Source);
        UTF8::Unreference(Data);
        Data = Source.Data;
        UTF8::Reference(Data);
    }
    return *this;
}

Virtual_String& Virtual_String::operator=(Virtual_String&& Source) noexcept {
    if (this != &Source) {
        Magic_String_Base::operator=(Source);
        UTF8::Unreference(Data);
        if (!Source.Is_Null()) {
            take(Data, Source.Data);
        }
    }
    return *this;
}

void Virtual_String::Clear() noexcept {
    UTF8::Unreference(Data);
}

// In-place edits

void Virtual_String::Append(Virtual_Character Item) {
    check_character(Item);
    Cursor start;
    UTF8::After_Last_Character(Data, start);
    Cursor_Offset inserted;
    Mutable::Append(Data, Item, inserted);
    Notify_String_Modified(*this, start, Cursor_Offset{}, inserted);
}

void Virtual_String::Append(const Virtual_String& Item) {
    Cursor start;
    UTF8::After_Last_Character(Data, start);
    Cursor_Offset inserted;
    Mutable::Append(Data, Item.Data, inserted);
    Notify_String_Modified(*this, start, Cursor_Offset{}, inserted);
}

void Virtual_String::Prepend(Virtual_Character Item) {
    check_character(Item);
    const Cursor start{0, 0, 1};
    Cursor_Offset inserted;
    Mutable::Insert(Data, start, Item, inserted);
    Notify_String_Modified(*this, start, Cursor_Offset{}, inserted);
}

void Virtual_String::Prepend(const Virtual_String& Item) {
    const Cursor start{0, 0, 1};
    Cursor_Offset inserted;
    Mutable::Insert(Data, start, Item.Data, inserted);
    Notify_String_Modified(*this, start, Cursor_Offset{}, inserted);
}

void Virtual_String::Insert(const Cursors::Abstract_Cursor& Position, Virtual_Character Item) {
    check_character(Item);
    if (!is_owner(Position, *this)) {
        return;
    }
    const Cursor& at = Cursors::Internals::First_Cursor_Access_Constant(Position);
    if (Implementation::Strings::Is_Invalid(at)) {
        return;
    }
    // A copy: the cursor itself moves when it is told about the edit.
    const Cursor start = edit_start(at);
    Cursor_Offset inserted;
    Mutable::Insert(Data, start, Item, inserted);
    Notify_String_Modified(*this, start, Cursor_Offset{}, inserted);
}

void Virtual_String::Insert(const Cursors::Abstract_Cursor& Position, const Virtual_String& Item) {
    if (!is_owner(Position, *this)) {
        return;
    }
    const Cursor& at = Cursors::Internals::First_Cursor_Access_Constant(Position);
    if (Implementation::Strings::Is_Invalid(at)) {
        return;
    }
    const Cursor start = edit_start(at);
    Cursor_Offset inserted;
    Mutable::Insert(Data, start, Item.Data, inserted);
    Notify_String_Modified(*this, start, Cursor_Offset{}, inserted);
}

namespace {

// The start and extent of the span From .. To (first positions) of an edit; false when a
// cursor does not belong to self or holds no position.
bool edit_span(const Virtual_String& self, const UTF8::UTF8_String_Data& data,
               const Cursors::Abstract_Cursor& from, const Cursors::Abstract_Cursor& to,
               Cursor& start, Cursor_Offset& removed) {
    if (!is_owner(from, self) || !is_owner(to, self)) {
        return false;
    }
    const Cursor first = Cursors::Internals::First_Cursor_Access_Constant(from);
    const Cursor last = Cursors::Internals::First_Cursor_Access_Constant(to);
    if (Implementation::Strings::Is_Invalid(first) || Implementation::Strings::Is_Invalid(last)) {
        return false;
    }
    start = edit_start(first);
    removed = UTF8::Compute_Size(data, start, last);
    return true;
}

} // namespace

void Virtual_String::Delete(const Cursors::Abstract_Cursor& From,
                            const Cursors::Abstract_Cursor& To) {
    Cursor start;
    Cursor_Offset removed;
    if (!edit_span(*this, Data, From, To, start, removed) || removed.Index_Offset == 0) {
        return;
    }
    Mutable::Delete(Data, start, removed);
    Notify_String_Modified(*this, start, removed, Cursor_Offset{});
}

void Virtual_String::Replace(const Cursors::Abstract_Cursor& From,
                             const Cursors::Abstract_Cursor& To, Virtual_Character By) {
    check_character(By);
    Cursor start;
    Cursor_Offset removed;
    if (!edit_span(*this, Data, From, To, start, removed)) {
        return;
    }
    Mutable::Delete(Data, start, removed);
    Cursor_Offset inserted;
    Mutable::Insert(Data, start, By, inserted);
    Notify_String_Modified(*this, start, removed, inserted);
}

void Virtual_String::Replace(const Cursors::Abstract_Cursor& From,
                             const Cursors::Abstract_Cursor& To, const Virtual_String& By) {
    Cursor start;
    Cursor_Offset removed;
    if (!edit_span(*this, Data, From, To, start, removed)) {
        return;
    }
    if (&By == this && removed.Index_Offset != 0) {
        // By is about to lose the removed span: insert the text it had before the edit.
        const Virtual_String by = By;
        Mutable::Delete(Data, start, removed);
        Cursor_Offset inserted;
        Mutable::Insert(Data, start, by.Data, inserted);
        Notify_String_Modified(*this, start, removed, inserted);
        return;
    }
    Mutable::Delete(Data, start, removed);
    Cursor_Offset inserted;
    Mutable::Insert(Data, start, By.Data, inserted);
    Notify_String_Modified(*this, start, removed, inserted);
}

// New strings from parts of Self

Virtual_String Virtual_String::Delete(Virtual_Character Item) const {
    check_character(Item);
    UTF8::UTF8_Code_Unit encoded[4];
    const UTF8_Code_Unit_Count encoded_size = Implementation::UTF8_Encoding::Encode(Item, encoded);
    const std::string_view needle(reinterpret_cast<const char*>(encoded),
                                  static_cast<std::size_t>(encoded_size));
    const std::string_view text = UTF8::To_String_View(Data);
    std::size_t found = text.find(needle);
    if (found == std::string_view::npos) {
        // Every character stays: share the text (an empty text gives a null string).
        return Data.Size == 0 ? Virtual_String() : *this;
    }
    // UTF-8 is self-synchronising, so a byte match is a character match. Copy the runs
    // between the matches.
    UTF8::UTF8_String_Data result;
    std::size_t from = 0;
    while (true) {
        const std::size_t end = found == std::string_view::npos ? text.size() : found;
        if (end > from) {
            const auto run = UTF8::Code_Units(Data).subspan(from, end - from);
            Character_Count characters = 0;
            for (const UTF8::UTF8_Code_Unit unit : run) {
                characters += (unit & 0xC0) != 0x80 ? 1 : 0;
            }
            Mutable::Append(result, run, characters);
        }
        if (found == std::string_view::npos) {
            break;
        }
        from = found + needle.size();
        found = text.find(needle, from);
    }
    return from_built(result);
}

Virtual_String Virtual_String::Slice(const Cursors::Abstract_Cursor& From,
                                     const Cursors::Abstract_Cursor& To) const {
    if (!is_owner(From, *this) || !is_owner(To, *this)) {
        return Virtual_String();
    }
    const Cursor first = Cursors::Internals::First_Cursor_Access_Constant(From);
    const Cursor last = Cursors::Internals::Last_Cursor_Access_Constant(To);
    if (Implementation::Strings::Is_Invalid(first) || Implementation::Strings::Is_Invalid(last)) {
        return Virtual_String();
    }
    return slice(Data, first, last);
}

Virtual_String Virtual_String::Slice(const Cursors::Abstract_Cursor& Segment) const {
    return Slice(Segment, Segment);
}

Virtual_String Virtual_String::Head_Before(const Cursors::Abstract_Cursor& Before) const {
    if (!is_owner(Before, *this)) {
        return Virtual_String();
    }
    Cursor last = Cursors::Internals::First_Cursor_Access_Constant(Before);
    if (Implementation::Strings::Is_Invalid(last) || !UTF8::Backward(Data, last)) {
        return Virtual_String();
    }
    return slice(Data, Cursor{0, 0, 1}, last);
}

Virtual_String Virtual_String::Tail_From(const Cursors::Abstract_Cursor& From) const {
    if (!is_owner(From, *this)) {
        return Virtual_String();
    }
    const Cursor first = Cursors::Internals::First_Cursor_Access_Constant(From);
    if (Implementation::Strings::Is_Invalid(first)) {
        return Virtual_String();
    }
    return slice(Data, first, last_character(Data));
}

Virtual_String Virtual_String::Tail_After(const Cursors::Abstract_Cursor& After) const {
    if (!is_owner(After, *this)) {
        return Virtual_String();
    }
    Cursor first = Cursors::Internals::First_Cursor_Access_Constant(After);
    if (Implementation::Strings::Is_Invalid(first) || !UTF8::Forward(Data, first)) {
        return Virtual_String();
    }
    return slice(Data, first, last_character(Data));
}

// Vectors of parts

namespace {

// Appends new string data, built for the vector, to it (null data as a null element).
void append_built(String_Vectors::Virtual_String_Vector& result, UTF8::UTF8_String_Data& data) {
    result.Append(from_built(data));
}

// Characters in a run of well-formed UTF-8 code units: its lead units.
Character_Count characters_in(UTF8::UTF8_Code_Unit_Array units) noexcept {
    Character_Count count = 0;
    for (const UTF8::UTF8_Code_Unit unit : units) {
        count += (unit & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

// Appends the segments of data between the occurrences of separator to result. UTF-8 is
// self-synchronising, so the separator's code units are found by a byte search.
void split(const UTF8::UTF8_String_Data& data, Virtual_Character separator,
           bool keep_empty_segments, String_Vectors::Virtual_String_Vector& result) {
    UTF8::UTF8_Code_Unit encoded[4];
    const auto encoded_size =
        static_cast<std::size_t>(Implementation::UTF8_Encoding::Encode(separator, encoded));
    const std::string_view needle(reinterpret_cast<const char*>(encoded), encoded_size);
    const std::string_view text = UTF8::To_String_View(data);
    std::size_t from = 0;
    while (true) {
        const std::size_t found = text.find(needle, from);
        const std::size_t end = found == std::string_view::npos ? text.size() : found;
        if (end > from) {
            const UTF8::UTF8_Code_Unit_Array units =
                UTF8::Code_Units(data).subspan(from, end - from);
            UTF8::UTF8_String_Data segment;
            Mutable::Initialize(segment, units, characters_in(units));
            append_built(result, segment);
        } else if (keep_empty_segments) {
            result.Append(Virtual_String());
        }
        if (found == std::string_view::npos) {
            break;
        }
        from = found + encoded_size;
    }
}

// The offset just after the character at position.
UTF8_Code_Unit_Offset after(const UTF8::UTF8_String_Data& data, Cursor position) {
    UTF8::Forward(data, position);
    return position.UTF8_Offset;
}

// Replaces result's elements by the lines of data.
void split_lines(const UTF8::UTF8_String_Data& data, Line_Terminator_Set terminators,
                 bool keep_terminator, String_Vectors::Virtual_String_Vector& result) {
    result.Clear();
    Cursor start = Implementation::Strings::Position_Before_First_Character;
    Cursor first;
    Cursor last;
    Cursor terminator;
    while (Implementation::Line_Iterators::Forward(data, terminators, start, first, last,
                                                   terminator)) {
        UTF8_Code_Unit_Offset end;
        Character_Count length;
        if (keep_terminator || Implementation::Strings::Is_Invalid(terminator)) {
            end = after(data, last);
            length = last.Index - first.Index + 1;
        } else {
            end = terminator.UTF8_Offset;
            length = terminator.Index - first.Index;
        }
        UTF8::UTF8_String_Data line;
        if (end == first.UTF8_Offset) {
            UTF8::Initialize(line, 0);
        } else {
            Mutable::Initialize(
                line,
                UTF8::Code_Units(data).subspan(static_cast<std::size_t>(first.UTF8_Offset),
                                               static_cast<std::size_t>(end - first.UTF8_Offset)),
                length);
        }
        append_built(result, line);
        start = last;
    }
}

} // namespace

String_Vectors::Virtual_String_Vector Virtual_String::Split(Virtual_Character Separator,
                                                            bool Keep_Empty_Segments) const {
    check_character(Separator);
    String_Vectors::Virtual_String_Vector result;
    split(Data, Separator, Keep_Empty_Segments, result);
    return result;
}

String_Vectors::Virtual_String_Vector Virtual_String::To_Virtual_String_Vector() const {
    String_Vectors::Virtual_String_Vector result;
    result.Append(*this);
    return result;
}

String_Vectors::Virtual_String_Vector Virtual_String::Split_Lines(Line_Terminator_Set Terminators,
                                                                  bool Keep_Terminator) const {
    String_Vectors::Virtual_String_Vector result;
    split_lines(Data, Terminators, Keep_Terminator, result);
    return result;
}

// Tests

bool Virtual_String::Starts_With(const Virtual_String& Prefix) const noexcept {
    return UTF8::Starts_With(Data, Prefix.Data);
}

bool Virtual_String::Ends_With(const Virtual_String& Suffix) const noexcept {
    return UTF8::Ends_With(Data, Suffix.Data);
}

bool Virtual_String::Ends_With(Virtual_Character Suffix) const {
    check_character(Suffix);
    return UTF8::Ends_With(Data, Suffix);
}

bool Virtual_String::Ends_With(Line_Terminator Terminator) const {
    const auto value = static_cast<std::size_t>(Terminator);
    if (value >= std::size(terminator_sequences)) {
        throw Constraint_Error("not a line terminator");
    }
    return UTF8::To_String_View(Data).ends_with(terminator_sequences[value]);
}

bool Virtual_String::Ends_With(Line_Terminator_Set Terminators) const {
    for (std::size_t value = 0; value < std::size(terminator_sequences); ++value) {
        const auto terminator = static_cast<Line_Terminator>(value);
        if (Terminators.Contains(terminator) && Ends_With(terminator)) {
            return true;
        }
    }
    return false;
}

Hash_Type Virtual_String::Hash() const {
    Implementation::FNV_Hash::FNV_1a_Generator generator;
    UTF8::Hash(Data, generator);
    return generator.Value();
}

std::string Virtual_String::Image() const {
    const std::string_view text = UTF8::To_String_View(Data);
    std::string result;
    result.reserve(text.size() + 2);
    result.push_back('"');
    for (const char unit : text) {
        result.push_back(unit);
        if (unit == '"') {
            result.push_back('"');
        }
    }
    result.push_back('"');
    return result;
}

void Virtual_String::Read(std::istream&) {
    throw Program_Error("Not implemented");
}

void Virtual_String::Write(std::ostream&) const {
    throw Program_Error("Not implemented");
}

bool operator==(const Virtual_String& Left, const Virtual_String& Right) noexcept {
    return UTF8::Is_Equal(Left.Data, Right.Data);
}

bool operator<(const Virtual_String& Left, const Virtual_String& Right) noexcept {
    return UTF8::Is_Less(Left.Data, Right.Data);
}

bool operator<=(const Virtual_String& Left, const Virtual_String& Right) noexcept {
    return UTF8::Is_Less_Or_Equal(Left.Data, Right.Data);
}

bool operator>(const Virtual_String& Left, const Virtual_String& Right) noexcept {
    return !UTF8::Is_Less_Or_Equal(Left.Data, Right.Data);
}

bool operator>=(const Virtual_String& Left, const Virtual_String& Right) noexcept {
    return !UTF8::Is_Less(Left.Data, Right.Data);
}

const Virtual_String Empty_Virtual_String;

Hash_Type Hash(const Virtual_String& Item) {
    return Item.Hash();
}

Virtual_String To_Virtual_String(std::u32string_view Item) {
    return Virtual_String(Item);
}

Virtual_String operator+(const Virtual_String& Left, const Virtual_String& Right) {
    Virtual_String result = Left;
    Cursor_Offset inserted;
    Mutable::Append(*Internals::Data_Access_Variable(result),
                    *Internals::Data_Access_Constant(Right), inserted);
    return result;
}

Virtual_String operator+(const Virtual_String& Left, Virtual_Character Right) {
    check_character(Right);
    Virtual_String result = Left;
    Mutable::Append(*Internals::Data_Access_Variable(result), Right);
    return result;
}

Virtual_String operator+(Virtual_Character Left, const Virtual_String& Right) {
    check_character(Left);
    Virtual_String result;
    UTF8::UTF8_String_Data& data = *Internals::Data_Access_Variable(result);
    Mutable::Append(data, Left);
    Cursor_Offset inserted;
    Mutable::Append(data, *Internals::Data_Access_Constant(Right), inserted);
    return result;
}

Virtual_String Repeat(Character_Count Count, Virtual_Character Item) {
    check_character(Item);
    Virtual_String result;
    if (Count <= 0) {
        return result;
    }
    Implementation::Checked::In_Range(Count, 1, Character_Count_Last, "string length out of range");
    UTF8::UTF8_String_Data& data = *Internals::Data_Access_Variable(result);
    // One allocation for the whole text; the appends then fill it.
    UTF8::Make_Mutable(data, Implementation::Checked::Multiply(
                                 Count, Implementation::UTF8_Encoding::Encoded_Length(Item)));
    for (Character_Count done = 0; done < Count; ++done) {
        Mutable::Append(data, Item);
    }
    return result;
}

String_Vectors::Virtual_String_Vector operator*(Character_Count Count, const Virtual_String& Item) {
    String_Vectors::Virtual_String_Vector result;
    for (Character_Count done = 0; done < Count; ++done) {
        result.Append(Item);
    }
    return result;
}

std::ostream& operator<<(std::ostream& Stream, const Virtual_String& Item) {
    const std::string_view text = UTF8::To_String_View(*Internals::Data_Access_Constant(Item));
    return Stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void PrintTo(const Virtual_String& Item, std::ostream* Stream) {
    *Stream << Item.Image();
}

} // namespace Qorvi::Strings

namespace Qorvi::Strings::Internals {

const UTF8_String_Data* Data_Access_Constant(const Virtual_String& Self) noexcept {
    return &Internals_Access::Data(Self);
}

UTF8_String_Data* Data_Access_Variable(Virtual_String& Self) noexcept {
    return &Internals_Access::Data(Self);
}

Virtual_String To_Virtual_String(const UTF8_String_Data& Data) noexcept {
    Virtual_String result;
    UTF8_String_Data& target = Internals_Access::Data(result);
    target = Data;
    Implementation::UTF8_Strings::Reference(target);
    return result;
}

void Set_By_Move(Virtual_String& Self, UTF8_String_Data& Data) noexcept {
    UTF8_String_Data& target = Internals_Access::Data(Self);
    Implementation::UTF8_Strings::Unreference(target);
    take(target, Data);
}

Magic_String_Access To_Magic_String_Access(Virtual_String* Self) noexcept {
    return Self;
}

Virtual_String* To_Virtual_String_Access(Magic_String_Access Self) {
    if (Self == nullptr) {
        return nullptr;
    }
    auto* result = dynamic_cast<Virtual_String*>(Self);
    if (result == nullptr) {
        throw Constraint_Error("not a Virtual_String");
    }
    return result;
}

} // namespace Qorvi::Strings::Internals

namespace Qorvi::Characters {

Strings::Virtual_String To_Virtual_String(Virtual_Character Item) {
    Strings::Virtual_String result;
    result.Append(Item);
    return result;
}

} // namespace Qorvi::Characters

namespace Qorvi::Locales {

Locale::~Locale() = default;

Locale Current_Locale() {
    return Locale();
}

Locale Default_Unicode_Locale() {
    return Locale();
}

} // namespace Qorvi::Locales
