// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// Fusion's highlight under white text is 3.7:1 (#308CC6), and themes bring lighter ones: an
// open list's chosen entry gets a deeper shade of the theme's, 4.5:1 at least (with a margin
// for rounding), taken anew at each opening so that it follows the theme.
class ContrastList : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override;
};
