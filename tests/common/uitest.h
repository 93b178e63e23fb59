// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/common/files.h"
#include "ui/common/desktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace uitest {

template <typename T = QWidget> T *child(const QObject *parent, const char *name) {
    T *w = parent->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

// The offscreen platform activates a window later than qWaitForWindowActive reports.
[[nodiscard]] inline bool activate(QWidget *w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitFor([w] { return w->isActiveWindow(); });
}

// Reads and closes every modal message box a test provokes, and closes any other modal
// window, so that no test ever waits on a dialog.
class ModalCatcher : public QObject {
public:
    struct Box {
        QString title, text;
        QMessageBox::Icon icon;
        qsizetype buttons;
    };
    ModalCatcher() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                boxes.append({box->windowTitle(), box->text(), box->icon(), box->buttons().size()});
                box->done(QMessageBox::Ok);
            } else if (w) {
                w->close();
            }
        });
        m_timer.start(10);
    }
    QList<Box> boxes;

private:
    QTimer m_timer;
};

// Stands in for the desktop, so that no browser or calculator is ever started.
class RecordingDesktop : public Desktop {
public:
    void openUrl(const QUrl &url) override { opened << url; }
    bool startCalculator() override { return ++calculatorStarts, calculatorFound; }
    QList<QUrl> opened;
    int calculatorStarts = 0;
    bool calculatorFound = true;
};

} // namespace uitest
