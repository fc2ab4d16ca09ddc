#include "EineDatei.h"

#include <windows.h>

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

// Hoare partition around the middle entry; the left part recursively, the right
// part by iteration, so the recursion stays shallow on the larger side.
void TSortierRoutinen::QuickSort(int Lo, int Hi) {
    Fehlercode = fc::SortierRoutinenQuickSort;
    int i = Lo;
    do {
        i = Lo;
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
        if (j > Lo) QuickSort(Lo, j);
        Lo = i;
    } while (i < Hi);
    Fehlercode = 0;
}

void SortiereNachName(TDateiListe& List) {
    if (List.size() <= 1) return;
    TSortierRoutinen sorter(List);
    sorter.QuickSort(0, static_cast<int>(List.size()) - 1);
}

}  // namespace velmora
