#include "TreeView.h"

#include <algorithm>
#include <utility>

#include "Application.h"
#include "ImageList.h"

namespace velmora::gui {

void TTreeNode::SetText(const std::wstring& text) { m_text = text; Apply(TVIF_TEXT); }
void TTreeNode::SetImageIndex(int index) { m_image = index; m_imagesPending = false; Apply(TVIF_IMAGE); }
void TTreeNode::SetSelectedIndex(int index) { m_selected = index; m_imagesPending = false; Apply(TVIF_SELECTEDIMAGE); }
void TTreeNode::SetHasChildren(bool value) { m_hasChildren = value; m_childrenPending = false; Apply(TVIF_CHILDREN); }

void TTreeNode::DeferDisplay() {
    m_imagesPending = m_childrenPending = true;
    Apply(TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN);
}

void TTreeNode::Resolve() const {
    if (!m_imagesPending && !m_childrenPending) return;
    auto* self = const_cast<TTreeNode*>(this);
    if (self->m_owner->OnGetDisplay) {
        self->m_owner->OnGetDisplay(self->m_owner, self);
    }
    // What the handler left open stays as it is, and is not asked again.
    self->m_imagesPending = self->m_childrenPending = false;
}

void TTreeNode::Apply(UINT mask) {
    if (!m_item || !m_owner->HandleAllocated() || m_owner->m_answering == this) return;
    TVITEMW tv{};
    tv.mask = mask | TVIF_HANDLE;
    tv.hItem = m_item;
    tv.pszText = m_text.data();
    tv.iImage = m_imagesPending ? I_IMAGECALLBACK : m_image;
    tv.iSelectedImage = m_imagesPending ? I_IMAGECALLBACK : m_selected;
    tv.cChildren = m_childrenPending ? I_CHILDRENCALLBACK : m_hasChildren || !m_children.empty() ? 1 : 0;
    SendMessageW(m_owner->Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

// The window first: making it gives the node its item.
bool TTreeNode::Expanded() const {
    HWND tree = m_owner->Handle();
    return m_item && (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(m_item), TVIS_EXPANDED) & TVIS_EXPANDED);
}

void TTreeNode::Expand() {
    HWND tree = m_owner->Handle();
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(m_item));
}

void TTreeNode::Collapse() {
    HWND tree = m_owner->Handle();
    SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(m_item));
}

void TTreeNode::DeleteChildren() {
    while (!m_children.empty()) m_owner->Delete(m_children.back().get());
}

void TTreeNode::MakeVisible() {
    HWND tree = m_owner->Handle();
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(m_item));
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_color = clWindow;
    m_width = 121;
    m_height = 97;
}

TTreeView::~TTreeView() {
    BeforeDestruction();
    Clear();
    DestroyHandle();
}

void TTreeView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = WC_TREEVIEWW;
    p.SystemClass = true;
    p.ExStyle = (p.ExStyle & ~WS_EX_CONTROLPARENT) | WS_EX_CLIENTEDGE;
    p.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | (ShowRoot ? TVS_LINESATROOT : 0) |
               (ReadOnly ? 0 : TVS_EDITLABELS);
}

void TTreeView::InitWnd() {
    if (Images) SendMessageW(m_handle, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(Images->Handle()));
    SendMessageW(m_handle, TVM_SETINDENT, static_cast<WPARAM>(m_indent), 0);
    std::function<void(std::vector<std::unique_ptr<TTreeNode>>&)> insert = [&](auto& nodes) {
        for (auto& n : nodes) {
            InsertWindow(n.get());
            insert(n->m_children);
        }
    };
    insert(m_roots);
}

void TTreeView::DestroyWnd() {
    std::function<void(std::vector<std::unique_ptr<TTreeNode>>&)> forget = [&](auto& nodes) {
        for (auto& n : nodes) {
            n->m_item = nullptr;
            forget(n->m_children);
        }
    };
    forget(m_roots);
}

int TTreeView::Indent() const { return m_indent; }

void TTreeView::SetIndent(int pixels) {
    m_indent = pixels;
    if (m_handle) SendMessageW(m_handle, TVM_SETINDENT, static_cast<WPARAM>(pixels), 0);
}

