// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/keyFilter.h"

#include "ui/common/modProcs.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

bool allowed(const QString &text) {
    for (QChar c : text) {
        std::uint16_t code = c.unicode();
        titrova::modProcs::filterKey(code);
        if (code == 0)
            return false;
    }
    return true;
}

} // namespace

bool KeyFilter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        return !text.isEmpty() && !allowed(text);
    }
    if (event->type() == QEvent::InputMethod) {
        // Composed input is typing too: drop what the filter would refuse.
        auto *im = static_cast<QInputMethodEvent *>(event);
        if (!im->commitString().isEmpty() && !allowed(im->commitString())) {
            QString kept;
            for (QChar c : im->commitString()) {
                if (allowed(QString(c)))
                    kept += c;
            }
            QInputMethodEvent filtered(im->preeditString(), im->attributes());
            filtered.setCommitString(kept, im->replacementStart(), im->replacementLength());
            QCoreApplication::sendEvent(watched, &filtered);
            return true;
        }
    }
    return false;
}
