#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <qorvi/implementation-checked.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>

namespace Qorvi::Implementation::UTF8_Strings {

namespace {

std::atomic<std::int64_t> allocated_segments{0};

std::atomic_ref<std::int32_t> Counter_Of(UTF8_Shared_Segment* Segment) noexcept {
    return std::atomic_ref<std::int32_t>(Segment->Counter);
}

// A new segment able to take Capacity code units, with Counter 1. Data is not cleared.
UTF8_Shared_Segment* Allocate_Segment(UTF8_Code_Unit_Count Capacity) {
    const Segment_Size size = Segment_Size_For(Capacity);
    void* block = std::malloc(static_cast<std::size_t>(size.Allocation));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    auto* segment = static_cast<UTF8_Shared_Segment*>(block);
    segment->Capacity = size.Capacity;
    Counter_Of(segment).store(1, std::memory_order_relaxed);
    allocated_segments.fetch_add(1, std::memory_order_relaxed);
    return segment;
}

void Free_Segment(UTF8_Shared_Segment* Segment) noexcept {
    allocated_segments.fetch_sub(1, std::memory_order_relaxed);
    std::free(Segment);
}

// Grows an exclusively owned segment to take Capacity code units, keeping its contents. The
// block is resized in place when the allocator can (large blocks are remapped, not copied).
UTF8_Shared_Segment* Grow_Segment(UTF8_Shared_Segment* Segment, UTF8_Code_Unit_Count Capacity) {
    const Segment_Size size = Segment_Size_For(Capacity);
    void* block = std::realloc(Segment, static_cast<std::size_t>(size.Allocation));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    auto* grown = static_cast<UTF8_Shared_Segment*>(block);
    grown->Capacity = size.Capacity;
    return grown;
}

void Release_Segment(UTF8_Shared_Segment* Segment) noexcept {
    if (Counter_Of(Segment).fetch_sub(1, std::memory_order_acq_rel) == 1) {
        Free_Segment(Segment);
    }
}

// Stores a storage object in the Storage area of Self.
void Place_Storage(UTF8_String_Data& Self, const Heap_Storage& Storage) noexcept {
    ::new (static_cast<void*>(Self.Storage)) Heap_Storage(Storage);
}

[[noreturn]] void Raise_Too_Long() {
    throw Constraint_Error("string too long");
}

} // namespace

Segment_Size Segment_Size_For(UTF8_Code_Unit_Count Capacity) {
    Checked::In_Range(Capacity, 0, UTF8_Code_Unit_Count_Last, "capacity out of range");
    const std::int32_t blocks = Checked::Add(Checked::Add(Capacity, 12) / 16, 1);
    const std::int32_t allocation = Checked::Multiply(blocks, 16);
    return {allocation, allocation - 12};
}

std::int64_t Allocated_Segments() noexcept {
    return allocated_segments.load(std::memory_order_relaxed);
}

// --- Abstract_Text_Storage --------------------------------------------------------------------

void Abstract_Text_Storage::Reference() noexcept {}

void Abstract_Text_Storage::Unreference() noexcept {}

UTF8_Code_Unit_Count Abstract_Text_Storage::Capacity() const noexcept {
    return 0;
}

UTF8_Code_Unit* Abstract_Text_Storage::Mutate(UTF8_Code_Unit* Address, UTF8_Code_Unit_Count,
                                              UTF8_Code_Unit_Count) {
    return Address;
}

// --- Heap_Storage -----------------------------------------------------------------------------

void Heap_Storage::Reference() noexcept {
    if (Pointer != nullptr) {
        Counter_Of(Segment()).fetch_add(1, std::memory_order_relaxed);
    }
}

void Heap_Storage::Unreference() noexcept {
    UTF8_Shared_Segment* segment = Segment();
    Pointer = nullptr;
    if (segment != nullptr) {
        Release_Segment(segment);
    }
}

UTF8_Code_Unit_Count Heap_Storage::Capacity() const noexcept {
    return Pointer == nullptr ? 0 : Segment()->Capacity;
}

UTF8_Code_Unit* Heap_Storage::Mutate(UTF8_Code_Unit* Address, UTF8_Code_Unit_Count Size,
                                     UTF8_Code_Unit_Count Required_Capacity) {
    if (Pointer == nullptr) {
        throw Constraint_Error("text storage has no segment");
    }
    UTF8_Shared_Segment* segment = Segment();
    Checked::In_Range(Required_Capacity, 0, UTF8_Code_Unit_Count_Last, "capacity out of range");
    if (Size < 0 || Size > segment->Capacity || Address != segment->Data()) {
        UTF8_Encoding::Raise_String_Data_Corrupted();
    }
    const bool exclusive = segment->Current_Counter() == 1;
    if (exclusive && segment->Capacity >= Required_Capacity) {
        return Address;
    }
    // Never take less than the text already there, so that the copy always fits.
    const UTF8_Code_Unit_Count required = std::max(Required_Capacity, Size);
    const UTF8_Code_Unit_Count capacity = Checked::Add(required, required / 32);
    if (exclusive) {
        // Nobody else can see the segment: growing it in place equals taking a new one,
        // copying the text with its zero and freeing the old one.
        UTF8_Shared_Segment* grown = Grow_Segment(segment, capacity);
        Pointer = grown;
        return grown->Data();
    }
    UTF8_Shared_Segment* copy = Allocate_Segment(capacity);
    std::memcpy(copy->Data(), segment->Data(), static_cast<std::size_t>(Size) + 1);
    Pointer = copy;
    Release_Segment(segment);
    return copy->Data();
}

UTF8_Code_Unit* Heap_Storage::Initialize(UTF8_Code_Unit_Count Capacity) {
    UTF8_Shared_Segment* segment = Allocate_Segment(Capacity);
    Pointer = segment;
    return segment->Data();
}

UTF8_Code_Unit* Heap_Storage::Initialize(UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Count Capacity) {
    const Segment_Size size = Segment_Size_For(Capacity);
    if (Data.size() > static_cast<std::size_t>(size.Capacity) + 1) {
        throw Constraint_Error("data does not fit the segment");
    }
    UTF8_Code_Unit* address = Initialize(Capacity);
    if (!Data.empty()) {
        std::memcpy(address, Data.data(), Data.size());
    }
    return address;
}

// --- Life cycle -------------------------------------------------------------------------------

UTF8_Code_Unit_Count Capacity(const UTF8_String_Data& Self) noexcept {
    return Is_SSO(Self) ? SSO_Max_Size : Text_Storage(Self)->Capacity();
}

void Reference(UTF8_String_Data& Self) noexcept {
    if (Self.Has_Storage != 0) {
        Text_Storage(Self)->Reference();
    } else if (Self.Storage_Address != nullptr) {
        Self.Storage_Address = Self.Storage;
    }
}

void Unreference(UTF8_String_Data& Self) noexcept {
    if (Self.Has_Storage != 0) {
        Text_Storage(Self)->Unreference();
    }
    Self = UTF8_String_Data{};
}

void Adjust(UTF8_String_Data& Self) noexcept {
    if (Self.Has_Storage == 0) {
        Self.Storage_Address = Self.Storage;
    }
}

void Initialize(UTF8_String_Data& Self, UTF8_Code_Unit_Count Capacity) {
    Checked::In_Range(Capacity, 0, UTF8_Code_Unit_Count_Last, "capacity out of range");
    if (Capacity <= SSO_Max_Size) {
        Self = UTF8_String_Data{};
        Self.Storage_Address = Self.Storage;
        return;
    }
    // The segment is taken before Self is touched, so a failure leaves Self as it was.
    Heap_Storage storage;
    UTF8_Code_Unit* address = storage.Initialize(Capacity);
    address[0] = 0;
    Self = UTF8_String_Data{};
    Place_Storage(Self, storage);
    Self.Has_Storage = 1;
    Self.Storage_Address = address;
}

void Make_Mutable(UTF8_String_Data& Self, UTF8_Code_Unit_Count Required) {
    Checked::In_Range(Required, 0, UTF8_Code_Unit_Count_Last, "capacity out of range");
    if (Self.Has_Storage == 0) {
        if (Required <= SSO_Max_Size) {
            Self.Storage_Address = Self.Storage;
            return;
        }
        // Move to the heap: the 16 bytes of the in-place area (text and zero) go to a segment
        // of exactly Required code units. The segment exists before Storage is overwritten.
        Heap_Storage storage;
        UTF8_Code_Unit* address = storage.Initialize(UTF8_Code_Unit_Array(Self.Storage), Required);
        Place_Storage(Self, storage);
        Self.Has_Storage = 1;
        Self.Storage_Address = address;
        return;
    }
    Self.Storage_Address = Text_Storage(Self)->Mutate(Self.Storage_Address, Self.Size, Required);
}

// --- Text in and out --------------------------------------------------------------------------

namespace {

constexpr bool Is_Continuation(UTF8_Code_Unit Unit) noexcept {
    return (Unit & 0xC0) == 0x80;
}

// The validating state machine of From_UTF_8_String. It accepts exactly the well-formed
// sequences: 00..7F; C2..DF + one continuation; E0 + A0..BF + one; E1..EC, EE..EF + two;
// ED + 80..9F + one; F0 + 90..BF + two; F1..F3 + three; F4 + 80..8F + two (continuations
// 80..BF). States are numbered by multiples of 6 and the transition row of a byte packs, for
// every state S, the next state into the six bits at position S: one step is a table load that
// does not depend on the state and a shift that does, so the state chain costs one shift per
// byte. Only the low six bits of the state are meaningful.
namespace DFA {

constexpr std::uint64_t Accept = 0;
constexpr std::uint64_t Reject = 6;
constexpr std::uint64_t Continuation_1 = 12; // one continuation unit to go
constexpr std::uint64_t Continuation_2 = 18;
constexpr std::uint64_t Continuation_3 = 24;
constexpr std::uint64_t After_E0 = 30; // A0..BF, then one
constexpr std::uint64_t After_ED = 36; // 80..9F, then one
constexpr std::uint64_t After_F0 = 42; // 90..BF, then two
constexpr std::uint64_t After_F4 = 48; // 80..8F, then two

constexpr std::uint64_t Next(std::uint64_t State, unsigned Byte) noexcept {
    const auto in = [Byte](unsigned First, unsigned Last) { return Byte >= First && Byte <= Last; };
    switch (State) {
    case Accept:
        return in(0x00, 0x7F)   ? Accept
               : in(0xC2, 0xDF) ? Continuation_1
               : Byte == 0xE0   ? After_E0
               : Byte == 0xED   ? After_ED
               : in(0xE1, 0xEF) ? Continuation_2
               : Byte == 0xF0   ? After_F0
               : Byte == 0xF4   ? After_F4
               : in(0xF1, 0xF3) ? Continuation_3
                                : Reject;
    case Continuation_1:
        return in(0x80, 0xBF) ? Accept : Reject;
    case Continuation_2:
        return in(0x80, 0xBF) ? Continuation_1 : Reject;
    case Continuation_3:
        return in(0x80, 0xBF) ? Continuation_2 : Reject;
    case After_E0:
        return in(0xA0, 0xBF) ? Continuation_1 : Reject;
    case After_ED:
        return in(0x80, 0x9F) ? Continuation_1 : Reject;
    case After_F0:
        return in(0x90, 0xBF) ? Continuation_2 : Reject;
    case After_F4:
        return in(0x80, 0x8F) ? Continuation_2 : Reject;
    default:
        return Reject;
    }
}

constexpr std::array<std::uint64_t, 256> Build_Rows() noexcept {
    std::array<std::uint64_t, 256> rows{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        for (std::uint64_t state = Accept; state <= After_F4; state += 6) {
            rows[byte] |= Next(state, byte) << state;
        }
    }
    return rows;
}

constexpr std::array<std::uint64_t, 256> Rows = Build_Rows();

inline std::uint64_t Step(std::uint64_t State, UTF8_Code_Unit Byte) noexcept {
    return Rows[Byte] >> (State & 63);
}

} // namespace DFA

// Validates Source (N bytes) and copies it to Target in one pass. Returns the number of
// characters (the number of units that are not continuation units), or -1 when the bytes are
// not well-formed UTF-8. Blocks of 64 bytes are stored as they are; an all-ASCII block read in
// the accepting state is done with that, any other block runs through the state machine, with
// its all-ASCII 16-byte quarters skipped the same way.
[[gnu::always_inline]] inline std::int64_t Validate_And_Copy_Body(const UTF8_Code_Unit* Source,
                                                                  UTF8_Code_Unit* Target,
                                                                  std::size_t N) noexcept {
    std::uint64_t state = DFA::Accept;
    std::int64_t count = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i continuation_limit = _mm_set1_epi8(static_cast<char>(0xC0));
    while (N - i >= 64) {
        const auto* source = reinterpret_cast<const __m128i*>(Source + i);
        auto* target = reinterpret_cast<__m128i*>(Target + i);
        const __m128i v0 = _mm_loadu_si128(source);
        const __m128i v1 = _mm_loadu_si128(source + 1);
        const __m128i v2 = _mm_loadu_si128(source + 2);
        const __m128i v3 = _mm_loadu_si128(source + 3);
        _mm_storeu_si128(target, v0);
        _mm_storeu_si128(target + 1, v1);
        _mm_storeu_si128(target + 2, v2);
        _mm_storeu_si128(target + 3, v3);
        const __m128i all = _mm_or_si128(_mm_or_si128(v0, v1), _mm_or_si128(v2, v3));
        if (_mm_movemask_epi8(all) == 0 && (state & 63) == DFA::Accept) {
            i += 64;
            count += 64;
            continue;
        }
        const __m128i quarters[4] = {v0, v1, v2, v3};
        __m128i continuations = _mm_setzero_si128();
        for (int q = 0; q < 4; ++q) {
            if (_mm_movemask_epi8(quarters[q]) == 0 && (state & 63) == DFA::Accept) {
                continue;
            }
            const UTF8_Code_Unit* quarter = Source + i + 16 * static_cast<std::size_t>(q);
            for (int k = 0; k < 16; ++k) {
                state = DFA::Step(state, quarter[k]);
            }
            // Continuation units are 0x80 .. 0xBF, that is signed bytes below 0xC0 (-64). A
            // compare gives -1 per such unit; subtracting counts them per lane (at most 4).
            continuations =
                _mm_sub_epi8(continuations, _mm_cmplt_epi8(quarters[q], continuation_limit));
        }
        if ((state & 63) == DFA::Reject) {
            return -1;
        }
        const __m128i sums = _mm_sad_epu8(continuations, _mm_setzero_si128());
        const std::int64_t continuation_count =
            _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
        count += 64 - continuation_count;
        i += 64;
    }
#endif
    while (N - i >= 16) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, Source + i, 8);
        std::memcpy(&b, Source + i + 8, 8);
        std::memcpy(Target + i, &a, 8);
        std::memcpy(Target + i + 8, &b, 8);
        if (((a | b) & 0x8080'8080'8080'8080) == 0 && (state & 63) == DFA::Accept) {
            i += 16;
            count += 16;
            continue;
        }
        for (std::size_t k = i; k < i + 16; ++k) {
            state = DFA::Step(state, Source[k]);
            count += Is_Continuation(Source[k]) ? 0 : 1;
        }
        if ((state & 63) == DFA::Reject) {
            return -1;
        }
        i += 16;
    }
    for (; i < N; ++i) {
        Target[i] = Source[i];
        state = DFA::Step(state, Source[i]);
        count += Is_Continuation(Source[i]) ? 0 : 1;
    }
    // Ending inside a sequence is as ill-formed as a bad unit.
    return (state & 63) == DFA::Accept ? count : -1;
}

std::int64_t Validate_And_Copy_Baseline(const UTF8_Code_Unit* Source, UTF8_Code_Unit* Target,
                                        std::size_t N) noexcept {
    return Validate_And_Copy_Body(Source, Target, N);
}

#if defined(__x86_64__)
// The same compiled for processors with BMI2, whose shift by a register (SHRX) is one
// instruction without a flags dependency: it halves the cost of the state chain.
[[gnu::target("bmi2")]] std::int64_t Validate_And_Copy_BMI2(const UTF8_Code_Unit* Source,
                                                            UTF8_Code_Unit* Target,
                                                            std::size_t N) noexcept {
    return Validate_And_Copy_Body(Source, Target, N);
}

// Asked once at load; __builtin_cpu_init makes the answer valid whatever the order of static
// initialisation.
const bool has_bmi2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("bmi2") != 0;
}();
#endif

