// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/controls.h"

#include "ui/common/contrastList.h"
#include "ui/common/contrastOption.h"
#include "ui/common/keyFilter.h"
#include "ui/common/textFitting.h"
#include "ui/common/twips.h"
#include "ui/common/typingLimit.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace titrova::controls {
namespace {

// A control takes its class's font only when it is polished, and a list whose font changes
// builds its pop-up there and then, which costs start-up time. So a list is made inside a
// holder that has the box font already, and then moved to its place.
QComboBox *newList(QWidget *parent) {
    QWidget holder;
    holder.setFont(twips::boxFont());
    auto *list = new ContrastList(&holder);
    list->setParent(parent);
    return list;
}

template <typename W> W *named(W *w, const char *name, int l, int t, int width, int h) {
    w->setObjectName(QString::fromLatin1(name));
    twips::place(w, l, t, width, h);
    return w;
}

} // namespace

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
    return named(new ContrastOption(caption, parent), name, l, t, w, h);
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

} // namespace titrova::controls
