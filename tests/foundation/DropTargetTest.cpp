// The drop target component on real windows; its COM object is called the way the
// system's drag loop calls it.

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <memory>

#include "foundation/HEDropTarget.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Panel.h"

using namespace velmora;

namespace {

using TFormPtr = std::unique_ptr<gui::TForm, gui::TComponentDeleter>;

// A window accepts a registration only while no other holds it.
bool IsRegistered(HWND window) {
    class TNoTarget : public IDropTarget {
    public:
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
            *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget) ? this : nullptr;
            return *out ? S_OK : E_NOINTERFACE;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
    } probe;
    const HRESULT hr = RegisterDragDrop(window, &probe);
    if (hr == S_OK) RevokeDragDrop(window);
    return hr == DRAGDROP_E_ALREADYREGISTERED;
}

struct DropTargets : ::testing::Test {
    TFormPtr Form{gui::Create<gui::TForm>(nullptr)};
    gui::TPanel* A = gui::Create<gui::TPanel>(Form.get());
    gui::TPanel* B = gui::Create<gui::TPanel>(Form.get());
    void SetUp() override {
        A->SetParent(Form.get());
        B->SetParent(Form.get());
        A->HandleNeeded();
        B->HandleNeeded();
    }
};

}  // namespace

TEST_F(DropTargets, ForwardsTheEffectByReferenceAndLeavesItWithoutHandler) {
    auto* target = gui::Create<THEOleDropTarget>(Form.get());
    target->SetTargetWinControl(A);
    ASSERT_TRUE(target->Registered());
    EXPECT_TRUE(IsRegistered(A->Handle()));

    IDropTarget* object = target->DropTargetObject();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(object->DragOver(MK_CONTROL, POINTL{5, 6}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_MOVE)) << "no handler: unchanged";

    POINT seen{};
    target->OnOleDragOver = [&](gui::TObject*, DWORD keys, POINT pt, DWORD& e) {
        seen = pt;
        e = keys & MK_CONTROL ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    };
    EXPECT_EQ(object->DragOver(MK_CONTROL, POINTL{5, 6}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(seen.x, 5);
    EXPECT_EQ(seen.y, 6);
}

TEST_F(DropTargets, RetargetingMovesTheRegistrationAndTheSameControlChangesNothing) {
    auto* target = gui::Create<THEOleDropTarget>(Form.get());
    target->SetTargetWinControl(A);
    target->SetTargetWinControl(A);
    EXPECT_TRUE(target->Registered());
    target->SetTargetWinControl(B);
    EXPECT_FALSE(IsRegistered(A->Handle()));
    EXPECT_TRUE(IsRegistered(B->Handle()));
}

TEST_F(DropTargets, DestroyingTheControlDropsTheRegistration) {
    auto* target = gui::Create<THEOleDropTarget>(Form.get());
    target->SetTargetWinControl(A);
    A->Free();
    A = nullptr;
    EXPECT_FALSE(target->Registered());
    EXPECT_EQ(target->TargetWinControl(), nullptr);
}

TEST_F(DropTargets, AReferenceKeptPastTheComponentAnswersNone) {
    auto* target = gui::Create<THEOleDropTarget>(Form.get());
    target->OnOleDragOver = [](gui::TObject*, DWORD, POINT, DWORD& e) { e = DROPEFFECT_COPY; };
    target->SetTargetWinControl(A);
    IDropTarget* object = target->DropTargetObject();
    object->AddRef();
    const HWND window = A->Handle();
    target->Free();
    EXPECT_FALSE(IsRegistered(window));
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(object->DragOver(0, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    object->Release();
}

TEST_F(DropTargets, TheOwnerFormKeepsItsDestroyEvent) {
    int destroyed = 0;
    Form->OnDestroy = [&](gui::TObject*) { ++destroyed; };
    auto* target = gui::Create<THEOleDropTarget>(Form.get());
    target->SetTargetWinControl(A);
    Form.reset();
    EXPECT_EQ(destroyed, 1);
}
