// One edit of a string with 0, 10, 100 and 1,000 attached markers: the notification passes
// over the markers once, so the cost should grow linearly with their number.
#include <benchmark/benchmark.h>
#include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
#include <qorvi/cursors/strings-cursors-markers.hpp>
#include <string>
#include <vector>

namespace {

using Qorvi::Strings::Virtual_String;
using Qorvi::Strings::Cursors::Markers::Character_Marker;

void BM_Edit_With_Markers(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    Virtual_String text(std::string(2000, 'a'));
    std::vector<Character_Marker> markers;
    markers.reserve(static_cast<std::size_t>(count));
    {
        // Markers spread over the text, all after the edited place.
        auto it = text.At_First_Character();
        for (int i = 0; i < count; ++i) {
            it.Forward();
            markers.push_back(it.First_Marker());
        }
    }
    const auto first = text.At_First_Character();
    for (auto _ : state) {
        // Two edits, each telling every marker once.
        text.Insert(first, U'\u00E9');
        text.Delete(text.At_First_Character(), text.At_First_Character());
    }
    if (count > 0 && markers.back().First_Character_Index() != count + 1) {
        state.SkipWithError("markers did not follow the edits");
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["markers"] = count;
}
BENCHMARK(BM_Edit_With_Markers)->Arg(0)->Arg(10)->Arg(100)->Arg(1000);

} // namespace
