#pragma once
// arctool: the archive library from the command line. Each subcommand lives in a
// file of its own in this folder and registers itself:
//     static const arctool::Registration reg{{"list", "list ARCHIVE", &RunList}};

#include <ostream>
#include <string>
#include <vector>

namespace arctool {

// Args are the subcommand's own arguments (UTF-8). Exit status: 0 done, 1 the
// library raised, 2 a usage error.
using CommandFn = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct Command {
    std::string name;
    std::string usage;
    CommandFn run;
};

struct Registration {
    explicit Registration(Command command);
};

const std::vector<Command>& Commands();

// The whole tool: Args[0] is the subcommand.
int ArcToolMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// An argument as a name for the library.
std::wstring ArgToName(const std::string& arg);
// A stored name for printing: "\" as "/", bytes 00-1F, 7F-FF and "%" as %XX.
std::string PrintableName(const std::wstring& name);
// The usage lines of every subcommand, to standard error; returns 2.
int Usage(std::ostream& err);

}  // namespace arctool
