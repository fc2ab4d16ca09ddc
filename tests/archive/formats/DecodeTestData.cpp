#include "DecodeTestData.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velmora::archive::test {

Bytes ReadFixture(const std::string& name)
{
    const std::string path = std::string(VELMORA_SOURCE_DIR) + "/tests/data/zip-extract/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace velmora::archive::test
