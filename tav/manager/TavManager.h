/// @file
/// The host's description of one kind of record table: which items a record has, how large
/// each item's cell is, how many rows the grid shows, the numbering between item numbers,
/// identifiers and columns, the two attribute tables, and the hooks by which a host answers
/// the library's per-cell questions. A host derives from it.
///
/// Items declared with a negative entry (kept out of the default template) are named by the
/// absolute value everywhere: ItemNotoID, ColtoID, the identifier map, the template maps and
/// every hook receive |entry|, so a host sees the same identifier for an item whatever its
/// sign, and lookups by identifier find it.
#pragma once

#include "components/mox/MoxPos.h"
#include "platform/resource/Module.h"
#include "platform/ui/Types.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavAttr.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TavData;

/// A host's description of one kind of record table, the layout manager between the table
/// (TavData) and its grid (TavCellCtrl, TavCellView). Derive from it: declare the items in
/// the constructor (SetSize, SetTemplate), name the template section (GetRegSection), make
/// and hand over the items' editors (OnCreateControl, OnGetControl), and override the other
/// On… hooks where the defaults do not fit. Bind with Associate.
class TavManager {
public:
    /// resourceModule: the host's string table, where each item identifier's string holds the
    /// item's long name and column heading ("name\nheading"); it must outlive the manager.
    explicit TavManager(plat::ModuleHandle resourceModule);
    TavManager(const TavManager&) = delete;
    TavManager& operator=(const TavManager&) = delete;

    /// The host's string table given at construction.
    [[nodiscard]] plat::ModuleHandle GetResourceModule() const noexcept { return m_resourceModule; }
    ///@{
    /// Width of the row-number column in pixels.
    [[nodiscard]] std::uint8_t GetFixedColWidth() const noexcept { return m_fixedColWidth; }
    void SetFixedColWidth(std::uint8_t width) noexcept { m_fixedColWidth = width; }
    ///@}

    /// Numbering. An item number outside the declaration throws plat::InvalidArgument.
    [[nodiscard]] unsigned ItemNotoID(long itemNo) const;
    /// -1 when the identifier is not declared.
    [[nodiscard]] long IDtoItemNo(unsigned id) const;
    /// -1 when the identifier is not declared or its item is not shown.
    [[nodiscard]] long IDtoCol(unsigned id) const;
    /// The identifier shown in a column; a column the template does not map is taken as an
    /// item number.
    [[nodiscard]] unsigned ColtoID(long column) const;
    /// The number of declared items (SetSize).
    [[nodiscard]] long GetItemCount() const noexcept { return m_itemCount; }
    /// Sum of the cell sizes of the declared items (not of items added by OnAddItemCount).
    [[nodiscard]] unsigned GetRecordSize() const;

    /// The attribute tables, created on first use after the bound table's size.
    TavAttr& AttrWarning();
    /// The disable marks; created on first use after the bound table's size.
    TavAttr& AttrDisable();

    /// Non-zero while the bound window pastes (kept by the command layer, which defines this).
    [[nodiscard]] int IsPasteData() const;

    /// TRUE when the bound table's columns follow the window's width.
    [[nodiscard]] plat::BOOL QueryAutoWidth() const;
    /// TRUE when the bound table's cell lock is on.
    [[nodiscard]] plat::BOOL QueryCellLock() const;
    /// Switches the bound table's cell lock and repaints the grid.
    void SetCellLock(plat::BOOL on);

    /// Rebuilds the item-to-column and column-to-item maps from the bound table's template.
    void CreateTemplateMap();
    /// The table's layout block was put back (undo, redo): the maps and the columns follow it.
    void LayoutRestored();

    /// Binding (TavManagerBinding.cpp). Binds the table and the grid window (a MoxCellCtrl):
    /// the window keeps the manager as its extension pointer, the items' controls and cell
    /// sizes are collected, the template is taken from the host, the store or built by
    /// default, the table is sized, and the grid gets the table, the row-number column, the
    /// alignments and the widths.
    void Associate(plat::Wnd* window, TavData* data);
    /// Unbinds both; neither is destroyed.
    void Abscind();
    /// How many records of the table past this host's row count hold data: 0 when the table
    /// fits. Binding never cuts such records away (it keeps them and tells OnRecordOverflow);
    /// a host that cannot work with them asks here first and refuses the table.
    [[nodiscard]] long GetOverflowRecordCount(const TavData& data) const;
    /// How many items of the table past the items this binding knows hold data (a table
    /// written by a newer version that declares more items). Binding sizes the table to the
    /// known items, so theirs would be gone at the next save: a host asks here first and lets
    /// the person decide.
    [[nodiscard]] long GetUnknownItemCount(const TavData& data) const;
    /// The template last chosen for this kind of table, and the stored names.
    void GetTemplateName(std::string& name);
    /// The names of the stored templates of this kind of table; answers their count.
    int GetTemplateNameArray(std::vector<std::string>& names);
    /// Switches automatic widths, relaying the columns when the switch changed.
    void SetAutoWidth(plat::BOOL on);

