#include <iostream>

#include "ArcTool.h"
#include "archive/formats/ArcShared.h"

int main(int argc, char** argv) {
    velmora::arc::InitTimeZoneBias();
    std::vector<std::string> args(argv + 1, argv + argc);
    return arctool::ArcToolMain(args, std::cout, std::cerr);
}
