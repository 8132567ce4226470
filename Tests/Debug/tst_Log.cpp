#include <QtTest>

#include "OLP_Debug.h"
#include "OLP_Test_Support.h"

class tst_Log : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    void flagFiltering();
};

void tst_Log::flagFiltering()
{
    OLP_Test_LogCapture log;
    setDebugFlags(0xFFFFFFFF, false);
    debugPrintf(1, "%s - one", "X::y");
    debugPrintf(0, "%s - zero", "X::y");
    QCOMPARE(log.count("X::y - one"), 0);
    QCOMPARE(log.count("X::y - zero"), 1);
}

QTEST_GUILESS_MAIN(tst_Log)
#include "tst_Log.moc"
