#pragma once
// TFileLabel: a label that shows a path and, when the path is wider than the
// label, replaces folders by "..." so that the drive, the last component and as
// many neighbouring components as fit stay visible.

#include <string>
#include <vector>

#include "platform/gui/Label.h"

namespace velmora {

enum class TDirection { drFromLeft, drFromRight };

class TFileLabel : public gui::TLabel {
public:
    explicit TFileLabel(gui::TComponent* owner);

    const std::wstring& FileName() const { return m_fileName; }
    void SetFileName(const std::wstring& value);
    TDirection Direction() const { return m_direction; }
    void SetDirection(TDirection value);
    const std::wstring& Separator() const { return m_separator; }
    void SetSeparator(const std::wstring& value);

protected:
    // The width of a text in the label's font; tests measure with a fixed width.
    virtual int TextWidth(const std::wstring& text);
    void Resized() override;
    void FontChanged() override;

private:
    void Split();
    void UpdateCaption();
    std::wstring ShortenedCaption();

    std::wstring m_fileName;
    TDirection m_direction = TDirection::drFromLeft;
    std::wstring m_separator = L"\\";
    std::vector<std::wstring> m_components;
    bool m_drive = false;
};

}  // namespace velmora