std::int64_t Validate_And_Copy(const UTF8_Code_Unit* Source, UTF8_Code_Unit* Target,
                               std::size_t N) noexcept {
#if defined(__x86_64__)
    if (has_bmi2) {
        return Validate_And_Copy_BMI2(Source, Target, N);
    }
#endif
    return Validate_And_Copy_Baseline(Source, Target, N);
}

} // namespace

bool From_UTF_8_String(UTF8_String_Data& Self, std::string_view Item) {
    if (Item.size() > static_cast<std::size_t>(UTF8_Code_Unit_Count_Last)) {
        Raise_Too_Long();
    }
    const auto size = static_cast<UTF8_Code_Unit_Count>(Item.size());
    Initialize(Self, size);
    const std::int64_t count = Validate_And_Copy(
        reinterpret_cast<const UTF8_Code_Unit*>(Item.data()), Self.Storage_Address, Item.size());
    if (count < 0) {
        Self.Storage_Address[0] = 0;
        return false;
    }
    if (count > Character_Count_Last) {
        Unreference(Self);
        Raise_Too_Long();
    }
    Self.Storage_Address[size] = 0;
    Self.Size = size;
    Self.Length = static_cast<Character_Count>(count);
    return true;
}

bool From_Wide_Wide_String(UTF8_String_Data& Self, std::u32string_view Item) {
    if (Item.size() > static_cast<std::size_t>(Character_Count_Last)) {
        Raise_Too_Long();
    }
    Initialize(Self, static_cast<UTF8_Code_Unit_Count>(Item.size()));
    try {
        // A first guess of one code unit per code point; more room is asked for as needed.
        UTF8_Code_Unit_Count capacity = Capacity(Self);
        for (const char32_t code : Item) {
            if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                Self.Size = 0;
                Self.Storage_Address[0] = 0;
                return false;
            }
            const UTF8_Code_Unit_Count size =
                Checked::Add(Self.Size, UTF8_Encoding::Encoded_Length(code));
            if (size > capacity) {
                Make_Mutable(Self, size);
                capacity = Capacity(Self);
            }
            UTF8_Encoding::Encode(code, Self.Storage_Address + Self.Size);
            Self.Size = size;
        }
    } catch (...) {
        Unreference(Self);
        throw;
    }
    Self.Storage_Address[Self.Size] = 0;
    Self.Length = static_cast<Character_Count>(Item.size());
    return true;
}

