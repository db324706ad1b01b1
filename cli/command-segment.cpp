// segment and width: grapheme clusters, word segments and lines of the input, and the display
// width of its lines.
//
// The input comes in blocks of whole lines (a block ends after a LF). Neither grapheme
// clusters nor word segments extend across a LF, so each block is segmented on its own; the
// positions reported are those in the whole input, from counters kept across blocks. A line
// set without LF can continue past one: the unfinished last line of a block is carried over
// into the next block.
#include "tool-commands.hpp"
#include "tool-input.hpp"
#include "tool-json.hpp"
#include "tool-output.hpp"

#include <cstdint>
#include <qorvi/cursors/strings-cursors-iterators-grapheme_clusters.hpp>
#include <qorvi/cursors/strings-cursors-iterators-lines.hpp>
#include <qorvi/cursors/strings-cursors-iterators-words.hpp>
#include <qorvi/cursors/strings-utilities.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/strings-line_terminators.hpp>
#include <string>
#include <string_view>

namespace Qorvi_CLI {

namespace {

namespace Strings = Qorvi::Strings;
using Strings::Line_Terminator;
using Strings::Line_Terminator_Set;

// Positions of the start of a block in the whole input: characters and code units before it.
struct Position {
    std::int64_t Characters = 0;
    std::int64_t UTF8_Units = 0;
    std::int64_t UTF16_Units = 0;

