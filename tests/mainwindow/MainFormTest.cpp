#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <set>
#include <vector>

#include "MainWindowFixture.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/Einstellungen.h"
#include "../foundation/TestFiles.h"
#include "mainwindow/FensterEinstellungen.h"
#include "mainwindow/MainForm.h"
#include "panes/DateiListe.h"
#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

// Creation goes wrong after the settings, lists and window values were read.
class TFailingHauptform : public THauptform {
public:
    using THauptform::THauptform;
    void LoadSettings() override {
        THauptform::LoadSettings();
        throw EConvertError(L"'hundert' ist kein gültiger Integerwert");
    }
};

// Both panes start on one folder.
class TStartFolderHauptform : public THauptform {
public:
    using THauptform::THauptform;
    static inline std::wstring Folder;
    void LoadSettings() override {
        THauptform::LoadSettings();
        StartFolderLeft = StartFolderRight = Folder;
        UseStartFolderLeft = UseStartFolderRight = true;
    }
};

class MainFormTest : public test::MainWindowTest {
protected:
    static void Store(const std::wstring& name, const std::wstring& value) {
        RegWriteUserValue(MainformSchluessel, name, value);
    }
    static std::wstring Stored(const std::wstring& name) { return RegReadUserValue(MainformSchluessel, name); }
};

}  // namespace

TEST_F(MainFormTest, StartsWithItsBarsAndTheGlobalReference) {
    THauptform& form = Start();
    EXPECT_EQ(Hauptform, &form);
    EXPECT_FALSE(form.CreateFailed());
    EXPECT_FALSE(form.FirstShow());
    EXPECT_EQ(form.FormStyle(), TFormStyle::fsMDIForm);
    EXPECT_NE(form.ClientHandle(), nullptr);
    EXPECT_EQ(form.Symbolleiste.Height(), 97);
    EXPECT_EQ(form.ButtonPanel.PanelCount(), 10);
    EXPECT_EQ(form.ButtonPanel.Panel(0).Text, L"F1 Hilfe");
    EXPECT_EQ(form.ButtonPanel.Panel(9).Text, L"F10 Menü");
    EXPECT_EQ(form.HauptStatusZeile.PanelCount(), 2);
    EXPECT_FALSE(form.LWPanel2.Visible());
    EXPECT_FALSE(form.Panel1.Visible());
    EXPECT_NE(IconRoutinen, nullptr);
    EXPECT_NE(form.BasketEmptyIcon.Handle(), nullptr);
    EXPECT_NE(form.BasketFullIcon.Handle(), nullptr);
    EXPECT_EQ(form.LWAuswahlMonitor.Directory(), std::wstring(1, form.LWAuswahl.Drive()) + L":\\");
    EXPECT_TRUE(form.LWAuswahlMonitor.Active());
    EXPECT_FALSE(form.DesktopPath.empty());
    EXPECT_EQ(form.DesktopPath.back(), L'\\');
    EXPECT_TRUE(m_boxes.Calls().empty());
}

