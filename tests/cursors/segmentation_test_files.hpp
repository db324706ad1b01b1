// Readers of the official segmentation and emoji test files of Unicode 15.1, for the
// conformance tests of the grapheme cluster and word iterators and of the emoji queries.
#pragma once

#include <cstddef>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace Segmentation_Test {

inline std::string ucd_path(const std::string& relative) {
    return std::string(QORVI_UCD_DIR) + "/" + relative;
}

// One line of GraphemeBreakTest.txt or WordBreakTest.txt: the code points and the number of
// code points in each segment, in order.
struct Break_Case {
    int Line;
    std::string Source;
    std::u32string Text;
    std::vector<std::size_t> Segments;
};

inline std::string utf8(const std::u32string& text) {
    std::string result;
    for (const char32_t c : text) {
        if (c < 0x80) {
            result += static_cast<char>(c);
        } else if (c < 0x800) {
            result += static_cast<char>(0xC0 | (c >> 6));
            result += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            result += static_cast<char>(0xE0 | (c >> 12));
            result += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | (c >> 18));
            result += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return result;
}

// Every test line of a break test file ("÷ 0020 × 0308 ÷ 0020 ÷"): "÷" is a boundary, "×" none.
inline std::vector<Break_Case> read_break_cases(const std::string& relative) {
    std::ifstream stream(ucd_path(relative));
    if (!stream) {
        throw std::runtime_error("cannot open " + ucd_path(relative));
    }
    static const std::string boundary = "\xC3\xB7";    // U+00F7
    static const std::string no_boundary = "\xC3\x97"; // U+00D7
    std::vector<Break_Case> cases;
    std::string line;
    int number = 0;
    while (std::getline(stream, line)) {
        number += 1;
        const std::string body = line.substr(0, line.find('#'));
        std::istringstream tokens(body);
        std::string token;
        Break_Case item{number, body, {}, {}};
        std::size_t run = 0;
        bool any = false;
        while (tokens >> token) {
            any = true;
            if (token == boundary) {
                if (run > 0) {
                    item.Segments.push_back(run);
                }
                run = 0;
            } else if (token == no_boundary) {
                continue;
            } else {
                item.Text += static_cast<char32_t>(std::stoul(token, nullptr, 16));
                run += 1;
            }
        }
        if (!any) {
            continue;
        }
        if (run != 0 || item.Text.empty()) {
            throw std::runtime_error("malformed test line " + std::to_string(number));
        }
        cases.push_back(std::move(item));
    }
    return cases;
}

// The fully-qualified sequences of emoji/emoji-test.txt.
struct Emoji_Case {
    int Line;
    std::u32string Text;
};

inline std::vector<Emoji_Case> read_fully_qualified_emoji() {
    std::ifstream stream(ucd_path("emoji/emoji-test.txt"));
    if (!stream) {
        throw std::runtime_error("cannot open emoji-test.txt");
    }
    std::vector<Emoji_Case> cases;
    std::string line;
    int number = 0;
    while (std::getline(stream, line)) {
        number += 1;
        const std::string body = line.substr(0, line.find('#'));
        const auto semicolon = body.find(';');
        if (semicolon == std::string::npos) {
            continue;
        }
        std::istringstream status(body.substr(semicolon + 1));
        std::string word;
        status >> word;
        if (word != "fully-qualified") {
            continue;
        }
        std::istringstream points(body.substr(0, semicolon));
        Emoji_Case item{number, {}};
        std::string token;
        while (points >> token) {
            item.Text += static_cast<char32_t>(std::stoul(token, nullptr, 16));
        }
        cases.push_back(std::move(item));
    }
    return cases;
}

} // namespace Segmentation_Test
