#include <atomic>
#include <cstring>
#include <new>
#include <qorvi/implementation-checked.hpp>
#include <qorvi/strings/implementation-string_vectors.hpp>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>

namespace Qorvi::Implementation::String_Vectors {

namespace UTF8 = UTF8_Strings;

namespace {

// The header is padded so that the slots that follow it are aligned for string data.
constexpr std::size_t header_size =
    (sizeof(String_Vector_Data) + alignof(UTF8_String_Data) - 1) & ~(alignof(UTF8_String_Data) - 1);

std::atomic_ref<std::int32_t> counter_of(String_Vector_Data* block) noexcept {
    return std::atomic_ref<std::int32_t>(block->Counter);
}

bool is_shared(String_Vector_Data* block) noexcept {
    return counter_of(block).load(std::memory_order_acquire) != 1;
}

String_Vector_Data* allocate(std::int32_t capacity) {
    const std::size_t bytes =
        header_size + static_cast<std::size_t>(capacity) * sizeof(UTF8_String_Data);
    auto* block = static_cast<String_Vector_Data*>(::operator new(bytes));
    block->Capacity = capacity;
    block->Counter = 1;
    block->Last = 0;
    UTF8_String_Data* slots = block->Slots();
    for (std::int32_t i = 0; i < capacity; ++i) {
        new (&slots[i]) UTF8_String_Data();
    }
    return block;
}

// In-place text points into its own record: after a record was moved bitwise, point it at its
// new place (null data stays null).
void repoint(UTF8_String_Data& data) noexcept {
    if (UTF8::Is_SSO(data) && !UTF8::Is_Null(data)) {
        data.Storage_Address = data.Storage;
    }
}

// Moves count records bitwise from source to target (the ranges may overlap).
void move_slots(UTF8_String_Data* target, UTF8_String_Data* source, std::int32_t count) noexcept {
    if (count <= 0) {
        return;
    }
    std::memmove(static_cast<void*>(target), source,
                 static_cast<std::size_t>(count) * sizeof(UTF8_String_Data));
    for (std::int32_t i = 0; i < count; ++i) {
        repoint(target[i]);
    }
}

// A second holder of item's text, to be stored into a slot with place().
UTF8_String_Data share(const UTF8_String_Data& item) noexcept {
    UTF8_String_Data copy = item;
    UTF8::Reference(copy);
    return copy;
}

void place(UTF8_String_Data& slot, UTF8_String_Data& data) noexcept {
    std::memcpy(static_cast<void*>(&slot), &data, sizeof slot);
    repoint(slot);
    data = UTF8::Default_UTF8_String_Data;
}

// The one growth and unsharing rule: keeps an unshared block with room for size elements,
// otherwise takes a block of size + reserve slots and moves (unshared) or shares (shared) the
// elements into it.
String_Vector_Data* mutate(String_Vector_Data* block, std::int32_t size, std::int32_t reserve) {
    if (block != nullptr && !is_shared(block) && block->Capacity >= size) {
        return block;
    }
    String_Vector_Data* grown = allocate(Checked::Add(size, reserve));
    if (block != nullptr) {
        grown->Last = block->Last;
        move_slots(grown->Slots(), block->Slots(), block->Last);
        if (!is_shared(block)) {
            ::operator delete(block); // the elements were moved, not copied
        } else {
            for (std::int32_t i = 1; i <= grown->Last; ++i) {
                UTF8::Reference(grown->Element(i));
            }
            Unreference(block);
        }
    }
    return grown;
}

String_Vector_Data* append_owned(String_Vector_Data* block, UTF8_String_Data& data) {
    const std::int32_t length = block == nullptr ? 0 : block->Last;
    try {
        block = mutate(block, Checked::Add(length, 1), length / 2);
    } catch (...) {
        UTF8::Unreference(data);
        throw;
    }
    block->Last += 1;
    place(block->Element(block->Last), data);
    return block;
}

} // namespace

UTF8_String_Data* String_Vector_Data::Slots() noexcept {
    return std::launder(
        reinterpret_cast<UTF8_String_Data*>(reinterpret_cast<unsigned char*>(this) + header_size));
}

const UTF8_String_Data* String_Vector_Data::Slots() const noexcept {
    return std::launder(reinterpret_cast<const UTF8_String_Data*>(
        reinterpret_cast<const unsigned char*>(this) + header_size));
}

String_Vector_Data* Reference(String_Vector_Data* Block) noexcept {
    if (Block != nullptr) {
        counter_of(Block).fetch_add(1, std::memory_order_relaxed);
    }
    return Block;
}

String_Vector_Data* Unreference(String_Vector_Data* Block) noexcept {
    if (Block != nullptr && counter_of(Block).fetch_sub(1, std::memory_order_acq_rel) == 1) {
        for (std::int32_t i = 1; i <= Block->Last; ++i) {
            UTF8::Unreference(Block->Element(i));
        }
        ::operator delete(Block);
    }
    return nullptr;
}

String_Vector_Data* Append(String_Vector_Data* Block, const UTF8_String_Data& Item) {
    // Share Item before the block may move: Item may be one of its elements.
    UTF8_String_Data copy = share(Item);
    return append_owned(Block, copy);
}

String_Vector_Data* Append_And_Move_Ownership(String_Vector_Data* Block, UTF8_String_Data& Item) {
    UTF8_String_Data moved;
    place(moved, Item);
    return append_owned(Block, moved);
}

String_Vector_Data* Prepend(String_Vector_Data* Block, const UTF8_String_Data& Item) {
    UTF8_String_Data copy = share(Item);
    const std::int32_t length = Block == nullptr ? 0 : Block->Last;
    try {
        Block = mutate(Block, Checked::Add(length, 1), length / 2);
    } catch (...) {
        UTF8::Unreference(copy);
        throw;
    }
    move_slots(Block->Slots() + 1, Block->Slots(), Block->Last);
    Block->Last += 1;
    place(Block->Element(1), copy);
    return Block;
}

String_Vector_Data* Delete(String_Vector_Data* Block, std::int32_t Index) {
    if (Index < 1) {
        throw Constraint_Error("string vector index below 1");
    }
    if (Block == nullptr || Index > Block->Last) {
        return Block;
    }
    Block = mutate(Block, Block->Last, 0);
    UTF8::Unreference(Block->Element(Index));
    move_slots(&Block->Element(Index), &Block->Element(Index) + 1, Block->Last - Index);
    Block->Element(Block->Last) = UTF8::Default_UTF8_String_Data;
    Block->Last -= 1;
    return Block;
}

String_Vector_Data* Replace(String_Vector_Data* Block, std::int32_t Index,
                            const UTF8_String_Data& Item) {
    if (Index < 1) {
        throw Constraint_Error("string vector index below 1");
    }
    if (Block == nullptr || Index > Block->Last) {
        return Block;
    }
    UTF8_String_Data copy = share(Item);
    try {
        Block = mutate(Block, Block->Last, 0);
    } catch (...) {
        UTF8::Unreference(copy);
        throw;
    }
    UTF8::Unreference(Block->Element(Index));
    place(Block->Element(Index), copy);
    return Block;
}

bool Contains(const String_Vector_Data* Block, const UTF8_String_Data& Item) noexcept {
    if (Block == nullptr) {
        return false;
    }
    for (std::int32_t i = 1; i <= Block->Last; ++i) {
        if (UTF8::Is_Equal(Block->Element(i), Item)) {
            return true;
        }
    }
    return false;
}

void Join_Lines(const String_Vector_Data* Block, UTF8_String_Data& Result,
                Qorvi::Strings::Line_Terminator Terminator, bool Terminate) {
    using Qorvi::Strings::Line_Terminator;
    if (Block == nullptr) {
        return;
    }
    static constexpr Virtual_Character code_points[] = {0x0D, 0x0A, 0x0D,   0x85,
                                                        0x0B, 0x0C, 0x2028, 0x2029};
    const auto member = static_cast<unsigned>(Terminator);
    if (member >= std::size(code_points)) {
        throw Constraint_Error("not a line terminator");
    }
    UTF8::Cursor_Offset ignored;
    for (std::int32_t i = 1; i <= Block->Last; ++i) {
        UTF8::Mutable_Operations::Append(Result, Block->Element(i), ignored);
        if (i < Block->Last || Terminate) {
            UTF8::Mutable_Operations::Append(Result, code_points[member]);
            if (Terminator == Line_Terminator::CRLF) {
                UTF8::Mutable_Operations::Append(Result, 0x0A);
            }
        }
    }
}

} // namespace Qorvi::Implementation::String_Vectors
