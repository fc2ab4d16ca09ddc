#pragma once
// TStringList: an ordered list of strings, the class library's workhorse.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class TStringList {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::wstring> items) : m_items(items) {}

    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    const std::wstring& operator[](int index) const { return m_items.at(static_cast<size_t>(index)); }
    std::wstring& operator[](int index) { return m_items.at(static_cast<size_t>(index)); }

    int Add(std::wstring item);
    void Insert(int index, std::wstring item);
    void Delete(int index);
    void Clear() { m_items.clear(); }
    void Assign(const TStringList& other) { m_items = other.m_items; }

    // Exact comparison, or ASCII case-insensitive where asked.
    int IndexOf(std::wstring_view item, bool ignoreCase = false) const;

    // The strings joined with CR LF after each, as the class library's Text property.
    std::wstring Text() const;
    // Replaces the contents by the lines of Text (CR LF, LF or CR).
    void SetText(std::wstring_view text);

    // "name=value" entries.
    std::wstring Names(int index) const;
    std::wstring ValueFromIndex(int index) const;
    std::wstring Values(std::wstring_view name) const;

    const std::vector<std::wstring>& Items() const { return m_items; }
    std::vector<std::wstring>& Items() { return m_items; }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    bool operator==(const TStringList&) const = default;

private:
    std::vector<std::wstring> m_items;
};

}  // namespace velmora
