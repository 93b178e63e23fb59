// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about/programIcon.h"

#include <QBitmap>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <cmath>
#include <string_view>

// The resources are compiled into a static library, whose unreferenced objects the linker
// would drop; Q_INIT_RESOURCE must be called from the global namespace.
static void initTitrovaResources() {
    Q_INIT_RESOURCE(titrova);
}

namespace {

void ensureResources() {
    [[maybe_unused]] static const bool loaded = (initTitrovaResources(), true);
}

// 'X' black, 'o' white, anything else transparent, as is all that is not drawn. The black
// fingertip at column 5 of the top row is the hot spot.
constexpr std::array<std::string_view, 23> handPicture = {
    "....XXX",
    "...XoooX",
    "...XoooX",
    "...XoooX",
    "...XoooX",
    "...XoooX",
    "...XoooXXXX",
    "...XoooXoooXXXX",
    "...XoooXoooXoooX",
    "...XoooXoooXoooXXX",
    ".XXXoooXoooXoooXooX",
    "XooXoooXoooXoooXooX",
    "XooXooooooooooooooX",
    "XoooXoooooooooooooX",
    ".XooooooooooooooooX",
    ".XooooooooooooooooX",
    "..XoooooooooooooooX",
    "..XooooooooooooooX",
    "...XoooooooooooooX",
    "...XoooooooooooooX",
    "....XoooooooooooX",
    "....XoooooooooooX",
    "....XXXXXXXXXXXXX",
};

// Window sizes only: every size is sent to the window system when a window is shown, which
// costs start-up time. Menus and launchers take the larger icons installed beside the program.
constexpr int iconSizes[] = {16, 32, 48, 64};

constexpr int cursorSize = 32;
constexpr int hotX = 5;
constexpr int hotY = 0;

void addSize(QIcon &icon, int size) {
    icon.addFile(QStringLiteral(":/icons/titrova-%1.png").arg(size), QSize(size, size));
}

} // namespace

QIcon programIcon() {
    ensureResources();
    QIcon icon;
    for (int size : iconSizes)
        addSize(icon, size);
    return icon;
}

QIcon titleBarIcon(qreal devicePixelRatio) {
    ensureResources();
    const qreal wanted = 32 * devicePixelRatio;
    int nearest = iconSizes[0];
    for (int size : iconSizes) {
        if (std::abs(size - wanted) < std::abs(nearest - wanted))
            nearest = size;
    }
    QIcon icon;
    addSize(icon, nearest);
    return icon;
}

QCursor pointingHandCursor() {
    // Rows of bits, least significant bit leftmost. In the shape a set bit is black, in the
    // mask a set bit is opaque.
    constexpr int bytesPerRow = cursorSize / 8;
    std::array<uchar, cursorSize * bytesPerRow> shape{};
    std::array<uchar, cursorSize * bytesPerRow> mask{};
    for (std::size_t y = 0; y < handPicture.size(); ++y) {
        const std::string_view row = handPicture[y];
        for (std::size_t x = 0; x < row.size(); ++x) {
            if (row[x] != 'X' && row[x] != 'o')
                continue;
            const std::size_t byte = y * bytesPerRow + x / 8;
            const auto bit = uchar(1u << (x % 8));
            mask[byte] |= bit;
            if (row[x] == 'X')
                shape[byte] |= bit;
        }
    }
    const QSize size(cursorSize, cursorSize);
    return QCursor(QBitmap::fromData(size, shape.data(), QImage::Format_MonoLSB),
                   QBitmap::fromData(size, mask.data(), QImage::Format_MonoLSB), hotX, hotY);
}
