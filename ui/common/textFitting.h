// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QComboBox;
class QFont;
class QLabel;

namespace titrova::controls {

// Shows the whole text: the font shrinks from the designed one until the text fits the box,
// because a clipped leading digit would read as another number. A shrunk text is the label's
// tooltip too.
void setFittedText(QLabel *label, const QString &text, const QFont &designed);

// The narrow designed lists cannot show their longest entries at the designed size: the
// chosen entry gets a smaller font rather than losing its last letters under the arrow.
void fitChoice(QComboBox *list);

} // namespace titrova::controls
