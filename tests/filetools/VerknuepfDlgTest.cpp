// The association editor on the classes root of the build's own prefix, driven
// inside its modal loop: rows are picked with the mouse, extensions typed, the
// pop-up opened with the right button. Every key planted here has a name of its
// own (".zqx", ".zqw", ".zqxy", "zqx*") and goes again afterwards.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "filetools/VerknuepfDlg.h"
#include "foundation/IconRoutinen.h"
#include "foundation/RegTool.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/Registry.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::test::ClassesDefault;
using velmora::test::ClassesKeyExists;
using velmora::test::SetClassesDefault;
using velmora::test::SystemFolder;
using velmora::test::WindowsFolder;

namespace {

template <class T>
using Owned = std::unique_ptr<T, TComponentDeleter>;

const wchar_t* const kTestKeys[] = {L".zqx", L".zqw", L".zqxy", L".zqv", L"zqx_auto_file", L"zqxklasse",
                                    L"zqxandere"};

class PrefixGuard : public ::testing::Environment {
public:
    void SetUp() override { velmora::test::RequireBuildPrefix(); }
};
const auto* const kPrefixGuard = ::testing::AddGlobalTestEnvironment(new PrefixGuard);

std::wstring Lower(std::wstring s) {
    CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

// One type: the extension names the class, the class has a description and a command.
void PlantType(const std::wstring& extension, const std::wstring& klasse, const std::wstring& description,
               const std::wstring& program) {
    SetClassesDefault(extension, klasse);
    SetClassesDefault(klasse, description);
    SetClassesDefault(klasse + L"\\shell\\open\\command", program + L" %1");
}

// The whole classes root as the registry tool writes it.
std::string ClassesExport() {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring file = std::wstring(temp) + L"zqx-hkcr.reg";
    velmora::test::RunRegTool(L"export HKCR \"" + file + L"\" /y");
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    DeleteFileW(file.c_str());
    return text.str();
}

class VerknuepfDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        m_notepad = WindowsFolder() + L"\\notepad.exe";
        m_regedit = WindowsFolder() + L"\\regedit.exe";
        m_cmd = SystemFolder() + L"\\cmd.exe";
        m_dlg.reset(Create<TVerknuepfungsDlg>(Application));
        m_dlg->DateiWaehlen = [this](const std::wstring&, std::wstring& datei) {
            datei = m_gewaehlt;
            return true;
        };
    }
    void TearDown() override {
        m_dlg.reset();
        Clean();
    }
    static void Clean() {
        for (const wchar_t* key : kTestKeys) DeleteRegistryTree(HKEY_CLASSES_ROOT, key);
    }

    int Row(const std::wstring& caption, const std::wstring& endungen = L"") const {
        for (int i = 0; i < m_dlg->ListView.Count(); ++i) {
            TListItem* item = m_dlg->ListView.Items(i);
            if (item->Caption() == caption && (endungen.empty() || item->SubItems()[0] == endungen)) return i;
        }
        return -1;
    }
    std::wstring Endungen(const std::wstring& caption) const {
        const int row = Row(caption);
        return row < 0 ? L"<keine Zeile>" : m_dlg->ListView.Items(row)->SubItems()[0];
    }
    POINT RowPoint(int row) const {
        RECT r{LVIR_LABEL, 0, 0, 0};
        m_dlg->ListView.Items(row)->MakeVisible();
        SendMessageW(m_dlg->ListView.Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        // Two clicks in one place would make a double click.
        return ScreenPoint(m_dlg->ListView, r.left + 8 + (m_clicks++ % 2) * 24, (r.top + r.bottom) / 2);
    }
    void ClickRow(int row) const {
        ASSERT_GE(row, 0);
        SetForegroundWindow(m_dlg->Handle());
        MouseClick(RowPoint(row));
    }
    void TypeExtension(const std::wstring& text) const {
        SetForegroundWindow(m_dlg->Handle());
        m_dlg->Endungen.SetFocus();
        for (wchar_t c : text) PressKey(static_cast<WORD>(VkKeyScanW(c) & 0xff));
    }
    // Right-clicks the row and picks Command; until Done holds the command's own
    // boxes and dialogs run (the script's later steps answer them).
    void PopupCommand(int row, const std::wstring& command, const std::function<bool()>& done) {
        ASSERT_GE(row, 0);
        SetForegroundWindow(m_dlg->Handle());
        TMenuLoopWatch watch([&](HWND window, HMENU menu) { TMenuLoopWatch::ClickItem(window, menu, command); });
        MouseClick(RowPoint(row), TMouseButton::mbRight);
        ASSERT_TRUE(watch.Ran()) << "no pop-up menu";
        EXPECT_TRUE(WaitUntil(done)) << "the command did not end";
    }

    Owned<TVerknuepfungsDlg> m_dlg;
    TMessageBoxRecorder m_boxes;
    std::wstring m_notepad, m_regedit, m_cmd, m_gewaehlt;
    mutable int m_clicks = 0;
};

}  // namespace

