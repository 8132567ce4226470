#pragma once

#include <QWidget>

class QToolButton;

// The focus mode buttons MF, AFC and AFS of the capture tab. A click checks
// only the clicked button and reports its code: 0 for AFS, 1 for AFC, 2 for MF.
//
// Thread: GUI thread only.
class OLP_GUI_FocusModeWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_FocusModeWidget(QWidget* parent = nullptr);

public slots:
    void setFocusMode(int mode);

signals:
    void signalChosen(int mode);

private slots:
    void catchButtonAFSClicked();
    void catchButtonAFCClicked();
    void catchButtonMFClicked();

private:
    QToolButton* makeButton(const char* objectName, const QString& caption);
    void checkOnly(QToolButton* button);

    QToolButton* m_btnMF = nullptr;
    QToolButton* m_btnAFC = nullptr;
    QToolButton* m_btnAFS = nullptr;
};
