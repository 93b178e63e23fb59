// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/contrastOption.h"

#include "ui/common/contrast.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

void ContrastOption::paintEvent(QPaintEvent *event) {
    QRadioButton::paintEvent(event);
    if (style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return;
    QStyleOptionButton opt;
    initStyleOption(&opt);
    // Fusion's focus ring, in the highlight's colour, stays as it is.
    if ((opt.state & QStyle::State_HasFocus) && (opt.state & QStyle::State_KeyboardFocusChange))
        return;
    const QRect indicator = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, this);
    const QColor window = palette().color(QPalette::Window);
    const QColor ring = titrova::contrast::towards(
        window.darker(150), palette().color(QPalette::WindowText), window, 4.5);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(ring);
    painter.setBrush(Qt::NoBrush);
    // Fusion's own circle.
    const qreal radius = (indicator.width() + (indicator.width() + 1) % 2) / 2.0 - 1;
    painter.drawEllipse(QPointF(indicator.center() + QPoint(1, 1)), radius, radius);
}
