// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QImage>
#include <algorithm>
#include <cmath>

namespace pixels {

// The WCAG contrast ratio of the two colours.
inline double contrast(QRgb a, QRgb b) {
    const auto luminance = [](QRgb c) {
        double sum = 0;
        for (auto [v, weight] :
             {std::pair{qRed(c), 0.2126}, {qGreen(c), 0.7152}, {qBlue(c), 0.0722}}) {
            const double s = v / 255.0;
            sum += weight * (s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The image's commonest colour: the background behind a text.
inline QRgb commonest(const QImage &image) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    return std::max_element(counts.begin(), counts.end()).key();
}

// The greatest contrast of any pixel of the image against the colour.
inline double strongest(const QImage &image, QRgb against) {
    double best = 1.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, contrast(image.pixel(x, y), against));
    return best;
}

} // namespace pixels
