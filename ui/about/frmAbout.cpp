// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about/frmAbout.h"

#include "ui/about/programIcon.h"
#include "ui/appInfo.h"
#include "ui/common/designedFonts.h"
#include "ui/common/desktop.h"
#include "ui/common/onScreen.h"
#include "ui/common/twips.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

using namespace titrova;

namespace {

const QColor panelGrey(224, 224, 224);
const QColor linkBlue(0, 0, 192);

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, double points) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(twips::font(points));
    // Designed labels draw their text from the top-left corner, not centred vertically.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

const char *const linkProperty = "titrovaLink";

// A link label as a screen reader expects one: the role of a link, named by its text, with
// a press action that works it as Enter does.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(QWidget *label)
        : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override {
        // Posted: the client's call returns before anything opens.
        if (action == pressAction())
            QCoreApplication::postEvent(
                widget(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *linkFactory(const QString &, QObject *object) {
    if (object && object->isWidgetType() && object->property(linkProperty).toBool())
        return new LinkAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent) {
    static const bool factory = (QAccessible::installFactory(linkFactory), true);
    Q_UNUSED(factory)
    controls::setDesignedFonts();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("About"));

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette grey = Picture1->palette();
    grey.setColor(QPalette::Window, panelGrey);
    // The panel's grey is fixed whatever the theme, so its text colour is too.
    grey.setColor(QPalette::WindowText, Qt::black);
    Picture1->setPalette(grey);

    Label1 = makeLabel(Picture1, QStringLiteral("Label1"), QStringLiteral("Titrova"), 18);
    Label2 = makeLabel(Picture1, QStringLiteral("Label2"), tr("Wine Acid"), 18);
    Label3 =
        makeLabel(Picture1, QStringLiteral("Label3"), tr("Version %1").arg(appInfo::version()), 12);
    Label4 = makeLabel(Picture1, QStringLiteral("Label4"), tr("Copyright \u00a9 2026"), 9.75);
    lblMail = makeLabel(Picture1, QStringLiteral("lblMail"), tr("Titrova Team"), 9.75);
    lblWeb = makeLabel(Picture1, QStringLiteral("lblWeb"), links::webHost, 9.75);

    Picture2 = new QLabel(Picture1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setAlignment(Qt::AlignCenter);
    Picture2->setPixmap(programIcon().pixmap(QSize(32, 32), devicePixelRatio()));

    for (QLabel *link : {lblMail, lblWeb}) {
        QPalette blue = link->palette();
        blue.setColor(QPalette::WindowText, linkBlue);
        link->setPalette(blue);
        link->setCursor(pointingHandCursor());
        link->installEventFilter(this);
        // Reachable with Tab and worked with Enter or Space, for those without a mouse.
        link->setFocusPolicy(Qt::TabFocus);
        link->setProperty(linkProperty, true);
        // Built as a plain label while it was made; the next query builds the link.
        if (QAccessible::isActive())
            QAccessible::deleteAccessibleInterface(
                QAccessible::uniqueId(QAccessible::queryAccessibleInterface(link)));
    }

    cmdOK = new QPushButton(tr("&OK"), Picture1);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    // Enter presses OK; Esc closes the box through QDialog::reject, which ends the same way.
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    // OK keeps the first focus; the links come after it.
    setTabOrder(cmdOK, lblMail);
    setTabOrder(lblMail, lblWeb);
    cmdOK->setFocus();

    const struct {
        QWidget *widget;
        int left, top, width, height;
    } layout[] = {
        {Picture1, -15, 0, 3735, 2415},  {Label1, 120, 120, 1935, 495},
        {Label2, 120, 600, 1935, 495},   {Label3, 2040, 720, 1575, 375},
        {Picture2, 2880, 120, 615, 615}, {Label4, 120, 1440, 1695, 375},
        {lblMail, 120, 1680, 1215, 255}, {lblWeb, 120, 1920, 1815, 255},
        {cmdOK, 2640, 1800, 855, 400},
    };
    for (const auto &place : layout)
        twips::place(place.widget, place.left, place.top, place.width, place.height);

    // The designed place is the client area's; the window frame goes around it.
    twips::place(this, 5355, 5115, 3705, 2430);
    setFixedSize(size());
    onScreen::keep(this);
}

void frmAbout::Form_Activate() {
    // The box has no icon of its own: it shows the main window's, or the application's when
    // it has no parent. With neither, it stays without one.
    const QIcon icon =
        parentWidget() ? parentWidget()->window()->windowIcon() : QApplication::windowIcon();
    if (!icon.isNull())
        setWindowIcon(icon);
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::lblWeb_Click() {
    Desktop::current().openUrl(links::homePage());
}

void frmAbout::lblMail_Click() {
    // The label shows the author's name, but writes to the same address as Help's mail link.
    Desktop::current().openUrl(links::supportMail());
}

bool frmAbout::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event) {
    const auto click = [this, watched] {
        if (watched == lblWeb)
            lblWeb_Click();
        else if (watched == lblMail)
            lblMail_Click();
    };
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            click();
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // The focused link is underlined: a label draws no focus frame of its own.
        auto *label = static_cast<QLabel *>(watched);
        QFont font = label->font();
        font.setUnderline(event->type() == QEvent::FocusIn);
        label->setFont(font);
    }
    // A label's click is a left-button release over the label that was pressed.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *label = static_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint()))
            click();
    }
    return QDialog::eventFilter(watched, event);
}
