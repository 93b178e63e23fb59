// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/contrast.h"

#include <algorithm>
#include <cmath>

namespace titrova::contrast {

double ratio(const QColor &a, const QColor &b) {
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double s) {
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor towards(const QColor &from, const QColor &to, const QColor &against, double wanted) {
    QColor c = from;
    for (int step = 1; step <= 20 && ratio(c, against) < wanted; ++step) {
        const double t = step / 20.0;
        c = QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                             float(from.greenF() + (to.greenF() - from.greenF()) * t),
                             float(from.blueF() + (to.blueF() - from.blueF()) * t));
    }
    return c;
}

} // namespace titrova::contrast
