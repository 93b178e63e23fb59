// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/designedFonts.h"

#include "ui/common/twips.h"

#include <QApplication>
#include <QEvent>

namespace titrova::controls {
namespace {

// A platform theme sets the application's font when it likes (qt6ct once the event loop
// runs, so while start-up waits on a message box), and QApplication forgets the class fonts
// then, without a word when the font is the same. A window's controls take their fonts again
// when it is first shown, right after the window itself is polished.
class FontKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Polish && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow())
            setDesignedFonts();
        return false;
    }
};

} // namespace

void setDesignedFonts() {
    static const bool kept = [] {
        qApp->installEventFilter(new FontKeeper(qApp));
        return true;
    }();
    Q_UNUSED(kept);
    const QFont label = twips::labelFont();
    const QFont box = twips::boxFont();
    // QApplication forgets class fonts when the style or the application font is set.
    if (QApplication::font("QLabel") == label && QApplication::font("QLineEdit") == box)
        return;
    // A tooltip is a label too, but keeps the font it had before labels got theirs.
    QApplication::setFont(QApplication::font("QTipLabel"), "QTipLabel");
    for (const char *className : {"QLabel", "QGroupBox", "QRadioButton", "QPushButton"})
        QApplication::setFont(label, className);
    // The combo box's pop-up is a window of its own and inherits nothing from the list; a
    // theme may name fonts for item views and the pop-up's entries.
    for (const char *className : {"QLineEdit", "QComboBox", "QComboBoxPrivateContainer",
                                  "QComboBoxListView", "QComboMenuItem"})
        QApplication::setFont(box, className);
}

} // namespace titrova::controls