// The program's start: the folder is read from the moment the settings name
// it, before the window is shown; the window stands with both panes on their
// folder before either is filled, and before the system's image lists are
// waited for; then the one pass fills both, with their icons, and gives the
// status line its count.
TEST_F(MainFormTest, AtTheStartTheWindowStandsBeforeOnePassFillsBothPanes) {
    THauptform::StartsFrameFirst = true;
    std::atomic<int> listings{0};
    struct TBack {
        ~TBack() {
            THauptform::StartsFrameFirst = false;
            OrdnerLeseHook = nullptr;
        }
    } back;
    test::TTempFolder folder(L"vel-frame-first");
    for (int i = 0; i < 50; ++i)
        folder.MakeFile(L"datei" + std::to_wstring(i) + L".txt", 2);
    Store(L"Fenster", L"33");
    TStartFolderHauptform::Folder = folder.Path();
    OrdnerLeseHook = [&](const std::wstring& read) {
        if (SystemLower(IncludeTrailingBackslash(read)) == SystemLower(folder.Path()))
            ++listings;
    };
    THauptform& form = Make<TStartFolderHauptform>();
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    for (int waited = 0; listings == 0 && waited < 5000; waited += 10)
        Sleep(10);
    EXPECT_EQ(listings, 1) << "the pass begins while the window is made";
    form.ShowFrameFirst();
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(IconRoutinen, nullptr);
    auto* left = dynamic_cast<TDateiListeForm*>(form.LeftPane);
    auto* right = dynamic_cast<TDateiListeForm*>(form.RightPane);
    ASSERT_TRUE(left && right);
    for (TDateiListeForm* pane : {left, right}) {
        EXPECT_EQ(pane->GetDirectory(), folder.Path());
        EXPECT_EQ(pane->Dateiliste.Count(), 0);
    }
    form.FillDeferredPanes();
    EXPECT_EQ(listings, 1);
    ASSERT_NE(IconRoutinen, nullptr);
    for (TDateiListeForm* pane : {left, right}) {
        EXPECT_EQ(pane->Eintraege().size(), 50u);
        ASSERT_EQ(pane->Dateiliste.Count(), 51);  // with the ".." row
        EXPECT_NE(pane->Dateiliste.SmallImages, nullptr);
        EXPECT_EQ(pane->Dateiliste.Items(0)->ImageIndex(), IconRoutinen->UpDirIndex);
    }
    EXPECT_EQ(form.PathInfoThread(), nullptr);
    EXPECT_EQ(form.HauptStatusZeile.Panel(0).Text, L"50 Eintraege belegen 100 Bytes");
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(MainFormTest, WindowValuesRoundTripAndClosingSavesThem) {
    Store(L"Pos", L"100,80,700,500");
    Store(L"BreiteLinkesFenster", L"300");
    Store(L"LeftBtn", L"5");
    THauptform& form = Start();
    EXPECT_EQ(form.Left(), 100);
    EXPECT_EQ(form.Top(), 80);
    EXPECT_EQ(form.Width(), 700);
    EXPECT_EQ(form.Height(), 500);
    EXPECT_EQ(form.LeftPaneWidth, 300);
    EXPECT_EQ(form.FirstToolbarButton, 5);
    EXPECT_EQ(form.SizePanel.Left(), 300);
    EXPECT_EQ(form.SizePanel.Top(), 97);

    form.SetWindowState(TWindowState::wsMaximized);
    ASSERT_TRUE(CloseWindow());
    EXPECT_EQ(Stored(L"Max"), L"1");
    EXPECT_EQ(Stored(L"Pos"), L"100,80,700,500");
    EXPECT_EQ(Stored(L"BreiteLinkesFenster"), L"300");
    EXPECT_EQ(Stored(L"LeftBtn"), L"5");
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(MainFormTest, AStoredMaximisedWindowStartsMaximisedAndKeepsItsNormalPlace) {
    Store(L"Pos", L"120,90,600,420");
    Store(L"Max", L"1");
    THauptform& form = Start();
    EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
    ASSERT_TRUE(CloseWindow());
    EXPECT_EQ(Stored(L"Max"), L"1");
    EXPECT_EQ(Stored(L"Pos"), L"120,90,600,420");
}

TEST_F(MainFormTest, BadStoredValuesStillStart) {
    Store(L"Pos", L"100,hundert,700,500");
    Store(L"BreiteLinkesFenster", L"breit");
    Store(L"LeftBtn", L"0");
    THauptform& form = Start();
    EXPECT_FALSE(form.CreateFailed());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.LeftPaneWidth, form.ClientWidth() / 2 - 2);
    EXPECT_EQ(form.FirstToolbarButton, 1);
    EXPECT_TRUE(m_boxes.Calls().empty());
    ASSERT_TRUE(CloseWindow());
    EXPECT_EQ(Stored(L"LeftBtn"), L"1");
    EXPECT_NE(Stored(L"Pos"), L"100,hundert,700,500");
}

TEST_F(MainFormTest, TheFiveListsSurviveAStartAndAClose) {
    const TStringList dos{L"dir /w", L"copy a b"};
    const TStringList dirs{L"c:\\windows", L"c:\\temp"};
    const TStringList files{L"c:\\autoexec.bat", L"c:\\windows"};
    const TStringList arcs{L"c:\\a.zip"};
    const TStringList params{L"-x", L"/s Datei.txt"};
    WriteNumberedList(MainformSchluessel + L"\\DOSBefehlszeile", dos);
    WriteNumberedList(ProgrammSchluessel + L"\\RecentDirs", dirs);
    WriteNumberedList(ProgrammSchluessel + L"\\RecentFiles", files);
    WriteNumberedList(ProgrammSchluessel + L"\\RecentArcs", arcs);
    WriteNumberedList(ProgrammSchluessel + L"\\RecentParameters", params);
    THauptform& form = Start();
    EXPECT_EQ(form.DOSBefehlszeile.Items(), dos);
    EXPECT_EQ(form.History->RecentDirs, dirs);
    ASSERT_TRUE(CloseWindow());
    EXPECT_EQ(ReadNumberedList(MainformSchluessel + L"\\DOSBefehlszeile"), dos);
    EXPECT_EQ(ReadNumberedList(ProgrammSchluessel + L"\\RecentDirs"), dirs);
    EXPECT_EQ(ReadNumberedList(ProgrammSchluessel + L"\\RecentFiles"), files);
    EXPECT_EQ(ReadNumberedList(ProgrammSchluessel + L"\\RecentArcs"), arcs);
    EXPECT_EQ(ReadNumberedList(ProgrammSchluessel + L"\\RecentParameters"), params);
}

// The base pane keeps no sort state: the stored ones go back as "name ascending".
TEST_F(MainFormTest, TwoBasketPanesAreMadeAndStoredAsTheyAre) {
    Store(L"Fenster", L"55");
    Store(L"LSM", L"6");
    THauptform& form = Start();
    ASSERT_NE(form.LeftPane, nullptr);
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftSammelkorb);
    EXPECT_EQ(form.RightPane->GetPaneKind(), ftSammelkorb);
    ASSERT_TRUE(CloseWindow());
    EXPECT_EQ(Stored(L"Fenster"), L"55");
    // The basket pane keeps the stored sort (date ascending); the other side had none.
    EXPECT_EQ(Stored(L"LSM"), L"6");
    EXPECT_EQ(Stored(L"RSM"), L"1");
}

