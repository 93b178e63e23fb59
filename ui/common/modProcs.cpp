// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/modProcs.h"

#include <QApplication>
#include <QMessageBox>

namespace modProcs {
namespace {

void show(QMessageBox::Icon icon, const QString &prompt, QWidget *parent) {
    QMessageBox box(icon, appTitle, prompt, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    box.exec();
}

} // namespace

void filterKey(std::uint16_t &keyAscii) {
    // Control characters (backspace, enter, the clipboard and undo shortcuts) pass. The code
    // is unsigned, so no character can pass as a negative number.
    if (keyAscii <= 26)
        return;
    static const QString accepted = QStringLiteral("0123456789.,");
    if (keyAscii > 0x7f || !accepted.contains(QChar(keyAscii)))
        keyAscii = 0;
}

void showWarning(const QString &prompt, QWidget *parent) {
    show(QMessageBox::Warning, prompt, parent);
}

void showCritical(const QString &prompt, QWidget *parent) {
    show(QMessageBox::Critical, prompt, parent);
}

} // namespace modProcs
