// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/common/files.h"
#include "ui/common/desktop.h"

#include <QtTest>
#include <QtWidgets>

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
// Return, Enter, Tab or Escape there (Up and Down on a scroll bar work its arrows); "name" clicks a
// button or an option, triggers a menu item or opens a menu.
inline void run(QWidget *top, const QString &script) {
    const QStringList keyNames = u"Up Down Return Enter Tab Escape"_s.split(u' ');
    const Qt::Key keys[] = {Qt::Key_Up,    Qt::Key_Down, Qt::Key_Return,
                            Qt::Key_Enter, Qt::Key_Tab,  Qt::Key_Escape};
    for (const QString &step : script.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype at = step.indexOf(QRegularExpression(u"[=:~]"_s));
        QObject *o = top->findChild<QObject *>(step.left(at));
        auto *w = qobject_cast<QWidget *>(o);
        const QString arg = step.mid(at + 1);
        if (!o || (at >= 0 && (!w || (step[at] == u':' && !keyNames.contains(arg)))))
            qFatal("cannot do %s", qPrintable(step));
        if (auto *action = qobject_cast<QAction *>(o))
            action->trigger();
        else if (at < 0 && qobject_cast<QMenu *>(o))
            emit static_cast<QMenu *>(o)->aboutToShow();
        else if (at < 0)
            static_cast<QAbstractButton *>(o)->click();
        else if (auto *list = qobject_cast<QComboBox *>(o))
            list->setCurrentIndex(list->findText(arg));
        else if (step[at] == u'=')
            o->setProperty("text", arg);
        else if (step[at] == u'~')
            QTest::keyClicks(w, arg);
        else if (auto *bar = qobject_cast<QScrollBar *>(o))
            bar->triggerAction(arg == u"Up" ? QAbstractSlider::SliderSingleStepSub
                                            : QAbstractSlider::SliderSingleStepAdd);
        else
            w->setFocus(), QTest::keyClick(w, keys[keyNames.indexOf(arg)],
                                           arg == u"Enter" ? Qt::KeypadModifier : Qt::NoModifier);
    }
}

// What a window shows, joined by '|': a box's or label's text, a list's entry (with '#', all its
// entries joined by ','), a scroll bar's value, whether an option is chosen or (with '?') a
// control or menu item enabled, as 1 or 0; "@" names the control with the focus.
inline QString state(QWidget *top, const QString &names) {
    QStringList out;
    for (QString name : names.split(u'|')) {
        const QChar mark = name.back();
        if (mark == u'?' || mark == u'#')
            name.chop(1);
        QObject *o = name == u"@" ? top->focusWidget() : top->findChild<QObject *>(name);
        auto *list = qobject_cast<QComboBox *>(o);
        QStringList entries;
        for (int i = 0; list && i < list->count(); ++i)
            entries << list->itemText(i);
        const QVariant v = !o             ? u"(none)"_s
                           : name == u"@" ? o->objectName()
                           : mark == u'?' ? o->property("enabled")
                           : mark == u'#'
                               ? entries.join(u',')
                               : o->property(list                                 ? "currentText"
                                             : qobject_cast<QAbstractButton *>(o) ? "checked"
                                             : qobject_cast<QScrollBar *>(o)      ? "value"
                                                                                  : "text");
        out << (v.typeId() == QMetaType::Bool ? QString::number(v.toBool()) : v.toString());
    }
    return out.join(u'|');
}

// Reads and closes every modal message box a test provokes, as "title|icon|buttons|text", and
// closes any other modal window, so that no test ever waits on a dialog.
class ModalCatcher : public QObject {
public:
    ModalCatcher() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                boxes << box->windowTitle() +
                             u"|%1|%2|"_s.arg(box->icon()).arg(box->buttons().size()) + box->text();
                // Message boxes speak in the system's font, not the windows' designed one.
                for (QWidget *control : box->findChildren<QWidget *>())
                    systemFont = systemFont && control->font() == QApplication::font();
                box->done(QMessageBox::Ok);
            } else if (w) {
                w->close();
            }
        });
        m_timer.start(10);
    }
    QStringList boxes;
    bool systemFont = true;

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