TEST_F(VerknuepfDlgTest, TwoExtensionsOfOneTypeShowAsOneRowAndTheBoxFindsIt) {
    PlantType(L".zqx", L"zqxklasse", L"Zqx-Testtyp", m_notepad);
    SetClassesDefault(L".zqw", L"zqxklasse");
    // With the shell's icons, as the program fills it.
    TIconRoutinen icons;
    IconRoutinen = &icons;
    TModalScript script;
    LARGE_INTEGER start{}, end{}, frequency{};
    script
        .Step([&](TForm&) {
            EXPECT_EQ(Endungen(L"Zqx-Testtyp"), L"zqx; zqw");
            EXPECT_GE(m_dlg->ListView.Items(Row(L"Zqx-Testtyp"))->ImageIndex(), 0);
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            m_dlg->ListeFuellen();
            QueryPerformanceCounter(&end);
            // A typed extension selects its row.
            TypeExtension(L"zqw");
            ASSERT_NE(m_dlg->ListView.Selected(), nullptr);
            EXPECT_EQ(m_dlg->ListView.Selected()->Caption(), L"Zqx-Testtyp");
            EXPECT_EQ(m_dlg->VerknuepftesProgramm.FileName(), Lower(m_notepad));
            // One no type has: nothing selected, the first row focused.
            TypeExtension(L"q");
            EXPECT_EQ(m_dlg->ListView.SelCount(), 0);
            EXPECT_EQ(m_dlg->ListView.ItemFocused(), m_dlg->ListView.Items(0));
        })
        .Step([&](TForm&) { m_dlg->SchliessenBtn.Click(); });
    EXPECT_EQ(m_dlg->ShowModal(), mrOk);
    IconRoutinen = nullptr;
    EXPECT_FALSE(script.Failed());
    printf("Filling the list took %.1f ms for %d rows\n",
           1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
           m_dlg->ListView.Count());
}

TEST_F(VerknuepfDlgTest, DeletingAWholeTypeTakesOnlyTheRowsOwnKeys) {
    // One description, two programs: two rows.
    PlantType(L".zqx", L"zqxklasse", L"Zqx-Testtyp", m_notepad);
    PlantType(L".zqw", L"zqxandere", L"Zqx-Testtyp", m_regedit);
    // A class shared by two rows: ".zqxy" has a command of its own.
    SetClassesDefault(L".zqxy", L"zqxandere");
    SetClassesDefault(L".zqxy\\shell\\open\\command", m_cmd + L" %1");
    m_boxes.Answer(mrYes);
    m_boxes.Answer(mrYes);
    TModalScript script;
    script
        .Step([&](TForm&) {
            // ".zqx" and ".zqxy" are both listed as "zqx": their rows differ by program.
            ClickRow(Row(L"Zqx-Testtyp", L"zqx"));
            m_dlg->LoeschenBtn.Click();
        })
        .Step([&](TForm&) {
            ClickRow(Row(L"Zqx-Testtyp", L"zqx"));
            m_dlg->LoeschenBtn.Click();
        })
        .Step([&](TForm&) { m_dlg->SchliessenBtn.Click(); });
    m_dlg->ShowModal();
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Wollen Sie wirklich den Dokumenttyp\r\"Zqx-Testtyp\"\rlöschen?");
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_FALSE(ClassesKeyExists(L".zqx"));
    EXPECT_FALSE(ClassesKeyExists(L"zqxklasse"));
    EXPECT_FALSE(ClassesKeyExists(L".zqxy"));
    EXPECT_EQ(ClassesDefault(L".zqw"), "zqxandere") << "the other program's type stays";
    EXPECT_EQ(ClassesDefault(L"zqxandere"), "Zqx-Testtyp") << "a class another extension names stays";
}

