#pragma once

#include <QMap>
#include <QToolButton>

// A tool button that steps through N states (at least 2) on each click, after
// the last back to the first. Each state stands for a value; the dynamic
// property "MappedState" carries the current state's value, so that the style
// sheet can choose the button's image by value. State 0 is unchecked, every
// other state checked.
//
// Thread: GUI thread only.
class OLP_GUI_MultiStateToolButton : public QToolButton
{
    Q_OBJECT
public:
    explicit OLP_GUI_MultiStateToolButton(QWidget* parent = nullptr);

    int stateCount() const { return m_stateCount; }
    int state() const { return m_state; }
    // The value of a state, or -1 for an unknown state.
    int valueOfState(int state) const { return m_values.value(state, -1); }
    int currentValue() const { return valueOfState(m_state); }

    // The states become 0 .. values.size() - 1, standing for the values in
    // order. Fewer than two values are ignored.
    void setStateValues(const QVector<int>& values);
    // Makes the state whose value is value current; an unknown value is ignored.
    void setStateByValue(int value);
    // Makes state current when it is in range.
    void setState(int state);

protected:
    void nextCheckState() override;

private:
    int m_stateCount = 2;
    int m_state = 0;
    QMap<int, int> m_values;
};
