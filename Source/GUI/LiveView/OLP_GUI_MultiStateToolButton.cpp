#include "OLP_GUI_MultiStateToolButton.h"

#include <QStyle>
#include <QVariant>

OLP_GUI_MultiStateToolButton::OLP_GUI_MultiStateToolButton(QWidget* parent) : QToolButton(parent)
{
    setCheckable(true);
    m_values.insert(0, 0);
    m_values.insert(1, 1);
    setProperty("MappedState", QVariant(0));
}

void OLP_GUI_MultiStateToolButton::setStateValues(const QVector<int>& values)
{
    if (values.size() < 2) {
        return;
    }
    m_values.clear();
    for (int i = 0; i < values.size(); ++i) {
        m_values.insert(i, values[i]);
    }
    m_stateCount = values.size();
    if (m_state >= m_stateCount) {
        setState(m_stateCount - 1);
    } else {
        // The value of the current state may have changed.
        setProperty("MappedState", QVariant(currentValue()));
        style()->unpolish(this);
        style()->polish(this);
        update();
    }
}

void OLP_GUI_MultiStateToolButton::setStateByValue(int value)
{
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it) {
        if (it.value() == value) {
            setState(it.key());
            return;
        }
    }
}

void OLP_GUI_MultiStateToolButton::setState(int state)
{
    if (state < 0 || state >= m_stateCount || state == m_state) {
        return;
    }
    m_state = state;
    setChecked(state > 0);
    setProperty("MappedState", QVariant(currentValue()));
    // The style sheet picks the image by the property only when re-polished.
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void OLP_GUI_MultiStateToolButton::nextCheckState()
{
    const int next = m_state + 1 >= m_stateCount ? 0 : m_state + 1;
    setState(next);
    // A two-state button at the same state would otherwise flip its check.
    setChecked(m_state > 0);
}