TEST_F(VerknuepfDlgTest, OnlyTheExtensionDeletesTheRowsOwnKeyOfThatListedName) {
    PlantType(L".zqxy", L"zqxklasse", L"Lang", m_notepad);
    PlantType(L".zqx", L"zqxandere", L"Kurz", m_regedit);
    TModalScript script;
    script
        .Step([&](TForm&) {
            TypeExtension(L"zqx");
            ClickRow(Row(L"Lang"));
            m_dlg->LoeschenBtn.Click();
        })
        .Step([&](TForm& form) {
            EXPECT_EQ(&form, &m_dlg->LoeschDlg());
            EXPECT_EQ(m_dlg->LoeschDlg().Frage.Caption(),
                      L"Wollen Sie nur die Verknüpfung der Endung \"zqx\"\rmit dem Dokumenttyp\r\"Lang\"\rlöschen, oder "
                      L"wollen Sie den ganzen Dokumenttyp löschen?");
            m_dlg->LoeschDlg().EndungBtn.Click();
        })
        .Step([&](TForm&) { m_dlg->SchliessenBtn.Click(); });
    m_dlg->ShowModal();
    EXPECT_FALSE(script.Failed());
    EXPECT_FALSE(ClassesKeyExists(L".zqxy"));
    EXPECT_EQ(ClassesDefault(L"zqxklasse"), "Lang") << "only the extension goes";
    EXPECT_EQ(ClassesDefault(L".zqx"), "zqxandere") << "another type's extension stays";
    EXPECT_TRUE(m_boxes.Calls().empty());
}

// Every input the editor refuses leaves the classes root byte for byte as it was.
TEST_F(VerknuepfDlgTest, RefusedInputsChangeNothing) {
    PlantType(L".zqx", L"zqxklasse", L"Zqx-Testtyp", m_notepad);
    const std::string before = ClassesExport();
    const std::wstring bad[] = {L".", L"z q", L"z\\q", L"z/q", L"z:q", L"z*q", L"z?q", L"z\"q", L"z<q", L"z>q", L"z|q"};
    auto fill = [&](const std::wstring& endung, const std::wstring& beschreibung, const std::wstring& programm) {
        m_dlg->NeuDlg().Endung.SetText(endung);
        m_dlg->NeuDlg().Beschreibung.SetText(beschreibung);
        m_dlg->NeuDlg().OeffnenMit.SetText(programm);
        m_dlg->NeuDlg().OKBtn.Click();
    };
    TModalScript script(20000);
    script.Step([&](TForm&) { m_dlg->NeuBtn.Click(); });
    script.Step([&](TForm&) { fill(L"zqw", L"", m_notepad); });
    script.Step([&](TForm&) { fill(L"zqw", L"Zqw", m_notepad + L"x"); });
    script.Step([&](TForm&) { fill(L"ZQX", L"Zqw", m_notepad); });
    for (const std::wstring& endung : bad) script.Step([&, endung](TForm&) { fill(endung, L"Zqw", m_notepad); });
    script.Step([&](TForm& form) {
        EXPECT_EQ(&form, &m_dlg->NeuDlg()) << "the dialog stays open";
        m_dlg->NeuDlg().CancelBtn.Click();
    });
    // The same names for a further extension of a type and for deleting one.
    script.Step([&](TForm&) {
        bool done = false;
        script.Step([&](TForm& form) {
            EXPECT_EQ(&form, &m_dlg->Eingabe());
            m_dlg->Eingabe().Edit.SetText(L"z*");
            m_dlg->Eingabe().OKBtn.Click();
        });
        script.Step([&](TForm& form) {
            EXPECT_EQ(form.Caption(), L"Endung hinzufügen") << "the input stays open";
            m_dlg->Eingabe().CancelBtn.Click();
            done = true;
        });
        PopupCommand(Row(L"Zqx-Testtyp"), L"Endung hinzufügen", [&] { return done; });
        TypeExtension(L"z/q");
        ClickRow(Row(L"Zqx-Testtyp"));
        m_dlg->LoeschenBtn.Click();
        m_dlg->SchliessenBtn.Click();
    });
    m_dlg->ShowModal();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(ClassesExport(), before);

    const std::wstring ungueltig = L"Die angegebene Endung ist ungültig.\rBitte überprüfen Sie Ihre Eingabe.";
    const auto& calls = m_boxes.Calls();
    ASSERT_EQ(calls.size(), 3 + std::size(bad) + 2);
    EXPECT_EQ(calls[0].Text, L"Sie haben noch nicht alle notwendigen Angaben gemacht.");
    EXPECT_EQ(calls[0].HelpContext, 86);
    EXPECT_EQ(calls[1].Text, L"Die Datei, mit der die Dokumente geöffnet werden sollen, existeirt nicht.\rBitte "
                             L"überprüfen Sie Ihre Eingabe.");
    EXPECT_EQ(calls[2].Text, L"Zu diesem Dateityp besteht bereits eine Verknüpfung:\rEndung: zqx\rBeschreibung: "
                             L"Zqx-Testtyp\rÖffnen mit: " +
                                 Lower(m_notepad));
    EXPECT_EQ(calls[2].Type, TMsgDlgType::mtInformation);
    for (size_t i = 3; i < calls.size(); ++i) EXPECT_EQ(calls[i].Text, ungueltig) << "box " << i;
}

