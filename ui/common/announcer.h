// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QComboBox;

// Screen readers speak a changed label or list only when it has the focus, and not always
// then: Orca ignores a label's new name and reads a list's entry through an interface Qt 6.4
// does not offer. A notification that appears is spoken wherever the focus is, so the windows
// say what matters through this invisible one.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    // Has a screen reader, if one listens, speak `message` now.
    void announce(const QString &message);
    // Speaks the list's entry when the list takes the focus and when it changes under it.
    void follow(QComboBox *list);

    QString message() const { return m_message; }

private:
    QString m_message;
};
