// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/controls.h"

#include "ui/common/modProcs.h"
#include "ui/common/twips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QValidator>
#include <cmath>

namespace controls {
namespace {

// The WCAG contrast ratio of two colours.
double contrast(const QColor &a, const QColor &b) {
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double s) {
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour moved from `from` towards `to` just far enough to stand out from `against` by
// the ratio.
QColor towards(const QColor &from, const QColor &to, const QColor &against, double ratio) {
    QColor c = from;
    for (int step = 1; step <= 20 && contrast(c, against) < ratio; ++step) {
        const double t = step / 20.0;
        c = QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                             float(from.greenF() + (to.greenF() - from.greenF()) * t),
                             float(from.blueF() + (to.blueF() - from.blueF()) * t));
    }
    return c;
}

// Fusion's highlight under white text is 3.7:1 (#308CC6), and themes bring lighter ones: an
// open list's chosen entry gets a deeper shade of the theme's, 4.5:1 at least (with a margin
// for rounding), taken anew at each opening so that it follows the theme.
class List : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override {
        const QPalette theirs = parentWidget()->palette();
        QPalette mine = view()->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            const QColor text = theirs.color(group, QPalette::HighlightedText);
            const QColor far = contrast(text, Qt::black) > contrast(text, Qt::white)
                                   ? QColor(Qt::black)
                                   : QColor(Qt::white);
            mine.setColor(group, QPalette::Highlight,
                          towards(theirs.color(group, QPalette::Highlight), far, text, 4.7));
        }
        view()->setPalette(mine);
        QComboBox::showPopup();
    }
};

// A control takes its class's font only when it is polished, and a list whose font changes
// builds its pop-up there and then, which costs start-up time. So a list is made inside a
// holder that has the box font already, and then moved to its place.
QComboBox *newList(QWidget *parent) {
    QWidget holder;
    holder.setFont(twips::boxFont());
    auto *list = new List(&holder);
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

// Fusion rings an option's indicator with a shade of the window's colour, 2:1 against it
// where 3:1 is needed to see the control: the ring is drawn again, darker (or lighter on a
// dark window).
class Option : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent *event) override {
        QRadioButton::paintEvent(event);
        if (style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
            return;
        QStyleOptionButton opt;
        initStyleOption(&opt);
        // Fusion's focus ring, in the highlight's colour, stays as it is.
        if ((opt.state & QStyle::State_HasFocus) && (opt.state & QStyle::State_KeyboardFocusChange))
            return;
        const QRect indicator =
            style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, this);
        const QColor window = palette().color(QPalette::Window);
        const QColor ring =
            towards(window.darker(150), palette().color(QPalette::WindowText), window, 4.5);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        // Fusion's own circle.
        const qreal radius = (indicator.width() + (indicator.width() + 1) % 2) / 2.0 - 1;
        painter.drawEllipse(QPointF(indicator.center() + QPoint(1, 1)), radius, radius);
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
    return named(new Option(caption, parent), name, l, t, w, h);
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