    // Moves past Text (well-formed UTF-8).
    void Advance(std::string_view Text) noexcept {
        std::int64_t characters = 0;
        std::int64_t supplementary = 0;
        for (const char unit : Text) {
            const auto byte = static_cast<unsigned char>(unit);
            characters += (byte & 0xC0) != 0x80 ? 1 : 0;
            supplementary += byte >= 0xF0 ? 1 : 0;
        }
        Characters += characters;
        UTF8_Units += static_cast<std::int64_t>(Text.size());
        UTF16_Units += characters + supplementary;
    }
};

void append_hex_escape(std::string& Target, std::uint32_t Code) {
    static constexpr char hex[] = "0123456789ABCDEF";
    Target += "\\u{";
    for (int shift = 12; shift >= 0; shift -= 4) {
        Target.push_back(hex[(Code >> static_cast<unsigned>(shift)) & 0xF]);
    }
    Target.push_back('}');
}

// Text (well-formed UTF-8) with backslash escapes for the backslash, the control characters
// and the line terminators (VT, FF, NEL, LS, PS included), so that one segment is one line.
void append_escaped(std::string& Target, std::string_view Text) {
    for (std::size_t at = 0; at < Text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(Text[at]);
        switch (byte) {
        case '\\':
            Target += "\\\\";
            continue;
        case '\n':
            Target += "\\n";
            continue;
        case '\r':
            Target += "\\r";
            continue;
        case '\t':
            Target += "\\t";
            continue;
        default:
            break;
        }
        if (byte < 0x20 || byte == 0x7F) {
            append_hex_escape(Target, byte);
        } else if (byte == 0xC2 && at + 1 < Text.size() &&
                   static_cast<unsigned char>(Text[at + 1]) < 0xA0) {
            // U+0080 .. U+009F (NEL among them).
            append_hex_escape(Target, static_cast<unsigned char>(Text[at + 1]));
            ++at;
        } else if (byte == 0xE2 && at + 2 < Text.size() &&
                   static_cast<unsigned char>(Text[at + 1]) == 0x80 &&
                   (static_cast<unsigned char>(Text[at + 2]) == 0xA8 ||
                    static_cast<unsigned char>(Text[at + 2]) == 0xA9)) {
            // U+2028 LINE SEPARATOR, U+2029 PARAGRAPH SEPARATOR.
            append_hex_escape(Target,
                              static_cast<unsigned char>(Text[at + 2]) == 0xA8 ? 0x2028 : 0x2029);
            at += 2;
        } else {
            Target.push_back(static_cast<char>(byte));
        }
    }
}

// The members every segment has: its text and its place in the whole input.
JSON_Object segment_object(std::string_view Text, const Strings::Cursors::Abstract_Cursor& Item,
                           const Position& Base) {
    JSON_Object object;
    object.Member("text").String(Text);
    object.Member("first").Integer(Base.Characters + Item.First_Character_Index());
    object.Member("last").Integer(Base.Characters + Item.Last_Character_Index());
    object.Member("utf8")
        .Begin_Array()
        .Integer(Base.UTF8_Units + Item.First_UTF8_Offset())
        .Integer(Base.UTF8_Units + Item.Last_UTF8_Offset())
        .End_Array();
    object.Member("utf16")
        .Begin_Array()
        .Integer(Base.UTF16_Units + Item.First_UTF16_Offset())
        .Integer(Base.UTF16_Units + Item.Last_UTF16_Offset())
        .End_Array();
    return object;
}

void write_plain(Output_Stream& Output, std::string& Line, std::string_view Text) {
    Line.clear();
    append_escaped(Line, Text);
    Line.push_back('\n');
    Output.Write(Line);
}

// The code units of the current segment of an iterator over Block (which it must not be empty).
std::string_view segment_text(std::string_view Block, const Strings::Cursors::Abstract_Cursor& It) {
    const auto first = static_cast<std::size_t>(It.First_UTF8_Offset());
    const auto last = static_cast<std::size_t>(It.Last_UTF8_Offset());
    return Block.substr(first, last + 1 - first);
}

void segment_graphemes(std::string_view Block, const Position& Base, bool JSON,
                       Output_Stream& Output, std::string& Line) {
    const Strings::Virtual_String text = Strings::Conversions::To_Virtual_String(Block);
    for (auto it = Strings::Before_First_Grapheme_Cluster(text); it.Forward();) {
        const std::string_view item = segment_text(Block, it);
        if (JSON) {
            JSON_Object object = segment_object(item, it, Base);
            object.Member("width").Integer(it.Display_Width());
            object.Member("emoji").Boolean(it.Is_Emoji());
            Output.Write(object.Finish());
        } else {
            write_plain(Output, Line, item);
        }
    }
}

void segment_words(std::string_view Block, const Position& Base, bool JSON, Output_Stream& Output,
                   std::string& Line) {
    const Strings::Virtual_String text = Strings::Conversions::To_Virtual_String(Block);
    for (auto it = Strings::Before_First_Word(text); it.Forward();) {
        const std::string_view item = segment_text(Block, it);
        if (JSON) {
            JSON_Object object = segment_object(item, it, Base);
            object.Member("kind").String(it.On_Line_Break()   ? "LINE_BREAK"
                                         : it.On_Whitespace() ? "WHITESPACE"
                                                              : "TEXT");
            Output.Write(object.Finish());
        } else {
            write_plain(Output, Line, item);
        }
    }
}

// Writes the lines of Text. Unless Final, an unterminated last line is not written: the number
// of bytes written is returned, and the rest is to be read again with what follows.
std::size_t segment_lines(std::string_view Text, const Position& Base, Line_Terminator_Set Set,
                          bool Keep, bool Final, bool JSON, Output_Stream& Output,
                          std::string& Line) {
    const Strings::Virtual_String text = Strings::Conversions::To_Virtual_String(Text);
    for (auto it = Strings::At_First_Line(text, Set, Keep); it.Has_Element(); it.Forward()) {
        if (!Final && !it.Has_Line_Terminator()) {
            return static_cast<std::size_t>(it.First_UTF8_Offset());
        }
        const std::string item = Strings::Conversions::To_UTF_8_String(it.Element());
        if (JSON) {
            JSON_Object object = segment_object(item, it, Base);
            object.Member("terminator");
            if (it.Has_Line_Terminator()) {
                object.String(Strings::Conversions::To_UTF_8_String(it.Element_Terminator()));
            } else {
                object.Null();
            }
            Output.Write(object.Finish());
        } else {
            write_plain(Output, Line, item);
        }
    }
    return Text.size();
}

struct Named_Terminator {
    std::string_view Name;
    Line_Terminator Terminator;
};

constexpr Named_Terminator terminator_names[] = {
    {"CR", Line_Terminator::CR},   {"LF", Line_Terminator::LF}, {"CRLF", Line_Terminator::CRLF},
    {"NEL", Line_Terminator::NEL}, {"VT", Line_Terminator::VT}, {"FF", Line_Terminator::FF},
    {"LS", Line_Terminator::LS},   {"PS", Line_Terminator::PS},
};

Line_Terminator_Set parse_terminators(std::string_view List) {
    Line_Terminator_Set set;
    std::size_t at = 0;
    while (true) {
        const std::size_t comma = List.find(',', at);
        const std::string_view name =
            List.substr(at, comma == std::string_view::npos ? std::string_view::npos : comma - at);
        bool known = false;
        for (const Named_Terminator& item : terminator_names) {
            if (item.Name == name) {
                set = set | Line_Terminator_Set{item.Terminator};
                known = true;
            }
        }
        if (!known) {
            Raise_Command_Usage_Error(Segment_Command, "unknown line terminator " + Quoted(name) +
                                                           " in --terminators");
        }
        if (comma == std::string_view::npos) {
            return set;
        }
        at = comma + 1;
    }
}

constexpr Option segment_options[] = {
    {"--keep-terminator", false},
    {"--terminators", true},
    {"--json", false},
};

Exit_Status run_segment(const Arguments& Given) {
    if (Given.Operands.empty()) {
        Raise_Command_Usage_Error(Segment_Command, "segment needs graphemes, words or lines");
    }
    const std::string& what = Given.Operands.front();
    if (what != "graphemes" && what != "words" && what != "lines") {
        Raise_Command_Usage_Error(Segment_Command, "unknown segmentation " + Quoted(what));
    }
    Line_Terminator_Set set = Strings::New_Line_Function;
    if (const std::string* list = Given.Value("--terminators")) {
        set = parse_terminators(*list);
    }
    const bool keep = Given.Has("--keep-terminator");
    const bool json = Given.Has("--json");
    const Input_List inputs(
        std::vector<std::string>(Given.Operands.begin() + 1, Given.Operands.end()));
    Text_Reader reader(inputs, Text_Reader::Block_Mode::WHOLE_LINES);
    Output_Stream& output = Standard_Output();
    std::string line;
    Position base;
    std::string_view block;
    if (what == "lines") {
        // The unfinished last line of the blocks read so far; base is the position of its start.
        std::string pending;
        while (reader.Next(block)) {
            std::string_view text = block;
            if (!pending.empty()) {
                pending += block;
                text = pending;
            }
            const std::size_t done =
                segment_lines(text, base, set, keep, false, json, output, line);
            base.Advance(text.substr(0, done));
            if (pending.empty()) {
                pending.assign(text.substr(done));
            } else {
                pending.erase(0, done);
            }
        }
        if (!pending.empty()) {
            segment_lines(pending, base, set, keep, true, json, output, line);
        }
        return Exit_Status::SUCCESS;
    }
    const bool graphemes = what == "graphemes";
    while (reader.Next(block)) {
        if (graphemes) {
            segment_graphemes(block, base, json, output, line);
        } else {
            segment_words(block, base, json, output, line);
        }
        base.Advance(block);
    }
    return Exit_Status::SUCCESS;
}

// The display width of each line, without its terminator (CR, LF, CR LF or NEL, as the default
// of segment lines). Blocks end after a LF, so no line spans two of them.
Exit_Status run_width(const Arguments& Given) {
    const Input_List inputs(Given.Operands);
    Text_Reader reader(inputs, Text_Reader::Block_Mode::WHOLE_LINES);
    Output_Stream& output = Standard_Output();
    std::string_view block;
    while (reader.Next(block)) {
        const Strings::Virtual_String text = Strings::Conversions::To_Virtual_String(block);
        for (auto it = Strings::At_First_Line(text); it.Has_Element(); it.Forward()) {
            output.Write(std::to_string(Strings::Utilities::Display_Width(it.Element())));
            output.Write('\n');
        }
    }
    return Exit_Status::SUCCESS;
}

} // namespace

const Command Segment_Command{
    "segment",
    "split UTF-8 text into grapheme clusters, words or lines",
    "usage: qorvi-text segment graphemes|words|lines [--keep-terminator] [--terminators=LIST]\n"
    "                          [--json] [FILE...]\n"
    "\n"
    "Writes one segment per line: grapheme clusters, word segments (words, runs of spaces,\n"
    "line breaks, punctuation) or lines. The text is written with backslash escapes for the\n"
    "backslash, control characters and line terminators (\\\\, \\n, \\r, \\t, \\u{XXXX}).\n"
    "\n"
    "  --json              one JSON object per segment: \"text\", \"first\" and \"last\"\n"
    "                      (character indices from 1), \"utf8\" and \"utf16\" (first and last\n"
    "                      code unit offsets from 0), all counted from the start of the\n"
    "                      input; with \"width\" and \"emoji\" for graphemes, \"kind\" (TEXT,\n"
    "                      WHITESPACE, LINE_BREAK) for words, \"terminator\" (or null) for lines\n"
    "  --terminators=LIST  lines: the terminators, a comma-separated list of CR, LF, CRLF,\n"
    "                      NEL, VT, FF, LS, PS (default CR,LF,CRLF,NEL)\n"
    "  --keep-terminator   lines: the line's text includes its terminator\n"
    "\n"
    "Exit status: 0; 1 for ill-formed input (\"Ill-formed UTF-8 data at byte N\", N counted\n"
    "from the start of the input); 2 for bad usage.\n",
    segment_options,
    false,
    run_segment,
};

const Command Width_Command{
    "width",
    "display width of each line of UTF-8 text",
    "usage: qorvi-text width [FILE...]\n"
    "\n"
    "Writes, for each line, the terminal cells it takes without its terminator (CR, LF,\n"
    "CR LF or NEL): the sum of its grapheme clusters' widths, 2 for wide characters and emoji\n"
    "shown as emoji, 1 otherwise.\n"
    "\n"
    "Exit status: 0; 1 for ill-formed input (\"Ill-formed UTF-8 data at byte N\", N counted\n"
    "from the start of the input; the widths of the lines before it have been written); 2 for\n"
    "bad usage.\n",
    {},
    false,
    run_width,
};

} // namespace Qorvi_CLI
