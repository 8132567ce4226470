#pragma once

#include <QDialog>

// The About box: the maker's logo, the application's name with its major
// version, the version and the maker's legal notice. Shown modeless by the
// application, which deletes it on close.
//
// Thread: GUI thread only. Owns its labels.
class OLP_GUI_AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OLP_GUI_AboutDialog(QWidget* parent = nullptr);

    // "Version" and the first two parts of version joined by "."; the third
    // part follows with its own "." only when it is not "0" (3.6.0 gives 3.6,
    // 3.6.2 gives 3.6.2).
    static QString versionText(const QString& version);
};
