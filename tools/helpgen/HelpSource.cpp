#include "HelpSource.h"

#include <map>
#include <set>
#include <sstream>

namespace helpgen {

namespace {

// Windows-1252 places these above 0x7F outside the Latin-1 block.
const std::map<char32_t, unsigned char> kSpecial = {
    {U'\u20AC', 0x80}, {U'\u201A', 0x82}, {U'\u201E', 0x84}, {U'\u2026', 0x85}, {U'\u2018', 0x91},
    {U'\u2019', 0x92}, {U'\u201C', 0x93}, {U'\u201D', 0x94}, {U'\u2022', 0x95}, {U'\u2013', 0x96},
    {U'\u2014', 0x97}};

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::string ContextNameOf(std::uint32_t id) { return "hilfe_" + std::to_string(id); }

struct TParser {
    THelpBook Book;
    int LineNo = 0;
    std::string Pending;  // lines of the paragraph being gathered
    std::set<std::uint32_t> Ids;
    std::vector<std::pair<int, std::uint32_t>> Links;  // line, target context

    [[noreturn]] void Fail(const std::string& what) const {
        throw TSourceError("line " + std::to_string(LineNo) + ": " + what);
    }

    TTopic& Current() {
        if (Book.Topics.empty()) Fail("text before the first topic");
        return Book.Topics.back();
    }

    void FlushPending() {
        if (Pending.empty()) return;
        TParagraph p;
        p.Runs.push_back({ToCodePage1252(Pending), TFont::Normal, {}});
        Current().Paragraphs.push_back(std::move(p));
        Pending.clear();
    }

    void StartTopic(const std::string& rest) {
        FlushPending();
        const auto bar = rest.find('|');
        if (bar == std::string::npos) Fail("a topic line needs \"| title\"");
        const std::string head = Trim(rest.substr(0, bar));
        TTopic topic;
        topic.Title = ToCodePage1252(Trim(rest.substr(bar + 1)));
        if (topic.Title.empty()) Fail("a topic needs a title");
        if (head == "Inhalt") {
            if (!Book.Topics.empty()) Fail("the contents topic must come first");
            topic.ContextName = "inhalt";
        } else {
            if (Book.Topics.empty()) Fail("the contents topic must come first");
            std::stringstream ids(head);
            std::string item;
            while (std::getline(ids, item, ',')) {
                item = Trim(item);
                if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos || item.size() > 9)
                    Fail("a help context is a number: \"" + item + "\"");
                const auto id = static_cast<std::uint32_t>(std::stoul(item));
                if (id == 0) Fail("help context 0 means no help");
                if (!Ids.insert(id).second) Fail("help context " + item + " has a topic already");
                topic.MapIds.push_back(id);
            }
            if (topic.MapIds.empty()) Fail("a topic needs a help context");
            topic.ContextName = ContextNameOf(topic.MapIds.front());
        }
        // The title heads the topic's text, in the title font.
        TParagraph title;
        title.Runs.push_back({topic.Title, TFont::Title, {}});
        topic.Paragraphs.push_back(std::move(title));
        Book.Topics.push_back(std::move(topic));
    }

    void ListItem(std::string text) {
        FlushPending();
        TParagraph p;
        p.Indented = true;
        p.Runs.push_back({"\x95 ", TFont::Normal, {}});
        if (!text.empty() && text.front() == '[') {
            const auto close = text.find(']');
            if (close == std::string::npos) Fail("\"[\" without \"]\"");
            p.Runs.push_back({ToCodePage1252(text.substr(1, close - 1)), TFont::Bold, {}});
            text = text.substr(close + 1);
        }
        p.Runs.push_back({ToCodePage1252(text), TFont::Normal, {}});
        Current().Paragraphs.push_back(std::move(p));
    }

    void Heading(const std::string& text) {
        FlushPending();
        TParagraph p;
        p.Runs.push_back({ToCodePage1252(text), TFont::Bold, {}});
        Current().Paragraphs.push_back(std::move(p));
    }

    void LinkLine(const std::string& rest) {
        FlushPending();
        const std::string id = Trim(rest);
        if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos || id.size() > 9)
            Fail("a jump names a help context number");
        const auto target = static_cast<std::uint32_t>(std::stoul(id));
        Links.emplace_back(LineNo, target);
        TParagraph p;
        p.Indented = true;
        p.Runs.push_back({"", TFont::Normal, ContextNameOf(target)});  // title filled in later
        Current().Paragraphs.push_back(std::move(p));
    }

