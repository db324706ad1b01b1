// decode, encode and labels: the library's decoders and its UTF-8 encoder.
#include "tool-commands.hpp"
#include "tool-input.hpp"
#include "tool-output.hpp"

#include <array>
#include <qorvi/converters/strings-converters-decoders-eucjp.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030.hpp>
#include <qorvi/converters/strings-converters-decoders-shiftjis.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte.hpp>
#include <qorvi/converters/strings-converters-decoders-utf8.hpp>
#include <qorvi/converters/strings-converters-decoders.hpp>
#include <qorvi/converters/strings-converters-encoders.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <vector>

namespace Qorvi_CLI {

namespace {

namespace Converters = Qorvi::Strings::Converters;
namespace Decoders = Qorvi::Strings::Converters::Decoders;
namespace Encoders = Qorvi::Strings::Converters::Encoders;
using Qorvi::Strings::Virtual_String;

constexpr Option decode_options[] = {
    {"--from", true},
    {"--stateless", false},
    {"--stop-on-error", false},
    {"--bom", false},
};

Exit_Status run_decode(const Arguments& Given) {
    const std::string* label = Given.Value("--from");
    if (label == nullptr) {
        Raise_Command_Usage_Error(Decode_Command, "decode needs --from LABEL");
    }
    Converters::Converter_Flags flags;
    if (Given.Has("--stateless")) {
        flags = flags | Converters::Converter_Flag::STATELESS;
    }
    const bool stop_on_error = Given.Has("--stop-on-error");
    if (stop_on_error) {
        flags = flags | Converters::Converter_Flag::STOP_ON_ERROR;
    }
    if (Given.Has("--bom")) {
        flags = flags | Converters::Converter_Flag::PROCESS_BOM;
    }

    Decoders::Virtual_String_Decoder decoder;
    // A label that is not UTF-8 can not name an encoding.
    if (First_Ill_Formed_Byte(*label) < 0) {
        decoder.Initialize(Qorvi::Strings::Conversions::To_Virtual_String(*label), flags);
    }
    if (!decoder.Is_Valid()) {
        Raise_Usage_Error("unknown encoding label " + Quoted(*label));
    }

    const Input_List inputs(Given.Operands);
    Byte_Reader reader(inputs);
    std::vector<std::uint8_t> chunk(Chunk_Size);
    Output_Stream& output = Standard_Output();
    Exit_Status status = Exit_Status::SUCCESS;
    // Each input is a stream of its own: a sequence can not continue into the next file, a
    // byte order mark is looked for at the start of each, and errors are reported per file.
    while (reader.Next_Input()) {
        decoder.Reset_State();
        for (;;) {
            // Full chunks, so that where chunks end (which matters with --stateless) does not
            // depend on how the system hands out the bytes of a pipe.
            const std::size_t count = reader.Read_Full(chunk);
            if (count == 0) {
                break;
            }
            Write(output,
                  decoder.Decode(std::span<const std::uint8_t>(chunk.data(), count), false));
            if (stop_on_error && decoder.Has_Error()) {
                break;
            }
        }
        Write(output, decoder.Decode(std::span<const std::uint8_t>(), true));
        if (decoder.Has_Error()) {
            Report(inputs.Display_Name(reader.Input_Index()) + ": " +
                   Qorvi::Strings::Conversions::To_UTF_8_String(decoder.Error_Message()));
            status = Exit_Status::INPUT_ERROR;
            if (stop_on_error) {
                break;
            }
        }
    }
    return status;
}

constexpr Option encode_options[] = {
    {"--bom", false},
};

Exit_Status run_encode(const Arguments& Given) {
    Encoders::Virtual_String_Encoder encoder;
    encoder.Initialize(Virtual_String("utf-8"), Given.Has("--bom")
                                                    ? Converters::Converter_Flag::PROCESS_BOM
                                                    : Converters::Default_Converter_Flags);
    const Input_List inputs(Given.Operands);
    Text_Reader text(inputs, Text_Reader::Block_Mode::CHARACTERS);
    Output_Stream& output = Standard_Output();
    std::string_view block;
    while (text.Next(block)) {
        const auto bytes = encoder.Encode(Qorvi::Strings::Conversions::To_Virtual_String(block));
        const auto view = Qorvi::Stream_Element_Vectors::Internals::Data_Constant_Access(bytes);
        if (view.Storage != nullptr) {
            output.Write(std::string_view(reinterpret_cast<const char*>(view.Storage),
                                          static_cast<std::size_t>(view.Length)));
        }
        if (encoder.Has_Error()) {
            Raise_Input_Error(
                Qorvi::Strings::Conversions::To_UTF_8_String(encoder.Error_Message()));
        }
    }
    return Exit_Status::SUCCESS;
}

// The decoder each registry entry creates, told by its factory.
struct Decoder_Name {
    Decoders::Decoder_Factory Factory;
    std::string_view Name;
};

const std::array<Decoder_Name, 13> decoder_names{{
    {&Decoders::UTF8::Factory, "UTF8_Decoder"},
    {&Decoders::ISO88591::Factory, "ISO88591_Decoder"},
    {&Decoders::ISO88592::Factory, "ISO88592_Decoder"},
    {&Decoders::ISO88595::Factory, "ISO88595_Decoder"},
    {&Decoders::ISO88596::Factory, "ISO88596_Decoder"},
    {&Decoders::ISO88597::Factory, "ISO88597_Decoder"},
    {&Decoders::ISO88598::Factory, "ISO88598_Decoder"},
    {&Decoders::ISO88599::Factory, "ISO88599_Decoder"},
    {&Decoders::ISO885915::Factory, "ISO885915_Decoder"},
    {&Decoders::GB18030::Factory, "GB18030_Decoder"},
    {&Decoders::EUCJP::Factory, "EUCJP_Decoder"},
    {&Decoders::ShiftJIS::Factory, "ShiftJIS_Decoder"},
    {&Decoders::KOI8R::Factory, "KOI8R_Decoder"},
}};

Exit_Status run_labels(const Arguments& Given) {
    if (!Given.Operands.empty()) {
        Raise_Command_Usage_Error(Labels_Command, "labels takes no arguments");
    }
    Output_Stream& output = Standard_Output();
    for (const Decoders::Registry_Entry& entry : Decoders::Registry()) {
        std::string_view name;
        for (const Decoder_Name& known : decoder_names) {
            if (known.Factory == entry.Factory) {
                name = known.Name;
            }
        }
        if (name.empty()) {
            // Only a registry that grew without this table can get here.
            Raise_Input_Error("no decoder name for label " + Quoted(entry.Label));
        }
        output.Write(entry.Label);
        output.Write('\t');
        output.Write(name);
        output.Write('\n');
    }
    return Exit_Status::SUCCESS;
}

} // namespace

const Command Decode_Command{
    "decode",
    "decode bytes in a legacy encoding and write them as UTF-8",
    "usage: qorvi-text decode --from LABEL [--stateless] [--stop-on-error] [--bom] [FILE...]\n"
    "\n"
    "Decodes the bytes of each input in the encoding named by LABEL (any of the labels that\n"
    "'qorvi-text labels' lists, in any letter case and punctuation, such as Shift_JIS or\n"
    "ISO-8859-1) and writes the text as UTF-8. Input is decoded in chunks of 64 KiB; each\n"
    "file is a stream of its own. Each error becomes U+FFFD in the output.\n"
    "\n"
    "  --from LABEL     the encoding (required)\n"
    "  --stateless      each 64 KiB chunk ends the data: a sequence split between two\n"
    "                   chunks is an error\n"
    "  --stop-on-error  stop at the first error (no U+FFFD is written for it)\n"
    "  --bom            drop a byte order mark at the start of UTF-8 input\n"
    "\n"
    "Exit status: 0; 1 when the decoder reported an error (its message, with the file name, on\n"
    "standard error); 2 for an unknown label or bad usage.\n",
    decode_options,
    false,
    run_decode,
};

const Command Encode_Command{
    "encode",
    "write UTF-8 text as UTF-8 bytes through the encoder",
    "usage: qorvi-text encode [--bom] [FILE...]\n"
    "\n"
    "Reads UTF-8 text and writes it through the library's UTF-8 encoder.\n"
    "\n"
    "  --bom   write a byte order mark before the first character\n"
    "\n"
    "Exit status: 0; 1 for ill-formed input (\"Ill-formed UTF-8 data at byte N\", N counted\n"
    "from the start of the input, whatever was before it has been written); 2 for bad usage.\n",
    encode_options,
    false,
    run_encode,
};

const Command Labels_Command{
    "labels",
    "list the encoding labels and their decoders",
    "usage: qorvi-text labels\n"
    "\n"
    "Writes the 91 encoding labels that decode accepts, in the order they are looked up, each\n"
    "with the name of its decoder, separated by a tab, one per line. Labels are shown in their\n"
    "normalised form: decode also accepts them with capital letters, '-', '_' and the like.\n",
    {},
    false,
    run_labels,
};

} // namespace Qorvi_CLI
