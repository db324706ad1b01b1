// A formatter for a Boolean value: "TRUE" or "FALSE", whatever the format text.
#pragma once

#include <qorvi/formatters/strings-formatters.hpp>

namespace Qorvi::Strings::Formatters::Booleans {

class Formatter;

// A formatter with an empty name and Item as value.
QORVI_API Formatter Image(bool Item);
// A formatter with the given name and Item as value.
QORVI_API Formatter Image(const Virtual_String& Name, bool Item);

class QORVI_API Formatter : public Abstract_Formatter {
public:
    // "TRUE" when the value is true, "FALSE" otherwise; Information is ignored.
    Virtual_String Format(const Format_Information& Information) const override;
    Virtual_String Name() const override;

    Formatter(const Formatter&) = default;
    Formatter& operator=(const Formatter&) = default;
    ~Formatter() override;

    // Names with equal characters and equal values.
    friend QORVI_API bool operator==(const Formatter& Left, const Formatter& Right) noexcept;

private:
    Formatter(const Virtual_String& Name_Value, bool Item) : name(Name_Value), value(Item) {}
    friend Formatter Image(bool Item);
    friend Formatter Image(const Virtual_String& Name, bool Item);

    Virtual_String name;
    bool value;
};

} // namespace Qorvi::Strings::Formatters::Booleans