    void Line(const std::string& raw) {
        ++LineNo;
        const std::string line = Trim(raw);
        if (!line.empty() && line[0] == '#') return;
        if (line.empty()) {
            FlushPending();
        } else if (line.rfind("==", 0) == 0) {
            StartTopic(line.substr(2));
        } else if (line.rfind("Titel:", 0) == 0) {
            if (!Book.Topics.empty()) Fail("the title comes before the topics");
            Book.Title = ToCodePage1252(Trim(line.substr(6)));
        } else if (line.rfind("- ", 0) == 0) {
            ListItem(Trim(line.substr(2)));
        } else if (line.rfind("> ", 0) == 0) {
            LinkLine(line.substr(2));
        } else if (line.rfind("* ", 0) == 0) {
            Heading(Trim(line.substr(2)));
        } else {
            Current();
            if (!Pending.empty()) Pending += ' ';
            Pending += line;
        }
    }

    // Jumps show the target's title; a jump to a context without a topic is a fault.
    void ResolveLinks() {
        std::map<std::string, const TTopic*> byName;
        for (const TTopic& t : Book.Topics)
            for (std::uint32_t id : t.MapIds) byName[ContextNameOf(id)] = &t;
        size_t next = 0;
        for (TTopic& t : Book.Topics)
            for (TParagraph& p : t.Paragraphs)
                for (TRun& r : p.Runs) {
                    if (r.LinkTo.empty()) continue;
                    const auto [line, id] = Links[next++];
                    const auto found = byName.find(r.LinkTo);
                    if (found == byName.end()) {
                        LineNo = line;
                        Fail("jump to help context " + std::to_string(id) + ", which has no topic");
                    }
                    r.Text = found->second->Title;
                    r.LinkTo = found->second->ContextName;
                }
    }
};

}  // namespace

std::string ToCodePage1252(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c;
        size_t len;
        if (b < 0x80) { c = b; len = 1; }
        else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; len = 2; }
        else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; len = 3; }
        else if ((b & 0xF8) == 0xF0) { c = b & 0x07; len = 4; }
        else throw TSourceError("the text is not UTF-8");
        if (i + len > utf8.size()) throw TSourceError("the text is not UTF-8");
        for (size_t k = 1; k < len; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80) throw TSourceError("the text is not UTF-8");
            c = (c << 6) | (cont & 0x3F);
        }
        i += len;
        if (c < 0x20 && c != U'\t') throw TSourceError("a control character in the text");
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
        } else if (const auto s = kSpecial.find(c); s != kSpecial.end()) {
            out += static_cast<char>(s->second);
        } else {
            throw TSourceError("character U+" + [c] {
                std::ostringstream hex;
                hex << std::hex << std::uppercase << static_cast<unsigned long>(c);
                return hex.str();
            }() + " is not in code page 1252");
        }
    }
    return out;
}

THelpBook ParseHelpSource(const std::string& utf8Text) {
    TParser parser;
    std::stringstream in(utf8Text);
    std::string line;
    while (std::getline(in, line)) parser.Line(line);
    parser.FlushPending();
    if (parser.Book.Topics.empty()) throw TSourceError("no topics");
    if (parser.Book.Title.empty()) throw TSourceError("no \"Titel:\" line");
    parser.ResolveLinks();
    return parser.Book;
}

std::int32_t ContextHash(const std::string& name) {
    std::uint32_t hash = 0;  // wraps as the viewer's 32-bit arithmetic does
    for (char ch : name) {
        unsigned x = 0;
        if (ch >= 'A' && ch <= 'Z') x = ch - 'A' + 17;
        else if (ch >= 'a' && ch <= 'z') x = ch - 'a' + 17;
        else if (ch >= '1' && ch <= '9') x = ch - '0';
        else if (ch == '0') x = 10;
        else if (ch == '.') x = 12;
        else if (ch == '_') x = 13;
        if (x) hash = hash * 43 + x;
    }
    return static_cast<std::int32_t>(hash);
}

}  // namespace helpgen
