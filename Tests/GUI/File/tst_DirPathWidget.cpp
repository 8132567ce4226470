#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "OLP_GUI_DirPathWidget.h"
#include "OLP_Test_GuiModalDriver.h"
#include "OLP_Test_Support.h"

namespace {

const QString kQuestion = QStringLiteral("Path does not exist!\nCreate this path?");
const QString kCannotCreate = QStringLiteral("Cannot create this path!");

}  // namespace

// The folder field on its own, in a window with a second field to take the focus.
class tst_DirPathWidget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typing_data();
    void typing();
    void check_data();
    void check();
    void emptiedFieldShowsFolderAgain();
    void browse_data();
    void browse();
    void deletedInsideNestedLoop_data();
    void deletedInsideNestedLoop();
    void timerReallyFires();

private:
    QLineEdit* ledPath() const { return m_widget->findChild<QLineEdit*>("ledPath"); }
    QTimer* dirtyTimer() const { return m_widget->findChild<QTimer*>("dirtyTimer"); }
    void typeIntoField(const QString& text);
    void stepDirtyTimer();
    // Waits until no modal widget is open and the driver has no reply left.
    bool waitForBoxesDone(const OLP_Test_GuiModalDriver& driver);

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    QPointer<QWidget> m_window;
    QPointer<OLP_GUI_DirPathWidget> m_widget;
    QLineEdit* m_other = nullptr;
};

void tst_DirPathWidget::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    olpTestInit();
}

void tst_DirPathWidget::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_widget = new OLP_GUI_DirPathWidget(m_window);
    m_other = new QLineEdit(m_window);
    layout->addWidget(m_widget);
    layout->addWidget(m_other);
    m_widget->setPath(m_dir->path());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void tst_DirPathWidget::cleanup()
{
    delete m_window;
}

