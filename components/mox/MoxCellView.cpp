// The grid view and its document.
#include "components/mox/MoxCellView.h"

#include "components/mox/MoxData.h"
#include "components/mox/MoxDocument.h"
#include "platform/ui/Frames.h"

#include <algorithm>

MoxDocument::~MoxDocument()
{
    const std::vector<MoxCellView*> views = m_views; // each view leaves the list
    for (MoxCellView* view : views)
        view->SetDocument(nullptr);
}

void MoxDocument::AddView(MoxCellView* view)
{
    if (view != nullptr && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void MoxDocument::RemoveView(MoxCellView* view) noexcept
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void MoxDocument::UpdateAllViews()
{
    for (MoxCellView* view : m_views)
        view->Invalidate(FALSE);
}

MoxCellView::MoxCellView() = default;

MoxCellView::~MoxCellView()
{
    if (m_document != nullptr)
        m_document->RemoveView(this);
}

void MoxCellView::SetDocument(MoxDocument* document)
{
    if (m_document == document)
        return;
    MoxDocument* old = m_document;
    m_document = document;
    if (old != nullptr)
        old->RemoveView(this);
    if (document != nullptr)
        document->AddView(this);
}

plat::FrameWnd* MoxCellView::GetParentFrame() const noexcept
{
    for (plat::Wnd* up = GetParent(); up != nullptr; up = up->GetParent())
        if (auto* frame = dynamic_cast<plat::FrameWnd*>(up))
            return frame;
    return nullptr;
}

plat::BOOL MoxCellView::PreCreateWindow(plat::CREATESTRUCT& cs) { return MoxCellCtrl::PreCreateWindow(cs); }

void MoxCellView::OnInitialUpdate()
{
    if (m_document != nullptr && m_document->GetTable() != nullptr && m_document->GetTable() != GetData())
        SendMessage(MOXM_SETDATA, reinterpret_cast<plat::WPARAM>(m_document->GetTable()));
    Invalidate(FALSE);
}
