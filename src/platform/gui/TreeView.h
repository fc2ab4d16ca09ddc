#pragma once
// TTreeView: the common tree view with nodes that carry text, images, a data
// pointer and a "has children" flag for lazy filling.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "ImageList.h"

namespace velmora::gui {

class TImageList;
class TTreeView;

class TTreeNode {
public:
    std::wstring Text() const { return m_text; }
    void SetText(const std::wstring& text);
    int ImageIndex() const { Resolve(); return m_image; }
    void SetImageIndex(int index);
    int SelectedIndex() const { Resolve(); return m_selected; }
    void SetSelectedIndex(int index);
    bool HasChildren() const { Resolve(); return m_hasChildren; }
    void SetHasChildren(bool value);
    // The images and the children flag are left to the tree's OnGetDisplay,
    // asked when the node is first drawn or read: a node that is never seen
    // costs no look-up. Setting a value settles it.
    void DeferDisplay();
    bool ImagesPending() const { return m_imagesPending; }
    bool ChildrenPending() const { return m_childrenPending; }
    void* Data = nullptr;
    TTreeNode* Parent() const { return m_parent; }
    int Count() const { return static_cast<int>(m_children.size()); }
    TTreeNode* Item(int index) const { return m_children.at(static_cast<size_t>(index)).get(); }
    HTREEITEM ItemId() const { return m_item; }
    bool Expanded() const;
    void Expand();
    void Collapse();
    void DeleteChildren();
    void MakeVisible();
    TTreeView* Owner() const { return m_owner; }

private:
    TTreeNode(TTreeView* owner, TTreeNode* parent) : m_owner(owner), m_parent(parent) {}
    void Apply(UINT mask);
    void Resolve() const;
    TTreeView* m_owner;
    TTreeNode* m_parent;
    std::vector<std::unique_ptr<TTreeNode>> m_children;
    HTREEITEM m_item = nullptr;
    std::wstring m_text;
    int m_image = -1, m_selected = -1;
    bool m_hasChildren = false;
    bool m_imagesPending = false, m_childrenPending = false;
    friend class TTreeView;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
// Settles a deferred node (see TTreeNode::DeferDisplay) through its setters.
using TTVGetDisplayEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& Allow)>;
using TTVCompareEvent = std::function<int(TTreeNode* a, TTreeNode* b)>;
// The user starts dragging Node with the left button, at Pt (client coordinates).
using TTVBeginDragEvent = std::function<void(TObject* Sender, TTreeNode* Node, POINT Pt)>;
// A key the tree view is about to handle itself (after OnKeyDown let it pass).
using TTVKeyNotifyEvent = std::function<void(TObject* Sender, WORD Key)>;

class TTreeView : public TWinControl {
public:
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;
    TImageList* Images = nullptr;
    bool ShowRoot = true;
    bool ReadOnly = true;
    int Indent() const;
    void SetIndent(int pixels);

    // A node below Parent (or at the top), at the end.
    TTreeNode* AddChild(TTreeNode* parent, const std::wstring& text);
    void Delete(TTreeNode* node);
    void Clear();
    int TopCount() const { return static_cast<int>(m_roots.size()); }
    TTreeNode* TopItem(int index) const { return m_roots.at(static_cast<size_t>(index)).get(); }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* node);
    void SetDropTarget(TTreeNode* node);
    TTreeNode* GetNodeAt(int x, int y) const;
    TTreeNode* NodeOf(HTREEITEM item) const;
    void SortChildren(TTreeNode* parent, TTVCompareEvent compare);
    // An image of the node (its image and text) to drag; nullptr when the tree
    // cannot make one (it needs Images).
    std::unique_ptr<TImageList, TComponentDeleter> CreateDragImage(TTreeNode* node);
    void BeginUpdate();
    void EndUpdate();

    TTVChangedEvent OnChange, OnCollapsed, OnExpanded, OnDeletion;
    TTVExpandingEvent OnExpanding, OnCollapsing;
    TTVBeginDragEvent OnBeginDrag;
    TTVKeyNotifyEvent OnKeyNotify;
    TTVGetDisplayEvent OnGetDisplay;
    bool CNNotify(NMHDR* header, LRESULT& result) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void DestroyWnd() override;

private:
    void InsertWindow(TTreeNode* node);
    void ForgetItems(TTreeNode* node);
    std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* node);
    std::vector<std::unique_ptr<TTreeNode>> m_roots;
    int m_indent = 19;
    int m_updateCount = 0;
    // The node whose display the control is asking for (TVN_GETDISPINFOW).
    TTreeNode* m_answering = nullptr;
    friend class TTreeNode;
};

}  // namespace velmora::gui
