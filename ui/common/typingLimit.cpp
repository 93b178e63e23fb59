// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/typingLimit.h"

#include <QLineEdit>

TypingLimit::TypingLimit(QLineEdit *box, int limit)
    : QValidator(box)
    , m_box(box)
    , m_limit(limit)
    , m_last(box->text()) {
    // The box already holds the edited text while it asks us, so remember the one before.
    connect(box, &QLineEdit::textChanged, this, [this](const QString &t) { m_last = t; });
}

QValidator::State TypingLimit::validate(QString &input, int &) const {
    // setText clears the undo history before it asks, an edit of the user's adds to it. A
    // program's text refused here would leave the box marked invalid, and the next typed
    // character would then pass the limit unchecked.
    if (input.size() > m_limit && input.size() > m_last.size() && m_box->isUndoAvailable())
        return Invalid;
    return Acceptable;
}