TEST_F(VerknuepfDlgTest, ANewAssociationIsRegisteredAndListed) {
    TModalScript script;
    script.Step([&](TForm&) { m_dlg->NeuBtn.Click(); })
        .Step([&](TForm&) {
            m_dlg->NeuDlg().Endung.SetText(L".zqx");
            m_dlg->NeuDlg().Beschreibung.SetText(L"Zqx-Neu");
            m_dlg->NeuDlg().OeffnenMit.SetText(m_notepad);
            m_dlg->NeuDlg().OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_EQ(Endungen(L"Zqx-Neu"), L"zqx");
            m_dlg->SchliessenBtn.Click();
        });
    m_dlg->ShowModal();
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(m_boxes.Calls().empty());
    EXPECT_EQ(ClassesDefault(L".zqx"), "zqx_auto_file");
    EXPECT_EQ(ClassesDefault(L"zqx_auto_file"), "Zqx-Neu");
}

TEST_F(VerknuepfDlgTest, EachPopupCommandChangesOneValue) {
    PlantType(L".zqx", L"zqxklasse", L"Zqx-Testtyp", m_notepad);
    const std::string command = ClassesDefault(L"zqxklasse\\shell\\open\\command");
    auto answer = [&](TModalScript& script, const std::wstring& text, bool& done) {
        script.Step([&, text](TForm&) {
            m_dlg->Eingabe().Edit.SetText(text);
            m_dlg->Eingabe().OKBtn.Click();
            done = true;
        });
    };
    bool added = false, described = false;
    std::vector<UINT> states;
    TModalScript script;
    script.Step([&](TForm&) {
        // Without a selected row the three commands are off.
        TMenuLoopWatch watch([&](HWND, HMENU menu) {
            for (int i = 0; i < GetMenuItemCount(menu); ++i) states.push_back(GetMenuState(menu, i, MF_BYPOSITION));
            EndMenu();
        });
        SetForegroundWindow(m_dlg->Handle());
        m_dlg->ListView.SetFocus();
        PressKey(VK_APPS);
        EXPECT_TRUE(watch.Ran());

        answer(script, L"zqv", added);
        PopupCommand(Row(L"Zqx-Testtyp"), L"Endung hinzufügen", [&] { return added; });
        EXPECT_EQ(ClassesDefault(L".zqv"), "zqxklasse");
        EXPECT_EQ(ClassesDefault(L"zqxklasse"), "Zqx-Testtyp");

        // A description may hold what a mask may not.
        answer(script, L"Text/Neu", described);
        PopupCommand(Row(L"Zqx-Testtyp"), L"Beschreibung ändern", [&] { return described; });
        EXPECT_EQ(ClassesDefault(L"zqxklasse"), "Text/Neu");
        EXPECT_EQ(ClassesDefault(L"zqxklasse\\shell\\open\\command"), command);

        m_gewaehlt = m_regedit;
        PopupCommand(Row(L"Text/Neu"), L"Verknüpfung ändern", [&] { return Row(L"Text/Neu") >= 0 &&
            m_dlg->ListView.Items(Row(L"Text/Neu"))->Data &&
            static_cast<const TVerknuepfungsZeile*>(m_dlg->ListView.Items(Row(L"Text/Neu"))->Data)->Befehl ==
                Lower(m_regedit); });
        m_dlg->SchliessenBtn.Click();
    });
    m_dlg->ShowModal();
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(states.size(), 3u);
    for (UINT state : states) EXPECT_TRUE(state & MF_GRAYED);
    EXPECT_EQ(ClassesDefault(L"zqxklasse\\shell\\open\\command"), Narrow(m_regedit) + " \"%1\"");
    EXPECT_EQ(ClassesDefault(L".zqx"), "zqxklasse");
    EXPECT_EQ(ClassesDefault(L"zqxklasse"), "Text/Neu");
    EXPECT_TRUE(m_boxes.Calls().empty());
}
