#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QTimer;
class QToolButton;

// A folder field with a browse button ("..."): the destination folder of one
// kind of picture. It emits a folder only once it exists: an existing folder
// while it is typed, a missing one after the user agreed to create it, or the
// one chosen in the browse dialog. A typed folder that does not exist yet is
// checked after 3 s without typing or when the field loses the focus.
//
// Thread: GUI thread only. Owns its line edit, tool button and dirty timer
// (children). The folder question, the "cannot create" box and the browse
// dialog run nested event loops; the widget may be deleted inside them (the
// camera window goes when the camera is unplugged), so each is created on the
// heap and the widget returns at once when it is gone afterwards.
class OLP_GUI_DirPathWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDirtyIntervalMs = 3000;

    explicit OLP_GUI_DirPathWidget(QWidget* parent = nullptr);

    // The accepted folder: the one last emitted or set.
    QString path() const { return m_path; }

    // A leading "~" or "~/" stands for the home folder.
    static QString expandHome(const QString& text);
    // The folder a typed text names: "~" expanded, "." and ".." parts and a
    // trailing separator removed, native separators. "/p/" is the folder
    // "/p", not a second one that would give file names with "//".
    static QString folderOf(const QString& text);

signals:
    void signalPath(const QString& path);

public slots:
    // Shows the folder without emitting it.
    void setPath(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void catchBrowseButtonClicked();
    void catchTextEdited(const QString& text);
    void catchTextDirtyFired();

private:
    // The check runs from the event loop, never inside a focus event or the
    // timer's slot: a check still queued when the widget is deleted is dropped
    // with it, and several requests in one pass give one check.
    void queueCheck();
    void check();
    // Puts the focus back into the field after a box closed.
    void refocus();

    QLineEdit* m_ledPath = nullptr;
    QToolButton* m_tbnBrowse = nullptr;
    QTimer* m_dirtyTimer = nullptr;
    QString m_path;
    QString m_pending;
    bool m_checking = false;
    bool m_checkQueued = false;
};
