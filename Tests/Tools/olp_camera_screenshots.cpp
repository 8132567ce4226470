// Screenshots of the camera window for looking at, not a test: run it under
// Xvfb (xvfb-run -a ./olp_camera_screenshots <folder>). For each product it
// plugs an emulated camera into the whole application, lets the window show
// the camera's state, and writes the window in full and in minimal mode, plus
// the shutter button for each power switch position.

#include <QDir>
#include <QToolButton>
#include <QtTest>

#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

namespace {
QString g_folder;
}

class CameraScreenshots : public QObject
{
    Q_OBJECT
private slots:
    void shots_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::newRow("KestaA") << quint16(ProductIdKestaA);
        QTest::newRow("KestaC") << quint16(ProductIdKestaC);
        QTest::newRow("Pelvo") << quint16(ProductIdPelvo);
    }
    void shots()
    {
        QFETCH(quint16, product);
        OLP_Test_GuiRig* rig = OLP_Test_GuiRig::instance();
        QVERIFY(rig->plug(product));
        OLP_GUI_CameraBase* window = rig->window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window, olpTimeout(5000)));
        // Some values the status line shows when a camera works.
        QVERIFY(rig->runAndWait([](OLP_Logic_Controller* c) {
            emit c->signalRemainingToLoad(3);
            emit c->signalLoading(true);
            emit c->signalLightBalance(2);
            emit c->signalFocusConfirmation(1);
            emit c->signal3DAxisAngles(1.5, -0.2);
        }));
        QVERIFY(rig->settle());
        QTest::qWait(300);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(window->grab().save(QDir(g_folder).filePath(name + "_full.png")));
        // The status area three times enlarged, to look at the digits and symbols.
        const QPixmap top = window->grab(QRect(0, 0, window->width(), 140));
        QVERIFY(top.scaled(top.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(QDir(g_folder).filePath(name + "_top_x3.png")));

        auto* minGUI = rig->find<QToolButton>("tbnMinGUI");
        QTest::mouseClick(minGUI, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(window, olpTimeout(5000)));
        QTest::qWait(300);
        QVERIFY(window->grab().save(QDir(g_folder).filePath(name + "_minimal.png")));
        QTest::mouseClick(minGUI, Qt::LeftButton);

        QWidget* capture = rig->find<QWidget>("pbnCapture");
        for (int position = 0; position <= 3; ++position) {
            QVERIFY(rig->runAndWait([position](OLP_Logic_Controller* c) {
                emit c->signalHasPowerSwitch(true);
                emit c->signalPowerSwitch(position);
            }));
            QVERIFY(rig->settle());
            QVERIFY(capture->grab().save(
                QDir(g_folder).filePath(QStringLiteral("%1_shutter_%2.png").arg(name).arg(position))));
        }
        QVERIFY(rig->unplug());
    }
};

int main(int argc, char** argv)
{
    g_folder = argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]) : QStringLiteral("screenshots");
    QDir().mkpath(g_folder);
    return OLP_Test_GuiRig::exec<CameraScreenshots>(argc > 1 ? argc - 1 : argc, argv);
}

#include "olp_camera_screenshots.moc"
