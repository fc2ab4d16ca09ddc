#include "EineDatei.h"

#include <windows.h>

#include <algorithm>

#include "Fehlercode.h"

namespace velmora {

std::wstring SystemLower(const std::wstring& text) {
    std::wstring lower = text;
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

TSortierRoutinen::TSortierRoutinen(TDateiListe& List) : m_list(List) {
    m_keys.reserve(List.size());
    for (const auto& entry : List) m_keys.push_back(SystemLower(entry->Name));
}

void TSortierRoutinen::Exchange(int a, int b) {
    std::swap(m_list[static_cast<size_t>(a)], m_list[static_cast<size_t>(b)]);
    std::swap(m_keys[static_cast<size_t>(a)], m_keys[static_cast<size_t>(b)]);
}

// Hoare partition around the middle entry. The smaller part is sorted by
// recursion and the larger one by the loop, so the recursion never goes deeper
// than log2 of the count. Patterns that keep splitting badly (a list rising and
// then falling, for one) would still cost quadratic time: a range that has used up
// its share of partitions is heap-sorted instead.
void TSortierRoutinen::QuickSort(int Lo, int Hi) {
    Fehlercode = fc::SortierRoutinenQuickSort;
    int budget = 0;
    for (int n = Hi - Lo + 1; n > 1; n /= 2) budget += 2;
    Sort(Lo, Hi, budget);
    Fehlercode = 0;
}

void TSortierRoutinen::Sort(int Lo, int Hi, int budget) {
    while (Lo < Hi) {
        if (budget-- <= 0) {
            HeapSort(Lo, Hi);
            return;
        }
        int i = Lo;
        int j = Hi;
        const std::wstring pivot = m_keys[static_cast<size_t>((Lo + Hi) / 2)];
        do {
            while (m_keys[static_cast<size_t>(i)] < pivot) ++i;
            while (m_keys[static_cast<size_t>(j)] > pivot) --j;
            if (i <= j) {
                if (i != j) Exchange(i, j);
                ++i;
                if (j > 0) --j;
            }
        } while (i <= j);
        if (j - Lo < Hi - i) {
            Sort(Lo, j, budget);
            Lo = i;
        } else {
            Sort(i, Hi, budget);
            Hi = j;
        }
    }
}

void TSortierRoutinen::HeapSort(int Lo, int Hi) {
    std::vector<size_t> order;
    for (int k = Lo; k <= Hi; ++k) order.push_back(static_cast<size_t>(k));
    auto byName = [this](size_t a, size_t b) { return m_keys[a] < m_keys[b]; };
    std::make_heap(order.begin(), order.end(), byName);
    std::sort_heap(order.begin(), order.end(), byName);
    std::vector<std::unique_ptr<TEineDatei>> records;
    std::vector<std::wstring> keys;
    for (size_t k : order) {
        records.push_back(std::move(m_list[k]));
        keys.push_back(std::move(m_keys[k]));
    }
    for (size_t k = 0; k < order.size(); ++k) {
        m_list[static_cast<size_t>(Lo) + k] = std::move(records[k]);
        m_keys[static_cast<size_t>(Lo) + k] = std::move(keys[k]);
    }
}

void SortiereNachName(TDateiListe& List) {
    if (List.size() <= 1) return;
    TSortierRoutinen sorter(List);
    sorter.QuickSort(0, static_cast<int>(List.size()) - 1);
}

}  // namespace velmora
