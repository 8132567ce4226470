#pragma once

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QSslCertificate>
#include <QStringList>
#include <QThread>
#include <QUrl>
#include <memory>

#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_NoCamera.h"
#include "OLP_GUI_SettingsAwareWidgetT.h"
#include "OLP_Logic_FolderSettingsRecord.h"

class QAction;
class QDialog;
class QMenu;
class QMenuBar;
class QNetworkAccessManager;
class QNetworkReply;
class QTcpServer;
class QTcpSocket;
class OLP_Commu_EmuCamera;
class OLP_GUI_AboutDialog;
class OLP_Logic_Controller;

// The application object: configures the application (names, version, style,
// display font, style sheet), starts the controller thread and wires the
// controller to the windows, and decides which window shows: the no-camera
// window while no camera is connected, one camera window per connected camera
// of a recognised product. It builds the menu bar every main window shows and
// owns the menu actions, and it plugs in the emulated demo camera when the
// user asks for it.
//
// Thread: GUI thread. Owns every top-level window and the controller thread;
// the controller lives in that thread and is deleted there by its worker. The
// GUI thread calls only the controller's thread-safe members (productId(),
// productName(), liveViewMode(), setFolderSettings(), setIsUnitFeet(),
// setWantQuickView()); everything else reaches the controller through queued
// connections.
//
// It also runs the TCP command server (one client at a time; "R" releases the
// shutter, "Q" closes the connection) and the update check against the maker's
// owner server, both in the GUI thread.
class OLP_GUI_Application : public QApplication
{
    Q_OBJECT
public:
    // What tests change before the application object is built; never read
    // from the settings, the environment or the command line.
    struct TestOverrides
    {
        int tcpPort = 1234;  // 0: any free port
        QUrl updateUrl;      // empty: the maker's address
        bool replaceCaCertificates = false;
        QList<QSslCertificate> caCertificates;  // trusted for the update check only
        int updateTimeoutMs = 30000;
    };
    static void setTestOverrides(const TestOverrides& overrides);

    OLP_GUI_Application(int& argc, char** argv);
    // Deletes the windows, stops the controller thread and waits for it (and
    // so for running picture transfers) before it returns.
    ~OLP_GUI_Application() override;

    // The controller, for its thread-safe queries and for signal connections;
    // null only when its thread failed to start.
    const OLP_Logic_Controller* controller() const { return m_controller; }
    // Family of the display font, empty when it could not be loaded.
    QString fontFamily() const { return m_fontFamily; }

    // A new menu bar without parent for a main window to install.
    QMenuBar* createMenuBar();
    // Applies the "AlwaysOnTop" setting to every open top-level window.
    void applyAlwaysOnTop();
    // Shows or hides the "Options" and "Help" menus of the latest menu bar.
    void setMenusVisible(bool visible);

    // Keeps the window above others, or stops doing so, without hiding,
    // moving or activating it.
    static void applyAlwaysOnTop(QWidget* window, bool on);

    QMainWindow* noCameraWindow() const { return m_noCamera; }
    OLP_GUI_CameraBase* cameraWindow() const { return m_cameraWindow; }
    QDialog* aboutDialog() const;
    bool isQuitWanted() const { return m_quitWanted; }
    // The emulated demo camera while it is plugged in (for tests and the soak run).
    std::shared_ptr<OLP_Commu_EmuCamera> demoCamera() const { return m_demoCamera; }
    // The controller thread while it exists (for shut-down tests).
    QThread* controllerThread() const { return m_controllerThread; }

    // The six products that get a camera window.
    static bool isRecognisedProduct(quint32 productId);
    // The maker's owner server: the Help page and the update information.
    static QString ownerServerHost();
    static QUrl ownersAreaUrl();
    static QUrl updateInfoUrl();