TEST_F(MainFormTest, ClosingIsRefusedSilentlyWhileAFileOperationRuns) {
    Start();
    DateiOperationLaeuft = true;
    EXPECT_FALSE(CloseWindow());
    EXPECT_TRUE(m_boxes.Calls().empty());
    EXPECT_EQ(Stored(L"Pos"), L"");  // nothing saved yet
    DateiOperationLaeuft = false;
    EXPECT_TRUE(CloseWindow());
    EXPECT_NE(Stored(L"Pos"), L"");
}

TEST_F(MainFormTest, ClosingDuringAnArchiveActionSaysSoAndStays) {
    THauptform& form = Start();
    form.ArchiveRunning = true;
    m_boxes.Answer(mrOk);
    EXPECT_FALSE(CloseWindow());
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtInformation);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Im Moment wird noch eine Archivoperation durchgeführt. Bitte warten Sie, bis diese abgeschlossen ist");
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 0);
    form.ArchiveRunning = false;
    EXPECT_TRUE(CloseWindow());
}

TEST_F(MainFormTest, ThePromptIsTheLowerCaseFolderWithoutItsBackslash) {
    THauptform& form = Start();
    form.SetDOSPfad(L"C:\\");
    EXPECT_EQ(form.DOSPfad.Caption(), L"c:>");
    form.SetDOSPfad(L"C:\\Windows\\");
    EXPECT_EQ(form.DOSPfad.Caption(), L"c:\\windows>");
    form.SetDOSPfad(L"C:\\gibt es nicht\\");
    EXPECT_EQ(form.DOSPfad.Caption(), L"c:\\windows>");
}

TEST_F(MainFormTest, ALongPromptIsShortenedBehindTheDrive) {
    THauptform& form = Start();
    form.SetDOSPfad(L"C:\\Windows\\system32\\");
    const std::wstring shortened = L"c:\\...\\system32>";
    HDC dc = GetDC(nullptr);
    int width;
    {
        TCanvas canvas(dc);
        canvas.Font = form.DOSPfad.Font;
        width = canvas.TextWidth(shortened);
    }
    ReleaseDC(nullptr, dc);
    form.DOSPfad.SetWidth(width + 1);
    EXPECT_EQ(form.DOSPfad.Caption(), shortened);
    EXPECT_EQ(form.DOSPfad.FileName(), L"c:\\windows\\system32>");
    // Folder names may hold "&": the prompt shows it as it is.
    EXPECT_FALSE(form.DOSPfad.ShowAccelChar);
}

TEST_F(MainFormTest, AnExistingFolderOnTheCommandLineStartsBothSidesThere) {
    THauptform& form = Start();
    form.TakeCommandLine(L"C:\\gibt es nicht");
    EXPECT_FALSE(form.UseStartFolderLeft || form.UseStartFolderRight);
    form.TakeCommandLine(L"C:\\");
    EXPECT_TRUE(form.UseStartFolderLeft && form.UseStartFolderRight);
    EXPECT_EQ(form.StartFolderLeft, L"C:\\");
    EXPECT_EQ(form.StartFolderRight, L"C:\\");
    EXPECT_FALSE(form.ArchiveArgument);
}

// Resource scripts compiled apart would number their icon images alike, and the
// program would show one icon's picture for another.
TEST(ProgramResources, EveryIconKeepsItsOwnPicture) {
    std::set<std::vector<BYTE>> pictures;
    const wchar_t* names[] = {L"MAINICON", L"SAMMELKORBLEER", L"SAMMELKORBVOLL", L"UPDIR", L"SVERZORDNER",
                              L"SAUSFDAT", L"SUNKNOWN", L"SARCORDNER", L"SOARCORDNER"};
    for (const wchar_t* name : names) {
        HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(icon, nullptr) << std::string(name, name + wcslen(name));
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes) * static_cast<size_t>(bm.bmHeight));
        GetBitmapBits(info.hbmColor, static_cast<LONG>(bits.size()), bits.data());
        pictures.insert(bits);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_EQ(pictures.size(), std::size(names));
}

