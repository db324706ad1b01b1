#include <gtest/gtest.h>
#include <qorvi/cursors/implementation-referrers.hpp>
#include <qorvi/strings/strings.hpp>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace Qorvi::Implementation::Referrers;
using Qorvi::Strings::Virtual_String;

// Every call a referrer gets is written to one shared journal, so that tests see the order in
// which referrers are told.
struct Journal {
    std::vector<std::string> entries;
};

template <typename Base>
class Recorder : public Base {
public:
    Recorder(Journal& into, std::string called) : journal(&into), name(std::move(called)) {}

    void Invalidate() noexcept override {
        valid = false;
        journal->entries.push_back(name + ":invalidate");
    }

    void String_Modified(const Cursor&, const Cursor_Offset& Removed,
                         const Cursor_Offset& Inserted) override {
        journal->entries.push_back(name + ":modified " + std::to_string(Removed.Index_Offset) +
                                   "/" + std::to_string(Inserted.Index_Offset));
        if (detach_when_told) {
            Disconnect(*this);
        }
        if (!throw_when_told.empty()) {
            throw std::runtime_error(throw_when_told);
        }
    }

    Journal* journal;
    std::string name;
    bool valid = true;
    bool detach_when_told = false;
    std::string throw_when_told;
};

using Marker = Recorder<Referal_Base>;
using Iterator = Recorder<Referal_Limited_Base>;

void notify(Virtual_String& s) {
    Notify_String_Modified(s, Cursor{0, 0, 1}, Cursor_Offset{}, Cursor_Offset{1, 1, 1});
}

TEST(Referrers, IteratorsAreToldFirstThenMarkersInAttachOrder) {
    Journal journal;
    Virtual_String s = "abc";
    Marker m1(journal, "m1"), m2(journal, "m2");
    Iterator i1(journal, "i1");
    Connect(m1, &s);
    Connect(m2, &s);
    Connect(i1, &s);
    notify(s);
    EXPECT_EQ(journal.entries,
              (std::vector<std::string>{"i1:modified 0/1", "m1:modified 0/1", "m2:modified 0/1"}));
    EXPECT_EQ(Get_Owner(m1), &s);
    EXPECT_EQ(Get_Owner(i1), &s);
}

TEST(Referrers, DisconnectFromMiddleFirstAndLast) {
    Journal journal;
    Virtual_String s = "abc";
    Marker a(journal, "a"), b(journal, "b"), c(journal, "c");
    for (Marker* m : {&a, &b, &c}) {
        Connect(*m, &s);
    }
    Disconnect(b);
    Disconnect(b); // detached: nothing happens
    EXPECT_EQ(b.Owner(), nullptr);
    Disconnect(a);
    notify(s);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"c:modified 0/1"}));
    Disconnect(c);
    journal.entries.clear();
    Connect(b, &s); // the list is empty again and takes new elements
    notify(s);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"b:modified 0/1"}));
}

TEST(Referrers, CopyOfMarkerAttachesAtTheEndOfTheSameString) {
    Journal journal;
    Virtual_String s = "abc";
    Marker first(journal, "first"), second(journal, "second");
    Connect(first, &s);
    Connect(second, &s);
    Marker copy = first; // copies the name too
    copy.name = "copy";
    EXPECT_EQ(copy.Owner(), &s);
    notify(s);
    EXPECT_EQ(journal.entries,
              (std::vector<std::string>{"first:modified 0/1", "second:modified 0/1",
                                        "copy:modified 0/1"}));
}

TEST(Referrers, AssigningMarkerDetachesItFromItsStringFirst) {
    Journal journal;
    Virtual_String s = "abc", t = "def";
    Marker on_s(journal, "on_s"), on_t(journal, "on_t");
    Connect(on_s, &s);
    Connect(on_t, &t);
    on_s = on_t;
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"on_s:invalidate"}));
    EXPECT_EQ(on_s.Owner(), &t);
    journal.entries.clear();
    notify(s);
    EXPECT_TRUE(journal.entries.empty());
    const Marker& same = on_s;
    on_s = same; // self-assignment changes nothing
    EXPECT_EQ(on_s.Owner(), &t);
}

