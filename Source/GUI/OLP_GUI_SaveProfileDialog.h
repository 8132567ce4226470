#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;

// Creates a profile name or chooses an existing one. The names live in a list
// the application holds in memory; "Create" appends the typed name to it.
//
// Thread: GUI thread only. Owns its widgets; the name list is the caller's
// and must outlive the dialog.
class OLP_GUI_SaveProfileDialog : public QDialog
{
    Q_OBJECT
public:
    OLP_GUI_SaveProfileDialog(QStringList* profileNames, QWidget* parent = nullptr);

    // The name created or chosen when the dialog was accepted.
    QString chosenName() const { return m_chosenName; }

private slots:
    void catchCreateButtonClicked();
    void catchChooseButtonClicked();

private:
    QStringList* m_profileNames;
    QLineEdit* m_name;
    QListWidget* m_list;
    QString m_chosenName;
};
