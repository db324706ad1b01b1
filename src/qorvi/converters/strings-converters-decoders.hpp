// Decoders: turning bytes in one of thirteen encodings into text.
//
// A client decodes a stream with a Virtual_String_Decoder: Initialize it once with an encoding
// label (any of 91, for example "UTF-8", "latin1", "Shift_JIS", "GBK"), call Decode for each
// chunk with End_Of_Data false and for the last one with End_Of_Data true, then look at
// Has_Error and Error_Message. Bad input never raises: the first error is recorded and, unless
// STOP_ON_ERROR is set, each error becomes one U+FFFD in the text and decoding goes on.
#pragma once

#include <cstdint>
#include <memory>
#include <qorvi/converters/strings-converters.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/strings/stream_element_vectors.hpp>
#include <qorvi/strings/strings.hpp>
#include <span>
#include <string_view>

namespace Qorvi::Strings::Converters::Decoders {

using Implementation::UTF8_Strings::UTF8_String_Data;

// The character written for each error.
inline constexpr Virtual_Character Replacement_Character = 0xFFFD;

// The interface of every decoder. A decoder keeps the state of a partly read sequence from one
// Decode call to the next. Decoders are not copyable; one object is used by one thread at a time.
class QORVI_API Abstract_Decoder {
public:
    // Decodes every byte of Source and appends the characters to Target. End_Of_Data says that
    // no byte follows this chunk: a sequence left unfinished is then an error. Source must not
    // lie in Target's own text (appending may move it).
    virtual void Decode(std::span<const std::uint8_t> Source, bool End_Of_Data,
                        UTF8_String_Data& Target) = 0;
    // Whether an error has been met since creation or the last Reset_State.
    virtual bool Has_Error() const = 0;
    // A text for the error, empty when there is none.
    virtual Virtual_String Error_Message() const = 0;
    // Forgets every partial sequence and the error (and re-arms the byte order mark rule), as if
    // the decoder were new, with the same flags.
    virtual void Reset_State() = 0;

    virtual ~Abstract_Decoder();

    Abstract_Decoder(const Abstract_Decoder&) = delete;
    Abstract_Decoder& operator=(const Abstract_Decoder&) = delete;

protected:
    Abstract_Decoder() = default;
};

// Owns a decoder of any kind.
using Decoder_Access = std::unique_ptr<Abstract_Decoder>;

// Creates a decoder of one kind with the given flags, in its reset state.
using Decoder_Factory = Decoder_Access (*)(Converter_Flags Flags);

// One entry of the label registry: a label in the form To_Encoding_Name gives, and the factory
// of its decoder.
struct Registry_Entry {
    std::string_view Label;
    Decoder_Factory Factory;
};

// The 91 labels, grouped by decoder, in lookup order. Constant; safe to read from any thread.
QORVI_API std::span<const Registry_Entry> Registry() noexcept;

// The factory registered for a normalised label, or null when there is none.
QORVI_API Decoder_Factory Find_Factory(std::string_view Name) noexcept;

// The public decoding object: holds the decoder chosen by Initialize, or none.
class QORVI_API Virtual_String_Decoder {
public:
    // Without a decoder.
    Virtual_String_Decoder() noexcept;
    ~Virtual_String_Decoder();
    Virtual_String_Decoder(const Virtual_String_Decoder&) = delete;
    Virtual_String_Decoder& operator=(const Virtual_String_Decoder&) = delete;

    // Drops the decoder held, if any, then creates the decoder for Encoding (normalised with
    // To_Encoding_Name and looked up among the 91 labels). An unknown or malformed label leaves
    // Self without a decoder; nothing is raised.
    void Initialize(const Virtual_String& Encoding,
                    Converter_Flags Flags = Default_Converter_Flags);

    // Whether Self holds a decoder.
    bool Is_Valid() const noexcept;

    // Decodes one chunk and returns the characters completed in it (a sequence split across
    // chunks comes out with the chunk that completes it). End_Of_Data marks the last chunk.
    // Without a decoder: the empty string.
    Virtual_String Decode(const Stream_Element_Vectors::Stream_Element_Vector& Source,
                          bool End_Of_Data = true);
    Virtual_String Decode(std::span<const std::uint8_t> Source, bool End_Of_Data = true);

    // The decoder's Has_Error; false without a decoder.
    bool Has_Error() const;
    // The decoder's message for its error, empty when there is none or without a decoder.
    Virtual_String Error_Message() const;
    // Makes the decoder ready for an unrelated stream; nothing without a decoder.
    void Reset_State();

private:
    Decoder_Access Decoder;
};

} // namespace Qorvi::Strings::Converters::Decoders
