#include "utf8-pool.hpp"

#include "ucd-data-file.hpp"

#include <algorithm>

namespace qorvi_tools::ucd {

std::string encode_utf8(std::u32string_view text) {
    std::string result;
    for (const char32_t c : text) {
        if (c > last_code_point || (c >= 0xD800 && c <= 0xDFFF)) {
            throw Data_Error("not a scalar value in a mapping result");
        }
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

void UTF8_Pool::add(std::u32string_view text) {
    if (packed_) {
        throw Data_Error("a result was added to a packed pool");
    }
    slices_.try_emplace(std::u32string(text), Slice{0, 0, text.size()});
}

void UTF8_Pool::pack() {
    if (packed_) {
        throw Data_Error("the pool was packed twice");
    }
    packed_ = true;
    struct Pending {
        std::vector<std::uint8_t> bytes;
        Slice* slice;
    };
    std::vector<Pending> order;
    for (auto& [text, slice] : slices_) {
        const std::string encoded = encode_utf8(text);
        order.push_back({std::vector<std::uint8_t>(encoded.begin(), encoded.end()), &slice});
    }
    // Longest first, so that a shorter result is usually found inside a longer one; equal
    // sizes keep code point order, so the output is the same on every run.
    std::stable_sort(order.begin(), order.end(), [](const Pending& left, const Pending& right) {
        return left.bytes.size() > right.bytes.size();
    });
    for (const auto& [encoded, slice] : order) {
        slice->size = encoded.size();
        if (encoded.empty()) {
            slice->offset = 0;
            continue;
        }
        const auto found =
            std::search(bytes_.begin(), bytes_.end(), encoded.begin(), encoded.end());
        if (found != bytes_.end()) {
            slice->offset = static_cast<std::size_t>(found - bytes_.begin());
            continue;
        }
        // The longest end of the pool that the result begins with is shared.
        std::size_t overlap = std::min(encoded.size() - 1, bytes_.size());
        while (overlap > 0 && !std::equal(bytes_.end() - static_cast<std::ptrdiff_t>(overlap),
                                          bytes_.end(), encoded.begin())) {
            --overlap;
        }
        slice->offset = bytes_.size() - overlap;
        bytes_.insert(bytes_.end(), encoded.begin() + static_cast<std::ptrdiff_t>(overlap),
                      encoded.end());
    }
}

UTF8_Pool::Slice UTF8_Pool::find(std::u32string_view text) const {
    if (!packed_) {
        throw Data_Error("a result was looked up before the pool was packed");
    }
    const auto found = slices_.find(std::u32string(text));
    if (found == slices_.end()) {
        throw Data_Error("a result was looked up that was never added");
    }
    return found->second;
}

} // namespace qorvi_tools::ucd
