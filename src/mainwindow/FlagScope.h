#pragma once
// Sets a flag of the main window for a scope (an archive command running, a
// drag under way), and puts it back also when the scope ends by an exception.

namespace velmora {

class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : m_flag(Flag), m_was(Flag) { Flag = true; }
    ~TFlagScope() { m_flag = m_was; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& m_flag;
    bool m_was;
};

}  // namespace velmora
