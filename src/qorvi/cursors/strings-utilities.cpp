#include <qorvi/cursors/implementation-text_segmentation.hpp>
#include <qorvi/cursors/strings-utilities.hpp>
#include <qorvi/implementation-checked.hpp>

namespace Qorvi::Strings::Utilities {

namespace TS = Implementation::Text_Segmentation;

std::int32_t Display_Width(const Virtual_String& Item) {
    // The clusters of Item, walked with the grapheme cluster iterator's rules, without attaching
    // anything to Item.
    const auto& data = *Strings::Internals::Data_Access_Constant(Item);
    const TS::Text text{data.Storage_Address, static_cast<std::uint32_t>(data.Size)};
    std::int32_t width = 0;
    TS::Character next = TS::Read_Character(text, 0);
    while (next.Size != 0) {
        const TS::Character first = next;
        const TS::Extent extent = TS::Walk_Grapheme_Cluster(text, next);
        std::int32_t cells;
        if (extent.Characters != 0) {
            cells = TS::Cluster_Display_Width(text, first.Offset, next.Offset);
        } else if (first.Code < 0x80) {
            cells = 1; // no ASCII character is wide or an emoji shown as emoji
        } else {
            cells = TS::Character_Display_Width(first.Record.Raw == TS::Unread_Record.Raw
                                                    ? TS::Properties(first.Code)
                                                    : first.Record);
        }
        width = Implementation::Checked::Add(width, cells);
    }
    return width;
}

} // namespace Qorvi::Strings::Utilities
