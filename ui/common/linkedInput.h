// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QLineEdit;
class QScrollBar;

// A numeric text box with the step control beside it. The number lives only in the box's
// text; each click on the bar adds or takes away one step, rewrites the text in its display
// format and puts the bar back to rest.
class LinkedInput : public QObject {
    Q_OBJECT

public:
    enum Kind {
        TenthStep, // TA values: 0.1, "standard" format
        WholeStep, // batch size: 1, "standard" format
        Percent    // blend shares: 1, whole numbers, 0 to 100
    };

    LinkedInput(QLineEdit *box, QScrollBar *bar, Kind kind, QObject *parent = nullptr);

    QLineEdit *box() const { return m_box; }
    QScrollBar *bar() const { return m_bar; }
    QString zeroText() const;

    // The bar's change handler, run for every change of its value, by a click or by code.
    void step(int value);

    void setEnabled(bool enabled);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString format(double value) const;

    QLineEdit *m_box;
    QScrollBar *m_bar;
    Kind m_kind;
};
