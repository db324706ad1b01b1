// Reading the files of the Unicode Character Database for the table generators.
//
// Every UCD property file has the same shape: one entry per line, fields separated by ';',
// a comment from '#' to the end of the line, blank lines and comment lines in between. The
// first field is a code point ("0041"), a range ("0041..005A"), or in a few files a sequence.
// Data_File reads one such file and hands out its entries with their fields trimmed;
// read_unicode_data adds the one quirk of UnicodeData.txt, the ranges written as a pair of
// "<..., First>" and "<..., Last>" lines. Every malformed line is reported as a Data_Error
// naming the file and the line, so that a generator never writes a table from data it did not
// understand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qorvi_tools::ucd {

inline constexpr char32_t last_code_point = 0x10'FFFF;
inline constexpr std::size_t code_point_count = 0x11'0000;

class Data_Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An inclusive range of code points.
struct Code_Point_Range {
    char32_t first;
    char32_t last;
};

// Parse "XXXX" or "XXXX..YYYY" (hexadecimal, 4 to 6 digits, within 0 .. 0x10FFFF, first <= last).
// Throws Data_Error on anything else.
Code_Point_Range parse_range(std::string_view text);

// Parse one code point.
char32_t parse_code_point(std::string_view text);

// Parse a space-separated sequence of code points ("0041 0301"); empty text gives an empty
// sequence.
std::vector<char32_t> parse_code_points(std::string_view text);

// Leading and trailing blanks removed.
std::string_view trim(std::string_view text);

// One entry of a property file. fields[0] is the code point field as written, so fields are
// numbered as the UCD documentation numbers them; fields are trimmed, empty fields are kept
// (also an empty field after a final ';'). The views point into the Data_File's text.
struct Entry {
    std::size_t line_number;
    Code_Point_Range range;
    std::vector<std::string_view> fields;
    std::string_view comment;
};

class Data_File {
public:
    // Reads the whole file; throws Data_Error when it cannot be read.
    explicit Data_File(const std::filesystem::path& path);

    Data_File(const Data_File&) = delete;
    Data_File& operator=(const Data_File&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }

    // Calls visit for every entry in file order. An entry whose first field is not a code point
    // or range throws Data_Error, unless parse_first_field is false (for files whose first
    // field is a sequence); range is then {0, 0} and fields[0] is left for the caller.
    void for_each_entry(const std::function<void(const Entry&)>& visit,
                        bool parse_first_field = true) const;

    // A Data_Error for a problem at a line of this file.
    Data_Error error(std::size_t line_number, std::string_view message) const;

private:
    std::filesystem::path path_;
    std::string text_;
};

// Calls visit(range, entry) for every entry whose field 1 equals property (PropList.txt,
// DerivedCoreProperties.txt, emoji-data.txt, DerivedNormalizationProps.txt).
void for_each_property_entry(const Data_File& file, std::string_view property,
                             const std::function<void(const Entry&)>& visit);

// The code points listed with a binary property: result[c] is true for each of them.
std::vector<bool> read_binary_property(const Data_File& file, std::string_view property);

// A name of a property value and the code a generator stores for it.
template <typename Code>
struct Named_Value {
    std::string_view name;
    Code code;
};

// The code of name in values; throws Data_Error at the entry's line for an unknown name (a
// value the generator does not know is a change in the data that needs a look).
template <typename Code>
Code find_value(std::span<const Named_Value<Code>> values, std::string_view name,
                const Data_File& file, const Entry& entry) {
    for (const auto& value : values) {
        if (value.name == name) {
            return value.code;
        }
    }
    throw file.error(entry.line_number, "unknown property value '" + std::string(name) + "'");
}

// UnicodeData.txt with its range pairs joined: one element per line, or per First/Last pair
// (range spanning the pair, fields of the First line as written). Elements are in code point
// order. The views point into the Data_File, which must outlive them.
std::vector<Entry> read_unicode_data(const Data_File& file);

} // namespace qorvi_tools::ucd
