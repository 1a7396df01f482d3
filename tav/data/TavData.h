/// @file
/// The record table that a host fills and the grid shows: the base table extended with the
/// layout that belongs to it (template, widths, lock ranges, switches), typed accessors that
/// turn host values into the stored cell encodings and back, and hooks by item identifier.
///
/// Cell encodings (these bytes are what documents hold):
///   unsigned char  4 bytes, a 32-bit integer 0..255      unsigned short  2 bytes
///   int            4 bytes                                long            8 bytes, an IEEE double
///   double         8 bytes                                text            the item's size: narrow
///   radius        24 bytes: the HixReal value object        code page text cut at a character
///                 (zero-padded to 16), right flag, small     boundary to size - 1 bytes, zero
///                 flag (32 bits each)                        filled
///
/// Every accessor exists with an item number (long) and with an item identifier (unsigned),
/// the second mapping the identifier through the bound manager; an identifier the manager
/// does not know, or any identifier while no manager is bound, is item -1, which the base
/// table refuses with plat::InvalidArgument.
#pragma once

#include "components/mox/MoxData.h"
#include "components/support/HixRadius.h"
#include "platform/io/Archive.h"
#include "platform/ui/Types.h"
#include "tav/data/TavLockData.h"
#include "tav/data/TavUndoHistory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TavManager;

/// How a change of a table's layout counts. An edit is kept in the open undo step and marks
/// the table modified. A layout adopted while the table is bound (the stored template loaded,
/// the layout fitted to the host's items, widths measured) is neither: the document did not
/// change, only how it is shown.
enum class TavLayoutChange { Edit, Adopt };

/// The records a host keeps and its grid shows. Read and write cells with the typed Get and
/// Set (by item number or by identifier); derive from it to refuse or follow changes with
/// OnDataChanging, OnDataChanged and OnQueryRemove. Serialize stores it in a document.
class TavData : public MoxData {
public:
    TavData();
    ~TavData() override;

    /// Copies the records, the template name and the template; the widths, lock ranges,
    /// switches, version and manager stay those of this table.
    TavData& operator=(const TavData& other);

    ///@{
    /// Typed reads: non-zero when the cell holds data. An empty cell reads as zero (a text or
    /// radius argument is then left as it was).
    [[nodiscard]] plat::BOOL Get(long itemNo, long record, unsigned char& value) const;
    [[nodiscard]] plat::BOOL Get(long itemNo, long record, unsigned short& value) const;
    [[nodiscard]] plat::BOOL Get(long itemNo, long record, int& value) const;
    [[nodiscard]] plat::BOOL Get(long itemNo, long record, long& value) const;
    [[nodiscard]] plat::BOOL Get(long itemNo, long record, double& value) const;
    [[nodiscard]] plat::BOOL Get(long itemNo, long record, std::string& text) const;
    [[nodiscard]] plat::BOOL Get(long itemNo, long record, HixRadius& radius) const;
    [[nodiscard]] plat::BOOL Get(long itemNo, long record, void* buffer, unsigned size) const;
    [[nodiscard]] plat::BOOL Get(unsigned id, long record, unsigned char& value) const;
    [[nodiscard]] plat::BOOL Get(unsigned id, long record, unsigned short& value) const;
    [[nodiscard]] plat::BOOL Get(unsigned id, long record, int& value) const;
    [[nodiscard]] plat::BOOL Get(unsigned id, long record, long& value) const;
    [[nodiscard]] plat::BOOL Get(unsigned id, long record, double& value) const;
    [[nodiscard]] plat::BOOL Get(unsigned id, long record, std::string& text) const;
    [[nodiscard]] plat::BOOL Get(unsigned id, long record, HixRadius& radius) const;
    [[nodiscard]] plat::BOOL Get(unsigned id, long record, void* buffer, unsigned size) const;
    ///@}