TEST_F(MainFormTest, AFailedCreationSaysSoClosesAtOnceAndSavesNothing) {
    // Groups of the wrong length, which any save would replace; put back afterwards.
    const std::wstring dateiliste = RegReadUserValue(OptionenSchluessel, L"Dateiliste");
    const std::wstring sonst = RegReadUserValue(OptionenSchluessel, L"Sonst");
    RegWriteUserValue(OptionenSchluessel, L"Dateiliste", L"x");
    RegWriteUserValue(OptionenSchluessel, L"Sonst", L"x");
    Store(L"Pos", L"100,80,700,500");
    const TStringList dirs{L"c:\\windows", L"c:\\temp"};
    WriteNumberedList(ProgrammSchluessel + L"\\RecentDirs", dirs);
    m_boxes.Answer(mrOk);
    THauptform& form = Start<TFailingHauptform>();
    EXPECT_TRUE(form.CreateFailed());
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Es ist ein Ausnahmefehler aufgetreten. Fehlercode: 18");
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 64);
    ASSERT_TRUE(WaitUntil([&] { return !form.Visible(); }, 5000)) << "the first showing closes the window";
    EXPECT_TRUE(form.Closing());
    EXPECT_EQ(Stored(L"Pos"), L"100,80,700,500");
    EXPECT_EQ(Stored(L"Max"), L"");
    EXPECT_EQ(Stored(L"LeftBtn"), L"");
    EXPECT_EQ(ReadNumberedList(ProgrammSchluessel + L"\\RecentDirs"), dirs);
    EXPECT_EQ(RegReadUserValue(OptionenSchluessel, L"Dateiliste"), L"x") << "no option group was written";
    EXPECT_EQ(RegReadUserValue(OptionenSchluessel, L"Sonst"), L"x");
    for (auto [name, value] : {std::pair{L"Dateiliste", dateiliste}, std::pair{L"Sonst", sonst}}) {
        if (value.empty())
            RegDeleteUserValue(OptionenSchluessel, name);
        else
            RegWriteUserValue(OptionenSchluessel, name, value);
    }
}

TEST_F(MainFormTest, ASecondCloseBeforeTheProgramEndsDoesNothing) {
    THauptform& form = Start();
    ASSERT_TRUE(CloseWindow());
    RegDeleteUserKey(ProgrammSchluessel, L"Mainform");
    form.Close();
    Application->ProcessMessages();
    EXPECT_EQ(Stored(L"Pos"), L"") << "nothing is saved twice";
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(m_boxes.Calls().empty());
}

// Without a stored place the window goes where the system puts a new window, and
// the missing left width follows the size "Pos" gives.
TEST_F(MainFormTest, TheFirstStartIsPlacedByTheSystem) {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 406,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    RECT system;
    GetWindowRect(probe, &system);
    DestroyWindow(probe);
    THauptform& form = Start();
    EXPECT_EQ(form.Left(), system.left);
    EXPECT_EQ(form.Top(), system.top);
    EXPECT_EQ(form.Width(), 640);
    EXPECT_EQ(form.Height(), 406);
}

TEST_F(MainFormTest, TheMissingLeftWidthFollowsTheStoredSize) {
    Store(L"Pos", L"20,30,900,500");
    THauptform& form = Start();
    EXPECT_EQ(form.LeftPaneWidth, form.ClientWidth() / 2 - 2);
    EXPECT_GT(form.LeftPaneWidth, 400);
}
TEST_F(MainFormTest, ClosingDeletesTheExtractedFilesThroughTheFileRoutines) {
    THauptform& form = Start();
    ASSERT_NE(DateiRoutinen, nullptr);
    EXPECT_EQ(form.FileOperator.ProgressTitle(), L"Datei Operation");
    EXPECT_EQ(form.FileOperator.ParentForm, &form);
    const std::wstring extracted = TempDirectory() + L"velmora-entpackt-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    HANDLE h = CreateFileW(extracted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    form.ExtractedFiles->Add(extracted);
    form.ExtractedFiles->Add(TempDirectory() + L"velmora-schon-weg.txt");
    EXPECT_TRUE(CloseWindow());
    EXPECT_FALSE(FileExists(extracted));
    EXPECT_EQ(DateiRoutinen, nullptr);
    EXPECT_TRUE(m_boxes.Calls().empty());
}
