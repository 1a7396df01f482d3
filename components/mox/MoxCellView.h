// The grid as a document view: the same window as MoxCellCtrl, shown inside a frame and
// taking its table from its document, whose modified state the table keeps up to date.
#pragma once

#include "components/mox/MoxCellCtrl.h"

class MoxDocument;
namespace plat {
class FrameWnd;
}

class MoxCellView : public MoxCellCtrl {
public:
    MoxCellView();
    ~MoxCellView() override;

    // The view's document; not owned. A view joins its document's views.
    void SetDocument(MoxDocument* document);
    [[nodiscard]] MoxDocument* GetDocument() const noexcept { return m_document; }
    // The frame that holds the view, or null.
    [[nodiscard]] plat::FrameWnd* GetParentFrame() const noexcept;

    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;
    // Shows the document's table (after creation, or when the document has a new table).
    virtual void OnInitialUpdate();

private:
    MoxDocument* m_document = nullptr;
};
