#include "StringList.h"

#include <stdexcept>

#include "Strings.h"

namespace velmora {

int TStringList::Add(std::wstring item) {
    m_items.push_back(std::move(item));
    return Count() - 1;
}

void TStringList::Insert(int index, std::wstring item) {
    if (index < 0 || index > Count()) throw std::out_of_range("TStringList::Insert");
    m_items.insert(m_items.begin() + index, std::move(item));
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("TStringList::Delete");
    m_items.erase(m_items.begin() + index);
}

int TStringList::IndexOf(std::wstring_view item, bool ignoreCase) const {
    for (int i = 0; i < Count(); ++i) {
        const auto& s = m_items[static_cast<size_t>(i)];
        if (ignoreCase ? SameTextAscii(s, item) : s == item) return i;
    }
    return -1;
}

std::wstring TStringList::Text() const {
    std::wstring out;
    for (const auto& s : m_items) {
        out += s;
        out += L"\r\n";
    }
    return out;
}

void TStringList::SetText(std::wstring_view text) {
    m_items.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos) {
            m_items.emplace_back(text.substr(start));
            return;
        }
        m_items.emplace_back(text.substr(start, end - start));
        if (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ++end;
        start = end + 1;
    }
}

std::wstring TStringList::Names(int index) const {
    const auto& s = (*this)[index];
    auto eq = s.find(L'=');
    return eq == std::wstring::npos ? std::wstring() : s.substr(0, eq);
}

std::wstring TStringList::ValueFromIndex(int index) const {
    const auto& s = (*this)[index];
    auto eq = s.find(L'=');
    return eq == std::wstring::npos ? std::wstring() : s.substr(eq + 1);
}

std::wstring TStringList::Values(std::wstring_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(Names(i), name)) return ValueFromIndex(i);
    return {};
}

}  // namespace velmora
