// Attachment of cursors, markers and iterators to the string they point into.
//
// Every string keeps two intrusive doubly linked lists of the objects that refer into it: one
// of copyable referrers (cursors and markers) and one of non-copyable referrers (iterators).
// After each edit the string tells every referrer what changed; when the string is destroyed
// or assigned to, every referrer is invalidated and detached. The lists own nothing: referrers
// live wherever their users put them and unlink themselves when destroyed.
#pragma once

#include <qorvi/strings/implementation-strings.hpp>

namespace Qorvi::Strings {
class Virtual_String;
} // namespace Qorvi::Strings

namespace Qorvi::Implementation::Referrers {

using Qorvi::Implementation::Strings::Cursor;
using Qorvi::Implementation::Strings::Cursor_Offset;

class Magic_String_Base;
class Referal_Base;
class Referal_Limited_Base;
template <typename Referrer>
struct List_Of;

using Magic_String_Access = Magic_String_Base*;
using Virtual_String_Access = Qorvi::Strings::Virtual_String*;

// Base of Virtual_String: the heads of the two referrer lists.
//
// A copy starts with both lists empty (the referrers stay with the source). Destruction and
// assignment invalidate and detach every attached referrer: copyable ones first, then the
// non-copyable ones.
class QORVI_API Magic_String_Base {
public:
    Magic_String_Base(const Magic_String_Base&) noexcept {}
    Magic_String_Base& operator=(const Magic_String_Base& Source) noexcept {
        if (this != &Source && Has_Referrers()) {
            Emancipate_Referrers();
        }
        return *this;
    }
    virtual ~Magic_String_Base() {
        if (Has_Referrers()) {
            Emancipate_Referrers();
        }
    }

protected:
    Magic_String_Base() noexcept = default;

    // Invalidates and detaches every attached referrer: cursors and markers, then iterators.
    void Emancipate_Referrers() noexcept;
    // Whether anything is attached (two pointer tests: strings without referrers pay nothing
    // more on copy, assignment and destruction).
    bool Has_Referrers() const noexcept {
        return First_Limited != nullptr || First_Referal != nullptr;
    }

private:
    template <typename Referrer>
    friend struct List_Of;

    // The lists are bookkeeping, not part of the string's value: iterators attach to strings
    // that their users can only read, so the heads can change through a const string.
    mutable Referal_Limited_Base* First_Limited = nullptr;
    mutable Referal_Limited_Base* Last_Limited = nullptr;
    mutable Referal_Base* First_Referal = nullptr;
    mutable Referal_Base* Last_Referal = nullptr;
};

// Base of the copyable referrers (cursors and markers). A copy of an attached referrer is
// attached to the same string, at the end of its list.
class QORVI_API Referal_Base {
public:
    Referal_Base(const Referal_Base& Source) noexcept;
    Referal_Base& operator=(const Referal_Base& Source) noexcept;
    // Detaches an attached referrer. (Its position dies with it, so there is nothing to
    // invalidate: a virtual call from here could not reach the derived class anyway.)
    virtual ~Referal_Base();

    // Resets the stored position(s) to the invalid cursor. Must not touch the links.
    virtual void Invalidate() noexcept = 0;
    // The owner's text has just changed: Removed is the extent removed at Start (in the text
    // before the change), Inserted the extent inserted there. May call Disconnect.
    virtual void String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                                 const Cursor_Offset& Inserted) = 0;

    // The owner, or null when detached.
    Magic_String_Access Owner() const noexcept { return Owner_Access; }

protected:
    Referal_Base() noexcept = default;

private:
    template <typename Referrer>
    friend struct List_Of;

    Magic_String_Access Owner_Access = nullptr;
    Referal_Base* Next = nullptr;
    Referal_Base* Previous = nullptr;
};

// Base of the non-copyable referrers (iterators).
class QORVI_API Referal_Limited_Base {
public:
    Referal_Limited_Base(const Referal_Limited_Base&) = delete;
    Referal_Limited_Base& operator=(const Referal_Limited_Base&) = delete;
    Referal_Limited_Base(Referal_Limited_Base&&) = delete;
    Referal_Limited_Base& operator=(Referal_Limited_Base&&) = delete;
    virtual ~Referal_Limited_Base();

    virtual void Invalidate() noexcept = 0;
    virtual void String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                                 const Cursor_Offset& Inserted) = 0;

    Magic_String_Access Owner() const noexcept { return Owner_Access; }

protected:
    Referal_Limited_Base() noexcept = default;

private:
    template <typename Referrer>
    friend struct List_Of;

    Magic_String_Access Owner_Access = nullptr;
    Referal_Limited_Base* Next = nullptr;
    Referal_Limited_Base* Previous = nullptr;
};

// Appends Self (which must be detached) at the end of Owner's list of its kind.
QORVI_API void Connect(Referal_Base& Self, Magic_String_Access Owner);
QORVI_API void Connect(Referal_Limited_Base& Self, Magic_String_Access Owner);

// Unlinks Self from its owner's list and clears its links; a detached Self is left alone.
QORVI_API void Disconnect(Referal_Base& Self) noexcept;
QORVI_API void Disconnect(Referal_Limited_Base& Self) noexcept;

// Binds an iterator to Owner: nothing when Owner is already its owner (it keeps its place),
// otherwise it is detached and, for a non-null Owner, attached at the end of Owner's list.
QORVI_API void Reconnect(Referal_Limited_Base& Self, Magic_String_Access Owner);

// The owner seen as a Virtual_String, or null when detached. Constraint_Error if the owner is
// not a Virtual_String.
QORVI_API Virtual_String_Access Get_Owner(const Referal_Base& Self);
QORVI_API Virtual_String_Access Get_Owner(const Referal_Limited_Base& Self);

// Tells every attached referrer about an edit: the iterators first, then the cursors and
// markers, each list from the earliest attached. Every referrer is told even when some throw;
// the first exception is raised again afterwards.
QORVI_API void Notify_String_Modified(Magic_String_Base& Self, const Cursor& Start,
                                      const Cursor_Offset& Removed, const Cursor_Offset& Inserted);

} // namespace Qorvi::Implementation::Referrers
