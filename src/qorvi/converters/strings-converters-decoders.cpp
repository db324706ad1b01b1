#include <array>
#include <qorvi/converters/strings-converters-decoders-eucjp.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030.hpp>
#include <qorvi/converters/strings-converters-decoders-shiftjis.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte.hpp>
#include <qorvi/converters/strings-converters-decoders-utf8.hpp>
#include <qorvi/converters/strings-converters-decoders.hpp>

namespace Qorvi::Strings::Converters::Decoders {

Abstract_Decoder::~Abstract_Decoder() = default;

namespace {

// The labels are the IANA names and aliases of each character set together with the WHATWG
// Encoding Standard's labels for the same encoding, normalised. ISO-8859-1 and ISO-8859-9 carry
// only their IANA names: the WHATWG labels that stand for windows-1252 and windows-1254 would
// select code pages these decoders do not decode. The table is constant data, so lookups need
// no initialisation and no lock.
constexpr std::array<Registry_Entry, 91> Labels = {{
    {"csutf8", UTF8::Factory},
    {"utf8", UTF8::Factory},
    {"unicode11utf8", UTF8::Factory},
    {"unicode20utf8", UTF8::Factory},
    {"xunicode20utf8", UTF8::Factory},

    {"isoir100", ISO88591::Factory},
    {"iso88591", ISO88591::Factory},
    {"latin1", ISO88591::Factory},
    {"l1", ISO88591::Factory},
    {"ibm819", ISO88591::Factory},
    {"cp819", ISO88591::Factory},
    {"csisolatin1", ISO88591::Factory},
    {"iso885911987", ISO88591::Factory},

    {"isoir101", ISO88592::Factory},
    {"iso88592", ISO88592::Factory},
    {"latin2", ISO88592::Factory},
    {"l2", ISO88592::Factory},
    {"csisolatin2", ISO88592::Factory},
    {"iso885921987", ISO88592::Factory},

    {"isoir144", ISO88595::Factory},
    {"iso88595", ISO88595::Factory},
    {"cyrillic", ISO88595::Factory},
    {"csisolatincyrillic", ISO88595::Factory},
    {"iso885951988", ISO88595::Factory},

    {"isoir127", ISO88596::Factory},
    {"iso88596", ISO88596::Factory},
    {"ecma114", ISO88596::Factory},
    {"asmo708", ISO88596::Factory},
    {"arabic", ISO88596::Factory},
    {"csisolatinarabic", ISO88596::Factory},
    {"csiso88596e", ISO88596::Factory},
    {"csiso88596i", ISO88596::Factory},
    {"iso88596e", ISO88596::Factory},
    {"iso88596i", ISO88596::Factory},
    {"iso885961987", ISO88596::Factory},

    {"isoir126", ISO88597::Factory},
    {"iso88597", ISO88597::Factory},
    {"elot928", ISO88597::Factory},
    {"ecma118", ISO88597::Factory},
    {"greek", ISO88597::Factory},
    {"greek8", ISO88597::Factory},
    {"csisolatingreek", ISO88597::Factory},
    {"iso885971987", ISO88597::Factory},
    {"suneugreek", ISO88597::Factory},

    {"isoir138", ISO88598::Factory},
    {"iso88598", ISO88598::Factory},
    {"hebrew", ISO88598::Factory},
    {"csisolatinhebrew", ISO88598::Factory},
    {"csiso88598e", ISO88598::Factory},
    {"iso88598e", ISO88598::Factory},
    {"iso885981988", ISO88598::Factory},
    {"visual", ISO88598::Factory},

    {"isoir148", ISO88599::Factory},
    {"iso88599", ISO88599::Factory},
    {"latin5", ISO88599::Factory},
    {"l5", ISO88599::Factory},
    {"csisolatin5", ISO88599::Factory},
    {"iso885991989", ISO88599::Factory},

    {"iso885915", ISO885915::Factory},
    {"latin9", ISO885915::Factory},
    {"csiso885915", ISO885915::Factory},
    {"csisolatin9", ISO885915::Factory},
    {"l9", ISO885915::Factory},

    {"csgb2312", GB18030::Factory},
    {"cp936", GB18030::Factory},
    {"ms936", GB18030::Factory},
    {"windows936", GB18030::Factory},
    {"csgbk", GB18030::Factory},
    {"csgb18030", GB18030::Factory},
    {"chinese", GB18030::Factory},
    {"csiso58gb231280", GB18030::Factory},
    {"gb2312", GB18030::Factory},
    {"gb231280", GB18030::Factory},
    {"gbk", GB18030::Factory},
    {"isoir58", GB18030::Factory},
    {"xgbk", GB18030::Factory},
    {"gb18030", GB18030::Factory},

    {"cseucpkdfmtjapanese", EUCJP::Factory},
    {"eucjp", EUCJP::Factory},
    {"xeucjp", EUCJP::Factory},

    {"mskanji", ShiftJIS::Factory},
    {"csshiftjis", ShiftJIS::Factory},
    {"ms932", ShiftJIS::Factory},
    {"shiftjis", ShiftJIS::Factory},
    {"sjis", ShiftJIS::Factory},
    {"windows31j", ShiftJIS::Factory},
    {"xsjis", ShiftJIS::Factory},

    {"koi8r", KOI8R::Factory},
    {"cskoi8r", KOI8R::Factory},
    {"koi", KOI8R::Factory},
    {"koi8", KOI8R::Factory},
}};

} // namespace

std::span<const Registry_Entry> Registry() noexcept {
    return Labels;
}

Decoder_Factory Find_Factory(std::string_view Name) noexcept {
    for (const auto& entry : Labels) {
        if (entry.Label == Name) {
            return entry.Factory;
        }
    }
    return nullptr;
}

Virtual_String_Decoder::Virtual_String_Decoder() noexcept = default;
Virtual_String_Decoder::~Virtual_String_Decoder() = default;

void Virtual_String_Decoder::Initialize(const Virtual_String& Encoding, Converter_Flags Flags) {
    const std::string name =
        Internals::To_Encoding_Name(Implementation::UTF8_Strings::To_String_View(
            *Strings::Internals::Data_Access_Constant(Encoding)));
    Decoder.reset();
    // The empty name (an invalid label) matches no entry.
    if (const Decoder_Factory factory = Find_Factory(name); factory != nullptr) {
        Decoder = factory(Flags);
    }
}

bool Virtual_String_Decoder::Is_Valid() const noexcept {
    return Decoder != nullptr;
}

Virtual_String
Virtual_String_Decoder::Decode(const Stream_Element_Vectors::Stream_Element_Vector& Source,
                               bool End_Of_Data) {
    const auto view = Stream_Element_Vectors::Internals::Data_Constant_Access(Source);
    return Decode(
        std::span<const std::uint8_t>(view.Storage, static_cast<std::size_t>(view.Length)),
        End_Of_Data);
}

Virtual_String Virtual_String_Decoder::Decode(std::span<const std::uint8_t> Source,
                                              bool End_Of_Data) {
    Virtual_String result;
    if (Decoder != nullptr) {
        Decoder->Decode(Source, End_Of_Data, *Strings::Internals::Data_Access_Variable(result));
    }
    return result;
}

bool Virtual_String_Decoder::Has_Error() const {
    return Decoder != nullptr && Decoder->Has_Error();
}

Virtual_String Virtual_String_Decoder::Error_Message() const {
    return Decoder != nullptr ? Decoder->Error_Message() : Virtual_String();
}

void Virtual_String_Decoder::Reset_State() {
    if (Decoder != nullptr) {
        Decoder->Reset_State();
    }
}

} // namespace Qorvi::Strings::Converters::Decoders
