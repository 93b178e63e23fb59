// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

// Reads and closes the modal message boxes a GUI test provokes, so that no test ever waits
// on a dialog. Arm it before the action; it polls for the active modal box.
class ModalCatcher : public QObject {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
    };

    ModalCatcher() {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                boxes.append(
                    {box->windowTitle(), box->text(), box->icon(), int(box->buttons().size())});
                box->done(QMessageBox::Ok);
            } else if (w && m_closeOthers) {
                w->close();
            }
        });
        m_timer.start();
    }

    // Unexpected dialogs other than message boxes are closed too.
    void closeOtherModals(bool on) { m_closeOthers = on; }

    QList<Box> boxes;

private:
    QTimer m_timer;
    bool m_closeOthers = true;
};
