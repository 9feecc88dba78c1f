// The window's edits as a history of snapshots. A snapshot holds everything an edit can
// change: the 4 KB configuration image as OK would write it, the list's rows, the view
// (selected and shown row, the record the controls show, whether Delete can be pressed),
// and whether Add can be pressed. Every edit ends with one new snapshot; undo and
// redo hand back an earlier or later one whole, so a step is exact whatever the edit was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ConfigImage.h"

struct ListRow {
    std::string name;  // as the list shows it, in the ANSI code page
    int slot;
    bool operator==(const ListRow& other) const { return name == other.name && slot == other.slot; }
};

// What the user looks at, which a move through the list changes without an edit.
struct EditView {
    int selected = -1;
    int shown = -1;
    ProfileRecord controls = {};  // the values of the controls, as ShowRecord shows them
    bool deleteEnabled = false;   // Delete works on the selected row
    bool operator==(const EditView& other) const;
};

struct EditSnapshot {
    std::vector<uint8_t> image;  // kImageSize bytes, header last
    std::vector<ListRow> rows;
    EditView view;
    bool addEnabled = false;
    bool operator==(const EditSnapshot& other) const;
};

class EditHistory {
public:
    // Forgets every step: `loaded` is the state the history starts from.
    void Start(EditSnapshot loaded);
    bool Started() const { return !m_states.empty(); }
    // An edit led to `after`, named `label` (what the menu says after "Undo" and "Redo").
    // The steps that could have been redone are dropped. False, and nothing kept, when
    // `after` equals the current state: nothing changed.
    bool Take(EditSnapshot after, std::wstring label);
    // The user moved to another row: the current state keeps `view` from now on, so that
    // undoing the next step comes back to it.
    void Look(const EditView& view);

    bool CanUndo() const { return m_current > 0; }
    bool CanRedo() const { return m_current + 1 < m_states.size(); }
    const std::wstring& UndoLabel() const { return m_labels[m_current - 1]; }
    const std::wstring& RedoLabel() const { return m_labels[m_current]; }
    // The state before the last step, or after the next one; the current state from then on.
    const EditSnapshot& Undo();
    const EditSnapshot& Redo();
    const EditSnapshot& Current() const { return m_states[m_current]; }

private:
    std::vector<EditSnapshot> m_states;
    std::vector<std::wstring> m_labels;  // m_labels[i] leads from m_states[i] to m_states[i + 1]
    size_t m_current = 0;
};
