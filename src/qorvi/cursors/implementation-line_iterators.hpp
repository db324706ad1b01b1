// The character sequences of line terminators, and the searches for the next and the previous
// line in string data with a given set of terminators.
//
// A line is a run of characters followed by its terminator; the last line of a text may have
// none. A terminator is one character whose member is in the set, or the adjacent pair CR LF
// when CRLF is in the set (then CR LF is always one terminator, even when CR and LF are members
// too). A terminator character whose member is not in the set is ordinary text.
#pragma once

#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/strings/strings-line_terminators.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Implementation::Line_Terminator {

// A new string holding the terminator's characters (two for CRLF). Constraint_Error for a value
// outside the enumeration.
QORVI_API Qorvi::Strings::Virtual_String Sequence(Qorvi::Strings::Line_Terminator Terminator);

} // namespace Qorvi::Implementation::Line_Terminator

namespace Qorvi::Implementation::Line_Iterators {

using Qorvi::Implementation::Strings::Cursor;
using Qorvi::Implementation::UTF8_Strings::UTF8_String_Data;
using Qorvi::Strings::Line_Terminator_Set;

// Finds the line that begins at the character after Start (the last character of the previous
// line, terminator included, or the before-first position). On success First is its first
// character, Last its last character including the terminator, Terminator the first character
// of its terminator (the CR of a CR LF) or invalid when the line has none. Returns false, with
// Last = Start and Terminator invalid, when no character follows Start.
QORVI_API bool Forward(const UTF8_String_Data& Data, Line_Terminator_Set Terminators,
                       const Cursor& Start, Cursor& First, Cursor& Last, Cursor& Terminator);

// Finds the line that ends at the character before Start (the first character of a line, or
// the after-last position); First, Last and Terminator as for Forward. Returns false, with First
// and Last before the first character and Terminator invalid, when no character precedes Start.
QORVI_API bool Backward(const UTF8_String_Data& Data, Line_Terminator_Set Terminators,
                        const Cursor& Start, Cursor& First, Cursor& Last, Cursor& Terminator);

} // namespace Qorvi::Implementation::Line_Iterators