std::string To_UTF_8_String(const UTF8_String_Data& Self) {
    if (Self.Size == 0) {
        return {};
    }
    return std::string(To_String_View(Self));
}

// --- Positions --------------------------------------------------------------------------------

void Raise_Position_Out_Of_Range() {
    throw Constraint_Error("position out of range");
}

namespace {

// The position of character Index (0 .. Length + 1) with from-start offsets, found by a walk
// from the start.
Cursor Walk_To(const UTF8_String_Data& Self, Character_Count Index) {
    if (Index < 0 || Index > Checked::Add(Self.Length, 1)) {
        Raise_Position_Out_Of_Range();
    }
    Cursor position = Strings::Position_Before_First_Character;
    while (position.Index < Index) {
        Forward(Self, position);
    }
    return position;
}

} // namespace

Cursor Unchecked_Backward(const UTF8_String_Data& Self, const Cursor& Position) {
    const Character_Count index =
        Checked::In_Range(Checked::Subtract(Position.Index, 1), 0, Character_Count_Last,
                          "character index out of range");
    if (index == 0) {
        return {Checked::Subtract(Position.UTF8_Offset, 1),
                Checked::Subtract(Position.UTF16_Offset, 1), 0};
    }
    if (Position.UTF8_Offset < 1 || Position.UTF8_Offset > Self.Size) {
        Raise_Position_Out_Of_Range();
    }
    const UTF8_Code_Unit* text = Self.Storage_Address;
    UTF8_Code_Unit_Offset offset = Position.UTF8_Offset - 1;
    while (Is_Continuation(text[offset])) {
        if (offset == 0) {
            Raise_Position_Out_Of_Range();
        }
        --offset;
    }
    const UTF8_Code_Unit lead = text[offset];
    int utf16;
    if (lead < 0x80 || (lead >= 0xC2 && lead <= 0xEF)) {
        utf16 = 1;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        utf16 = 2;
    } else {
        UTF8_Encoding::Raise_String_Data_Corrupted();
    }
    return {offset, Checked::Subtract(Position.UTF16_Offset, utf16), index};
}

