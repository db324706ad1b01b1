// Summaries of a page-indexed table by blocks of 16 code points, for the hot loops of the
// conversion engines.
//
// A Block_Map has one bit per block of 16 code points (69,632 bits, 8,704 bytes): set when
// every code point of the block satisfies a predicate on its record, such as "an unchanged
// starter" for a normalization form or "no mapping" for a case table. Testing a character is
// one read of a table small enough to stay in the first-level cache, in place of the two
// dependent reads of the page index and the record. The maps are derived from the generated
// tables the first time an engine needs them, so they always agree with them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <vector>

namespace Qorvi::Implementation::UCD_Block_Maps {

class Block_Map {
public:
    // No block set: every test fails, so the engines take the full lookup.
    Block_Map() = default;

    // Is_Plain (Position) tells whether the record at Position of the shared record array
    // satisfies the predicate; Index has one entry per page of 256 code points.
    template <typename Index_Array, typename Predicate>
    static Block_Map Build(const Index_Array& Index, std::size_t Record_Count, Predicate Is_Plain) {
        Block_Map map;
        // Pages share their records, so each distinct start is examined once: per start, the
        // sixteen block bits of its page (or -1: not examined yet).
        std::vector<std::int32_t> masks(Record_Count, -1);
        for (std::size_t page = 0; page < Index.size() && page < Page_Count; ++page) {
            const auto start = static_cast<std::int64_t>(Index[page]);
            if (start < 0 || static_cast<std::size_t>(start) + 256 > Record_Count) {
                continue; // never set: the engines' own checks report such a table
            }
            std::int32_t& mask = masks[static_cast<std::size_t>(start)];
            if (mask < 0) {
                std::int32_t bits = 0;
                for (std::size_t block = 0; block < Blocks_Per_Page; ++block) {
                    bool plain = true;
                    for (std::size_t i = 0; i < Block_Size && plain; ++i) {
                        plain = Is_Plain(static_cast<std::size_t>(start) + block * Block_Size + i);
                    }
                    bits |= plain ? std::int32_t{1} << block : 0;
                }
                mask = bits;
            }
            // The sixteen bits of a page fill a quarter of one word.
            map.bits_[page / 4] |= static_cast<std::uint64_t>(mask) << (page % 4 * 16);
        }
        return map;
    }

    // Whether every code point of Code's block satisfies the predicate (false above
    // 0x10FFFF).
    bool Test(Virtual_Character Code) const noexcept {
        const std::size_t word = Code >> 10;
        return word < Word_Count && ((bits_[word] >> ((Code >> 4) & 63u)) & 1u) != 0;
    }

private:
    static constexpr std::size_t Page_Count = 0x1100;
    static constexpr std::size_t Block_Size = 16;
    static constexpr std::size_t Blocks_Per_Page = 256 / Block_Size;
    // Four pages to a word: 1,088 words cover the 0x110000 code points.
    static constexpr std::size_t Word_Count = Page_Count / 4;
    std::array<std::uint64_t, Word_Count> bits_{};
};

} // namespace Qorvi::Implementation::UCD_Block_Maps
