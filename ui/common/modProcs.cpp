// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/modProcs.h"

#include <QApplication>
#include <QMessageBox>

namespace titrova::modProcs {
namespace {

void show(QMessageBox::Icon icon, const QString &prompt, QWidget *parent) {
    QMessageBox box(icon, appTitle, prompt, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    keepSystemFont(&box);
    box.exec();
}

} // namespace

void keepSystemFont(QWidget *box) {
    // Set on each control too: a font equal to the one it replaces stops at the button box
    // and never reaches the buttons inside.
    QFont font = QApplication::font(box);
    // Every property, the style hint too, rather than those the class fonts leave unset.
    font.setResolveMask(QFont::AllPropertiesResolved);
    box->setFont(font);
    for (QWidget *control : box->findChildren<QWidget *>())
        control->setFont(font);
}

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

} // namespace titrova::modProcs