TEST(Referrers, StringDestructionInvalidatesMarkersThenIterators) {
    Journal journal;
    Marker m(journal, "m");
    Iterator i(journal, "i");
    {
        Virtual_String s = "abc";
        Connect(i, &s);
        Connect(m, &s);
    }
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"m:invalidate", "i:invalidate"}));
    EXPECT_EQ(m.Owner(), nullptr);
    EXPECT_EQ(i.Owner(), nullptr);
    EXPECT_EQ(Get_Owner(m), nullptr);
}

TEST(Referrers, StringAssignmentDetachesTargetsReferrersOnly) {
    Journal journal;
    Virtual_String target = "target", source = "source";
    Marker on_target(journal, "on_target"), on_source(journal, "on_source");
    Connect(on_target, &target);
    Connect(on_source, &source);
    target = source;
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"on_target:invalidate"}));
    EXPECT_EQ(on_target.Owner(), nullptr);
    EXPECT_EQ(on_source.Owner(), &source);
    journal.entries.clear();
    const Virtual_String& same = target;
    target = same;
    EXPECT_TRUE(journal.entries.empty());
}

TEST(Referrers, StringCopyCarriesNoReferrers) {
    Journal journal;
    Virtual_String s = "abc";
    Marker m(journal, "m");
    Connect(m, &s);
    Virtual_String copy = s;
    notify(copy);
    EXPECT_TRUE(journal.entries.empty());
    notify(s);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"m:modified 0/1"}));
}

TEST(Referrers, ClearAndMoveTellNoReferrer) {
    Journal journal;
    Virtual_String s = "a text long enough to be stored on the heap";
    Marker m(journal, "m");
    Connect(m, &s);
    s.Clear();
    EXPECT_TRUE(s.Is_Null());
    Virtual_String taken = std::move(s);
    EXPECT_TRUE(journal.entries.empty());
    EXPECT_EQ(m.Owner(), &s); // still attached to the (now null) string, not to the new one
    notify(taken);
    EXPECT_TRUE(journal.entries.empty());
}

TEST(Referrers, ReferrerDetachingItselfDoesNotStopTheWalk) {
    Journal journal;
    Virtual_String s = "abc";
    Marker a(journal, "a"), b(journal, "b");
    Connect(a, &s);
    Connect(b, &s);
    a.detach_when_told = true;
    notify(s);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"a:modified 0/1", "b:modified 0/1"}));
    EXPECT_EQ(a.Owner(), nullptr);
}

TEST(Referrers, EveryReferrerIsToldAndTheFirstExceptionIsRaised) {
    Journal journal;
    Virtual_String s = "abc";
    Iterator i(journal, "i");
    Marker m1(journal, "m1"), m2(journal, "m2");
    Connect(i, &s);
    Connect(m1, &s);
    Connect(m2, &s);
    i.throw_when_told = "first";
    m1.throw_when_told = "second";
    try {
        notify(s);
        FAIL() << "the first exception must reach the caller";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "first");
    }
    EXPECT_EQ(journal.entries,
              (std::vector<std::string>{"i:modified 0/1", "m1:modified 0/1", "m2:modified 0/1"}));
}

TEST(Referrers, ReconnectKeepsPlaceOrMovesOrDetaches) {
    Journal journal;
    Virtual_String s = "abc", t = "def";
    Iterator a(journal, "a"), b(journal, "b");
    Reconnect(a, &s);
    Reconnect(b, &s);
    Reconnect(a, &s); // same owner: keeps its place before b
    notify(s);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"a:modified 0/1", "b:modified 0/1"}));
    Reconnect(a, &t);
    EXPECT_EQ(a.Owner(), &t);
    Reconnect(a, nullptr);
    EXPECT_EQ(a.Owner(), nullptr);
    EXPECT_THROW(Connect(a, nullptr), Qorvi::Constraint_Error);
}

TEST(Referrers, DestroyedReferrerUnlinksItself) {
    Journal journal;
    Virtual_String s = "abc";
    Marker keep(journal, "keep");
    {
        Marker gone(journal, "gone");
        Iterator gone_too(journal, "gone_too");
        Connect(gone, &s);
        Connect(gone_too, &s);
        Connect(keep, &s);
    }
    notify(s);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"keep:modified 0/1"}));
}

} // namespace
