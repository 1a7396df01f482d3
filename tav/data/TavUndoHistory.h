/// @file
/// The undo history of one record table: each change a person makes is one step that can be
/// taken back and done again as a whole. A step keeps only what it changed (the old bytes of
/// the cells it wrote, the records it removed, the flag rows and lock ranges it replaced),
/// never a copy of the table, and the history keeps its steps under a memory limit.
///
/// Cells written while a step is open are recorded by the table itself; a command that moves
/// whole records adds the matching step part. Taking a step back asks the same change hooks
/// as the change did; when one refuses, everything the step had put back is put back again
/// without asking, so the table stays as it was.
#pragma once

#include "tav/data/TavLockData.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class TavAttr;
class TavData;

/// A record table's undo history (TavData::History). A host records its own changes in a
/// step: OpenStep(name), the changes, CloseStep(); CancelStep() puts back what an open step
/// changed. Undo and Redo take a whole step, through the same change hooks as the change.
class TavUndoHistory {
public:
    /// One part of a step. Apply takes it back (undo) or does it again; false when a change
    /// hook refused, and then nothing of this part is changed.
    class Action {
    public:
        virtual ~Action() = default;
        /// Takes the part back (undo true) or does it again; false when a hook refused.
        [[nodiscard]] virtual bool Apply(TavData& data, bool undo) = 0;
        /// The memory the part holds, counted against the history's limit.
        [[nodiscard]] virtual std::size_t Bytes() const noexcept = 0;
    };

    /// The memory the steps may hold unless SetLimit says otherwise: 64 MiB.
    static constexpr std::size_t kDefaultLimit = std::size_t{64} << 20;

    /// An empty history of that table (the table owns it).
    explicit TavUndoHistory(TavData& data);
    ~TavUndoHistory();
    TavUndoHistory(const TavUndoHistory&) = delete;
    TavUndoHistory& operator=(const TavUndoHistory&) = delete;

    // ---- for hosts and commands ----
    /// Opens a step under a name; steps opened inside an open one join it. Every cell written
    /// until the matching CloseStep belongs to it.
    void OpenStep(std::string name);
    /// Closes a step; the outermost close files it (a step that changed nothing is dropped,
    /// as are the steps that could be redone).
    void CloseStep();
    /// Puts back, without asking the hooks, what the open step changed so far and drops it:
    /// a command that a host refused part way ends this way.
    void CancelStep();
    /// Drops the open step as it is: the command has put the table back itself.
    void DiscardStep();
    /// True between OpenStep and its CloseStep.
    [[nodiscard]] bool IsStepOpen() const noexcept { return m_depth > 0; }
    /// A command's own step, held by a TavUndoStep. A step still open from an earlier message
    /// that no command holds (a bracket whose end never came) is closed first, so that the
    /// command is a step of its own.
    void OpenCommandStep(std::string name);
    /// Ends a command's step; unwinding: an exception leaves the command, and what it
    /// changed is put back.
    void CloseCommandStep(bool unwinding);

    /// Takes the last step back or does the next one again. False when there is none, a step
    /// is open, or a change hook refused (the table is then as it was).
    [[nodiscard]] bool Undo();
    /// Does the step the last Undo took back again; false when there is none, a step is open,
    /// or a change hook refused (the table is then as it was).
    [[nodiscard]] bool Redo();
    /// True when a step can be taken back.
    [[nodiscard]] bool CanUndo() const noexcept { return m_depth == 0 && m_done > 0; }
    /// True when a step that was taken back can be done again.
    [[nodiscard]] bool CanRedo() const noexcept { return m_depth == 0 && m_done < m_steps.size(); }
    /// The name of the step Undo or Redo would take, empty when there is none.
    [[nodiscard]] std::string UndoName() const;
    /// The name of the step Redo would take, empty when there is none.
    [[nodiscard]] std::string RedoName() const;

    /// The most bytes the steps may hold; the oldest steps go first past it. A step larger
    /// than the whole limit is not kept, nor anything before it.
    void SetLimit(std::size_t bytes);
    /// The most bytes the steps may hold.
    [[nodiscard]] std::size_t GetLimit() const noexcept { return m_limit; }
    /// The bytes the steps hold now.
    [[nodiscard]] std::size_t GetBytes() const noexcept { return m_bytes; }
    /// The steps kept, undone ones included.
    [[nodiscard]] std::size_t GetStepCount() const noexcept { return m_steps.size(); }
    /// Drops every step (loading a document does).
    void Clear();