    // The port the TCP command server listens on; 0 when it is not listening.
    quint16 tcpServerPort() const;
    // Starts an update check; an automatic one shows nothing when the program
    // is up to date.
    void requestUpdateCheck(bool automatic);
    // Compares two versions component by component as non-negative integers (a
    // missing component counts as 0): negative, 0 or positive as a is older,
    // the same or newer. valid is false when either has a component that is
    // not a number.
    static int compareVersions(const QString& a, const QString& b, bool* valid);

signals:
    void signalCameraGUIOpened();
    void signalCameraGUIClosed();
    void signalLiveViewGUIOpened();
    void signalLiveViewGUIClosed();
    void signalFinishController();
    void signalTcpCommand(const QByteArray& bytes);
    void signalUpdateVersion(const QString& version);

public slots:
    // Each stores the value in the loaded folder-settings record and writes the
    // record back to the settings of the current product.
    void setDngPath(const QString& path);
    void setJpgPath(const QString& path);
    void setPictureName(const QString& name);
    void setPictureIndex(int index);
    void setUnitsMenuEnabled(bool enabled);
    // Sets quit wanted while a camera is connected: the camera window calls it
    // from its destructor, so closing it by hand ends the program.
    void setWantQuitIfStillConnected();

protected:
    // The window for a connected camera of a recognised product, or null when
    // there is none for it (the no-camera window then stays).
    virtual OLP_GUI_CameraBase* createCameraWindow(quint32 productId);

private slots:
    void catchCameraConnected();
    void catchCameraDisconnected();
    void catchCameraGUIDestroyed();
    void catchAboutDestroyed();
    void showWarning(const QString& text);
    void catchActionAbout();
    void catchActionQuit();
    void catchActionUnits();
    void catchActionAutoUpdates();
    void catchActionAlwaysOnTop();
    void catchActionTransparency();
    void catchActionDemoCamera();
    void catchActionSaveProfile();
    void catchActionDeleteProfile();
    void catchActionOpenManual();
    void catchActionCheckUpdates();
    void openTcpConnection();
    void catchTcpReadyRead();
    void closeTcpConnection();
    void catchTcpCommand(const QByteArray& bytes);
    void catchDownloadUpdatesInfo(QNetworkReply* reply);
    void catchUpdateVersion(const QString& version);

private:
    void loadDisplayFont();
    void loadStyleSheet();
    void startController();
    void connectController();
    void showNoCameraWindow();
    // Closes the About box and the hidden no-camera window and ends the event loop.
    void quitApplication();
    void setDemoCameraPlugged(bool plugged);
    void storeFolderSettings();
    void startTcpServer();
    // Aborts a reply that grows beyond what an update file can be.
    void limitUpdateReply(QNetworkReply* reply);

    OLP_Logic_Controller* m_controller = nullptr;
    QPointer<QThread> m_controllerThread;
    QString m_fontFamily;
    QPointer<OLP_GUI_SettingsAwareWidgetT<OLP_GUI_NoCamera>> m_noCamera;
    QPointer<OLP_GUI_CameraBase> m_cameraWindow;
    QPointer<OLP_GUI_AboutDialog> m_about;
    std::unique_ptr<OLP_Logic_FolderSettingsRecord> m_folderSettings;
    // The menus of the latest menu bar; a menu dies with its window.
    QList<QPointer<QMenu>> m_optionsMenus;
    QList<QPointer<QMenu>> m_unitsMenus;
    QList<QPointer<QMenu>> m_helpMenus;
    // "Demo Camera" of every menu bar, kept in step.
    QList<QPointer<QAction>> m_demoCameraActions;
    std::shared_ptr<OLP_Commu_EmuCamera> m_demoCamera;
    QStringList m_profileNames;
    // The controller's connection has been handled and no disconnection yet.
    bool m_cameraConnected = false;
    QTcpServer* m_tcpServer = nullptr;
    QPointer<QTcpSocket> m_tcpClient;
    // Unknown-command lines logged for the current client.
    int m_unknownTcpCommands = 0;
    QNetworkAccessManager* m_network = nullptr;
    bool m_automaticUpdateCheck = false;
    bool m_quitWanted = false;
    bool m_shuttingDown = false;
};
