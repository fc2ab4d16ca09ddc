// The program's routine numbers, every subsystem's together: the exception box
// names a routine by its number, so no two routines may share one.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

// Each subsystem's numbers join the check with their header's line here.
#include "foundation/Fehlercode.h"
#include "mainwindow/MainWindowCodes.h"
#include "filetools/FileToolsCodes.h"
#include "archive/operations/ArchiveCodes.h"
#include "panes/FileListCodes.h"
#include "panes/TreeCodes.h"
#include "panes/ZipViewCodes.h"
#include "panes/SuchergebnisCodes.h"

using namespace velmora::fc;

namespace {

template <int Subsystem>
void Collect(std::multimap<int, std::pair<int, std::string>>& numbers) {
    if constexpr (requires { TRoutineNumbers<Subsystem>::All; })
        for (const TRoutineNumber& r : TRoutineNumbers<Subsystem>::All)
            numbers.insert({r.Number, {Subsystem, r.Routine}});
}

std::multimap<int, std::pair<int, std::string>> AllNumbers() {
    std::multimap<int, std::pair<int, std::string>> numbers;
    [&]<int... S>(std::integer_sequence<int, S...>) { (Collect<S>(numbers), ...); }(
        std::make_integer_sequence<int, 10>());
    return numbers;
}

}  // namespace

TEST(Fehlercode, NoTwoRoutinesShareANumber) {
    const auto numbers = AllNumbers();
    ASSERT_FALSE(numbers.empty());
    for (auto it = numbers.begin(); it != numbers.end(); ++it) {
        EXPECT_NE(it->first, 0) << it->second.second << ": 0 means no routine is running";
        auto next = std::next(it);
        if (next != numbers.end() && next->first == it->first)
            ADD_FAILURE() << it->first << " is used by " << it->second.second << " and " << next->second.second;
    }
}

// The block of a table: its subsystem's digit. The archive formats keep no
// numbers, so their slot 4 holds the panes' first table (the file list's); slot 6
// holds the folder tree's, slot 7 the archive pane's and slot 8 the search-result
// pane's. The panes number in the main window's block.
constexpr int BlockOf(int table) { return table == 4 || table == 6 || table == 7 || table == 8 ? 2 : table; }

// A number of its own choosing lies in its subsystem's block; the numbers the
// design fixed lie below 200, where no block starts.
TEST(Fehlercode, ChosenNumbersLieInTheirSubsystemsBlock) {
    for (const auto& [number, routine] : AllNumbers()) {
        if (number < 200)
            continue;
        EXPECT_EQ(number / 1000, BlockOf(routine.first)) << routine.second << " = " << number;
    }
}
