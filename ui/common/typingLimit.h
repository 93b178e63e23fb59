// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

// Refuses an edit that would make the text longer than the limit, unless the text was
// already longer (set by the program): the user may still shorten it.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit *box, int limit);

    State validate(QString &input, int &) const override;

private:
    QLineEdit *m_box;
    int m_limit;
    QString m_last;
};
