#include "ArcTool.h"

#include <cstdio>

#include "platform/rtl/Strings.h"

namespace arctool {

namespace {

std::vector<Command>& Table() {
    static std::vector<Command> table;
    return table;
}

}  // namespace

Registration::Registration(Command command) { Table().push_back(std::move(command)); }

const std::vector<Command>& Commands() { return Table(); }

int Usage(std::ostream& err) {
    err << "usage:\n";
    for (const auto& c : Commands()) err << "  arctool " << c.usage << "\n";
    return 2;
}

int ArcToolMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return Usage(err);
    for (const auto& c : Commands())
        if (c.name == args[0]) return c.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    return Usage(err);
}

std::wstring ArgToName(const std::string& arg) { return velmora::FromUtf8(arg); }

std::string PrintableName(const std::wstring& name) {
    std::string out;
    for (wchar_t wc : name) {
        auto c = static_cast<unsigned>(wc);
        if (c == '\\') {
            out += '/';
        } else if (c < 0x20 || c >= 0x7F || c == '%') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%%%02X", c & 0xFF);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace arctool