    /// Cell bytes to display text, and an editor's content or a typed, pasted or found text
    /// to cell bytes. The host's hooks answer first; otherwise the class of the item's editor
    /// control decides, tested in a fixed order per operation (a number or limit edit is also
    /// an edit, so the more special class comes first). Defined in TavManagerFormat.cpp.
    ///
    /// TRUE when text holds the cell's display text; rows after the last filled record have
    /// none, and the host is not asked about them.
    [[nodiscard]] plat::BOOL GetText(long itemNo, long record, std::string& text);
    /// The item's control (not the editor argument) into buffer; size is the item's byte size
    /// on entry and 0 on return when the control is empty (the cell is to be cleared); FALSE
    /// when its content is no value of the cell's kind (the cell stays). Record -1 converts a
    /// search value and does not ask the host.
    [[nodiscard]] plat::BOOL GetData(long itemNo, long record, plat::Wnd* editor, void* buffer, unsigned& size);
    /// Loads the text into the item's control and reads it back; FALSE when the item has no
    /// control or the control refuses the text (the cell is then left as it was).
    [[nodiscard]] plat::BOOL GetData(long itemNo, long record, const char* text, void* buffer, unsigned& size);
    /// Hands every column's text alignment to the grid: the host's answer or the control's
    /// kind, combined with 0x24 (vertically centred, single line).
    void SetTextFormat();
    /// The alignment flags last handed to the grid for a display column; 0 before any.
    [[nodiscard]] unsigned GetTextAlign(long column) const noexcept;

