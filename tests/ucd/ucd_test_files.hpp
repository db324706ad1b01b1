// A deliberately small reader of the vendored Unicode Character Database files for the tests.
// It shares no code with the table generators, so the tests compare the library's tables with
// the data as read a second, independent way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ucd_test {

inline constexpr char32_t last_code_point = 0x10FFFF;
inline constexpr std::size_t code_point_count = 0x110000;

inline std::string ucd_path(const std::string& relative) {
    return std::string(QORVI_UCD_DIR) + "/" + relative;
}

inline std::string strip(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

inline char32_t hex(const std::string& text) {
    std::size_t used = 0;
    const unsigned long value = std::stoul(text, &used, 16);
    if (used != text.size() || value > last_code_point) {
        throw std::runtime_error("bad code point '" + text + "'");
    }
    return static_cast<char32_t>(value);
}

// Calls visit(first, last, fields) for each data line of a UCD file: comments removed, fields
// split at ';' and stripped, fields[0] being the code point or range "XXXX..YYYY".
inline void for_each_line(
    const std::string& relative,
    const std::function<void(char32_t, char32_t, const std::vector<std::string>&)>& visit) {
    std::ifstream stream(ucd_path(relative));
    if (!stream) {
        throw std::runtime_error("cannot open " + ucd_path(relative));
    }
    std::string line;
    std::vector<std::string> fields;
    while (std::getline(stream, line)) {
        line = strip(line.substr(0, line.find('#')));
        if (line.empty()) {
            continue;
        }
        fields.clear();
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, ';')) {
            fields.push_back(strip(field));
        }
        const auto dots = fields[0].find("..");
        const char32_t first = hex(fields[0].substr(0, dots));
        const char32_t last = dots == std::string::npos ? first : hex(fields[0].substr(dots + 2));
        visit(first, last, fields);
    }
}

// Per code point, the value of an enumerated property listed as "range ; value" (value in field
// value_field, optionally only on lines whose field 1 is property), default elsewhere.
inline std::vector<std::string> read_values(const std::string& relative, std::size_t value_field,
                                            const std::string& default_value,
                                            const std::string& property = {}) {
    std::vector<std::string> values(code_point_count, default_value);
    for_each_line(relative, [&](char32_t first, char32_t last, const auto& fields) {
        if (!property.empty() && fields[1] != property) {
            return;
        }
        for (char32_t c = first; c <= last; ++c) {
            values[c] = fields.at(value_field);
        }
    });
    return values;
}

// Per code point, whether the binary property is listed for it (field 1 is the property).
inline std::vector<bool> read_flags(const std::string& relative, const std::string& property) {
    std::vector<bool> flags(code_point_count, false);
    for_each_line(relative, [&](char32_t first, char32_t last, const auto& fields) {
        if (fields.size() >= 2 && fields[1] == property) {
            for (char32_t c = first; c <= last; ++c) {
                flags[c] = true;
            }
        }
    });
    return flags;
}

// Per code point, field 2 of UnicodeData.txt (the general category short alias), with the
// "<..., First>" / "<..., Last>" pairs expanded and "Cn" for code points not listed. Also the
// name (field 1) of each listed code point outside the ranges, if names is given.
inline std::vector<std::string> read_general_categories(std::vector<std::string>* names = nullptr) {
    std::vector<std::string> categories(code_point_count, "Cn");
    if (names != nullptr) {
        names->assign(code_point_count, std::string{});
    }
    char32_t range_start = 0;
    for_each_line("UnicodeData.txt", [&](char32_t code, char32_t, const auto& fields) {
        const std::string& name = fields.at(1);
        if (name.ends_with(", First>")) {
            range_start = code;
            return;
        }
        const bool range_end = name.ends_with(", Last>");
        for (char32_t c = range_end ? range_start : code; c <= code; ++c) {
            categories[c] = fields.at(2);
        }
        if (names != nullptr && !range_end) {
            (*names)[code] = name == "<control>" ? fields.at(10) : name;
        }
    });
    return categories;
}

// "U+0041" for failure messages.
inline std::string u_plus(char32_t code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(code));
    return buffer;
}

// Collects the code points at which a comparison failed: the count and the first few.
class Mismatches {
public:
    void add(char32_t code, const std::string& what) {
        if (count_++ < 8) {
            text_ += "\n  " + u_plus(code) + ": " + what;
        }
    }
    std::size_t count() const { return count_; }
    const std::string& text() const { return text_; }

private:
    std::size_t count_ = 0;
    std::string text_;
};

} // namespace ucd_test
