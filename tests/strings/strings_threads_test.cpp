// Copies that share one segment are copied, edited and destroyed on several threads at once.
// Meant to run under ThreadSanitizer (scripts/sanitize thread); it also checks the results.
#include <gtest/gtest.h>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/strings.hpp>
#include <thread>
#include <vector>

namespace {

using Qorvi::Strings::Virtual_String;
namespace UTF8 = Qorvi::Implementation::UTF8_Strings;

TEST(Virtual_String_Threads, SharedSegmentCopiedEditedAndReleasedConcurrently) {
    const std::string text(200, 'a');
    const auto before = UTF8::Allocated_Segments();
    {
        const Virtual_String shared(text);
        constexpr int threads = 4;
        constexpr int rounds = 2000;
        std::vector<std::thread> workers;
        std::vector<int> failures(threads, 0);
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                for (int round = 0; round < rounds; ++round) {
                    Virtual_String copy = shared; // shares the segment
                    Virtual_String second = copy;
                    // Editing a copy must give it a private segment and leave the others alone.
                    UTF8::Mutable_Operations::Append(
                        *Qorvi::Strings::Internals::Data_Access_Variable(copy),
                        static_cast<Qorvi::Virtual_Character>('b' + t));
                    if (copy.Character_Length() != 201 || !(second == shared) ||
                        Qorvi::Strings::Conversions::To_UTF_8_String(copy).back() !=
                            static_cast<char>('b' + t)) {
                        ++failures[static_cast<std::size_t>(t)];
                    }
                }
            });
        }
        for (std::thread& worker : workers) {
            worker.join();
        }
        for (int f : failures) {
            EXPECT_EQ(f, 0);
        }
        EXPECT_EQ(Qorvi::Strings::Conversions::To_UTF_8_String(shared), text);
    }
    EXPECT_EQ(UTF8::Allocated_Segments(), before);
}

} // namespace