    ///@{
    /// Typed writes: non-zero when stored, zero when a hook refused (nothing changed). A text
    /// that the narrow code page cannot hold, or a text item of size 0, is refused too.
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, unsigned char value);
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, unsigned short value);
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, int value);
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, long value);
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, const double& value);
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, const char* text);
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, const std::string& text);
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, const HixRadius& radius);
    [[nodiscard]] plat::BOOL Set(long itemNo, long record, const void* buffer, unsigned size);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, unsigned char value);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, unsigned short value);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, int value);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, long value);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, const double& value);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, const char* text);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, const std::string& text);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, const HixRadius& radius);
    [[nodiscard]] plat::BOOL Set(unsigned id, long record, const void* buffer, unsigned size);
    ///@}

    /// The 24 bytes of a radius cell: the value object, then the side and the small-arc flag.
    static constexpr std::size_t kRadiusCellSize = 24;
    /// Writes a radius as its 24 cell bytes.
    static void EncodeRadius(const HixRadius& radius, std::uint8_t (&cell)[kRadiusCellSize]) noexcept;
    /// Reads a radius from its 24 cell bytes.
    [[nodiscard]] static HixRadius DecodeRadius(const std::uint8_t (&cell)[kRadiusCellSize]) noexcept;

    /// Clears a cell after OnQueryRemove agreed; FALSE when refused.
    [[nodiscard]] plat::BOOL Delete(long itemNo, long record);
    /// Clears the cell of an item identifier after OnQueryRemove agreed; FALSE when refused.
    [[nodiscard]] plat::BOOL Delete(unsigned id, long record);
    /// TRUE when the cell holds no data.
    [[nodiscard]] plat::BOOL QueryIsBlank(long itemNo, long record) const;
    /// TRUE when the cell of that item identifier holds no data.
    [[nodiscard]] plat::BOOL QueryIsBlank(unsigned id, long record) const;

    ///@{
    /// The layout that belongs to the table, for hosts to read and to lay out before binding.
    /// What a host changes here is bounded at the next binding; the library itself changes
    /// the layout only through the setters below.
    std::string& TemplateName() noexcept { return m_templateName; }
    const std::string& TemplateName() const noexcept { return m_templateName; }
    ///@}
    /// Identifier shown in each display column, in screen order.
    std::vector<unsigned>& Template() noexcept { return m_template; }
    /// Identifier shown in each display column, in screen order.
    const std::vector<unsigned>& Template() const noexcept { return m_template; }
    /// The lock ranges of the table (kept with the template and the document).
    TavLockArray& Lock() noexcept { return m_locks; }
    /// The lock ranges of the table.
    const TavLockArray& Lock() const noexcept { return m_locks; }
    /// Pixel width of each item's column, by item number (not by column).
    std::vector<unsigned>& Width() noexcept { return m_widths; }
    /// Pixel width of each item's column, by item number.
    const std::vector<unsigned>& Width() const noexcept { return m_widths; }
    /// The version of the stored layout block that the table was read with (1 when new).
    [[nodiscard]] std::int32_t GetTemplateVersion() const noexcept { return m_templateVersion; }
    /// Takes widths wider than a grid column can be (MoxCellCtrl::kMaxPaneWidth) as that
    /// width. Widths read from a document pass through here, and every layout at binding.
    static void BoundWidths(std::vector<unsigned>& widths) noexcept;

    ///@{
    /// Layout setters. Each changes nothing when the value is already so; otherwise it bounds
    /// the value (widths to what a grid column can be), keeps what it replaces in the open
    /// undo step and marks the table modified, unless the change is TavLayoutChange::Adopt.
    void SetTemplateName(std::string name, TavLayoutChange how = TavLayoutChange::Edit);
    void SetTemplate(std::vector<unsigned> columns, TavLayoutChange how = TavLayoutChange::Edit);
    void SetWidths(std::vector<unsigned> widths, TavLayoutChange how = TavLayoutChange::Edit);
    void SetLocks(TavLockArray locks, TavLayoutChange how = TavLayoutChange::Edit);
    ///@}
    /// The width of one item's column, as a person drags it; an item number outside the
    /// widths throws plat::InvalidArgument.
    void SetItemWidth(long itemNo, unsigned width);
    /// Both return FALSE and change nothing when the value is already set; otherwise they
    /// store it as the setters above do and return TRUE.
    plat::BOOL SetAutoWidthFlag(plat::BOOL on, TavLayoutChange how = TavLayoutChange::Edit);
    /// Switches the cell lock; FALSE when it already was so.
    plat::BOOL SetCellLockFlag(plat::BOOL on, TavLayoutChange how = TavLayoutChange::Edit);
    /// TRUE when column widths follow the window.
    [[nodiscard]] plat::BOOL GetAutoWidthFlag() const noexcept { return m_autoWidth; }
    /// TRUE when the cell lock is on (locked ranges cannot be changed).
    [[nodiscard]] plat::BOOL GetCellLockFlag() const noexcept { return m_cellLock; }
    ///@{
    /// While false, changes of cells still ask the host but no longer tell it afterwards.
    void SetChangePaneCall(bool on) noexcept { m_changePaneCall = on; }
    [[nodiscard]] bool GetChangePaneCall() const noexcept { return m_changePaneCall; }
    ///@}
    ///@{
    /// While on, writes and clears are not asked of the host: they put back cells that a bulk
    /// change had written, to values the host agreed to before. The host is still told.
    void SetRestoring(bool on) noexcept { m_restoring = on; }
    [[nodiscard]] bool IsRestoring() const noexcept { return m_restoring; }
    ///@}

    ///@{
    /// The table's undo history. Cells written while one of its steps is open are recorded;
    /// loading a document empties it, and marking the table unmodified marks its saved point.
    TavUndoHistory& History() noexcept { return m_history; }
    const TavUndoHistory& History() const noexcept { return m_history; }
    ///@}

    /// Binding sets it (TavManager::Associate); a host need not.
    void SetManagerPtr(TavManager* manager) noexcept { m_manager = manager; }
    /// The bound manager, or null before binding.
    [[nodiscard]] TavManager* Manager() const noexcept { return m_manager; }
    /// The bound manager's grid window, or null.
    [[nodiscard]] plat::Wnd* Cell() const noexcept;

    /// Stores or loads the base table, the template version and the template block. Loading
    /// applies nothing unless everything was read: a damaged input throws plat::ArchiveError
    /// and leaves the table as it was.
    void Serialize(plat::Archive& archive) override;
    /// Only the template block: name, template, the two switches, the lock ranges, the widths.
    void SerializeTemplate(plat::Archive& archive);

    /// Also passes the state on to the document of a view that shows the table.
    void SetModifiedFlag(plat::BOOL modified) override;

    /// The base table's questions, answered by the bound manager.
    plat::BOOL ChangeDispNumber(long& number, long& other, plat::BOOL toColumn) const override;
    /// The grid's columns and rows, from the manager.
    plat::BOOL GetDispCellSize(long& columns, long& rows) override;
    /// An item's cell size, from the manager.
    [[nodiscard]] unsigned OnGetDataSize(long itemNo) const override;
    /// A cell's display text, from the manager (TavManager::GetText).
    plat::BOOL OnGetText(long itemNo, long record, std::string& text) override;
    /// A text (typed, pasted or found) to cell bytes, by the manager.
    plat::BOOL OnGetData(long itemNo, long record, const char* text, void* buffer, unsigned& size) override;
    /// An editor's content to cell bytes, by the manager.
    plat::BOOL OnGetData(long itemNo, long record, plat::Wnd* editor, void* buffer, unsigned& size) override;
    /// The base table's notifications, passed on to the identifier hooks below.
    plat::BOOL OnDataChanging(long itemNo, long record, const void* newBytes) override;
    /// Passes the base table's notice on to OnDataChanged by identifier.
    void OnDataChanged(long itemNo, long record) override;
    /// Passes the base table's question on to OnQueryRemove by identifier.
    plat::BOOL OnQueryRemove(long itemNo, long record) override;

    /// Host hooks.
    /// Called when the caret enters a blank line, so that a host can fill a new record.
    virtual void OnInitLineData(long record);
    /// Called when line navigation runs past the last row.
    virtual void OnFinishLineData();
    /// Asked before a cell of a table bound to a grid changes; zero refuses the change.
    [[nodiscard]] virtual plat::BOOL OnDataChanging(unsigned id, long record, const void* newBytes);
    /// Told after a cell of a table bound to a grid changed, while the change-pane-call
    /// switch is on.
    virtual void OnDataChanged(unsigned id, long record);
    /// Asked before a cell is cleared, after the manager agreed the cell is active.
    [[nodiscard]] virtual plat::BOOL OnQueryRemove(unsigned id, long record);
    /// A host may create its manager here; the library itself never calls it.
    virtual TavManager* OnCreateManagerPtr();

