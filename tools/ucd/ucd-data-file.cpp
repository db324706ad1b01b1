#include "ucd-data-file.hpp"

#include <fstream>
#include <sstream>

namespace qorvi_tools::ucd {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

} // namespace

std::string_view trim(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char32_t parse_code_point(std::string_view text) {
    text = trim(text);
    if (text.size() < 4 || text.size() > 6) {
        throw Data_Error("not a code point: " + quoted(text));
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = hex_digit(c);
        if (digit < 0) {
            throw Data_Error("not a code point: " + quoted(text));
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    if (value > last_code_point) {
        throw Data_Error("code point out of range: " + quoted(text));
    }
    return static_cast<char32_t>(value);
}

Code_Point_Range parse_range(std::string_view text) {
    text = trim(text);
    const auto dots = text.find("..");
    if (dots == std::string_view::npos) {
        const char32_t code = parse_code_point(text);
        return {code, code};
    }
    const Code_Point_Range range{parse_code_point(text.substr(0, dots)),
                                 parse_code_point(text.substr(dots + 2))};
    if (range.first > range.last) {
        throw Data_Error("empty range: " + quoted(text));
    }
    return range;
}

std::vector<char32_t> parse_code_points(std::string_view text) {
    std::vector<char32_t> result;
    text = trim(text);
    while (!text.empty()) {
        const auto end = text.find(' ');
        result.push_back(parse_code_point(text.substr(0, end)));
        if (end == std::string_view::npos) {
            break;
        }
        text = trim(text.substr(end));
    }
    return result;
}

Data_File::Data_File(const std::filesystem::path& path) : path_(path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        throw Data_Error(path.string() + ": cannot open");
    }
    std::ostringstream content;
    content << stream.rdbuf();
    if (stream.bad()) {
        throw Data_Error(path.string() + ": cannot read");
    }
    text_ = std::move(content).str();
}

Data_Error Data_File::error(std::size_t line_number, std::string_view message) const {
    return Data_Error(path_.string() + ":" + std::to_string(line_number) + ": " +
                      std::string(message));
}

void Data_File::for_each_entry(const std::function<void(const Entry&)>& visit,
                               bool parse_first_field) const {
    std::string_view rest = text_;
    std::size_t line_number = 0;
    Entry entry;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        ++line_number;

        const auto hash = line.find('#');
        entry.comment =
            hash == std::string_view::npos ? std::string_view{} : trim(line.substr(hash + 1));
        line = trim(line.substr(0, hash));
        if (line.empty()) {
            continue;
        }
        entry.line_number = line_number;
        entry.fields.clear();
        while (true) {
            const auto semicolon = line.find(';');
            entry.fields.push_back(trim(line.substr(0, semicolon)));
            if (semicolon == std::string_view::npos) {
                break;
            }
            line = line.substr(semicolon + 1);
        }
        entry.range = {0, 0};
        if (parse_first_field) {
            try {
                entry.range = parse_range(entry.fields[0]);
            } catch (const Data_Error& problem) {
                throw error(line_number, problem.what());
            }
        }
        visit(entry);
    }
}

void for_each_property_entry(const Data_File& file, std::string_view property,
                             const std::function<void(const Entry&)>& visit) {
    file.for_each_entry([&](const Entry& entry) {
        if (entry.fields.size() < 2) {
            throw file.error(entry.line_number, "missing property field");
        }
        if (entry.fields[1] == property) {
            visit(entry);
        }
    });
}

std::vector<bool> read_binary_property(const Data_File& file, std::string_view property) {
    std::vector<bool> result(code_point_count, false);
    bool found = false;
    for_each_property_entry(file, property, [&](const Entry& entry) {
        if (entry.fields.size() != 2) {
            throw file.error(entry.line_number, "a binary property takes no value");
        }
        for (char32_t code = entry.range.first; code <= entry.range.last; ++code) {
            result[code] = true;
        }
        found = true;
    });
    if (!found) {
        throw Data_Error(file.path().string() + ": no entry for property " + quoted(property));
    }
    return result;
}

std::vector<Entry> read_unicode_data(const Data_File& file) {
    std::vector<Entry> result;
    bool open_range = false;
    file.for_each_entry([&](const Entry& entry) {
        if (entry.fields.size() != 15) {
            throw file.error(entry.line_number, "expected 15 fields");
        }
        if (entry.range.first != entry.range.last) {
            throw file.error(entry.line_number, "unexpected range");
        }
        if (!result.empty() && entry.range.first <= result.back().range.last) {
            throw file.error(entry.line_number, "code points out of order");
        }
        const std::string_view name = entry.fields[1];
        constexpr std::string_view first_suffix = ", First>";
        constexpr std::string_view last_suffix = ", Last>";
        if (open_range) {
            Entry& first = result.back();
            const std::string_view first_name = first.fields[1];
            if (!name.ends_with(last_suffix) ||
                name.substr(0, name.size() - last_suffix.size()) !=
                    first_name.substr(0, first_name.size() - first_suffix.size())) {
                throw file.error(entry.line_number, "range start without a matching end");
            }
            first.range.last = entry.range.first;
            open_range = false;
            return;
        }
        result.push_back(entry);
        if (name.ends_with(first_suffix)) {
            open_range = true;
        } else if (name.ends_with(last_suffix)) {
            throw file.error(entry.line_number, "range end without a start");
        }
    });
    if (open_range) {
        throw Data_Error(file.path().string() + ": range start at the end of the file");
    }
    return result;
}

} // namespace qorvi_tools::ucd
