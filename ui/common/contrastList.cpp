// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/contrastList.h"

#include "ui/common/contrast.h"

#include <QAbstractItemView>

void ContrastList::showPopup() {
    const QPalette theirs = parentWidget()->palette();
    QPalette mine = view()->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        const QColor text = theirs.color(group, QPalette::HighlightedText);
        const QColor far =
            titrova::contrast::ratio(text, Qt::black) > titrova::contrast::ratio(text, Qt::white)
                ? QColor(Qt::black)
                : QColor(Qt::white);
        mine.setColor(
            group, QPalette::Highlight,
            titrova::contrast::towards(theirs.color(group, QPalette::Highlight), far, text, 4.7));
    }
    view()->setPalette(mine);
    QComboBox::showPopup();
}
