#pragma once
// The exception classes every layer raises. Messages are UTF-16, as shown to the user.

#include <cstdint>
#include <exception>
#include <string>

namespace velmora {

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message) : m_message(std::move(message)) {}
    const std::wstring& Message() const { return m_message; }
    const char* what() const noexcept override;

private:
    std::wstring m_message;
    mutable std::string m_narrow;
};

// A text that is not the number, date or list it should be.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A failed system call: the error code and the place it failed.
class EOSError : public Exception {
public:
    EOSError(std::uint32_t code, std::wstring where);
    std::uint32_t Code() const { return m_code; }

private:
    std::uint32_t m_code;
};

}  // namespace velmora
