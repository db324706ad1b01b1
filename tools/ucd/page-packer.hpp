// Packing per-code-point records into page-indexed tables.
//
// The 0x110000 records of a table are cut into 4,352 pages of 256. Pages are taken in code
// point order; for each, the data array built so far is searched from position 0 upwards for
// the first position at which the page's 256 records already stand (at any record position,
// also straddling earlier pages); if found, the page's index entry is that position, otherwise
// the page is appended and its entry is the old length of the array. Several tables may be
// packed one after the other into the same array (each add_table returns its own index), so
// their pages share storage too.
#pragma once

#include "ucd-data-file.hpp"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace qorvi_tools::ucd {

inline constexpr std::size_t page_size = 256;
inline constexpr std::size_t page_count = code_point_count / page_size;

template <typename Record>
class Page_Packer {
public:
    // Packs one table of code_point_count records; returns its page_count index entries.
    std::vector<std::size_t> add_table(std::span<const Record> records) {
        if (records.size() != code_point_count) {
            throw Data_Error("a table needs one record per code point");
        }
        std::vector<std::size_t> index(page_count);
        for (std::size_t page = 0; page < page_count; ++page) {
            const auto first = records.begin() + static_cast<std::ptrdiff_t>(page * page_size);
            const auto last = first + static_cast<std::ptrdiff_t>(page_size);
            const auto found = std::search(data_.begin(), data_.end(),
                                           std::boyer_moore_horspool_searcher(first, last));
            if (found != data_.end()) {
                index[page] = static_cast<std::size_t>(found - data_.begin());
                ++shared_pages_;
            } else {
                index[page] = data_.size();
                data_.insert(data_.end(), first, last);
                ++appended_pages_;
            }
        }
        return index;
    }

    const std::vector<Record>& data() const noexcept { return data_; }
    std::size_t appended_pages() const noexcept { return appended_pages_; }
    std::size_t shared_pages() const noexcept { return shared_pages_; }

private:
    std::vector<Record> data_;
    std::size_t appended_pages_ = 0;
    std::size_t shared_pages_ = 0;
};

} // namespace qorvi_tools::ucd
