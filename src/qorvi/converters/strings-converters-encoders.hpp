// Encoders: turning characters and strings into bytes appended to a Stream_Element_Vector.
// The one encoding offered is UTF-8, chosen by the exact name "utf-8". With PROCESS_BOM the
// output begins with the byte order mark EF BB BF, once, before the first character.
#pragma once

#include <memory>
#include <qorvi/converters/strings-converters.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/strings/stream_element_vectors.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Strings::Converters::Encoders {

using Implementation::UTF8_Strings::UTF8_String_Data;
using Stream_Element_Vectors::Stream_Element_Vector;

// The character written as byte order mark.
inline constexpr Virtual_Character Zero_Width_No_Break_Space_Character = 0xFEFF;

// The interface of every encoder. Encoders are not copyable; one object is used by one thread
// at a time.
class QORVI_API Abstract_Encoder {
public:
    // Stores Flags and applies Reset_State.
    virtual void Initialize(Converter_Flags Flags) = 0;
    // Appends the bytes of one character to Target (the byte order mark first, when due).
    virtual void Encode(Virtual_Character Item, Stream_Element_Vector& Target) = 0;
    // Appends the byte order mark when due, then each character of Source, stopping early when
    // Has_Error answers true before a character.
    virtual void Encode(const UTF8_String_Data& Source, Stream_Element_Vector& Target);
    virtual bool Has_Error() const = 0;
    virtual Virtual_String Error_Message() const = 0;
    // Makes the byte order mark due again when PROCESS_BOM is set.
    virtual void Reset_State();

    virtual ~Abstract_Encoder();

    Abstract_Encoder(const Abstract_Encoder&) = delete;
    Abstract_Encoder& operator=(const Abstract_Encoder&) = delete;

protected:
    Abstract_Encoder() = default;

    Converter_Flags Flags;
    // The byte order mark has been written, or is not wanted.
    bool BOM_Written = true;
};

// Owns an encoder of any kind.
using Encoder_Access = std::unique_ptr<Abstract_Encoder>;

// The public encoding object: holds the encoder chosen by Initialize, or none.
class QORVI_API Virtual_String_Encoder {
public:
    // Without an encoder.
    Virtual_String_Encoder() noexcept;
    ~Virtual_String_Encoder();
    Virtual_String_Encoder(const Virtual_String_Encoder&) = delete;
    Virtual_String_Encoder& operator=(const Virtual_String_Encoder&) = delete;

    // Drops the encoder held, if any; then creates a UTF-8 encoder when Encoding is exactly
    // "utf-8" (no normalisation: "UTF-8" and "utf8" leave Self without an encoder).
    void Initialize(const Virtual_String& Encoding,
                    Converter_Flags Flags = Default_Converter_Flags);

    // Whether Self holds an encoder.
    bool Is_Valid() const noexcept;

    // Appends the bytes of Item to Target; nothing without an encoder. A value that is not a
    // Unicode scalar value (a surrogate, or above U+10FFFF) raises Constraint_Error and
    // appends nothing.
    void Encode(Virtual_Character Item, Stream_Element_Vector& Target);
    // Appends the bytes of Item to Target; nothing for an empty Item (not even a byte order
    // mark that is due) or without an encoder.
    void Encode(const Virtual_String& Item, Stream_Element_Vector& Target);
    // The bytes of Item in a new vector; an empty vector without an encoder.
    Stream_Element_Vector Encode(Virtual_Character Item);
    // The bytes of Item in a new vector, which holds just the byte order mark for an empty Item
    // when one is due; an empty vector without an encoder.
    Stream_Element_Vector Encode(const Virtual_String& Item);

    // The encoder's Has_Error; false without an encoder.
    bool Has_Error() const;
    // The encoder's error message; empty without an encoder.
    Virtual_String Error_Message() const;
    // Makes the byte order mark due again (with PROCESS_BOM); nothing without an encoder.
    void Reset_State();

private:
    Encoder_Access Encoder;
};

} // namespace Qorvi::Strings::Converters::Encoders
