// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>
#include <cmath>

// The windows are laid out in twips, as designed: 15 twips to a logical pixel. Qt's device
// pixel ratio then scales logical pixels on high-dpi screens, so the proportions hold at
// any scale.
namespace titrova::twips {

inline int px(int twips) {
    return int(std::lround(twips / 15.0));
}

inline QRect rect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

inline void place(QWidget *widget, int left, int top, int width, int height) {
    widget->setGeometry(rect(left, top, width, height));
}

// The designed fonts by size in points, as pixels at 96 dpi so that fixed layouts do not
// depend on the screen's reported dpi. Windows has the face the layout was drawn with (Qt's own
// default there too); elsewhere Liberation Sans has its metrics, and any sans-serif stands in
// where that is missing.
inline QFont font(double points) {
#ifdef Q_OS_WIN
    QFont f(QStringLiteral("MS Sans Serif"));
    // Where the face is missing (Wine has none of its own), its metric twin or Arial rather
    // than whatever font comes first.
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial")});
#else
    QFont f(QStringLiteral("Liberation Sans"));
#endif
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(int(std::lround(points * 96.0 / 72.0)));
    return f;
}

inline QFont labelFont() {
    return font(9.75);
}
inline QFont boxFont() {
    return font(8.25);
}

} // namespace titrova::twips
