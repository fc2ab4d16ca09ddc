#pragma once
// A main window stand-in for the archive routines: it keeps the status texts,
// the progress bar and the cursor as state and logs every call in order.

#include <string>
#include <utility>
#include <vector>

#include "archive/operations/ZipRoutinenHost.h"

namespace ziproutinentest {

class TRecorderHost : public velmora::archive::TZipRoutinenHost {
public:
    bool WorkRunning = false;
    std::wstring Panels[2] = {L"Bereit", L"3 Dateien"};
    int ProgressMax = 100;
    int ProgressPosition = 0;
    int PositionChanges = 0;
    bool PanelShown = false;
    // Showings not yet hidden: a nested operation hides only its own.
    int PanelCount = 0;
    bool AbortEnabled = false;
    velmora::gui::TCursor CurrentCursor = velmora::gui::crDefault;
    int Beeps = 0;
    std::vector<std::wstring> Log;

    bool ArchiveWorkRunning() const override { return WorkRunning; }
    std::wstring StatusText(int Panel) const override { return Panels[Panel]; }
    void SetStatusText(int Panel, const std::wstring& Text) override {
        Panels[Panel] = Text;
        Log.push_back(L"panel" + std::to_wstring(Panel) + L"=" + Text);
    }
    void SetProgressMax(int Max) override {
        ProgressMax = Max;
        Log.push_back(L"max=" + std::to_wstring(Max));
    }
    void SetProgressPosition(int Position) override {
        ProgressPosition = Position;
        ++PositionChanges;
    }
    void ShowProgressPanel(bool Show) override {
        PanelCount += Show ? 1 : (PanelCount > 0 ? -1 : 0);
        PanelShown = PanelCount > 0;
        Log.push_back(Show ? L"panel shown" : L"panel hidden");
    }
    void SetAbortEnabled(bool Enabled) override { AbortEnabled = Enabled; }
    velmora::gui::TCursor Cursor() const override { return CurrentCursor; }
    void SetCursor(velmora::gui::TCursor Cursor) override { CurrentCursor = Cursor; }
    void Beep() override { ++Beeps; }
    // The answers to extraction's replace questions, in order; skip when none is left.
    std::vector<int> ReplaceAnswers;
    int ReplaceQuestions = 0;
    int AskReplace(const std::wstring&) override {
        ++ReplaceQuestions;
        if (ReplaceAnswers.empty()) return 0;
        const int answer = ReplaceAnswers.front();
        ReplaceAnswers.erase(ReplaceAnswers.begin());
        return answer;
    }

    // Answers where a new name may be given, in order (answer, new name); then AskReplace's.
    std::vector<std::pair<int, std::wstring>> RenameAnswers;
    int AskReplaceOrRename(const std::wstring& FileName, std::wstring& NewName) override {
        if (RenameAnswers.empty()) return AskReplace(FileName);
        ++ReplaceQuestions;
        const auto [answer, name] = RenameAnswers.front();
        RenameAnswers.erase(RenameAnswers.begin());
        NewName = name;
        return answer;
    }
    // Password answers in order (answer, password); skip when none is left.
    std::vector<std::pair<int, std::wstring>> PasswordAnswers;
    int PasswordQuestions = 0;
    int AskPassword(const std::wstring&, std::wstring& Password) override {
        ++PasswordQuestions;
        if (PasswordAnswers.empty()) return 0;
        const auto [answer, given] = PasswordAnswers.front();
        PasswordAnswers.erase(PasswordAnswers.begin());
        Password = given;
        return answer;
    }

    // Everything a reading must leave as it found it.
    bool Restored() const {
        return Panels[0] == L"Bereit" && Panels[1] == L"3 Dateien" && ProgressMax == 100 && ProgressPosition == 0 &&
               !PanelShown && !AbortEnabled && CurrentCursor == velmora::gui::crDefault;
    }
    bool Logged(const std::wstring& line) const {
        for (const auto& l : Log)
            if (l == line) return true;
        return false;
    }
};

}  // namespace ziproutinentest
