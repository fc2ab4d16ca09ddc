#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "foundation/EineDatei.h"

using namespace velmora;

namespace {

TDateiListe ListOf(const std::vector<std::wstring>& names) {
    TDateiListe list;
    for (const auto& n : names) {
        auto d = std::make_unique<TEineDatei>();
        d->Name = n;
        list.push_back(std::move(d));
    }
    return list;
}

std::vector<std::wstring> NamesOf(const TDateiListe& list) {
    std::vector<std::wstring> names;
    for (const auto& d : list) names.push_back(d->Name);
    return names;
}

std::vector<std::wstring> Sorted(const std::vector<std::wstring>& names) {
    auto list = ListOf(names);
    SortiereNachName(list);
    return NamesOf(list);
}

}  // namespace

TEST(SortierRoutinenTest, NamesCompareInLowerCase) {
    EXPECT_EQ(Sorted({L"B.TXT", L"a.txt"}), (std::vector<std::wstring>{L"a.txt", L"B.TXT"}));
    EXPECT_EQ(Sorted({L"c:\\Zeta", L"C:\\alpha", L"c:\\Beta"}),
              (std::vector<std::wstring>{L"C:\\alpha", L"c:\\Beta", L"c:\\Zeta"}));
}

TEST(SortierRoutinenTest, ANameSortsBeforeLongerNamesThatBeginWithIt) {
    EXPECT_EQ(Sorted({L"abc.txt", L"abc", L"ab"}), (std::vector<std::wstring>{L"ab", L"abc", L"abc.txt"}));
}

TEST(SortierRoutinenTest, AnUnderscoreSortsBeforeLettersOfEitherCase) {
    EXPECT_EQ(Sorted({L"b", L"A", L"_x", L"Z"}), (std::vector<std::wstring>{L"_x", L"A", L"b", L"Z"}));
}

TEST(SortierRoutinenTest, UmlautsAreLowerCasedByTheSystemAndSortAfterPlainLetters) {
    // "Ä" lower-cases to "ä" (U+00E4), above every ASCII letter.
    EXPECT_EQ(Sorted({L"Äpfel", L"zebra", L"apfel"}), (std::vector<std::wstring>{L"apfel", L"zebra", L"Äpfel"}));
    EXPECT_EQ(SystemLower(L"ÄÖÜ.TXT"), L"äöü.txt");
}

TEST(SortierRoutinenTest, ShortListsAreLeftAlone) {
    TDateiListe empty;
    SortiereNachName(empty);
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(Sorted({L"Einzeln"}), std::vector<std::wstring>{L"Einzeln"});
}

TEST(SortierRoutinenTest, APartOfTheListCanBeSortedAlone) {
    auto list = ListOf({L"z", L"d", L"c", L"b", L"a"});
    TSortierRoutinen sorter(list);
    sorter.QuickSort(1, 3);
    EXPECT_EQ(NamesOf(list), (std::vector<std::wstring>{L"z", L"b", L"c", L"d", L"a"}));
}

TEST(SortierRoutinenTest, TheRecordsMoveWithTheirNames) {
    auto list = ListOf({L"b", L"a"});
    list[0]->Size = 5'000'000'000;  // sizes beyond 4 GiB are held as they are
    list[1]->Size = 1;
    SortiereNachName(list);
    EXPECT_EQ(list[0]->Size, 1);
    EXPECT_EQ(list[1]->Size, 5'000'000'000);
}

// Random lists with many equal and case-different names, checked against a plain
// sort of the lower-cased names.
TEST(SortierRoutinenTest, RandomListsEndInAscendingOrder) {
    std::mt19937 rng(1234);
    const std::wstring alphabet = L"aAbB_.zZ9ä";
    for (int round = 0; round < 200; ++round) {
        std::vector<std::wstring> names(rng() % 60 + 2);
        for (auto& n : names)
            for (unsigned len = rng() % 4; len > 0; --len) n += alphabet[rng() % alphabet.size()];
        auto result = Sorted(names);
        std::vector<std::wstring> lowered, expected;
        for (const auto& n : result) lowered.push_back(SystemLower(n));
        for (const auto& n : names) expected.push_back(SystemLower(n));
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(lowered, expected) << "round " << round;
        std::sort(names.begin(), names.end());
        std::sort(result.begin(), result.end());
        ASSERT_EQ(result, names) << "the same records, only reordered";
    }
}

// Long lists in the patterns that split badly around the middle entry: the sort
// must neither run out of stack nor take quadratic time on any of them.
TEST(SortierRoutinenTest, LongPatternedListsSortWithoutExhaustingTheStack) {
    constexpr int n = 60'000;
    auto name = [](int k) {
        std::wstring digits = std::to_wstring(k);
        return L"datei" + std::wstring(6 - digits.size(), L'0') + digits + L".txt";
    };
    std::vector<std::pair<const char*, std::vector<std::wstring>>> patterns;
    std::vector<std::wstring> rising, falling, pipe, valley, saw, equal, alternating;
    for (int k = 0; k < n; ++k) {
        rising.push_back(name(k));
        falling.push_back(name(n - k));
        pipe.push_back(name(k < n / 2 ? k : n - k));
        valley.push_back(name(k < n / 2 ? n / 2 - k : k - n / 2));
        saw.push_back(name(k % 1000));
        equal.push_back(k % 2 ? L"GLEICH.TXT" : L"gleich.txt");
        alternating.push_back(name(k % 2 ? k : n - k));
    }
    patterns = {{"ascending", rising},     {"descending", falling}, {"ascending then descending", pipe},
                {"descending then ascending", valley}, {"saw teeth", saw}, {"all equal", equal},
                {"alternating ends", alternating}};
    for (const auto& [pattern, names] : patterns) {
        auto result = Sorted(names);
        ASSERT_EQ(result.size(), names.size()) << pattern;
        std::vector<std::wstring> lowered;
        for (const auto& r : result) lowered.push_back(SystemLower(r));
        EXPECT_TRUE(std::is_sorted(lowered.begin(), lowered.end())) << pattern;
        std::vector<std::wstring> expected = names;
        std::sort(expected.begin(), expected.end());
        std::sort(result.begin(), result.end());
        EXPECT_EQ(result, expected) << pattern << ": the same records, only reordered";
    }
    // Sorted twice over: once ascending, then the result reversed and sorted again.
    auto list = ListOf(pipe);
    SortiereNachName(list);
    std::reverse(list.begin(), list.end());
    SortiereNachName(list);
    auto names = NamesOf(list);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}
