#include "EditHistory.h"

#include <cstring>
#include <utility>

bool EditView::operator==(const EditView& other) const
{
    return selected == other.selected && shown == other.shown && deleteEnabled == other.deleteEnabled &&
           std::memcmp(&controls, &other.controls, sizeof controls) == 0;
}

bool EditSnapshot::operator==(const EditSnapshot& other) const
{
    return image == other.image && rows == other.rows && view == other.view && addEnabled == other.addEnabled;
}

void EditHistory::Start(EditSnapshot loaded)
{
    m_states.assign(1, std::move(loaded));
    m_labels.clear();
    m_current = 0;
}

bool EditHistory::Take(EditSnapshot after, std::wstring label)
{
    if (!Started() || after == Current()) return false;
    m_states.resize(m_current + 1);
    m_labels.resize(m_current);
    m_states.push_back(std::move(after));
    m_labels.push_back(std::move(label));
    ++m_current;
    return true;
}

void EditHistory::Look(const EditView& view)
{
    if (Started()) m_states[m_current].view = view;
}

const EditSnapshot& EditHistory::Undo()
{
    if (CanUndo()) --m_current;
    return Current();
}

const EditSnapshot& EditHistory::Redo()
{
    if (CanRedo()) ++m_current;
    return Current();
}