protected:
    /// A manager the table owns (a host may put the result of OnCreateManagerPtr here);
    /// deleted with the table.
    std::unique_ptr<TavManager> m_ownedManager;

private:
    struct TemplateBlock;
    [[nodiscard]] long ItemOf(unsigned id) const;
    [[nodiscard]] plat::BOOL SetText(long itemNo, long record, std::string_view text);
    /// The one way the layout changes: nothing when the field already holds the value; else
    /// what it held goes into the open undo step and the table is marked modified (an edit).
    template <class Field>
    bool ChangeLayout(Field& field, Field value, TavLayoutChange how);
    [[nodiscard]] unsigned ID(long itemNo) const;
    [[nodiscard]] bool HasWindow() const noexcept;
    [[nodiscard]] static TemplateBlock ReadTemplateBlock(plat::Archive& archive);
    void WriteTemplateBlock(plat::Archive& archive) const;
    void ApplyTemplateBlock(TemplateBlock&& block) noexcept;
    /// The one place that passes the modified state to a document view's document.
    void NotifyDocument(plat::BOOL modified) const;

    std::int32_t m_templateVersion = 1;
    TavManager* m_manager = nullptr;
    std::string m_templateName;
    /// The stored bytes of a name that the narrow code page could not read, else empty.
    std::string m_templateNameBytes;
    std::vector<unsigned> m_template;
    bool m_changePaneCall = true;
    bool m_restoring = false;
    plat::BOOL m_autoWidth = FALSE;
    plat::BOOL m_cellLock = FALSE;
    TavLockArray m_locks;
    std::vector<unsigned> m_widths;
    TavUndoHistory m_history{*this};
};
