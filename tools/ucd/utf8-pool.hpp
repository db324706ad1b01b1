// A byte pool of mapping results stored once as UTF-8, for the tables that address their
// results by offset and size (case mappings, decompositions).
//
// Results are first collected, then packed: longest first, each one stored only when its
// bytes do not already stand somewhere in the pool (as a whole stored result or as part of a
// longer one); a stored result also shares the end of the pool when its first bytes equal the
// pool's last ones. Every collected result can then be looked up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qorvi_tools::ucd {

// The UTF-8 form of a scalar value sequence; throws Data_Error for a value that is not one.
std::string encode_utf8(std::u32string_view text);

class UTF8_Pool {
public:
    struct Slice {
        std::size_t offset; // of the first byte in the pool
        std::size_t size;   // in bytes
        std::size_t length; // in characters
    };

    // Collects a result (before pack).
    void add(std::u32string_view text);

    // Packs every collected result; add may not be called after it.
    void pack();

    // Where a collected result stands (after pack). The empty result is at offset 0.
    Slice find(std::u32string_view text) const;

    const std::vector<std::uint8_t>& bytes() const noexcept { return bytes_; }

private:
    std::map<std::u32string, Slice> slices_;
    std::vector<std::uint8_t> bytes_;
    bool packed_ = false;
};

} // namespace qorvi_tools::ucd
