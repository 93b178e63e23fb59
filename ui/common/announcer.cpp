// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>

namespace {

class Notification : public QAccessibleWidget {
public:
    explicit Notification(Announcer *announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<Announcer *>(widget())->message() : QString();
    }
};

QAccessibleInterface *notificationFor(const QString &className, QObject *object) {
    if (className == QLatin1String("Announcer") && object->isWidgetType())
        return new Notification(static_cast<Announcer *>(object));
    return nullptr;
}

class FocusSpeaker : public QObject {
public:
    FocusSpeaker(Announcer *announcer, QComboBox *list)
        : QObject(list)
        , m_announcer(announcer) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::FocusIn &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            m_announcer->announce(static_cast<QComboBox *>(watched)->currentText());
        return false;
    }

private:
    Announcer *m_announcer;
};

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent) {
    static const bool installed = (QAccessible::installFactory(notificationFor), true);
    Q_UNUSED(installed);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::announce(const QString &message) {
    if (!QAccessible::isActive() || message.isEmpty())
        return;
    m_message = message;
    // Appearing is the event a screen reader speaks; a second message must appear again.
    hide();
    show();
}

void Announcer::follow(QComboBox *list) {
    list->installEventFilter(new FocusSpeaker(this, list));
    connect(list, &QComboBox::currentIndexChanged, this, [this, list] {
        if (list->hasFocus())
            announce(list->currentText());
    });
}
