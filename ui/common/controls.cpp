// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/controls.h"

#include "ui/common/modProcs.h"
#include "ui/common/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QValidator>

namespace controls {
namespace {

// A control takes its class's font only when it is polished, and a list whose font changes
// builds its pop-up there and then, which costs start-up time. So a list is made inside a
// holder that has the box font already, and then moved to its place.
QComboBox *newList(QWidget *parent) {
    QWidget holder;
    holder.setFont(twips::boxFont());
    auto *list = new QComboBox(&holder);
    list->setParent(parent);
    return list;
}

template <typename W> W *named(W *w, const char *name, int l, int t, int width, int h) {
    w->setObjectName(QString::fromLatin1(name));
    twips::place(w, l, t, width, h);
    return w;
}

// Refuses an edit that would make the text longer than the limit, unless the text was
// already longer (set by the program): the user may still shorten it.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit *box, int limit)
        : QValidator(box)
        , m_box(box)
        , m_limit(limit)
        , m_last(box->text()) {
        // The box already holds the edited text while it asks us, so remember the one before.
        connect(box, &QLineEdit::textChanged, this, [this](const QString &t) { m_last = t; });
    }

    State validate(QString &input, int &) const override {
        // setText clears the undo history before it asks, an edit of the user's adds to it. A
        // program's text refused here would leave the box marked invalid, and the next typed
        // character would then pass the limit unchecked.
        if (input.size() > m_limit && input.size() > m_last.size() && m_box->isUndoAvailable())
            return Invalid;
        return Acceptable;
    }

private:
    QLineEdit *m_box;
    int m_limit;
    QString m_last;
};

class KeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
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

private:
    static bool allowed(const QString &text) {
        for (QChar c : text) {
            std::uint16_t code = c.unicode();
            modProcs::filterKey(code);
            if (code == 0)
                return false;
        }
        return true;
    }
};

// The narrow designed lists cannot show their longest entries at the designed size: the
// chosen entry gets a smaller font rather than losing its last letters under the arrow.
void fitChoice(QComboBox *list) {
    QStyleOptionComboBox opt;
    opt.initFrom(list);
    const int room =
        list->style()
            ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, list)
            .width();
    const QString text = list->currentText();
    const auto width = [&](const QFont &font) {
        return text.isEmpty() ? 0.0 : QFontMetricsF(font, list).horizontalAdvance(text);
    };
    QFont font = twips::boxFont();
    while (font.pixelSize() > 1 && width(font) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (list->font() != font)
        list->setFont(font);
}

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

QFrame *panel(QWidget *parent, const char *name, int l, int t, int w, int h) {
    auto *p = named(new QFrame(parent), name, l, t, w, h);
    p->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return p;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                 int h) {
    return named(new QGroupBox(caption, parent), name, l, t, w, h);
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, int l, int t, int w, int h,
              bool rightAligned) {
    auto *lb = named(new QLabel(caption, parent), name, l, t, w, h);
    lb->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return lb;
}

QRadioButton *option(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                     int h) {
    return named(new QRadioButton(caption, parent), name, l, t, w, h);
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                    int h) {
    auto *b = named(new QPushButton(caption, parent), name, l, t, w, h);
    b->setAutoDefault(false);
    return b;
}

QComboBox *list(QWidget *parent, const char *name, int l, int t, int w, int h) {
    auto *c = named(newList(parent), name, l, t, w, h);
    c->setEditable(false);
    QObject::connect(c, &QComboBox::currentIndexChanged, c, [c] { fitChoice(c); });
    return c;
}

QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, int l, int t, int w,
                   int h, int maxLength) {
    auto *e = named(new QLineEdit(text, parent), name, l, t, w, h);
    e->setTextMargins(1, 0, 1, 0);
    if (maxLength > 0)
        e->setValidator(new TypingLimit(e, maxLength));
    return e;
}

QScrollBar *stepBar(QWidget *parent, const char *name, int l, int t, int w, int h) {
    auto *s = named(new QScrollBar(Qt::Vertical, parent), name, l, t, w, h);
    s->setRange(-1, 1);
    s->setSingleStep(1);
    s->setPageStep(1);
    s->setValue(0);
    s->setFocusPolicy(Qt::NoFocus);
    return s;
}

void setFittedText(QLabel *label, const QString &text, const QFont &designed) {
    // A pixel to spare: glyphs drawn at a higher scale can come out a fraction wider.
    const qreal room = label->contentsRect().width() - 2 * qMax(label->indent(), 0) - 1;
    QFont font = designed;
    while (font.pixelSize() > 1 && QFontMetricsF(font, label).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (label->font() != font)
        label->setFont(font);
    label->setText(text);
    // A long figure fits only in small print: the tooltip shows it at a readable size.
    label->setToolTip(font.pixelSize() < designed.pixelSize() ? text : QString());
}

void nameAfter(QLabel *label, QWidget *control) {
    label->setBuddy(control);
    // A label that shows a value keeps the value as its name, the caption as its relation.
    if (qobject_cast<QLabel *>(control))
        return;
    QString name = label->text();
    name.remove(u'&');
    control->setAccessibleName(name);
}

void filterTyping(QLineEdit *box) {
    box->installEventFilter(new KeyFilter(box));
}

void fillSorted(QComboBox *list, const QStringList &entries) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const QString &entry : entries) {
        int at = 0;
        while (at < list->count() &&
               QString::compare(list->itemText(at), entry, Qt::CaseInsensitive) <= 0)
            ++at;
        list->insertItem(at, entry);
    }
    list->setCurrentIndex(-1);
}

bool selectText(QComboBox *list, const QString &text) {
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    if (index == list->currentIndex())
        emit list->activated(index); // choosing the chosen entry again still counts as a choice
    else
        list->setCurrentIndex(index);
    return true;
}

} // namespace controls
