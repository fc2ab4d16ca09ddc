#pragma once
// A main window started and closed as the user would, with its stored lists
// cleared before and after, and a pane stand-in the tests fill in. While a test
// runs the window is the application's main window, where the panes go; it is
// not when it closes, so that closing it does not end the test program.

#include <gtest/gtest.h>

#include "foundation/DefaultUserStore.h"
#include "mainwindow/FensterEinstellungen.h"
#include "mainwindow/MainForm.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"

namespace velmora::test {

class TTestPane : public TDMChildForm {
public:
    explicit TTestPane(gui::TComponent* owner) : TDMChildForm(owner) {}
    TFensterTyp Kind = ftDateiliste;
    std::wstring Directory, ArchiveFile;
    TArchivDaten Totals;
    TFensterTyp GetPaneKind() override { return Kind; }
    std::wstring GetDirectory() override { return Directory; }
    std::wstring GetArchiveFile() override { return ArchiveFile; }
    void GetArchivDaten(TArchivDaten& Daten) override { Daten = Totals; }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override {
        gui::Application->SetMainForm(m_previousMain);
        if (m_form)
            m_form->Free();
        Clear();
    }
    static void Clear() {
        RegDeleteUserKey(ProgrammSchluessel, L"Mainform");
        for (auto list : {L"RecentDirs", L"RecentFiles", L"RecentArcs", L"RecentParameters"})
            RegDeleteUserKey(ProgrammSchluessel, list);
    }
    template <class Form = THauptform>
    THauptform& Make() {
        m_previousMain = gui::Application->MainForm();
        m_form = gui::Create<Form>(nullptr);
        gui::Application->SetMainForm(m_form);
        return *m_form;
    }
    template <class Form = THauptform>
    THauptform& Start() {
        if (!m_form)
            Make<Form>();
        m_form->Show();
        gui::Application->ProcessMessages();
        return *m_form;
    }
    // Closes the window as the user would; true when it went.
    bool CloseWindow() {
        gui::Application->SetMainForm(m_previousMain);
        m_form->Close();
        gui::Application->ProcessMessages();
        return !m_form->Visible();
    }

    gui::TMessageBoxRecorder m_boxes;
    // F1 asks for help: the help viewer never starts under a test.
    gui::THelpRecorder m_help;
    THauptform* m_form = nullptr;
    gui::TForm* m_previousMain = nullptr;
};

}  // namespace velmora::test
