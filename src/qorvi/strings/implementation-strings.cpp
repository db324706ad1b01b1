#include <qorvi/implementation-checked.hpp>
#include <qorvi/strings/implementation-strings.hpp>

namespace Qorvi::Implementation::Strings {

namespace {

Character_Count Shifted_Index(Character_Count Index, Character_Offset By, bool Up) {
    const Character_Count result = Up ? Checked::Add(Index, By) : Checked::Subtract(Index, By);
    return Checked::In_Range(result, 0, Character_Count_Last, "character index out of range");
}

} // namespace

void Fixup_Insert(Cursor& Self, const Cursor& Start, const Cursor_Offset& Size) {
    if (Size.Index_Offset == 0) {
        return;
    }
    Cursor result = Self;
    if (Self.Index < Start.Index) {
        // Before the insertion point: only the from-the-end offsets see more text behind them.
        if (result.UTF8_Offset < 0) {
            result.UTF8_Offset = Checked::Subtract(result.UTF8_Offset, Size.UTF8_Offset);
        }
        if (result.UTF16_Offset < 0) {
            result.UTF16_Offset = Checked::Subtract(result.UTF16_Offset, Size.UTF16_Offset);
        }
    } else {
        result.Index = Shifted_Index(Self.Index, Size.Index_Offset, true);
        if (result.UTF8_Offset >= 0) {
            result.UTF8_Offset = Checked::Add(result.UTF8_Offset, Size.UTF8_Offset);
        }
        if (result.UTF16_Offset >= 0) {
            result.UTF16_Offset = Checked::Add(result.UTF16_Offset, Size.UTF16_Offset);
        }
    }
    Self = result;
}

bool Fixup_Delete(Cursor& Self, const Cursor& Start, const Cursor_Offset& Size) {
    if (Size.Index_Offset == 0) {
        return true;
    }
    Cursor result = Self;
    if (Self.Index < Start.Index) {
        if (result.UTF8_Offset < 0) {
            result.UTF8_Offset = Checked::Add(result.UTF8_Offset, Size.UTF8_Offset);
        }
        if (result.UTF16_Offset < 0) {
            result.UTF16_Offset = Checked::Add(result.UTF16_Offset, Size.UTF16_Offset);
        }
        Self = result;
        return true;
    }
    // Widened so that a huge extent can not wrap the end of the deleted span.
    const std::int64_t span_end = std::int64_t{Start.Index} + Size.Index_Offset;
    if (Self.Index < span_end) {
        Self = Cursor{};
        return false;
    }
    result.Index = Shifted_Index(Self.Index, Size.Index_Offset, false);
    if (result.UTF8_Offset >= 0) {
        result.UTF8_Offset = Checked::Subtract(result.UTF8_Offset, Size.UTF8_Offset);
    }
    if (result.UTF16_Offset >= 0) {
        result.UTF16_Offset = Checked::Subtract(result.UTF16_Offset, Size.UTF16_Offset);
    }
    Self = result;
    return true;
}

bool Fixup_Segment(Cursor& First, Cursor& Last, const Cursor& Start, const Cursor_Offset& Removed,
                   const Cursor_Offset& Inserted) {
    const bool first_kept = Fixup_Delete(First, Start, Removed);
    const bool last_kept = Fixup_Delete(Last, Start, Removed);
    if (!first_kept || !last_kept) {
        return false;
    }
    Fixup_Insert(First, Start, Inserted);
    Fixup_Insert(Last, Start, Inserted);
    return true;
}

} // namespace Qorvi::Implementation::Strings
