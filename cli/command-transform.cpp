// normalize and case: the library's transformers, applied to the input line by line.
#include "tool-commands.hpp"
#include "tool-input.hpp"
#include "tool-output.hpp"

#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/ucd/transformers-caseless.hpp>
#include <qorvi/ucd/transformers-casing.hpp>
#include <qorvi/ucd/transformers-normalization.hpp>
#include <qorvi/ucd/transformers.hpp>

namespace Qorvi_CLI {

namespace {

namespace Transformers = Qorvi::Transformers;

struct Named_Transformer {
    std::string_view Name;
    const Transformers::Abstract_Transformer* Transformer;
};

const Named_Transformer normalization_forms[] = {
    {"nfc", &Transformers::Normalization::To_Normalization_Form_C},
    {"nfd", &Transformers::Normalization::To_Normalization_Form_D},
    {"nfkc", &Transformers::Normalization::To_Normalization_Form_KC},
    {"nfkd", &Transformers::Normalization::To_Normalization_Form_KD},
};

const Named_Transformer case_mappings[] = {
    {"lower", &Transformers::Casing::To_Lowercase},
    {"upper", &Transformers::Casing::To_Uppercase},
    {"simple-lower", &Transformers::Casing::To_Simple_Lowercase},
    {"simple-upper", &Transformers::Casing::To_Simple_Uppercase},
    {"caseless", &Transformers::Caseless::To_Identifier_Caseless},
};

// Transforms the input block by block. Blocks hold whole lines, and none of these conversions
// looks across a line feed (it is a starter that composes with nothing, it is not case
// ignorable, and a final sigma needs a letter after it on the same line), so the result is the
// one for the whole text.
Exit_Status transform_input(const Command& Item, const Arguments& Given,
                            std::span<const Named_Transformer> Choices, std::string_view What) {
    if (Given.Operands.empty()) {
        Raise_Command_Usage_Error(Item, std::string(Item.Name) + " needs " + std::string(What));
    }
    const std::string& name = Given.Operands.front();
    const Transformers::Abstract_Transformer* transformer = nullptr;
    for (const Named_Transformer& choice : Choices) {
        if (choice.Name == name) {
            transformer = choice.Transformer;
        }
    }
    if (transformer == nullptr) {
        Raise_Command_Usage_Error(Item, "unknown " + std::string(What) + " " + Quoted(name));
    }
    const Input_List inputs(
        std::vector<std::string>(Given.Operands.begin() + 1, Given.Operands.end()));
    Text_Reader text(inputs, Text_Reader::Block_Mode::WHOLE_LINES);
    Output_Stream& output = Standard_Output();
    std::string_view block;
    while (text.Next(block)) {
        Write(output, Qorvi::Strings::Transform(
                          Qorvi::Strings::Conversions::To_Virtual_String(block), *transformer));
    }
    return Exit_Status::SUCCESS;
}

Exit_Status run_normalize(const Arguments& Given) {
    return transform_input(Normalize_Command, Given, normalization_forms, "normalization form");
}

Exit_Status run_case(const Arguments& Given) {
    return transform_input(Case_Command, Given, case_mappings, "case mapping");
}

} // namespace

const Command Normalize_Command{
    "normalize",
    "convert UTF-8 text to a normalization form",
    "usage: qorvi-text normalize nfc|nfd|nfkc|nfkd [FILE...]\n"
    "\n"
    "Writes the text in normalization form C, D, KC or KD. Input is processed line by line\n"
    "(a line ends after LF).\n"
    "\n"
    "Exit status: 0; 1 for ill-formed input (\"Ill-formed UTF-8 data at byte N\", N counted\n"
    "from the start of the input; the lines before it have been written); 2 for bad usage.\n",
    {},
    false,
    run_normalize,
};

const Command Case_Command{
    "case",
    "change the case of UTF-8 text",
    "usage: qorvi-text case lower|upper|simple-lower|simple-upper|caseless [FILE...]\n"
    "\n"
    "  lower         full lowercase mapping (a final capital sigma becomes U+03C2)\n"
    "  upper         full uppercase mapping (U+00DF becomes SS)\n"
    "  simple-lower  one-to-one lowercase mapping\n"
    "  simple-upper  one-to-one uppercase mapping\n"
    "  caseless      the caseless form for comparing identifiers (NFKC case folding)\n"
    "\n"
    "The mappings do not depend on a language. Input is processed line by line (a line ends\n"
    "after LF).\n"
    "\n"
    "Exit status: 0; 1 for ill-formed input (\"Ill-formed UTF-8 data at byte N\", N counted\n"
    "from the start of the input; the lines before it have been written); 2 for bad usage.\n",
    {},
    false,
    run_case,
};

} // namespace Qorvi_CLI