void TTreeView::InsertWindow(TTreeNode* node) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = node->m_parent ? node->m_parent->m_item : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    ins.item.pszText = node->m_text.data();
    ins.item.iImage = node->m_imagesPending ? I_IMAGECALLBACK : node->m_image;
    ins.item.iSelectedImage = node->m_imagesPending ? I_IMAGECALLBACK : node->m_selected;
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    ins.item.cChildren = node->m_childrenPending ? I_CHILDRENCALLBACK : node->m_hasChildren ? 1 : 0;
    node->m_item = reinterpret_cast<HTREEITEM>(SendMessageW(m_handle, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    if (node->m_parent) node->m_parent->Apply(TVIF_CHILDREN);
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const std::wstring& text) {
    auto& list = parent ? parent->m_children : m_roots;
    list.push_back(std::unique_ptr<TTreeNode>(new TTreeNode(this, parent)));
    TTreeNode* node = list.back().get();
    node->m_text = text;
    if (m_handle) InsertWindow(node);
    return node;
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeView::SiblingsOf(TTreeNode* node) {
    return node->m_parent ? node->m_parent->m_children : m_roots;
}

void TTreeView::ForgetItems(TTreeNode* node) {
    for (auto& child : node->m_children) ForgetItems(child.get());
    // The handler's form may be half gone while the tree is destroyed.
    if (!Destroying()) Fire(OnDeletion, this, node);
}

void TTreeView::Delete(TTreeNode* node) {
    ForgetItems(node);
    if (m_handle && node->m_item) SendMessageW(m_handle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->m_item));
    auto& list = SiblingsOf(node);
    auto it = std::find_if(list.begin(), list.end(), [&](auto& p) { return p.get() == node; });
    if (it != list.end()) list.erase(it);
}

void TTreeView::Clear() {
    while (!m_roots.empty()) Delete(m_roots.back().get());
}

TTreeNode* TTreeView::NodeOf(HTREEITEM item) const {
    if (!item || !m_handle) return nullptr;
    TVITEMW tv{};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    if (!SendMessageW(m_handle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
    return reinterpret_cast<TTreeNode*>(tv.lParam);
}

TTreeNode* TTreeView::Selected() const {
    if (!m_handle) return nullptr;
    return NodeOf(reinterpret_cast<HTREEITEM>(SendMessageW(m_handle, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TTreeView::SetSelected(TTreeNode* node) {
    HWND tree = Handle();
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->m_item : nullptr));
}

void TTreeView::SetDropTarget(TTreeNode* node) {
    HWND tree = Handle();
    SendMessageW(tree, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node ? node->m_item : nullptr));
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const {
    if (!m_handle) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(m_handle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return hit.flags & TVHT_ONITEM ? NodeOf(item) : nullptr;
}

namespace {
int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM data) {
    try {
        return (*reinterpret_cast<TTVCompareEvent*>(data))(reinterpret_cast<TTreeNode*>(a), reinterpret_cast<TTreeNode*>(b));
    } catch (...) {
        HandleCallbackException(nullptr);
        return 0;
    }
}
}  // namespace

void TTreeView::SortChildren(TTreeNode* parent, TTVCompareEvent compare) {
    auto& list = parent ? parent->m_children : m_roots;
    std::stable_sort(list.begin(), list.end(), [&](auto& a, auto& b) { return compare(a.get(), b.get()) < 0; });
    if (!m_handle) return;
    TVSORTCB sort{parent ? parent->m_item : TVI_ROOT, CompareNodes, reinterpret_cast<LPARAM>(&compare)};
    SendMessageW(m_handle, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

std::unique_ptr<TImageList, TComponentDeleter> TTreeView::CreateDragImage(TTreeNode* node) {
    std::unique_ptr<TImageList, TComponentDeleter> image;
    if (!node || node->m_owner != this || !node->m_item || !m_handle) return image;
    auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(m_handle, TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(node->m_item)));
    if (!list) return image;
    image.reset(new TImageList(nullptr));
    image->SetHandle(list, false);
    return image;
}

void TTreeView::BeginUpdate() {
    if (m_updateCount++ == 0 && m_handle) SendMessageW(m_handle, WM_SETREDRAW, FALSE, 0);
}

void TTreeView::EndUpdate() {
    if (--m_updateCount == 0 && m_handle) {
        SendMessageW(m_handle, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_handle, nullptr, TRUE);
    }
}

bool TTreeView::CNNotify(NMHDR* header, LRESULT& result) {
    result = 0;
    auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
    switch (header->code) {
    case TVN_SELCHANGEDW: Fire(OnChange, this, reinterpret_cast<TTreeNode*>(nm->itemNew.lParam)); return true;
    case TVN_ITEMEXPANDINGW: {
        bool allow = true;
        auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
        Fire(nm->action & TVE_EXPAND ? OnExpanding : OnCollapsing, this, node, allow);
        result = allow ? FALSE : TRUE;
        return true;
    }
    case TVN_ITEMEXPANDEDW:
        Fire(nm->action & TVE_EXPAND ? OnExpanded : OnCollapsed, this, reinterpret_cast<TTreeNode*>(nm->itemNew.lParam));
        return true;
    case TVN_BEGINDRAGW: Fire(OnBeginDrag, this, reinterpret_cast<TTreeNode*>(nm->itemNew.lParam), nm->ptDrag); return true;
    case TVN_KEYDOWN: Fire(OnKeyNotify, this, reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey); return true;
    case NM_DBLCLK: DblClick(); return true;
    case TVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
        auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
        if (!node) return true;
        // The node is settled once; the control keeps the answer. The setters
        // the handler calls write nothing back while the control asks.
        TTreeNode* answering = std::exchange(m_answering, node);
        try {
            node->Resolve();
        } catch (...) {
            HandleCallbackException(this);
        }
        m_answering = answering;
        info->item.iImage = node->m_image;
        info->item.iSelectedImage = node->m_selected;
        info->item.cChildren = node->m_hasChildren || !node->m_children.empty() ? 1 : 0;
        info->item.mask |= TVIF_DI_SETITEM;
        return true;
    }
    }
    return false;
}

}  // namespace velmora::gui
