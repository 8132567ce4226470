#pragma once

#include <QMainWindow>

class QLabel;
class OLP_GUI_Application;

// The main window while no camera is connected: "Connect camera ..." and,
// below it, where to find the demo camera. A camera that was found but cannot
// be opened adds one line with the cause and what to do about it. Its menu bar is built by the
// application. Its title is the application's display name and major version.
//
// Thread: GUI thread only. Owns its widgets; the application is not owned.
class OLP_GUI_NoCamera : public QMainWindow
{
    Q_OBJECT
public:
    explicit OLP_GUI_NoCamera(OLP_GUI_Application* application, QWidget* parent = nullptr);

    // Display name, a blank and the first dot-separated part of the version.
    static QString windowTitleText();

    // The line under "Connect camera ..." (lblCameraProblem); empty hides it.
    void setProblemText(const QString& text);
    QString problemText() const;

signals:
    // The user closed the window from the window system (its close button).
    void signalClosedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_problem = nullptr;
};