UTF16_Code_Unit_Offset First_UTF16_Offset(const UTF8_String_Data& Self, const Cursor& Position) {
    if (Position.UTF16_Offset >= 0) {
        return Position.UTF16_Offset;
    }
    const Cursor position = Walk_To(Self, Position.Index);
    return Checked::In_Range(position.UTF16_Offset, 0, 0x7FFF'FFFF, "UTF-16 offset out of range");
}

UTF16_Code_Unit_Offset Last_UTF16_Offset(const UTF8_String_Data& Self, const Cursor& Position) {
    Cursor position = Position.UTF16_Offset >= 0 ? Position : Walk_To(Self, Position.Index);
    Forward(Self, position);
    return Checked::Subtract(position.UTF16_Offset, 1);
}

UTF8_Code_Unit_Offset Last_UTF8_Offset(const UTF8_String_Data& Self, const Cursor& Position) {
    Cursor position = Position;
    Forward(Self, position);
    return Checked::Subtract(position.UTF8_Offset, 1);
}

Cursor_Offset Compute_Size(const UTF8_String_Data& Self, const Cursor& From, const Cursor& To) {
    if (Self.Size == 0 || From.Index > To.Index) {
        return {};
    }
    // Limit the span to the characters of the text.
    Cursor first = From.Index < 1 ? Cursor{0, 0, 1} : From;
    Cursor last = To;
    bool last_known = last.UTF8_Offset >= 0 && last.UTF16_Offset >= 0;
    if (last.Index > Self.Length) {
        last.Index = Self.Length;
        last_known = false;
    }
    if (first.Index > last.Index) {
        return {};
    }
    if (first.UTF8_Offset < 0 || first.UTF16_Offset < 0) {
        first = Walk_To(Self, first.Index);
    }
    if (!last_known) {
        const Character_Count index = last.Index;
        last = first;
        while (last.Index < index) {
            Forward(Self, last);
        }
    }
    Cursor after = last;
    Forward(Self, after);
    return {Checked::Subtract(after.UTF8_Offset, first.UTF8_Offset),
            Checked::Subtract(after.UTF16_Offset, first.UTF16_Offset),
            Checked::Subtract(after.Index, first.Index)};
}

// --- Comparison and hashing -------------------------------------------------------------------

namespace {

// memcmp of the first Count code units of both texts (Count may be 0, data may be null).
int Compare_Prefix(const UTF8_Code_Unit* Left, const UTF8_Code_Unit* Right,
                   UTF8_Code_Unit_Count Count) noexcept {
    return Count == 0 ? 0 : std::memcmp(Left, Right, static_cast<std::size_t>(Count));
}

} // namespace

bool Is_Equal(const UTF8_String_Data& Left, const UTF8_String_Data& Right) noexcept {
    return Left.Size == Right.Size &&
           Compare_Prefix(Left.Storage_Address, Right.Storage_Address, Left.Size) == 0;
}

bool Is_Less(const UTF8_String_Data& Left, const UTF8_String_Data& Right) noexcept {
    if (Left.Size == 0) {
        return Right.Size != 0;
    }
    if (Right.Size == 0) {
        return false;
    }
    const int result = Compare_Prefix(Left.Storage_Address, Right.Storage_Address,
                                      std::min(Left.Size, Right.Size));
    return result < 0 || (result == 0 && Left.Size < Right.Size);
}

bool Is_Less_Or_Equal(const UTF8_String_Data& Left, const UTF8_String_Data& Right) noexcept {
    if (Left.Size == 0) {
        return true;
    }
    if (Right.Size == 0) {
        return false;
    }
    const int result = Compare_Prefix(Left.Storage_Address, Right.Storage_Address,
                                      std::min(Left.Size, Right.Size));
    return result < 0 || (result == 0 && Left.Size <= Right.Size);
}

bool Starts_With(const UTF8_String_Data& Self, const UTF8_String_Data& Prefix) noexcept {
    if (Prefix.Size == 0) {
        return true;
    }
    if (Prefix.Size > Self.Size) {
        return false;
    }
    return Compare_Prefix(Self.Storage_Address, Prefix.Storage_Address, Prefix.Size) == 0;
}

bool Starts_With(const UTF8_String_Data& Self, Virtual_Character Character) {
    if (Self.Size == 0) {
        return false;
    }
    UTF8_Code_Unit_Offset offset = 0;
    return Unchecked_Decode_Forward(Self, offset) == Character;
}

bool Ends_With(const UTF8_String_Data& Self, const UTF8_String_Data& Suffix) noexcept {
    if (Suffix.Size == 0) {
        return true;
    }
    if (Suffix.Size > Self.Size) {
        return false;
    }
    return Compare_Prefix(Self.Storage_Address + (Self.Size - Suffix.Size), Suffix.Storage_Address,
                          Suffix.Size) == 0;
}

bool Ends_With(const UTF8_String_Data& Self, Virtual_Character Character) {
    if (Self.Size == 0) {
        return false;
    }
    UTF8_Code_Unit_Offset offset = Self.Size;
    return Unchecked_Backward_Decode(Self, offset) == Character;
}

void Hash(const UTF8_String_Data& Self, FNV_Hash::FNV_1a_Generator& Generator) {
    const UTF8_Code_Unit_Array text = Code_Units(Self);
    UTF8_Code_Unit_Offset offset = 0;
    while (offset < Self.Size) {
        const UTF8_Code_Unit unit = text[static_cast<std::size_t>(offset)];
        if (unit < 0x80) {
            Generator.Hash(std::uint32_t{unit});
            ++offset;
        } else {
            Generator.Hash(std::uint32_t{UTF8_Encoding::Unchecked_Decode_Forward(text, offset)});
        }
    }
}

// --- Cutting ----------------------------------------------------------------------------------

void Slice(const UTF8_String_Data& Self, const Cursor& From, const Cursor& To,
           UTF8_String_Data& Target) {
    // Built aside and moved in, so that Target may be Self (whose old text is then let go of).
    UTF8_String_Data result;
    const Cursor first = From.Index < 1 ? Cursor{0, 0, 1} : From;
    if (To.Index < From.Index) {
        // No span: null data.
    } else if (first.Index > Self.Length) {
        // Both ends after the last character: no character between them.
        Initialize(result, 0);
    } else {
        UTF8_Code_Unit_Offset end;
        Character_Count count;
        if (To.Index <= Self.Length) {
            Cursor after = To;
            Forward(Self, after);
            end = after.UTF8_Offset;
            count = To.Index + 1 - first.Index;
        } else {
            end = Self.Size;
            count = Self.Length + 1 - first.Index;
        }
        if (first.UTF8_Offset < 0 || first.UTF8_Offset > end || end > Self.Size || count < 0) {
            Raise_Position_Out_Of_Range();
        }
        const UTF8_Code_Unit_Count size = end - first.UTF8_Offset;
        Initialize(result, size);
        if (size > 0) {
            std::memcpy(result.Storage_Address, Self.Storage_Address + first.UTF8_Offset,
                        static_cast<std::size_t>(size));
        }
        result.Storage_Address[size] = 0;
        result.Size = size;
        result.Length = count;
    }
    if (&Target == &Self) {
        Unreference(Target);
    }
    Target = result;
    if (!Is_Null(result)) {
        Adjust(Target);
    }
}

} // namespace Qorvi::Implementation::UTF8_Strings
