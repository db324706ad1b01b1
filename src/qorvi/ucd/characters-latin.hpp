// Named characters of the Basic Latin and Latin-1 blocks that the library refers to.
#pragma once

#include <qorvi/qorvi.hpp>

namespace Qorvi::Characters::Latin {

inline constexpr Virtual_Character Nul = 0x0000;
inline constexpr Virtual_Character Backspace = 0x0008;
inline constexpr Virtual_Character Character_Tabulation = 0x0009;
inline constexpr Virtual_Character Line_Feed = 0x000A;
inline constexpr Virtual_Character Line_Tabulation = 0x000B;
inline constexpr Virtual_Character Form_Feed = 0x000C;
inline constexpr Virtual_Character Carriage_Return = 0x000D;
inline constexpr Virtual_Character Space = 0x0020;
inline constexpr Virtual_Character Exclamation_Mark = 0x0021;
inline constexpr Virtual_Character Quotation_Mark = 0x0022;
inline constexpr Virtual_Character Number_Sign = 0x0023;
inline constexpr Virtual_Character Dollar_Sign = 0x0024;
inline constexpr Virtual_Character Percent_Sign = 0x0025;
inline constexpr Virtual_Character Ampersand = 0x0026;
inline constexpr Virtual_Character Apostrophe = 0x0027;
inline constexpr Virtual_Character Plus_Sign = 0x002B;
inline constexpr Virtual_Character Hyphen_Minus = 0x002D;
inline constexpr Virtual_Character Full_Stop = 0x002E;
inline constexpr Virtual_Character Digit_Zero = 0x0030;
inline constexpr Virtual_Character Digit_Nine = 0x0039;
inline constexpr Virtual_Character Colon = 0x003A;
inline constexpr Virtual_Character Less_Than_Sign = 0x003C;
inline constexpr Virtual_Character Equals_Sign = 0x003D;
inline constexpr Virtual_Character Greater_Than_Sign = 0x003E;
inline constexpr Virtual_Character Latin_Capital_Letter_A = 0x0041;
inline constexpr Virtual_Character Latin_Capital_Letter_Z = 0x005A;
inline constexpr Virtual_Character Circumflex_Accent = 0x005E;
inline constexpr Virtual_Character Low_Line = 0x005F;
inline constexpr Virtual_Character Grave_Accent = 0x0060;
inline constexpr Virtual_Character Latin_Small_Letter_A = 0x0061;
inline constexpr Virtual_Character Latin_Small_Letter_Z = 0x007A;
inline constexpr Virtual_Character Left_Curly_Bracket = 0x007B;
inline constexpr Virtual_Character Right_Curly_Bracket = 0x007D;
inline constexpr Virtual_Character Tilde = 0x007E;
inline constexpr Virtual_Character Next_Line = 0x0085;

} // namespace Qorvi::Characters::Latin