    /// Host hooks, with the library's defaults.
    /// Asked when the item change dialog is closed with OK, with the identifiers to be shown in
    /// order; FALSE keeps the dialog open. The default takes any.
    [[nodiscard]] virtual int OnCheckTemplate(const std::vector<unsigned>& ids);
    /// How many items beyond the declared ones the table has (their entries follow in the
    /// declaration); 0 by default.
    [[nodiscard]] virtual int OnAddItemCount();
    /// Called at binding with the grid window: make the items' editor controls here, hidden, as
    /// children of the window's parent, once however often a table is bound. Answer TRUE.
    [[nodiscard]] virtual int OnCreateControl(plat::Wnd* window);
    /// Called at binding and when the controls change: set the number attributes (decimals,
    /// measures) of the editors here when they depend on the document.
    virtual void OnSetCtrlNumAttr();
    /// A column's alignment of your own: set `align` (DT_ flags) and answer TRUE; FALSE takes the
    /// editor's (numbers right, texts left).
    [[nodiscard]] virtual int OnSetTextAlign(unsigned id, unsigned& align);
    /// The editor control of an item, or null for an item that is only shown. Its kind decides how
    /// cells are formatted, parsed, pasted, found and corrected (a limit edit: text of its limit
    /// plus one bytes; a number edit: a double; a combo box or toggle: an index; a radius control:
    /// a radius). Set `flag` non-zero to have the grid ask the column's cells of OnDrawItem.
    virtual plat::Wnd* OnGetControl(unsigned id, int& flag);
    /// May the cell be edited or cleared: by default, unless it is disabled.
    [[nodiscard]] virtual int OnActiveControl(unsigned id, long record);
    /// Cell size of an item; 0 lets the binding derive it from the item's control.
    [[nodiscard]] virtual unsigned OnGetDataSize(unsigned id) const;
    /// The rows the grid shows (the records of a table); SetSize's count by default.
    [[nodiscard]] virtual long OnGetDispRowCount() const;
    /// Column width in characters; 0 lets the layout measure it.
    virtual unsigned char OnGetPaneWidth(unsigned id);
    /// A cell's display text of your own: set `text` and answer TRUE; FALSE lets the editor's
    /// kind format the stored bytes.
    [[nodiscard]] virtual int OnGetText(unsigned id, long record, std::string& text);
    /// A typed, pasted or found text to cell bytes of your own: fill `buffer` (`size` bytes; set
    /// size 0 to clear the cell) and answer TRUE; FALSE lets the editor read the text.
    [[nodiscard]] virtual int OnGetData(unsigned id, long record, const char* text, void* buffer, unsigned& size);
    /// An editor's content to cell bytes of your own, as the text form above; FALSE lets the
    /// editor's kind decide.
    [[nodiscard]] virtual int OnGetData(unsigned id, long record, plat::Wnd* control, void* buffer, unsigned& size);
    /// Draws a cell of an item whose OnGetControl set the flag, in `rect` on `dc`.
    virtual void OnDrawItem(plat::DC* dc, unsigned id, long record, const plat::RECT* rect);
    /// TRUE when the host has set the row-number column's width itself.
    [[nodiscard]] virtual int OnSetFixedCol(const plat::TEXTMETRIC& metrics);
    /// Row-number cells: the line number, record + 1.
    [[nodiscard]] virtual int OnSetFixedColText(const MoxPos& pos, std::string& text);
    /// Header cells: the second newline-separated field of the column identifier's string in
    /// the resource module; the text stays as it was when there is no such string. A column
    /// outside the template throws plat::InvalidArgument.
    [[nodiscard]] virtual int OnSetFixedRowText(const MoxPos& pos, std::string& text);
    /// The text read aloud for a cell: set `text` and answer TRUE; FALSE reads its display text.
    [[nodiscard]] virtual int OnGetSpeechText(unsigned id, long record, std::string& text);
    /// Told after the items' controls were collected again (TermChange).
    virtual void OnTermChange();
    /// Told at the end of a binding whose table holds data in `count` records past the row
    /// count; those records were kept. The default does nothing.
    virtual void OnRecordOverflow(long count);
    /// The item whose help topic F1 shows; asked with the first item. Answer the caret item's
    /// identifier (ColtoID of the caret column) for help by item; the default answers `id`.
    virtual unsigned OnGetHelpItemID(unsigned id);
    /// Where the host's templates are kept; every host names its own.
    [[nodiscard]] virtual const char* GetRegSection() = 0;
    /// The application key the templates lie under: the program's name by default.
    [[nodiscard]] virtual const char* GetSoftware();
    /// The category key below the application key: "Application" by default.
    [[nodiscard]] virtual const char* GetRegCategory();
    /// The group of templates this table chooses from: GetRegSection by default.
    [[nodiscard]] virtual const char* GetTemplateGroup();
    /// Name of the template to use, or null for the remembered one.
    [[nodiscard]] virtual const char* GetUseTemplate();
    /// The help topic of an item identifier (from OnGetHelpItemID), looked up in the program's
    /// help file; 0, no help, by default.
    [[nodiscard]] virtual unsigned long GetHelpID(unsigned short commandId);
    /// The bound table, the bound window and every grid that cached this manager forget it.
    virtual ~TavManager();

protected:
    /// Declares the number of items and the records (rows) a table has; call it in the
    /// constructor, with SetTemplate.
    void SetSize(long itemCount, long dispRowCount) noexcept;
    /// The declaration: entry i belongs to item number i, its absolute value is the item's
    /// identifier, a negative entry keeps the item out of the default template. Not copied:
    /// it must hold GetItemCount() + OnAddItemCount() entries and outlive the binding.
    void SetTemplate(const int* declaration) noexcept { m_declaration = declaration; }

    /// The bound record table, or null before Associate.
    [[nodiscard]] TavData* Data() const noexcept { return m_data; }
    /// The bound grid window, or null before Associate.
    [[nodiscard]] plat::Wnd* Cell() const noexcept { return m_cell; }

    /// The storing steps of binding, on which the full binding builds: the table (pointed
    /// back at this manager), the window, and the items (identifier map, controls and cell
    /// sizes, the extra items included) as binding collects them. Detach undoes the first two.
    void AttachTable(TavData* data) noexcept;
    /// Stores the window only (the first step of binding; see AttachTable).
    void AttachWindow(plat::Wnd* window) noexcept { m_cell = window; }
    /// Forgets table and window without telling either (the reverse of the storing steps).
    void Detach() noexcept;
    /// Collects the identifier map, the controls and the cell sizes as binding does.
    void CollectItems();

