#include "FensterWerte.h"

#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

std::optional<TFensterTyp> NamedKind(wchar_t c) {
    switch (c) {
    case L'1': return ftVerzeichnisbaum;
    case L'3': return ftAusfDateiliste;
    case L'4': return ftSuchergebnis;
    case L'5': return ftSammelkorb;
    default: return std::nullopt;
    }
}

bool IsDecimal(const std::wstring& text) {
    return !text.empty() && text.size() <= 9 && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

}  // namespace

TPaneKindRequest ParsePaneKinds(const std::wstring& Fenster, bool ArchiveArgument) {
    const std::wstring kinds = Fenster.size() != 2 || ArchiveArgument ? L"12" : Fenster;
    TPaneKindRequest request;
    request.Left = NamedKind(kinds[0]).value_or(ftDateiliste);
    if (auto right = NamedKind(kinds[1])) {
        request.Right = *right;
    } else {
        request.Right = ftDateiliste;
        request.RightArchiveOrList = true;
    }
    return request;
}

wchar_t PaneKindChar(TFensterTyp Kind, TFensterTyp ListKind) {
    if (ZeigtArchiv(Kind))
        return ListKind == ftDateiliste ? L'2' : L'3';
    return static_cast<wchar_t>(L'1' + Kind);
}

int SortRequestFromText(const std::wstring& Stored) {
    if (!IsDecimal(Stored))
        return 0;
    const int value = std::stoi(Stored);
    return value >= 2 && value <= 11 ? value - 1 : 0;
}

std::optional<std::wstring> SortStateText(int State) {
    if (State < 0 || State > 10)
        return std::nullopt;
    return std::to_wstring(State + 1);
}

std::optional<std::vector<int>> ParsePos(const std::wstring& Stored) {
    if (Stored.empty())
        return std::nullopt;
    std::vector<int> numbers;
    for (const std::wstring& part : SplitString(Stored, L",")) {
        auto value = ParseInt(part);
        if (!value || *value < -100000 || *value > 100000)
            return std::nullopt;
        if (numbers.size() < 4)
            numbers.push_back(static_cast<int>(*value));
    }
    return numbers;
}

std::wstring PosText(int Left, int Top, int Width, int Height) {
    return std::to_wstring(Left) + L"," + std::to_wstring(Top) + L"," + std::to_wstring(Width) + L"," +
           std::to_wstring(Height);
}

std::optional<int> ParseLeftPaneWidth(const std::wstring& Stored) {
    if (auto value = ParseInt(Stored); value && *value >= -100000 && *value <= 100000)
        return static_cast<int>(*value);
    return std::nullopt;
}

int ParseFirstToolbarButton(const std::wstring& Stored) {
    const auto value = ParseInt(Stored);
    return value && *value >= 1 && *value <= 13 ? static_cast<int>(*value) : 1;
}

}  // namespace velmora