void tst_DirPathWidget::typeIntoField(const QString& text)
{
    QTest::mouseClick(ledPath(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(ledPath()->hasFocus(), olpTimeout(5000));
    QTest::keyClick(ledPath(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ledPath(), text);
}

// The private slot the 3 s timer calls, stepped instead of waited for.
void tst_DirPathWidget::stepDirtyTimer()
{
    QVERIFY(QMetaObject::invokeMethod(m_widget, "catchTextDirtyFired"));
}

bool tst_DirPathWidget::waitForBoxesDone(const OLP_Test_GuiModalDriver& driver)
{
    return QTest::qWaitFor([&] { return driver.pendingActions() == 0 && QApplication::activeModalWidget() == nullptr; },
                           olpTimeout(10000));
}

// While the user types, every existing folder on the way is emitted; a missing
// one starts the 3 s timer instead.
void tst_DirPathWidget::typing_data()
{
    QTest::addColumn<QString>("typed");     // below the temporary folder unless it starts with "~" or is relative
    QTest::addColumn<QString>("lastPath");  // the last emission, "" for none beyond the start
    QTest::addColumn<bool>("timerRunning");

    QTest::newRow("existing folder") << "sub/deeper"
                                     << "sub/deeper" << false;
    QTest::newRow("missing below existing emits the parent") << "sub/new"
                                                             << "sub" << true;
    QTest::newRow("trailing separator and dots name the same folder") << "sub/./deeper/../"
                                                                      << "sub" << false;
    QTest::newRow("home folder by ~") << "~/homesub"
                                      << "~/homesub" << false;
    QTest::newRow("relative folder is never taken") << "sub"
                                                    << "" << true;
}

void tst_DirPathWidget::typing()
{
    QFETCH(QString, typed);
    QFETCH(QString, lastPath);
    QFETCH(bool, timerRunning);

    QVERIFY(QDir().mkpath(m_dir->path() + "/sub/deeper"));
    QVERIFY(QDir().mkpath(m_home.path() + "/homesub"));
    // A relative "sub" exists in the working folder: it must not count.
    QVERIFY(QDir::setCurrent(m_dir->path()));
    const auto full = [&](const QString& text) {
        if (text.startsWith('~')) {
            return m_home.path() + text.mid(1);
        }
        return m_dir->path() + '/' + text;
    };
    const QString text = typed.startsWith('~') || !typed.contains('/') ? typed : full(typed);

    QSignalSpy spy(m_widget, &OLP_GUI_DirPathWidget::signalPath);
    typeIntoField(text);
    if (lastPath.isEmpty()) {
        QCOMPARE(spy.count(), 0);
        QCOMPARE(m_widget->path(), m_dir->path());
    } else {
        QVERIFY(spy.count() > 0);
        QCOMPARE(spy.last().at(0).toString(), full(lastPath));
        QCOMPARE(m_widget->path(), full(lastPath));
    }
    QCOMPARE(dirtyTimer()->isActive(), timerRunning);
    QCOMPARE(dirtyTimer()->interval(), 3000);
    QCOMPARE(dirtyTimer()->isSingleShot(), true);
    QCOMPARE(ledPath()->text(), text);
}

// The check of a typed folder that does not exist: each box is found as the
// active modal widget, its text and buttons checked and one button pressed.
void tst_DirPathWidget::check_data()
{
    QTest::addColumn<bool>("blocked");  // the folder lies below a regular file and cannot be made
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QList<int>>("replies");  // standard buttons, or Qt::Key_Return for the default
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("emitted");
    QTest::addColumn<bool>("timerRunning");

    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    const int cancel = QMessageBox::Cancel;
    const int enter = Qt::Key_Return;
    QTest::newRow("timer, Yes creates and emits")
        << false << "timer" << QList<int>{yes} << QStringList{kQuestion} << true << false;
    QTest::newRow("timer, No asks again, then Yes")
        << false << "timer" << QList<int>{no, yes} << QStringList{kQuestion, kQuestion} << true << false;
    QTest::newRow("timer, No then Cancel")
        << false << "timer" << QList<int>{no, cancel} << QStringList{kQuestion, kQuestion} << false << false;
    QTest::newRow("Return takes the default, Cancel")
        << false << "timer" << QList<int>{enter} << QStringList{kQuestion} << false << false;
    QTest::newRow("focus-out, Yes") << false << "focus" << QList<int>{yes} << QStringList{kQuestion} << true << false;
    QTest::newRow("focus-out asks once, Cancel")
        << false << "focus" << QList<int>{cancel} << QStringList{kQuestion} << false << false;
    QTest::newRow("cannot create, asked again") << true << "timer" << QList<int>{yes, cancel, cancel}
                                                << QStringList{kQuestion, kCannotCreate, kQuestion} << false << false;
    QTest::newRow("cannot create keeps the timer")
        << true << "focus" << QList<int>{yes, cancel} << QStringList{kQuestion, kCannotCreate} << false << true;
}

void tst_DirPathWidget::check()
{
    QFETCH(bool, blocked);
    QFETCH(QString, trigger);
    QFETCH(QList<int>, replies);
    QFETCH(QStringList, texts);
    QFETCH(bool, emitted);
    QFETCH(bool, timerRunning);

    QString target = m_dir->path() + "/new/deeper";
    if (blocked) {
        // A read-only folder does not stop root; a regular file in the way does.
        QFile file(m_dir->path() + "/file");
        QVERIFY(file.open(QIODevice::WriteOnly));
        target = m_dir->path() + "/file/new";
    }
    typeIntoField(target);
    // The existing parent, emitted while typing, is the start folder itself.
    const QString accepted = m_widget->path();
    QCOMPARE(accepted, m_dir->path());
    QSignalSpy spy(m_widget, &OLP_GUI_DirPathWidget::signalPath);

    OLP_Test_GuiModalDriver driver;
    for (const int reply : replies) {
        driver.addAction(reply == Qt::Key_Return ? OLP_Test_GuiModalDriver::key(Qt::Key_Return)
                                                 : OLP_Test_GuiModalDriver::press(QMessageBox::StandardButton(reply)));
    }
    if (trigger == "timer") {
        stepDirtyTimer();
    } else {
        QTest::mouseClick(m_other, Qt::LeftButton);
    }
    // After No and after "cannot create" the timer asks again; step it.
    for (int step = 1; step < texts.size(); ++step) {
        QVERIFY(QTest::qWaitFor([&] { return driver.seen().size() >= step; }, olpTimeout(10000)));
        if (texts.at(step) == kQuestion) {
            QVERIFY(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }, olpTimeout(10000)));
            QVERIFY(dirtyTimer()->isActive());
            stepDirtyTimer();
        }
    }
    QVERIFY(waitForBoxesDone(driver));
    // A second check, had one been queued by the box taking the focus, runs now.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    QCOMPARE(driver.seen().size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        const OLP_Test_GuiModalDriver::Seen& seen = driver.seen().at(i);
        QCOMPARE(seen.title, QStringLiteral("Warning"));
        QCOMPARE(seen.text, texts.at(i));
        if (seen.text == kQuestion) {
            QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            QCOMPARE(seen.defaultButton, QMessageBox::Cancel);
        } else {
            QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Cancel));
        }
    }
    if (emitted) {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), target);
        QVERIFY(QDir(target).exists());
        QCOMPARE(ledPath()->text(), target);
    } else {
        QCOMPARE(spy.count(), 0);
        QVERIFY(!QDir(target).exists());
        QCOMPARE(m_widget->path(), accepted);
        // Cancel shows the accepted folder again; after "cannot create" the text stays for correcting.
        QCOMPARE(ledPath()->text(), timerRunning ? target : accepted);
        QCOMPARE(m_window->focusWidget(), ledPath());
    }
    QCOMPARE(dirtyTimer()->isActive(), timerRunning);
}