    /// Layout after the binding, for hosts and the command layer (TavManagerBinding.cpp).
    /// Replaces the template by ids and rebuilds the columns; the table is marked modified.
    void CustomizeTemplate(const std::vector<unsigned>& ids);
    /// Forgets the template name and takes the template again as binding does.
    void ReloadTemplate();
    /// Collects the host's controls again after it changed them, and measures the widths anew.
    void TermChange();
    /// Gives the table a named, non-empty template.
    void CreateTemplate();
    /// Default widths from the items' pane widths, controls and headings.
    void CalcItemWidth();
    /// What CalcItemWidth gives the table: a width for each declared item.
    [[nodiscard]] std::vector<unsigned> MeasureItemWidths();
    /// Lays the widths out on the grid: as stored, or shared out over the window's width.
    void SetColWidth(plat::BOOL keepCaret);
    /// Owner drawing of a cell, passed to OnDrawItem with the column's identifier.
    void DrawItem(plat::DC* dc, long column, long record, const plat::RECT* rect);
    /// The in-place editor of a cell, prepared with the cell's value; FALSE when the cell is
    /// not editable or its item has no control. A toggle button steps the cell instead and
    /// answers TRUE with no editor.
    [[nodiscard]] int GetControl(const MoxPos& pos, plat::Wnd** editor);

private:
    friend class TavData;
    friend class TavAttr;
    friend class TavTemplate;
    friend class TavCommon;

    void Associate(TavData* data, plat::BOOL full);

    // A grid's cached pointer to this manager, which the manager clears when it goes.
    void AddCachedIn(TavManager** slot);
    void RemoveCachedIn(TavManager** slot) noexcept;


    /// The manager's steps of the layout commands (TavManagerLayout.cpp), taken by TavCommon
    /// when the item change or the template management dialog ended with OK: the caret to
    /// column 0, then the table marked modified and the columns rebuilt from its new template.
    /// The window the layout dialogs open over: the grid's owner, else its parent.
    [[nodiscard]] plat::Wnd* LayoutDialogParent() const;
    void MoveCaretToLineStart();
    void ApplyChangedTemplate();

    /// The items' controls and cell sizes, for the declared items and `extra` more.
    void CollectControls(long extra);
    void RebuildLayout();
    /// Makes a layout from a document, the store or the host fit the declared items: columns
    /// of undeclared items leave the template, their widths go, missing widths are measured,
    /// every width is bounded. true when the template changed (its maps are then stale).
    [[nodiscard]] bool RepairLayout();
    [[nodiscard]] bool IsDeclaredID(unsigned id) const;

    /// Replaces an item number by its column (toColumn) or a column by its item number;
    /// FALSE, number unchanged, when the map has no entry.
    [[nodiscard]] plat::BOOL ChangeDispNumber(long& number, plat::BOOL toColumn) const;
    [[nodiscard]] unsigned GetDataSize(long itemNo) const;
    [[nodiscard]] plat::BOOL GetDispCellSize(long& columns, long& rows) const;
    [[nodiscard]] int DeclarationEntry(long itemNo) const;
    [[nodiscard]] plat::Wnd* ControlOf(long itemNo) const;
    /// Which of the recognised control classes the item's control belongs to (bits of
    /// TavManagerFormat.cpp), found once per collected control: a class never changes while
    /// the control lives, and the grid asks for every cell's text.
    [[nodiscard]] unsigned ControlClasses(long itemNo, const plat::Wnd* control);
    /// The grid's requests. Nothing is sent while no window is bound; an alignment is kept
    /// for GetTextAlign either way.
    void GridRequest(plat::UINT request, plat::WPARAM wParam, plat::LPARAM lParam);
    void GridSetTextAlign(unsigned flags, long column);

    using NumberMap = std::unordered_map<std::int32_t, std::int32_t>;

    plat::ModuleHandle m_resourceModule;
    long m_itemCount = 0;
    long m_dispRowCount = 0;
    TavData* m_data = nullptr;
    plat::WndRef m_cell; ///< a destroyed grid window is no window, whatever takes its address
    const int* m_declaration = nullptr;
    std::vector<plat::Wnd*> m_controls;
    std::vector<unsigned> m_dataSizes;
    std::vector<unsigned> m_controlClasses; ///< by item number; 0 until classified
    std::vector<unsigned> m_textAligns;     ///< by column, as last handed to the grid
    std::uint8_t m_fixedColWidth = 0;
    NumberMap m_itemToCol;
    NumberMap m_colToItem;
    NumberMap m_idToItem;
    std::vector<long> m_flaggedItems;
    TavAttr m_attrDisable;
    TavAttr m_attrWarning;
    std::vector<TavManager**> m_cachedIn;
};
