// The navigator tree: its 21 nodes, selection by key, expand and collapse images,
// and the node-click dispatcher that turns a node into a view.
#include "mainwindow/Form1.h"

#include "system/Text.h"

namespace {

constexpr int kFolderClosed = 0;
constexpr int kFolderOpen = 1;

struct NodeSpec {
    const wchar_t* key;
    const wchar_t* text;
    const wchar_t* parent;
};

// In the order they are added; keys are compared without regard to case.
constexpr NodeSpec kNodes[] = {
    {L"one", L"All Startups", L""},
    {L"two", L"Startup Folder", L"one"},
    {L"three", L"Registry", L"one"},
    {L"another", L"All Users", L"three"},
    {L"another11", L"Run", L"another"},
    {L"another22", L"RunOnce", L"another"},
    {L"another33", L"RunOnceEx", L"another"},
    {L"another25", L"Current User", L"three"},
    {L"another26", L"Run", L"another25"},
    {L"another27", L"RunOnce", L"another25"},
    {L"seven", L"Disabled Startups", L"one"},
    {L"another 44", L"Registry", L"seven"},
    {L"another 45", L"Startup Folder", L"seven"},
    {L"ten", L"WinLogon", L"one"},
    {L"eleven", L"File System Startups", L""},
    {L"five", L"AutoExec.bat", L"eleven"},
    {L"boot", L"Boot.ini", L"eleven"},
    {L"nine", L"Config.sys", L"eleven"},
    {L"eight", L"System.ini", L"eleven"},
    {L"four", L"Win.ini", L"eleven"},
    {L"six", L"Services", L""},
};

void SetNodeImage(HWND tree, HTREEITEM item, int image) {
    if (!item) return;
    TVITEMW tv{};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = image;
    tv.iSelectedImage = image;
    TreeView_SetItem(tree, &tv);
}

} // namespace

void Form1::NavigatorNodes() {
    TreeView_DeleteAllItems(tvwDemo);
    nodes.clear();
    for (const auto& spec : kNodes) {
        const NavigatorNode* parent = spec.parent[0] ? FindNode(spec.parent) : nullptr;
        TVINSERTSTRUCTW ins{};
        ins.hParent = parent ? parent->item : TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        ins.item.pszText = const_cast<wchar_t*>(spec.text);
        ins.item.iImage = kFolderClosed;
        ins.item.iSelectedImage = kFolderClosed;
        ins.item.lParam = static_cast<LPARAM>(nodes.size());
        NavigatorNode node{spec.key, spec.text, spec.parent, nullptr};
        node.item = TreeView_InsertItem(tvwDemo, &ins);
        nodes.push_back(std::move(node));
    }
}

const Form1::NavigatorNode* Form1::FindNode(const std::wstring& key) const {
    for (const auto& n : nodes)
        if (Text::EqualsNoCase(n.key, key)) return &n;
    return nullptr;
}

bool Form1::SelectNode(const std::wstring& key) {
    const NavigatorNode* node = FindNode(key);
    if (!node) return false;
    // A selection made by the program dispatches nothing by itself (TVC_UNKNOWN).
    TreeView_SelectItem(tvwDemo, node->item);
    return true;
}

std::wstring Form1::SelectedNodeKey() const {
    const HTREEITEM selected = TreeView_GetSelection(tvwDemo);
    for (const auto& n : nodes)
        if (n.item == selected) return n.key;
    return {};
}

void Form1::ExpandAllNodes() {
    for (const auto& n : nodes) TreeView_Expand(tvwDemo, n.item, TVE_EXPAND);
}

void Form1::CollapseAllNodes() {
    for (const auto& n : nodes) TreeView_Expand(tvwDemo, n.item, TVE_COLLAPSE);
}

void Form1::tvwDemo_Expand(HTREEITEM node) {
    SetNodeImage(tvwDemo, TreeView_GetSelection(tvwDemo), kFolderOpen);
    SetNodeImage(tvwDemo, node, kFolderOpen);
}

void Form1::tvwDemo_Collapse(HTREEITEM node) {
    SetNodeImage(tvwDemo, TreeView_GetSelection(tvwDemo), kFolderClosed);
    SetNodeImage(tvwDemo, node, kFolderClosed);
}

void Form1::cmdWL_Click() { tvwDemo_NodeClick(SelectedNodeKey()); }

void Form1::mnuSeeSubs_Click() {
    SelectNode(L"five");
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::tvwDemo_NodeClick(const std::wstring& key) {
    (void)key;
}
