// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/textFitting.h"

#include "ui/common/twips.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace titrova::controls {

void setFittedText(QLabel *label, const QString &text, const QFont &designed) {
    // A pixel to spare: glyphs drawn at a higher scale can come out a fraction wider.
    const qreal room = label->contentsRect().width() - 2 * qMax(label->indent(), 0) - 1;
    QFont font = designed;
    while (font.pixelSize() > 1 && QFontMetricsF(font, label).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (label->font() != font)
        label->setFont(font);
    label->setText(text);
    // A long figure fits only in small print: the tooltip shows it at a readable size.
    label->setToolTip(font.pixelSize() < designed.pixelSize() ? text : QString());
}

void fitChoice(QComboBox *list) {
    QStyleOptionComboBox opt;
    opt.initFrom(list);
    const int room =
        list->style()
            ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, list)
            .width();
    const QString text = list->currentText();
    const auto width = [&](const QFont &font) {
        return text.isEmpty() ? 0.0 : QFontMetricsF(font, list).horizontalAdvance(text);
    };
    QFont font = twips::boxFont();
    while (font.pixelSize() > 1 && width(font) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (list->font() != font)
        list->setFont(font);
}

} // namespace titrova::controls
