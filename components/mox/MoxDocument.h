// The document of a grid view: the record table it holds for its views, whether that table
// changed since it was last saved, and the views that show it.
#pragma once

#include "platform/ui/Types.h"

#include <string>
#include <vector>

class MoxData;
class MoxCellView;

class MoxDocument {
public:
    MoxDocument() = default;
    virtual ~MoxDocument();
    MoxDocument(const MoxDocument&) = delete;
    MoxDocument& operator=(const MoxDocument&) = delete;

    // The table the document's views show; not owned.
    void SetTable(MoxData* table) noexcept { m_table = table; }
    [[nodiscard]] MoxData* GetTable() const noexcept { return m_table; }

    virtual void SetModifiedFlag(plat::BOOL modified) { m_modified = modified ? TRUE : FALSE; }
    [[nodiscard]] virtual plat::BOOL IsModified() const { return m_modified; }

    void SetTitle(std::string title) { m_title = std::move(title); }
    [[nodiscard]] const std::string& GetTitle() const noexcept { return m_title; }

    // Views join when they are given the document and leave when they go away.
    void AddView(MoxCellView* view);
    void RemoveView(MoxCellView* view) noexcept;
    [[nodiscard]] const std::vector<MoxCellView*>& GetViews() const noexcept { return m_views; }
    // Repaints every view of the document.
    void UpdateAllViews();

private:
    MoxData* m_table = nullptr;
    plat::BOOL m_modified = FALSE;
    std::string m_title;
    std::vector<MoxCellView*> m_views;
};
