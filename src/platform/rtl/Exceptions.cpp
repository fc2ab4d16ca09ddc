#include "Exceptions.h"

#include "Strings.h"

namespace velmora {

const char* Exception::what() const noexcept {
    try {
        if (m_narrow.empty()) m_narrow = ToUtf8(m_message);
        return m_narrow.c_str();
    } catch (...) {
        return "velmora::Exception";
    }
}

EOSError::EOSError(std::uint32_t code, std::wstring where)
    : Exception(where + L": Systemfehler " + std::to_wstring(code)), m_code(code) {}

}  // namespace velmora
