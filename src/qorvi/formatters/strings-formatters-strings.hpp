// A formatter for a string value: the value itself, whatever the format text.
#pragma once

#include <qorvi/formatters/strings-formatters.hpp>

namespace Qorvi::Strings::Formatters::Strings {

class Formatter;

// A formatter with an empty name and Item as value.
QORVI_API Formatter Image(const Virtual_String& Item);
// A formatter with the given name and Item as value.
QORVI_API Formatter Image(const Virtual_String& Name, const Virtual_String& Item);

class QORVI_API Formatter : public Abstract_Formatter {
public:
    // The value, unchanged (it shares the value's text); Information is ignored.
    Virtual_String Format(const Format_Information& Information) const override;
    Virtual_String Name() const override;

    Formatter(const Formatter&) = default;
    Formatter& operator=(const Formatter&) = default;
    ~Formatter() override;

    // Names with equal characters and values with equal characters.
    friend QORVI_API bool operator==(const Formatter& Left, const Formatter& Right) noexcept;

private:
    Formatter(const Virtual_String& Name_Value, const Virtual_String& Item)
        : name(Name_Value), value(Item) {}
    friend Formatter Image(const Virtual_String& Item);
    friend Formatter Image(const Virtual_String& Name, const Virtual_String& Item);

    Virtual_String name;
    Virtual_String value;
};

} // namespace Qorvi::Strings::Formatters::Strings
