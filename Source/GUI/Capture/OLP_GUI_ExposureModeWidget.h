#pragma once

#include <QStringList>
#include <QWidget>

class QToolButton;

// The four exposure mode buttons P, M, A and T of the capture tab. A click
// checks only the clicked button and reports its code: 3 for P, 0 for M, 2 for
// A, 1 for T. The camera's mode checks its button: 4 (bulb) shows as M, 5 (a
// further program mode) as P.
//
// Thread: GUI thread only.
class OLP_GUI_ExposureModeWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_ExposureModeWidget(QWidget* parent = nullptr);

public slots:
    // Hides P and T on a camera without aperture control.
    void setHasAperture(bool hasAperture);
    // Items 0 to 3 become the captions of P, M, A and T; missing items keep theirs.
    void setExposureModeList(const QStringList& list);
    void setExposureMode(int mode);

signals:
    void signalChosen(int mode);

private slots:
    void catchButtonPClicked();
    void catchButtonAClicked();
    void catchButtonTClicked();
    void catchButtonMClicked();

private:
    QToolButton* makeButton(const char* objectName, const QString& caption);
    void checkOnly(QToolButton* button);

    QToolButton* m_btnP = nullptr;
    QToolButton* m_btnM = nullptr;
    QToolButton* m_btnA = nullptr;
    QToolButton* m_btnT = nullptr;
};
