#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>

// Drives modal boxes and dialogs the way a user would while the code under test
// sits in their nested event loop: it polls for the active modal widget, writes
// down what it shows and hands it to the next queued action (press a button,
// type into the dialog, unplug the camera ...). Header only and GUI thread only;
// the test keeps it alive while the modal widgets can appear.
class OLP_Test_GuiModalDriver
{
public:
    // What one modal widget showed when it came up.
    struct Seen
    {
        QString className;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QString directory;  // the start folder of a file dialog
    };
    using Action = std::function<void(QWidget* modal)>;

    OLP_Test_GuiModalDriver()
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start();
    }

    void addAction(const Action& action) { m_actions.append(action); }
    const QList<Seen>& seen() const { return m_seen; }
    int pendingActions() const { return m_actions.size(); }

    // Presses a message box button with the mouse.
    static Action press(QMessageBox::StandardButton which)
    {
        return [which](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QAbstractButton* button = box ? box->button(which) : nullptr;
            if (button) {
                button->click();
            }
        };
    }

    // A key on the modal widget (Return takes the default button, Escape cancels).
    static Action key(Qt::Key which)
    {
        return [which](QWidget* modal) { QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, which); };
    }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_current || m_actions.isEmpty()) {
            return;
        }
        m_current = modal;
        Seen seen;
        seen.className = QString::fromLatin1(modal->metaObject()->className());
        seen.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.text = box->text();
            seen.buttons = box->standardButtons();
            seen.defaultButton =
                box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            seen.directory = dialog->directory().absolutePath();
        }
        m_seen.append(seen);
        const Action action = m_actions.takeFirst();
        action(modal);
    }

    QTimer m_poll;
    QPointer<QWidget> m_current;
    QList<Action> m_actions;
    QList<Seen> m_seen;
};
