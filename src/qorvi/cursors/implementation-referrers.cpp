#include <exception>
#include <qorvi/cursors/implementation-referrers.hpp>
#include <qorvi/strings/strings.hpp>
#include <type_traits>

namespace Qorvi::Implementation::Referrers {

// The list operations are the same for both kinds of referrer. The owner keeps one list per
// kind; this template holds the operations once and picks the list heads by kind.
template <typename Referrer>
struct List_Of {
    static Referrer*& First(Magic_String_Base& owner) {
        if constexpr (std::is_same_v<Referrer, Referal_Base>) {
            return owner.First_Referal;
        } else {
            return owner.First_Limited;
        }
    }

    static Referrer*& Last(Magic_String_Base& owner) {
        if constexpr (std::is_same_v<Referrer, Referal_Base>) {
            return owner.Last_Referal;
        } else {
            return owner.Last_Limited;
        }
    }

    static void Connect(Referrer& self, Magic_String_Access owner) {
        if (owner == nullptr) {
            throw Constraint_Error("referrer connected to no string");
        }
        Referrer*& first = First(*owner);
        Referrer*& last = Last(*owner);
        if (first != nullptr && last == nullptr) {
            throw Constraint_Error("referrer list is inconsistent");
        }
        self.Owner_Access = owner;
        self.Previous = last;
        self.Next = nullptr;
        if (last == nullptr) {
            first = &self;
        } else {
            last->Next = &self;
        }
        last = &self;
    }

    static void Disconnect(Referrer& self) noexcept {
        Magic_String_Access owner = self.Owner_Access;
        if (owner == nullptr) {
            return;
        }
        Referrer*& first = First(*owner);
        Referrer*& last = Last(*owner);
        if (first == &self) {
            first = self.Next;
        }
        if (last == &self) {
            last = self.Previous;
        }
        if (self.Previous != nullptr) {
            self.Previous->Next = self.Next;
        }
        if (self.Next != nullptr) {
            self.Next->Previous = self.Previous;
        }
        self.Owner_Access = nullptr;
        self.Next = nullptr;
        self.Previous = nullptr;
    }

    static void Emancipate(Magic_String_Base& owner) noexcept {
        Referrer*& first = First(owner);
        while (first != nullptr) {
            Referrer* item = first;
            item->Invalidate();
            Disconnect(*item);
        }
    }

    static void Notify(Magic_String_Base& owner, const Cursor& start, const Cursor_Offset& removed,
                       const Cursor_Offset& inserted, std::exception_ptr& failure) noexcept {
        Referrer* item = First(owner);
        while (item != nullptr) {
            // Read the link first: the element may detach itself during the call.
            Referrer* next = item->Next;
            try {
                item->String_Modified(start, removed, inserted);
            } catch (...) {
                if (!failure) {
                    failure = std::current_exception();
                }
            }
            item = next;
        }
    }

    static Virtual_String_Access Get_Owner(const Referrer& self) {
        if (self.Owner_Access == nullptr) {
            return nullptr;
        }
        auto* result = dynamic_cast<Qorvi::Strings::Virtual_String*>(self.Owner_Access);
        if (result == nullptr) {
            throw Constraint_Error("referrer owner is not a Virtual_String");
        }
        return result;
    }
};

using Referals = List_Of<Referal_Base>;
using Limited_Referals = List_Of<Referal_Limited_Base>;

// Magic_String_Base

void Magic_String_Base::Emancipate_Referrers() noexcept {
    Referals::Emancipate(*this);
    Limited_Referals::Emancipate(*this);
}

// Referal_Base

Referal_Base::Referal_Base(const Referal_Base& Source) noexcept {
    if (Source.Owner_Access != nullptr) {
        Referals::Connect(*this, Source.Owner_Access);
    }
}

Referal_Base& Referal_Base::operator=(const Referal_Base& Source) noexcept {
    if (this != &Source) {
        if (Owner_Access != nullptr) {
            Invalidate();
            Referals::Disconnect(*this);
        }
        if (Source.Owner_Access != nullptr) {
            Referals::Connect(*this, Source.Owner_Access);
        }
    }
    return *this;
}

Referal_Base::~Referal_Base() {
    Referals::Disconnect(*this);
}

// Referal_Limited_Base

Referal_Limited_Base::~Referal_Limited_Base() {
    Limited_Referals::Disconnect(*this);
}

// List operations

void Connect(Referal_Base& Self, Magic_String_Access Owner) {
    Referals::Connect(Self, Owner);
}
void Connect(Referal_Limited_Base& Self, Magic_String_Access Owner) {
    Limited_Referals::Connect(Self, Owner);
}

void Disconnect(Referal_Base& Self) noexcept {
    Referals::Disconnect(Self);
}
void Disconnect(Referal_Limited_Base& Self) noexcept {
    Limited_Referals::Disconnect(Self);
}

void Reconnect(Referal_Limited_Base& Self, Magic_String_Access Owner) {
    if (Owner == Self.Owner()) {
        return;
    }
    Limited_Referals::Disconnect(Self);
    if (Owner != nullptr) {
        Limited_Referals::Connect(Self, Owner);
    }
}

Virtual_String_Access Get_Owner(const Referal_Base& Self) {
    return Referals::Get_Owner(Self);
}
Virtual_String_Access Get_Owner(const Referal_Limited_Base& Self) {
    return Limited_Referals::Get_Owner(Self);
}

void Notify_String_Modified(Magic_String_Base& Self, const Cursor& Start,
                            const Cursor_Offset& Removed, const Cursor_Offset& Inserted) {
    std::exception_ptr failure;
    Limited_Referals::Notify(Self, Start, Removed, Inserted, failure);
    Referals::Notify(Self, Start, Removed, Inserted, failure);
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace Qorvi::Implementation::Referrers
