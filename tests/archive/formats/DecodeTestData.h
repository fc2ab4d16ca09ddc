#pragma once
// Fixture access and small memory helpers for the decoder tests.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/formats/BufferedReader.h"
#include "platform/rtl/Exceptions.h"

namespace velmora::archive::test {

using Bytes = std::vector<std::uint8_t>;

// A file below tests/data/zip-extract/.
Bytes ReadFixture(const std::string& name);

// The message of the exception that Run raised, or "" when it returned.
template <typename F>
std::wstring RaisedMessage(F&& run)
{
    try {
        run();
    } catch (const velmora::Exception& e) {
        return e.Message();
    }
    return L"";
}

}  // namespace velmora::archive::test

namespace velmora::archive::test {

// Deterministic mixed data: German-looking text runs, small binary records
// and noise, in the proportions of an ordinary folder's files.
Bytes MixedSample(std::size_t size, unsigned seed);

}  // namespace velmora::archive::test
