// The capture tab as the user meets it: the application with its controller
// thread and the real USB transport over an emulated camera. A choice in the
// tab reaches the camera's property or settings structure; a change on the
// camera comes back into the tab without being written back.

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_Capture.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiActions.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

class tst_CaptureRig : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(OLP_Test_GuiRig::instance()->unplug()); }

    void screenshots_data();
    void screenshots();

private:
    static OLP_Test_GuiRig* rig() { return OLP_Test_GuiRig::instance(); }
    template <class T>
    static T* find(const char* name)
    {
        return rig()->find<T>(QString::fromLatin1(name));
    }
};

void tst_CaptureRig::screenshots_data()
{
    QTest::addColumn<quint16>("product");
    QTest::newRow("KestaA") << quint16(ProductIdKestaA);
    QTest::newRow("KestaC") << quint16(ProductIdKestaC);
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo);
}

// The Camera Settings tab with each set of drive-mode fields: every visible
// control lies inside the tab, and the drive-mode row keeps its place and
// height. Under a real display (Xvfb) with OLP_SCREENSHOT_DIR set, the window
// is also saved for looking at.
void tst_CaptureRig::screenshots()
{
    QFETCH(quint16, product);
    QVERIFY(rig()->plug(product));
    auto* tab = find<OLP_GUI_Capture>("tabCamera");
    QVERIFY(tab);
    const QString dir = qEnvironmentVariable("OLP_SCREENSHOT_DIR");
    // The longest entry of the white balance list, which also enables the colour temperature.
    QVERIFY(olpChooseEntry(find<QComboBox>("cbbWhiteBalance"), "Color Temperature"));
    QTRY_VERIFY_WITH_TIMEOUT(find<QComboBox>("cbbWhiteBalTemp")->isEnabled(), olpTimeout(5000));
    for (const QString& mode : {QString("Bracketing"), QString("Interval")}) {
        QVERIFY(olpChooseEntry(find<QComboBox>("cbbDriveMode"), mode));
        const char* shown = mode == "Bracketing" ? "cbbBracketImgNum" : "ledIntervalFrames";
        QTRY_VERIFY_WITH_TIMEOUT(find<QWidget>(shown)->isVisible(), olpTimeout(5000));
        QVERIFY(rig()->settle());
        QApplication::processEvents();
        for (QWidget* w : tab->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->isVisible()) {
                QVERIFY2(tab->rect().contains(w->geometry()), qPrintable(w->objectName()));
            }
        }
        // The text of a box ends before its arrow (10 px padding, 15 px arrow).
        for (QComboBox* box : tab->findChildren<QComboBox*>()) {
            if (box->isVisible()) {
                const int needed = box->fontMetrics().horizontalAdvance(box->currentText()) + 10 + 15;
                QVERIFY2(needed <= box->width(), qPrintable(box->objectName() + ": " + box->currentText()));
            }
        }
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            const QString name = QString("%1/%2_%3.png").arg(dir, QTest::currentDataTag(), mode);
            QVERIFY(rig()->window()->grab().save(name));
        }
    }
}

OLP_TEST_GUI_MAIN(tst_CaptureRig)
#include "tst_CaptureRig.moc"
