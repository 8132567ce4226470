#include "OLP_Test_GuiActions.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QtTest>

#include "OLP_Test_Support.h"

bool olpChooseEntry(QComboBox* box, const QString& text)
{
    const int target = box ? box->findText(text) : -1;
    if (target < 0 || !box->isEnabled()) {
        return false;
    }
    QTest::keyClick(box, Qt::Key_F4);
    QAbstractItemView* view = box->view();
    if (!QTest::qWaitFor([view]() { return view->isVisible(); }, olpTimeout(2000))) {
        return false;
    }
    int at = view->currentIndex().row();
    for (; at < target; ++at) {
        QTest::keyClick(view, Qt::Key_Down);
    }
    for (; at > target; --at) {
        QTest::keyClick(view, Qt::Key_Up);
    }
    QTest::keyClick(view, Qt::Key_Return);
    return QTest::qWaitFor([view]() { return !view->isVisible(); }, olpTimeout(2000));
}
