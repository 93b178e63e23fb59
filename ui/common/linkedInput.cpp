// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/linkedInput.h"

#include "calc/numbers.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

LinkedInput::LinkedInput(QLineEdit *box, QScrollBar *bar, Kind kind, QObject *parent)
    : QObject(parent)
    , m_box(box)
    , m_bar(bar)
    , m_kind(kind) {
    connect(bar, &QScrollBar::valueChanged, this, &LinkedInput::step);
    // The bar takes no focus, so the box's arrow keys work it for keyboard users.
    box->installEventFilter(this);
}

bool LinkedInput::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_box && event->type() == QEvent::KeyPress && m_bar->isEnabled()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            m_bar->triggerAction(key == Qt::Key_Up ? QAbstractSlider::SliderSingleStepSub
                                                   : QAbstractSlider::SliderSingleStepAdd);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString LinkedInput::zeroText() const {
    return m_kind == Percent ? QStringLiteral("0") : titrova::numbers::standardFromDouble(0.0);
}

QString LinkedInput::format(double value) const {
    return m_kind == Percent ? titrova::numbers::wholeFromDouble(value)
                             : titrova::numbers::standardFromDouble(value);
}

void LinkedInput::step(int value) {
    m_box->setFocus();

    // The upper arrow is -1, so subtracting adds a step. A text that is no number skips
    // this; the zero text below replaces it.
    if (const auto x = titrova::numbers::toDouble(m_box->text())) {
        const double n = m_kind == TenthStep ? value / 10.0 : double(value);
        m_box->setText(format(*x - n));
    }

    // Back to rest: a change in itself, so this handler runs once more, nested, with 0. That
    // inner run is what turns the empty text of a share stepped to zero into "0".
    m_bar->setValue(0);

    const auto single = titrova::numbers::toSingle(m_box->text());
    if (!single || *single < 0.0f) {
        m_box->setText(zeroText());
        return;
    }
    if (m_kind == Percent) {
        const auto d = titrova::numbers::toDouble(m_box->text());
        if (d && *d > 100.0)
            m_box->setText(QStringLiteral("100"));
    }
}

void LinkedInput::setEnabled(bool enabled) {
    m_box->setEnabled(enabled);
    m_bar->setEnabled(enabled);
}
