// Finds the help contexts that the program's sources hand out: help context
// assignments and calls, message boxes with a context, and rows of tables whose
// row type has a help-context field (the menus, the copy and move texts).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::helptest {

struct TContextUse {
    std::string File;
    int Line = 0;
    long Context = 0;  // -1: a table field that is no number
};

std::vector<TContextUse> ScanHelpContexts(const std::string& sourceText, const std::string& fileName);
std::vector<TContextUse> ScanSourceTree(const std::filesystem::path& folder);

}  // namespace velmora::helptest
