#include "HelpContextScan.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace velmora::helptest {

namespace {

// Comments become blanks and the insides of string and character literals too,
// so that commas, brackets and numbers in texts do not count; newlines stay, so
// that positions keep their line.
std::string Mask(const std::string& s) {
    std::string out = s;
    size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, 2, "//") == 0) {
            while (i < s.size() && s[i] != '\n') out[i++] = ' ';
        } else if (s.compare(i, 2, "/*") == 0) {
            const size_t end = s.find("*/", i + 2);
            const size_t stop = end == std::string::npos ? s.size() : end + 2;
            for (; i < stop; ++i)
                if (out[i] != '\n') out[i] = ' ';
        } else if (s[i] == '"' || s[i] == '\'') {
            const char quote = s[i++];
            while (i < s.size() && s[i] != quote && s[i] != '\n') {
                if (s[i] == '\\' && i + 1 < s.size()) out[i++] = ' ';
                out[i++] = ' ';
            }
            ++i;
        } else {
            ++i;
        }
    }
    return out;
}

int LineAt(const std::string& s, size_t pos) {
    return 1 + static_cast<int>(std::count(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
}

// The position of the bracket that closes the one at `open`, or npos.
size_t Closing(const std::string& s, size_t open) {
    int depth = 0;
    for (size_t i = open; i < s.size(); ++i) {
        if (s[i] == '(' || s[i] == '{' || s[i] == '[') ++depth;
        else if ((s[i] == ')' || s[i] == '}' || s[i] == ']') && --depth == 0) return i;
    }
    return std::string::npos;
}

struct TPiece {
    std::string Text;
    size_t Pos;
};

// Splits s[begin, end) at the commas (or `separator`) outside brackets.
std::vector<TPiece> SplitTopLevel(const std::string& s, size_t begin, size_t end, char separator = ',') {
    std::vector<TPiece> pieces;
    int depth = 0;
    size_t start = begin;
    for (size_t i = begin; i < end; ++i) {
        const char c = s[i];
        if (c == '(' || c == '{' || c == '[') ++depth;
        else if (c == ')' || c == '}' || c == ']') --depth;
        else if (c == separator && depth == 0) {
            pieces.push_back({s.substr(start, i - start), start});
            start = i + 1;
        }
    }
    pieces.push_back({s.substr(start, end - start), start});
    for (TPiece& p : pieces) {
        const size_t first = p.Text.find_first_not_of(" \t\r\n");
        if (first == std::string::npos) { p.Text.clear(); continue; }
        p.Pos += first;
        p.Text = p.Text.substr(first, p.Text.find_last_not_of(" \t\r\n") - first + 1);
    }
    return pieces;
}

bool IsNumber(const std::string& s) {
    return !s.empty() && s.size() < 10 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<TContextUse> ScanHelpContexts(const std::string& source, const std::string& fileName) {
    const std::string s = Mask(source);
    std::vector<TContextUse> uses;
    auto add = [&](size_t pos, long context) {
        if (context != 0) uses.push_back({fileName, LineAt(s, pos), context});
    };

    // HelpContext = 17;  kHelpContext = 58;
    static const std::regex assignment(R"(\b\w*HelpContext\s*=\s*(\d+)\b)");
    // SetHelpContextAll(2); SetHilfe(8); Application->HelpContext(5);
    static const std::regex call(R"(\b(SetHelpContextAll|SetHilfe|HelpContext)\s*\(\s*(\d+)\s*\))");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), assignment); it != std::sregex_iterator(); ++it)
        add(static_cast<size_t>(it->position(1)), std::stol((*it)[1]));
    for (auto it = std::sregex_iterator(s.begin(), s.end(), call); it != std::sregex_iterator(); ++it)
        add(static_cast<size_t>(it->position(2)), std::stol((*it)[2]));

    // Message boxes: the help context is the last argument.
    static const std::regex messageBox(R"(\bMessageDlg(Caption)?\s*\()");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), messageBox); it != std::sregex_iterator(); ++it) {
        const size_t open = static_cast<size_t>(it->position(0) + it->length(0) - 1);
        const size_t close = Closing(s, open);
        if (close == std::string::npos) continue;
        const auto args = SplitTopLevel(s, open + 1, close);
        if (args.size() >= 4 && IsNumber(args.back().Text)) add(args.back().Pos, std::stol(args.back().Text));
    }

    // Macros that stand for several fields of a table row, such as ITEM(Name).
    std::map<std::string, size_t> macroFields;
    static const std::regex define(R"(#define\s+(\w+)\(([^)\n]*)\)[ \t]*([^\n]*))");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), define); it != std::sregex_iterator(); ++it) {
        const std::string body = (*it)[3];
        macroFields[(*it)[1]] = SplitTopLevel(body, 0, body.size()).size();
    }

    // Row types with a help-context field, and that field's place in a row.
    std::map<std::string, size_t> helpField;
    static const std::regex structHead(R"(\bstruct\s+(\w+)\s*\{)");
    static const std::regex helpDecl(R"(^int\s+\w*(HelpContext|Hilfe)\w*$)");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), structHead); it != std::sregex_iterator(); ++it) {
        const size_t open = static_cast<size_t>(it->position(0) + it->length(0) - 1);
        const size_t close = Closing(s, open);
        if (close == std::string::npos) continue;
        size_t field = 0;
        for (const TPiece& decl : SplitTopLevel(s, open + 1, close, ';')) {
            if (decl.Text.empty()) continue;
            std::string d = std::regex_replace(decl.Text, std::regex(R"(\s*=.*$)"), "");
            d = std::regex_replace(d, std::regex(R"(\s+)"), " ");
            if (std::regex_match(d, helpDecl)) helpField[(*it)[1]] = field;
            field += SplitTopLevel(decl.Text, 0, decl.Text.size()).size();
        }
    }

    // Tables of those types: const TMenuRow kMainMenu[] = { {...}, ... };
    static const std::regex table(R"(\b(\w+)\s+\w+\s*\[\s*\w*\s*\]\s*=\s*\{)");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), table); it != std::sregex_iterator(); ++it) {
        const auto found = helpField.find((*it)[1]);
        if (found == helpField.end()) continue;
        const size_t open = static_cast<size_t>(it->position(0) + it->length(0) - 1);
        const size_t close = Closing(s, open);
        if (close == std::string::npos) continue;
        for (const TPiece& row : SplitTopLevel(s, open + 1, close)) {
            if (row.Text.empty() || row.Text.front() != '{') continue;
            const size_t rowClose = Closing(s, row.Pos);
            size_t field = 0;
            for (const TPiece& arg : SplitTopLevel(s, row.Pos + 1, rowClose)) {
                size_t width = 1;
                std::smatch call;
                if (std::regex_search(arg.Text, call, std::regex(R"(^(\w+)\s*\()")))
                    if (const auto macro = macroFields.find(call[1]); macro != macroFields.end()) width = macro->second;
                if (field == found->second) {
                    if (IsNumber(arg.Text)) add(arg.Pos, std::stol(arg.Text));
                    else uses.push_back({fileName, LineAt(s, arg.Pos), -1});
                    break;
                }
                field += width;
                if (field > found->second) {
                    uses.push_back({fileName, LineAt(s, arg.Pos), -1});
                    break;
                }
            }
        }
    }
    std::sort(uses.begin(), uses.end(), [](const TContextUse& a, const TContextUse& b) { return a.Line < b.Line; });
    return uses;
}

std::vector<TContextUse> ScanSourceTree(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const auto ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<TContextUse> uses;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const auto found = ScanHelpContexts(text.str(), std::filesystem::relative(file, folder).generic_string());
        uses.insert(uses.end(), found.begin(), found.end());
    }
    return uses;
}

}  // namespace velmora::helptest