// A field emptied after a missing folder was typed asks nothing when left.
void tst_DirPathWidget::emptiedFieldShowsFolderAgain()
{
    typeIntoField(m_dir->path() + "/missing");
    QSignalSpy spy(m_widget, &OLP_GUI_DirPathWidget::signalPath);
    OLP_Test_GuiModalDriver driver;
    driver.addAction(OLP_Test_GuiModalDriver::press(QMessageBox::Cancel));
    QTest::keyClick(ledPath(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(ledPath(), Qt::Key_Backspace);
    QVERIFY(!dirtyTimer()->isActive());
    QTest::mouseClick(m_other, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(ledPath()->text(), m_dir->path(), olpTimeout(5000));
    QCoreApplication::processEvents();
    QCOMPARE(driver.seen().size(), 0);
    QCOMPARE(spy.count(), 0);
}

void tst_DirPathWidget::browse_data()
{
    QTest::addColumn<QString>("choice");  // "" cancels the dialog
    QTest::addColumn<bool>("emitted");
    QTest::newRow("other folder") << "chosen" << true;
    QTest::newRow("same folder") << "." << false;
    QTest::newRow("dialog cancelled") << "" << false;
}

void tst_DirPathWidget::browse()
{
    QFETCH(QString, choice);
    QFETCH(bool, emitted);

    QVERIFY(QDir().mkpath(m_dir->path() + "/chosen"));
    const QString chosen = QDir::cleanPath(m_dir->path() + '/' + choice);
    QSignalSpy spy(m_widget, &OLP_GUI_DirPathWidget::signalPath);
    OLP_Test_GuiModalDriver driver;
    driver.addAction([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        if (choice.isEmpty()) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        // As a user would: type the folder into the dialog's name field and press Return.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name);
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, chosen);
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::mouseClick(m_widget->findChild<QToolButton*>("tbnBrowse"), Qt::LeftButton);
    QVERIFY(waitForBoxesDone(driver));

    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().at(0).directory, m_dir->path());
    if (emitted) {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QDir::toNativeSeparators(chosen));
        QCOMPARE(ledPath()->text(), QDir::toNativeSeparators(chosen));
    } else {
        QCOMPARE(spy.count(), 0);
        QCOMPARE(ledPath()->text(), m_dir->path());
    }
}

// The camera window goes while a box or the dialog is open (the camera was
// unplugged): the widget must touch nothing of itself afterwards and emit
// nothing. Under ASan a use after free fails the test.
void tst_DirPathWidget::deletedInsideNestedLoop_data()
{
    QTest::addColumn<QString>("open");
    QTest::newRow("question") << "question";
    QTest::newRow("cannot create") << "cannot create";
    QTest::newRow("browse dialog") << "browse";
    QTest::newRow("check still queued") << "queued";
}

void tst_DirPathWidget::deletedInsideNestedLoop()
{
    QFETCH(QString, open);

    QFile file(m_dir->path() + "/file");
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QString target = m_dir->path() + (open == "cannot create" ? "/file/new" : "/new");
    int emissions = 0;
    QObject counter;
    OLP_Test_GuiModalDriver driver;
    const auto closeWindow = [this](QWidget*) { m_window->deleteLater(); };
    if (open == "cannot create") {
        driver.addAction(OLP_Test_GuiModalDriver::press(QMessageBox::Yes));
    }
    driver.addAction(closeWindow);

    const auto count = [&] { connect(m_widget, &OLP_GUI_DirPathWidget::signalPath, &counter, [&] { ++emissions; }); };
    if (open == "browse") {
        count();
        QTest::mouseClick(m_widget->findChild<QToolButton*>("tbnBrowse"), Qt::LeftButton);
    } else {
        typeIntoField(target);
        count();
        stepDirtyTimer();
        if (open == "queued") {
            delete m_window;
        }
    }
    QVERIFY(QTest::qWaitFor([&] { return m_window.isNull(); }, olpTimeout(10000)));
    QCoreApplication::processEvents();
    QVERIFY(m_widget.isNull());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(emissions, 0);
    QVERIFY(!QDir(target).exists());
    QCOMPARE(driver.seen().size(), open == "queued" ? 0 : (open == "cannot create" ? 2 : 1));
}

// The one test that waits for the real 3 s timer instead of stepping it.
void tst_DirPathWidget::timerReallyFires()
{
    OLP_Test_GuiModalDriver driver;
    driver.addAction(OLP_Test_GuiModalDriver::press(QMessageBox::Cancel));
    typeIntoField(m_dir->path() + "/later");
    QVERIFY(QTest::qWaitFor([&] { return driver.seen().size() == 1; }, olpTimeout(10000)));
    QVERIFY(waitForBoxesDone(driver));
    QCOMPARE(driver.seen().at(0).text, kQuestion);
}

QTEST_MAIN(tst_DirPathWidget)
#include "tst_DirPathWidget.moc"
