// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/common/files.h"
#include "ui/common/desktop.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace uitest {

using namespace Qt::StringLiterals;

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

// Works a window by steps separated by ';': "name=text" puts the text in a box or a label, or
// picks a list's entry ("" picks none); "name~keys" types the keys; "name:Key" presses Up, Down,
// Return, Enter or Tab there (Up and Down on a scroll bar work its arrows); "name" clicks a button
// or an option, triggers a menu item or opens a menu.
inline void run(QWidget *top, const QString &script) {
    const QStringList keyNames = u"Up Down Return Enter Tab"_s.split(u' ');
    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab};
    for (const QString &step : script.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype at = step.indexOf(QRegularExpression(u"[=:~]"_s));
        QObject *o = top->findChild<QObject *>(step.left(at));
        if (!o)
            qFatal("no control %s", qPrintable(step));
        const QString arg = step.mid(at + 1);
        if (at < 0 && qobject_cast<QAction *>(o))
            static_cast<QAction *>(o)->trigger();
        else if (at < 0 && qobject_cast<QMenu *>(o))
            emit static_cast<QMenu *>(o)->aboutToShow();
        else if (at < 0)
            static_cast<QAbstractButton *>(o)->click();
        else if (auto *list = qobject_cast<QComboBox *>(o))
            list->setCurrentIndex(list->findText(arg));
        else if (step[at] == u'=')
            o->setProperty("text", arg);
        else if (step[at] == u'~')
            QTest::keyClicks(static_cast<QWidget *>(o), arg);
        else if (auto *bar = qobject_cast<QScrollBar *>(o))
            bar->triggerAction(arg == u"Up" ? QAbstractSlider::SliderSingleStepSub
                                            : QAbstractSlider::SliderSingleStepAdd);
        else if (auto *w = static_cast<QWidget *>(o); keyNames.contains(arg))
            w->setFocus(), QTest::keyClick(w, keys[keyNames.indexOf(arg)],
                                           arg == u"Enter" ? Qt::KeypadModifier : Qt::NoModifier);
        else
            qFatal("no key %s", qPrintable(step));
    }
}

// What a window shows, joined by '|': a box's or label's text, a list's entry (with '#', all its
// entries joined by ','), whether an option is chosen or (with '?') a control enabled, as 1 or 0;
// "@" names the control with the focus.
inline QString state(QWidget *top, const QString &names) {
    QStringList out;
    for (QString name : names.split(u'|')) {
        const QChar mark = name.back();
        if (mark == u'?' || mark == u'#')
            name.chop(1);
        QWidget *w = name == u"@" ? top->focusWidget() : top->findChild<QWidget *>(name);
        auto *list = qobject_cast<QComboBox *>(w);
        if (!w) {
            out << u"(no %1)"_s.arg(name);
        } else if (name == u"@") {
            out << w->objectName();
        } else if (mark == u'?') {
            out << QString::number(w->isEnabled());
        } else if (list && mark == u'#') {
            QStringList entries;
            for (int i = 0; i < list->count(); ++i)
                entries << list->itemText(i);
            out << entries.join(u',');
        } else if (list) {
            out << list->currentText();
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            out << QString::number(b->isChecked());
        } else if (auto *bar = qobject_cast<QScrollBar *>(w)) {
            out << QString::number(bar->value());
        } else {
            out << w->property("text").toString();
        }
    }
    return out.join(u'|');
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
