// The drag source's COM objects, called as a drop target and the system's drag
// loop would call them: no window, no drag loop.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "foundation/ComPtr.h"
#include "foundation/DropSource.h"

using namespace velmora;

namespace {

struct TBlock {
    TStringList Names;
    bool Wide = false;
};

TBlock DropFilesOf(IDataObject* data) {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    TBlock block;
    if (FAILED(data->GetData(&format, &medium))) return block;
    auto* header = static_cast<DROPFILES*>(GlobalLock(medium.hGlobal));
    block.Wide = header->fWide != 0;
    GlobalUnlock(medium.hGlobal);
    block.Names = ReadDropFiles(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    return block;
}

TComPtr<IDataObject> DataOf(TStringList names) {
    return TComPtr<IDataObject>(NewDragDataObject(std::make_shared<TStringList>(std::move(names)), CF_HDROP));
}

}  // namespace

TEST(DragDataObject, HandsBackLongAndNonAnsiNamesWhole) {
    const std::wstring longName = L"C:\\" + std::wstring(295, L'a') + L".t";
    ASSERT_EQ(longName.size(), 300u);
    const TStringList ansi{longName, L"C:\\x\\Gr\u00f6\u00dfe.txt"};
    const TBlock plain = DropFilesOf(DataOf(ansi).Get());
    EXPECT_EQ(plain.Names, ansi);
    if (GetACP() == 1252) {
        EXPECT_FALSE(plain.Wide) << "names the code page holds stay as written";
    }

    const TStringList mixed{longName, L"C:\\x\\Gr\u00f6\u00dfe.txt", L"C:\\x\\\u03a9mega.txt"};
    const TBlock wide = DropFilesOf(DataOf(mixed).Get());
    EXPECT_TRUE(wide.Wide);
    EXPECT_EQ(wide.Names, mixed);
}

TEST(DragDataObject, TextIsTheFirstNameAndOnlyTwoFormatsInGlobalMemory) {
    auto data = DataOf({L"C:\\a.txt", L"C:\\b.txt"});
    FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    ASSERT_EQ(data->GetData(&text, &medium), S_OK);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(medium.hGlobal)), "C:\\a.txt");
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);

    FORMATETC bitmap{CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(data->QueryGetData(&bitmap), DV_E_FORMATETC);
    FORMATETC stream{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    EXPECT_EQ(data->QueryGetData(&stream), DV_E_TYMED);
    EXPECT_EQ(data->GetDataHere(&text, &medium), E_NOTIMPL);
    EXPECT_EQ(data->SetData(&text, &medium, FALSE), E_NOTIMPL);
}

TEST(DragDataObject, EnumeratorYieldsTheOneFormatOnce) {
    auto data = DataOf({L"C:\\a.txt"});
    TComPtr<IEnumFORMATETC> none;
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, none.Put()), E_NOTIMPL);
    TComPtr<IEnumFORMATETC> formats;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, formats.Put()), S_OK);
    FORMATETC got[2]{};
    ULONG fetched = 9;
    EXPECT_EQ(formats->Next(1, got, &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(got[0].cfFormat, CF_HDROP);
    EXPECT_EQ(got[0].tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(got[0].lindex, -1);
    EXPECT_EQ(formats->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);

    formats->Reset();
    EXPECT_EQ(formats->Next(2, got, &fetched), S_FALSE) << "more asked than there is";
    EXPECT_EQ(fetched, 1u);
    formats->Reset();
    EXPECT_EQ(formats->Skip(1), S_OK);
    TComPtr<IEnumFORMATETC> clone;
    ASSERT_EQ(formats->Clone(clone.Put()), S_OK);
    EXPECT_EQ(clone->Next(1, got, &fetched), S_FALSE) << "the clone keeps the position";
    EXPECT_EQ(formats->Skip(1), S_FALSE);
}

TEST(DragDropSource, EscapeCancelsAndReleaseDropsWithTheLastEffect) {
    auto names = std::make_shared<TStringList>(TStringList{L"C:\\a.txt"});
    int fired = 0;
    DWORD seen = 0;
    TDropEvent onDrop = [&](gui::TObject*, TStringList& dropped, DWORD effect) {
        ++fired;
        seen = effect;
        dropped[0] = L"C:\\temp\\a.txt";  // what an extraction at release would do
    };
    TComPtr<IDropSource> source(NewDragDropSource(names, onDrop, nullptr));
    TComPtr<IDataObject> data(NewDragDataObject(names, CF_HDROP));

    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_MOVE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(seen, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(DropFilesOf(data.Get()).Names, TStringList{L"C:\\temp\\a.txt"}) << "the target reads the rewritten list";
}

TEST(DragDropSource, AnEmptyListStartsNoDrag) {
    TDropSource drag(nullptr);
    TStringList empty;
    drag.DragValues = &empty;
    EXPECT_EQ(drag.Execute(), 0);
}
