#pragma once

#include <QApplication>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QSslCertificate>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QTransform>
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
class OLP_GUI_ImageViewer;
class OLP_GUI_LiveViewInfoWidget;
class OLP_GUI_PictureWindow;
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

    // ---- picture windows: live view and quick view ------------------------
public:
    // The rotation of live view frames in degrees (0, 90, 180 or 270): the
    // camera's orientation when it reports one, else the negated first level
    // angle, to the nearest quarter turn ([45, 135) is 90 and so on).
    static int liveViewRotation(bool hasOrientation, int orientation, double firstLevelAngle);
    // T(a): rotation by a degrees about the centre of the relative square
    // (0.5, 0.5), for positions from 0 to 1 across the picture.
    static QTransform positionTransform(int angle);
    // Degrees a quick view picture turns for an Exif orientation code.
    static int quickViewRotation(int exifOrientation);

    QDialog* liveViewWindow() const;
    OLP_GUI_ImageViewer* liveViewViewer() const;
    OLP_GUI_LiveViewInfoWidget* liveViewInfoWidget() const;
    QDialog* quickViewWindow() const;
    OLP_GUI_ImageViewer* quickViewViewer() const;
    int liveViewRotationAngle() const { return m_liveViewRotation; }
    QTimer* liveViewCloseTimer() { return &m_liveViewCloseTimer; }

signals:
    void signalAudioVolMicrophone(double volume);
    void signalLiveViewMode(int mode);
    void signalLiveZoomInfo(int selectedStripe, int zoomLevel, double x, double y);
    void signalLiveZoomRect(double x, double y, double width, double height);
    void signalCrossPosEdited(double x, double y);
    void signalGCPipPosEdited(double x, double y);
    void signalLiveViewPixmap(const QPixmap& pixmap);
    void signalQuickViewPixmap(const QPixmap& pixmap);
    // The pixel size the live view window shows frames at, in the frames' own
    // orientation, so that the camera decodes no more than that.
    void signalLiveViewDisplaySize(const QSize& size);

public slots:
    void showLiveView(const QImage& frame);
    void closeLiveView();
    void showQuickView(const QByteArray& data, const QString& path, int orientation);
    void closeQuickView();
    void catchLiveViewCloseRequested();
    void catchLiveViewCloseTimedOut();

private slots:
    void catchLiveViewDestroyed();
    void catchAudioVolIsManual(bool isManual);
    void catchAudioVolMicrophone(double volume);
    void catchAudioVolume(double volume);
    void catchExposMetering(int metering);
    void catchGCPipIsActive(bool active);
    void catchGCPipInactive();
    void catchHasOrientation(bool has);
    void catchOrientation(int orientation);
    void catch3DAxisAngles(double first, double second);
    void catchLiveZoomInfo(int selectedStripe, int zoomLevel, double x, double y);
    void catchLiveZoomRect(double x, double y, double width, double height);
    void catchCrossPosEdited(double x, double y);
    void catchGCPipPosEdited(double x, double y);
    void catchQuickViewDestroyed();

private:
    void connectPictureWindows();
    void createLiveViewWindow(int mode);
    void createQuickViewWindow();
    // Centres the window in the available area of the screen that shows the
    // camera window.
    void placeCentred(QWidget* window, const QSize& size) const;
    // Sets the monitor profile of the screen that shows the window, when the
    // window moved to another screen since last time.
    void matchToScreen(QWidget* window, OLP_GUI_ImageViewer* viewer, QPoint* screenCentre);
    void tellLiveViewDisplaySize(const QSize& frameSize);
    void deletePictureWindows();

    bool m_audioVolIsManual = false;
    double m_audioVolMicrophone = 1.0;
    int m_exposMetering = -1;
    bool m_gcPipActive = false;
    bool m_hasOrientation = false;
    int m_orientation = 0;
    double m_levelAngleFirst = 0.0;
    double m_levelAngleSecond = 0.0;
    QTimer m_liveViewCloseTimer;
    QPointer<OLP_GUI_PictureWindow> m_liveViewWindow;
    QPointer<OLP_GUI_ImageViewer> m_liveViewViewer;
    QPointer<OLP_GUI_LiveViewInfoWidget> m_liveViewInfo;
    QPoint m_liveViewScreenCentre{-1, -1};
    int m_liveViewRotation = 0;
    QSize m_liveViewDisplaySize;
    QPointer<OLP_GUI_PictureWindow> m_quickViewWindow;
    QPointer<OLP_GUI_ImageViewer> m_quickViewViewer;
    QPoint m_quickViewScreenCentre{-1, -1};
    // ---- end of the picture windows ------------------------------------------

protected:
    // The window for a connected camera of a recognised product, or null when
    // there is none for it (the no-camera window then stays).
    virtual OLP_GUI_CameraBase* createCameraWindow(quint32 productId);

private slots:
    void catchCameraConnected();
    void catchCameraDisconnected();
    // The controller's cause why a camera it found cannot be opened.
    void catchCameraProblem(int problem);
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
