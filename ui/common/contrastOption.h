// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRadioButton>

// Fusion rings an option's indicator with a shade of the window's colour, 2:1 against it
// where 3:1 is needed to see the control: the ring is drawn again, darker (or lighter on a
// dark window).
class ContrastOption : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
