#pragma once

#include <QDialog>

class QPushButton;

// Tells the user that a newer version exists and offers the owner's-area page,
// where it can be downloaded, as a link. The link text is the page address the
// program itself holds, never one from the network.
//
// Thread: GUI thread. Owns its label and buttons.
class OLP_GUI_UpdateDialog : public QDialog
{
    Q_OBJECT
public:
    OLP_GUI_UpdateDialog(QWidget* parent, const QString& title, const QString& message, const QString& link);

private slots:
    // Opens the link in the desktop browser and closes the dialog.
    void catchLinkClicked();

private:
    QPushButton* m_link = nullptr;
};
