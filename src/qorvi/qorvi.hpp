// Root unit of the library: the scalar types shared by every subsystem and the three
// exception classes.
#pragma once

#include <cstdint>
#include <qorvi/export.hpp>
#include <stdexcept>
#include <string>

namespace Qorvi {

// A number of characters, or a position where 0 means "before the first character".
using Character_Count = std::int32_t;  // 0 .. 2**30-1
using Character_Index = std::int32_t;  // 1 .. 2**30-1
using Character_Offset = std::int32_t; // -2**30 .. 2**30-1

// Code-unit offsets; -1 means before the first code unit.
using UTF8_Code_Unit_Offset = std::int32_t;
using UTF16_Code_Unit_Offset = std::int32_t;
using UTF8_Code_Unit_Count = std::int32_t;  // 0 .. 2**31-1
using UTF16_Code_Unit_Count = std::int32_t; // 0 .. 2**31-1

// A Unicode scalar value: 0 .. 0x10FFFF without the surrogates 0xD800 .. 0xDFFF.
using Virtual_Character = char32_t;

inline constexpr Character_Count Character_Count_Last = (1 << 30) - 1;
inline constexpr Character_Offset Character_Offset_First = -(1 << 30);
inline constexpr Character_Offset Character_Offset_Last = (1 << 30) - 1;
inline constexpr UTF8_Code_Unit_Count UTF8_Code_Unit_Count_Last = 0x7FFF'FFFF;

// A violated argument contract, a value out of range or an arithmetic overflow.
class QORVI_API Constraint_Error : public std::runtime_error {
public:
    explicit Constraint_Error(const std::string& message);
    explicit Constraint_Error(const char* message);
    ~Constraint_Error() override;
};

// A broken internal invariant, or an operation that is not provided.
class QORVI_API Program_Error : public std::logic_error {
public:
    explicit Program_Error(const std::string& message);
    explicit Program_Error(const char* message);
    ~Program_Error() override;
};

// Declared for clients; the library itself never raises it.
class QORVI_API Magic_Error : public std::logic_error {
public:
    // The name under which the exception is known.
    static constexpr const char* Exception_Name = "QORVI.MAGIC_ERROR";

    explicit Magic_Error(const std::string& message);
    explicit Magic_Error(const char* message);
    ~Magic_Error() override;
};

} // namespace Qorvi
