#include "OLP_GUI_DirPathWidget.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

namespace {

// Only an absolute folder is a destination: a relative one would depend on the
// folder the program happened to be started from.
bool folderExists(const QString& folder)
{
    return !folder.isEmpty() && QDir::isAbsolutePath(folder) && QDir(folder).exists();
}

}  // namespace

OLP_GUI_DirPathWidget::OLP_GUI_DirPathWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    m_ledPath = new QLineEdit(this);
    m_ledPath->setObjectName(QStringLiteral("ledPath"));
    layout->addWidget(m_ledPath, 1);

    m_tbnBrowse = new QToolButton(this);
    m_tbnBrowse->setObjectName(QStringLiteral("tbnBrowse"));
    m_tbnBrowse->setText(QStringLiteral("..."));
    layout->addWidget(m_tbnBrowse);

    m_dirtyTimer = new QTimer(this);
    m_dirtyTimer->setObjectName(QStringLiteral("dirtyTimer"));
    m_dirtyTimer->setSingleShot(true);
    m_dirtyTimer->setInterval(kDirtyIntervalMs);

    connect(m_tbnBrowse, &QToolButton::clicked, this, &OLP_GUI_DirPathWidget::catchBrowseButtonClicked);
    connect(m_ledPath, &QLineEdit::textEdited, this, &OLP_GUI_DirPathWidget::catchTextEdited);
    connect(m_dirtyTimer, &QTimer::timeout, this, &OLP_GUI_DirPathWidget::catchTextDirtyFired);
    m_ledPath->installEventFilter(this);
}

QString OLP_GUI_DirPathWidget::expandHome(const QString& text)
{
    if (text == QLatin1String("~")) {
        return QDir::toNativeSeparators(QDir::homePath());
    }
    if (text.startsWith(QLatin1String("~/")) || text.startsWith(QLatin1String("~") + QDir::separator())) {
        return QDir::toNativeSeparators(QDir::homePath()) + text.mid(1);
    }
    return text;
}

QString OLP_GUI_DirPathWidget::folderOf(const QString& text)
{
    const QString expanded = expandHome(text);
    return expanded.isEmpty() ? expanded : QDir::toNativeSeparators(QDir::cleanPath(expanded));
}

void OLP_GUI_DirPathWidget::setPath(const QString& path)
{
    m_pending = path;
    if (path != m_path) {
        m_path = path;
        m_ledPath->setText(path);
        // A long folder shows its end in the field; the whole of it here.
        m_ledPath->setToolTip(path);
    }
}

bool OLP_GUI_DirPathWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ledPath) {
        if (event->type() == QEvent::FocusIn) {
            m_pending = folderOf(m_ledPath->text());
        } else if (event->type() == QEvent::FocusOut) {
            // A context menu (paste) is part of editing, not leaving the field.
            const bool toPopup = static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
            if (!toPopup && m_pending != m_path && !m_checking) {
                queueCheck();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OLP_GUI_DirPathWidget::catchBrowseButtonClicked()
{
    QPointer<OLP_GUI_DirPathWidget> self(this);
    QPointer<QFileDialog> dialog = new QFileDialog(this, QString(), m_path);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    const int result = dialog->exec();
    if (!self) {
        return;
    }
    if (!dialog) {
        return;
    }
    const QString chosen =
        result == QDialog::Accepted ? QDir::toNativeSeparators(dialog->selectedFiles().value(0)) : QString();
    delete dialog;
    if (chosen.isEmpty()) {
        return;
    }
    m_dirtyTimer->stop();
    m_pending = chosen;
    if (chosen != m_path) {
        m_path = chosen;
        m_ledPath->setText(chosen);
        m_ledPath->setToolTip(chosen);
        emit signalPath(m_path);
    }
}

void OLP_GUI_DirPathWidget::catchTextEdited(const QString& text)
{
    if (text.isEmpty()) {
        // Nothing to check now; leaving the emptied field shows the accepted
        // folder again instead of asking about a text that is gone.
        m_dirtyTimer->stop();
        m_pending.clear();
        return;
    }
    m_pending = folderOf(text);
    if (folderExists(m_pending)) {
        m_dirtyTimer->stop();
        if (m_pending != m_path) {
            m_path = m_pending;
            emit signalPath(m_path);
        }
    } else {
        m_dirtyTimer->start();
    }
}

void OLP_GUI_DirPathWidget::catchTextDirtyFired()
{
    queueCheck();
}

void OLP_GUI_DirPathWidget::queueCheck()
{
    if (m_checkQueued) {
        return;
    }
    m_checkQueued = true;
    QMetaObject::invokeMethod(this, &OLP_GUI_DirPathWidget::check, Qt::QueuedConnection);
}

void OLP_GUI_DirPathWidget::refocus()
{
    window()->activateWindow();
    m_ledPath->setFocus();
}

void OLP_GUI_DirPathWidget::check()
{
    m_checkQueued = false;
    if (m_checking) {
        return;
    }
    m_dirtyTimer->stop();
    if (m_pending.isEmpty()) {
        // An emptied field names no folder: show the accepted one again.
        m_ledPath->setText(m_path);
        m_pending = m_path;
        return;
    }
    if (folderExists(m_pending)) {
        // Created meanwhile by someone else: it is a folder like any typed one.
        if (m_pending != m_path) {
            m_path = m_pending;
            emit signalPath(m_path);
        }
        return;
    }

    m_checking = true;
    QPointer<OLP_GUI_DirPathWidget> self(this);
    QPointer<QMessageBox> question =
        new QMessageBox(QMessageBox::Warning, tr("Warning"), tr("Path does not exist!\nCreate this path?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    question->setDefaultButton(QMessageBox::Cancel);
    const int answer = question->exec();
    if (!self) {
        return;
    }
    delete question;

    if (answer == QMessageBox::Yes) {
        const bool made = QDir::isAbsolutePath(m_pending) && (QDir(m_pending).exists() || QDir().mkpath(m_pending));
        if (made) {
            if (m_pending != m_path) {
                m_path = m_pending;
                m_ledPath->setText(m_path);
                m_ledPath->setToolTip(m_path);
                emit signalPath(m_path);
            }
        } else {
            QPointer<QMessageBox> failure = new QMessageBox(QMessageBox::Warning, tr("Warning"),
                                                            tr("Cannot create this path!"), QMessageBox::Cancel, this);
            failure->exec();
            if (!self) {
                return;
            }
            delete failure;
            m_dirtyTimer->start();
            refocus();
        }
    } else if (answer == QMessageBox::No) {
        m_dirtyTimer->start();
        refocus();
    } else {
        m_ledPath->setText(m_path);
        m_pending = m_path;
        refocus();
    }
    m_checking = false;
}
