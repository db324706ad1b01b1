// Helpers shared by the string data tests.
#pragma once

#include <cstring>
#include <gtest/gtest.h>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <string>
#include <string_view>

// Positions print as (UTF-8 offset, UTF-16 offset, index) in failure messages.
namespace Qorvi::Implementation::Strings {
inline void PrintTo(const Cursor& C, std::ostream* Stream) {
    *Stream << "(" << C.UTF8_Offset << ", " << C.UTF16_Offset << ", " << C.Index << ")";
}
inline void PrintTo(const Cursor_Offset& C, std::ostream* Stream) {
    *Stream << "(" << C.UTF8_Offset << ", " << C.UTF16_Offset << ", " << C.Index_Offset << ")";
}
} // namespace Qorvi::Implementation::Strings

namespace Qorvi_Test {

using namespace Qorvi::Implementation::UTF8_Strings;
using Qorvi::Implementation::Strings::Cursor;
using Qorvi::Implementation::Strings::Cursor_Offset;

// Owns one string data record and releases it at the end of the test.
class Owned {
public:
    Owned() = default;
    explicit Owned(std::string_view UTF8) {
        if (!From_UTF_8_String(data, UTF8)) {
            ADD_FAILURE() << "ill-formed test text";
        }
    }
    Owned(Owned&& Other) noexcept {
        std::memcpy(static_cast<void*>(&data), &Other.data, sizeof data);
        Adjust(data);
        if (Is_Null(Other.data)) {
            data.Storage_Address = nullptr;
        }
        Other.data = UTF8_String_Data{};
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Unreference(data); }

    // A second holder of the same text (bitwise copy, then Reference).
    Owned Share() const {
        Owned copy;
        copy.data = data;
        Reference(copy.data);
        return copy;
    }

    UTF8_String_Data& operator*() { return data; }
    const UTF8_String_Data& operator*() const { return data; }
    UTF8_String_Data* operator->() { return &data; }
    const UTF8_String_Data* operator->() const { return &data; }

private:
    UTF8_String_Data data;
};

inline std::string Text(const UTF8_String_Data& Data) {
    return To_UTF_8_String(Data);
}

// Share count of the segment of stored data; 0 for data held in place.
inline std::int32_t Counter(const UTF8_String_Data& Data) {
    if (Is_SSO(Data)) {
        return 0;
    }
    return static_cast<const Heap_Storage*>(Text_Storage(Data))->Segment()->Current_Counter();
}

// The invariants of non-null data after a character-level operation: the text is well-formed
// UTF-8 of exactly Length characters, a zero code unit follows it, in-place data points at its
// own Storage and holds at most 15 code units.
inline ::testing::AssertionResult Well_Formed(const UTF8_String_Data& Data) {
    if (Is_Null(Data)) {
        if (Data.Size != 0 || Data.Length != 0 || Data.Has_Storage != 0) {
            return ::testing::AssertionFailure() << "null data with fields set";
        }
        return ::testing::AssertionSuccess();
    }
    if (Is_SSO(Data) && (Data.Storage_Address != Data.Storage || Data.Size > SSO_Max_Size)) {
        return ::testing::AssertionFailure() << "in-place data not in its own Storage";
    }
    if (Data.Size > Capacity(Data)) {
        return ::testing::AssertionFailure() << "Size " << Data.Size << " above capacity";
    }
    if (Data.Storage_Address[Data.Size] != 0) {
        return ::testing::AssertionFailure() << "no zero code unit after the text";
    }
    UTF8_String_Data check;
    const bool valid = From_UTF_8_String(check, To_String_View(Data));
    const Qorvi::Character_Count length = check.Length;
    Unreference(check);
    if (!valid) {
        return ::testing::AssertionFailure() << "text is not well-formed UTF-8";
    }
    if (length != Data.Length) {
        return ::testing::AssertionFailure()
               << "Length " << Data.Length << " but " << length << " characters";
    }
    return ::testing::AssertionSuccess();
}

} // namespace Qorvi_Test
