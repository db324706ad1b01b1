// Helpers shared by the cursor, iterator and editing tests.
#pragma once

#include <gtest/gtest.h>
#include <qorvi/cursors/implementation-referrers.hpp>
#include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
#include <qorvi/cursors/strings-cursors-iterators.hpp>
#include <qorvi/cursors/strings-cursors-markers.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/strings.hpp>
#include <string>
#include <vector>

namespace Qorvi_Test {

using Qorvi::Implementation::Strings::Cursor;
using Qorvi::Implementation::Strings::Cursor_Offset;
using Qorvi::Strings::Virtual_String;

inline std::string Text(const Virtual_String& s) {
    return Qorvi::Strings::Conversions::To_UTF_8_String(s);
}

// Records every notification its string sends (attached as an iterator, so it is told first).
class Spy final : public Qorvi::Implementation::Referrers::Referal_Limited_Base {
public:
    struct Call {
        Cursor Start;
        Cursor_Offset Removed;
        Cursor_Offset Inserted;
    };

    explicit Spy(Virtual_String& On) { Qorvi::Implementation::Referrers::Connect(*this, &On); }

    void Invalidate() noexcept override {}
    void String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                         const Cursor_Offset& Inserted) override {
        Calls.push_back({Start, Removed, Inserted});
    }

    std::vector<Call> Calls;
};

// A segment iterator whose positions a test sets directly (the concrete segment iterators live
// elsewhere); it stays where it is put.
class Fixed_Segment final : public Qorvi::Strings::Cursors::Iterators::Abstract_Segment_Iterator {
public:
    Fixed_Segment(Virtual_String& On, Cursor First, Cursor Last) {
        first_position = First;
        last_position = Last;
        Qorvi::Implementation::Referrers::Connect(*this, &On);
    }

    bool Forward() override { return false; }
    bool Backward() override { return false; }
    bool Has_Element() const override { return Is_Valid(); }
    void String_Modified(const Cursor&, const Cursor_Offset&, const Cursor_Offset&) override {}
};

// A character cursor that is none of the library's cursor bases.
class Foreign_Cursor final : public Qorvi::Strings::Cursors::Abstract_Character_Cursor {
public:
    bool Is_Valid() const override { return false; }
    Qorvi::Strings::Cursors::Markers::Character_Marker First_Marker() const override { return {}; }
    Qorvi::Strings::Cursors::Markers::Character_Marker Last_Marker() const override { return {}; }
    Qorvi::Character_Count First_Character_Index() const override { return 0; }
    Qorvi::Character_Count Last_Character_Index() const override { return 0; }
    Qorvi::UTF8_Code_Unit_Offset First_UTF8_Offset() const override { return 0; }
    Qorvi::UTF8_Code_Unit_Offset Last_UTF8_Offset() const override { return 0; }
    Qorvi::UTF16_Code_Unit_Offset First_UTF16_Offset() const override { return 0; }
    Qorvi::UTF16_Code_Unit_Offset Last_UTF16_Offset() const override { return 0; }
};

} // namespace Qorvi_Test
