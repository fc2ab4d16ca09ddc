#include "HistoryRules.h"

#include <windows.h>

namespace velmora {

namespace {

void RemoveAll(TStringList& list, const std::wstring& value) {
    for (int i = list.Count() - 1; i >= 0; --i)
        if (list[i] == value)
            list.Delete(i);
}

// The oldest entry goes only when the list reaches the limit exactly, so a
// list loaded with more entries keeps them.
void CutAtLimit(TStringList& list) {
    if (list.Count() == kHistoryLimit)
        list.Delete(0);
}

void AppendLast(TStringList& list, const std::wstring& value) {
    RemoveAll(list, value);
    list.Add(value);
}

}  // namespace

std::wstring HistoryLower(const std::wstring& Text) {
    std::wstring lower = Text;
    if (!lower.empty())
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

std::wstring HistoryFolder(const std::wstring& Folder) {
    std::wstring value = Folder;
    if (!value.empty() && value.back() == L'\\')
        value.pop_back();
    return HistoryLower(value);
}

void AddDirHistory(THistoryLists& Lists, const std::wstring& Folder) {
    const std::wstring value = HistoryFolder(Folder);
    AppendLast(Lists.RecentDirs, value);
    AddPathHistory(Lists, value);
    CutAtLimit(Lists.RecentDirs);
}

void AddPathHistory(THistoryLists& Lists, const std::wstring& Path) {
    AppendLast(Lists.RecentFiles, HistoryLower(Path));
    CutAtLimit(Lists.RecentFiles);
}

void AddArchiveHistory(THistoryLists& Lists, const std::wstring& File) {
    const std::wstring value = HistoryLower(File);
    AppendLast(Lists.RecentArcs, value);
    AddPathHistory(Lists, value);
    CutAtLimit(Lists.RecentArcs);
}

void AddNewestFirst(TStringList& List, const std::wstring& Text) {
    if (Text.empty())
        return;
    const std::wstring key = HistoryLower(Text);
    for (int i = List.Count() - 1; i >= 0; --i)
        if (HistoryLower(List[i]) == key)
            List.Delete(i);
    List.Insert(0, Text);
    while (List.Count() > kHistoryLimit)
        List.Delete(List.Count() - 1);
}

bool IsFavouriteFolder(const TStringList& Favourites, const std::wstring& Folder) {
    for (const std::wstring& favourite : Favourites)
        if (HistoryLower(favourite) == Folder)
            return true;
    return false;
}

}  // namespace velmora
