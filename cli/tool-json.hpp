// JSON output of qorvi-text: one object per line, written member by member.
//
//   JSON_Object object;
//   object.Member("cp").String("U+0041");
//   object.Member("cased").Boolean(true);
//   Standard_Output().Write(object.Finish());   // {"cp":"U+0041","cased":true}\n
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Qorvi_CLI {

// Appends Text (well-formed UTF-8) as a JSON string: quotation mark, reverse solidus and the
// control characters U+0000 .. U+001F are escaped, everything else is copied.
void Append_JSON_String(std::string& Target, std::string_view Text);

// "U+XXXX": the code point in upper-case hexadecimal, at least four digits.
std::string Code_Point_Image(char32_t Code);

// Builds the text of one JSON object.
class JSON_Object {
public:
    JSON_Object() : text("{") {}

    // Starts a member; one value call must follow.
    JSON_Object& Member(std::string_view Name);

    JSON_Object& String(std::string_view Text);
    JSON_Object& Integer(std::int64_t Value);
    JSON_Object& Boolean(bool Value);
    JSON_Object& Null();
    // An array; the values are written with the calls above and separated by commas.
    JSON_Object& Begin_Array();
    JSON_Object& End_Array();

    // The object's text with "}" and a new line.
    const std::string& Finish();

private:
    void separate();

    std::string text;
    bool first_member = true;
    // Inside an array: whether a value has been written in it.
    bool in_array = false;
    bool array_has_value = false;
};

} // namespace Qorvi_CLI
