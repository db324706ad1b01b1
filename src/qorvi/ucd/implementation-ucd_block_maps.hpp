// Summaries of a page-indexed table by blocks of 64 code points, for the hot loops of the
// conversion engines.
//
// A Block_Map has one bit per block of 64 code points (17,408 bits in a 4 KiB table): set when
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
        // four block bits of its page (or "not examined yet").
        std::vector<std::int8_t> masks(Record_Count, -1);
        for (std::size_t page = 0; page < Index.size() && page < 0x1100; ++page) {
            const auto start = static_cast<std::int64_t>(Index[page]);
            if (start < 0 || static_cast<std::size_t>(start) + 256 > Record_Count) {
                continue; // never set: the engines' own checks report such a table
            }
            std::int8_t& mask = masks[static_cast<std::size_t>(start)];
            if (mask < 0) {
                int bits = 0;
                for (std::size_t block = 0; block < 4; ++block) {
                    bool plain = true;
                    for (std::size_t i = 0; i < 64 && plain; ++i) {
                        plain = Is_Plain(static_cast<std::size_t>(start) + block * 64 + i);
                    }
                    bits |= plain ? 1 << block : 0;
                }
                mask = static_cast<std::int8_t>(bits);
            }
            for (std::size_t block = 0; block < 4; ++block) {
                if ((mask >> block) & 1) {
                    const std::size_t number = page * 4 + block;
                    map.bits_[number / 64] |= std::uint64_t{1} << (number % 64);
                }
            }
        }
        return map;
    }

    // Whether every code point of Code's block satisfies the predicate (Code <= 0x10FFFF).
    bool Test(Virtual_Character Code) const noexcept {
        return ((bits_[(Code >> 12) & 0x1FFu] >> ((Code >> 6) & 63u)) & 1u) != 0;
    }

private:
    // 272 words cover 0x110000 code points; the mask keeps any index inside.
    std::array<std::uint64_t, 512> bits_{};
};

} // namespace Qorvi::Implementation::UCD_Block_Maps
