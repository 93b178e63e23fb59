// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// Colours that stay readable whatever the theme brings.
namespace titrova::contrast {

// The WCAG contrast ratio of two colours.
double ratio(const QColor &a, const QColor &b);

// The colour moved from `from` towards `to` just far enough to stand out from `against` by
// the ratio.
QColor towards(const QColor &from, const QColor &to, const QColor &against, double wanted);

} // namespace titrova::contrast