    // ---- for the record table and the commands ----
    /// True while a step is open and not being replayed: changes are to be recorded.
    [[nodiscard]] bool IsRecording() const noexcept { return m_depth > 0 && !m_replaying; }
    /// True while Undo or Redo puts a step's changes back.
    [[nodiscard]] bool IsReplaying() const noexcept { return m_replaying; }
    /// The cell is about to be written or cleared: keeps what it holds now.
    void RecordCell(long itemNo, long record);
    /// Adds a part to the open step (ignored when none is open).
    void Add(std::unique_ptr<Action> action);
    /// Step parts for the commands that move whole records. Each is made before the change.
    /// count records at first are about to be removed (records, flag rows, nothing else).
    void AddRemovedRecords(long first, long count);
    /// count empty records are about to be inserted at first (the flag rows they push off the
    /// end are kept).
    void AddInsertedRecords(long first, long count);
    /// Records first..first+count-1 are about to change places or be cleared without the
    /// hooks being asked: their raw image and flag rows are kept.
    void AddRecordImage(long first, long count);
    /// The flag rows of these records as they are now, to be added (Add) after the cells
    /// that change with them, so that undoing puts the flags back before the cells, which
    /// the flags may keep from being cleared. Null while nothing is recorded.
    [[nodiscard]] std::unique_ptr<Action> SaveFlagRows(const std::vector<long>& records);
    ///@{
    /// The table's layout setters, before they change it: the lock switch and ranges as they
    /// are (RecordLocks), or the whole layout block (RecordLayout, whose putting back rebuilds
    /// the grid's columns); each kept once a step, as the first keeps what the step began with.
    void RecordLocks();
    void RecordLayout();
    ///@}

    /// The modified mark: the table was saved (or loaded) at this point of the history, or
    /// changed outside any step, so no point of the history matches what was saved.
    void MarkSaved() noexcept;
    /// The table changed outside any step: no point of the history matches what was saved.
    void ChangedOutside() noexcept;
    /// True when the table is as it was saved, by the history's count.
    [[nodiscard]] bool IsAtSavedPoint() const noexcept { return m_saved == static_cast<long>(m_done); }

private:
    struct Step {
        std::string name;
        std::vector<std::unique_ptr<Action>> actions;
        std::size_t bytes = 0;
        bool keepsLocks = false;
        bool keepsLayout = false;
    };
    class CellLog;
    [[nodiscard]] bool ApplyStep(Step& step, bool undo);
    void Trim();
    void DropOldest();
    void AfterReplay();
    // An exception that escaped to the message loop stopped whatever opened the steps still
    // open outside any command: what they changed is put back.
    static void CancelInterruptedSteps() noexcept;
    void SetDepth(int depth);

    TavData& m_data;
    std::deque<Step> m_steps;
    std::size_t m_done = 0; ///< steps[0, m_done) can be undone, the rest redone
    std::size_t m_bytes = 0;
    std::size_t m_limit = kDefaultLimit;
    long m_saved = 0; ///< m_done at the saved point, -1 when no point matches
    int m_depth = 0;
    int m_commands = 0; ///< TavUndoStep objects alive
    bool m_replaying = false;
    Step m_open;
    CellLog* m_cells = nullptr; ///< the open step's last part when it logs cells
};

/// A command's step, open while the object lives: closed when the command returns, put back
/// and dropped when an exception leaves the command. With no history nothing is recorded.
class TavUndoStep {
public:
    /// Opens the step under a name in the history, if there is one.
    TavUndoStep(TavUndoHistory* history, std::string name);
    ~TavUndoStep();
    TavUndoStep(const TavUndoStep&) = delete;
    TavUndoStep& operator=(const TavUndoStep&) = delete;
    /// Ends the step before the object goes, as a return would.
    void Close();
    /// Ends the step before the object goes, putting back what it changed.
    void Cancel();

private:
    TavUndoHistory* m_history;
    int m_exceptions; ///< in flight when the command began
};
