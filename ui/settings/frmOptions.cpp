// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/frmOptions.h"

#include "calc/catalogue.h"
#include "calc/numbers.h"
#include "settings/defaults.h"
#include "settings/eightSettings.h"
#include "settings/settingsFile.h"
#include "settings/settingsTable.h"
#include "ui/common/acidPanel.h"
#include "ui/common/controls.h"
#include "ui/common/designedFonts.h"
#include "ui/common/modProcs.h"
#include "ui/common/onScreen.h"
#include "ui/common/twips.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

using namespace titrova;

using catalogue::Direction;

namespace {

// A number goes into the table in the standard format; anything else as typed, so that the
// file's conversion refuses it and nothing half-read is written.
QString standardText(const QString &text) {
    const QString trimmed = text.trimmed();
    const auto value = numbers::toDouble(trimmed);
    return value ? numbers::standardFromDouble(*value) : trimmed;
}

} // namespace

frmOptions::frmOptions(const settings::Location &settingsPath, QWidget *parent)
    : QDialog(parent)
    , m_settingsPath(settingsPath) {
    controls::setDesignedFonts();
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Default Settings"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildLayout();
    connectHandlers();
    // The client area at its designed place; an explicit position also keeps QDialog from
    // centring itself over the main window.
    twips::place(this, 5160, 3360, 3795, 5625);
    setFixedSize(size());
    onScreen::keep(this);
}

void frmOptions::buildLayout() {
    using namespace controls;
    cmdOK = button(this, "cmdOK", QStringLiteral("&OK"), 2520, 5160, 1215, 400);
    cmdCancel = button(this, "cmdCancel", QStringLiteral("&Cancel"), 1080, 5160, 1215, 400);
    QFrame *Picture1 = panel(this, "Picture1", 30, 0, 3735, 5055);
    Picture1->setFocusPolicy(Qt::NoFocus);

    // Only what the settings file can hold: no hectolitres.
    acid = new AcidPanel(Picture1, {360, 240, 3015, 1935, 360, 3720}, settings::savedBatchUnits(),
                         this);
    setTabOrder(acid->chainTabs(nullptr), cmdCancel);
    setTabOrder(cmdCancel, cmdOK);
}

void frmOptions::connectHandlers() {
    // optRaise_Click, optLower_Click: the panel's; the main window owns the result.
    connect(acid, &AcidPanel::additionReset, this, &frmOptions::additionReset);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);

    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *now) {
        if (!now || now == windowHandle())
            return;
        QWidget *other = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->windowHandle() == now)
                other = top;
        }
        m_backFromOwnBox = qobject_cast<QMessageBox *>(other) && other->parentWidget() == this;
    });
}

bool frmOptions::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate) {
        if (m_backFromOwnBox)
            m_backFromOwnBox = false;
        else
            Form_Activate();
    }
    return QDialog::event(event);
}

void frmOptions::showEvent(QShowEvent *event) {
    // Some window systems never activate a new window (a headless Wayland compositor), so
    // the dialog fills itself when shown too; each later activation still refills it. Qt 6.8
    // sends another show event when a visible dialog is shown again: that is no coming back
    // to it, and must not wipe the user's edits.
    if (!event->spontaneous() && !m_shown)
        Form_Activate();
    m_shown = true;
    QDialog::showEvent(event);
}

void frmOptions::hideEvent(QHideEvent *event) {
    if (!event->spontaneous())
        m_shown = false;
    QDialog::hideEvent(event);
}

void frmOptions::keyPressEvent(QKeyEvent *event) {
    // Neither button is the cancel button, so Esc must not reach QDialog's reject().
    if (event->matches(QKeySequence::Cancel))
        return;
    QDialog::keyPressEvent(event);
}

void frmOptions::Form_Activate() {
    try {
        setWindowIcon(parentWidget() ? parentWidget()->window()->windowIcon()
                                     : QApplication::windowIcon());
        settings::applyDefaults(settings::defaultSettings(), *acid);
    } catch (const std::exception &) {
        // The dialog must open usable whatever the table holds; the table stays as it is.
        acid->applyBuiltInDefaults();
    }
}

void frmOptions::cmdOK_Click() {
    validateDefaults();
}

void frmOptions::cmdCancel_Click() {
    close();
}

void frmOptions::warn(const QString &prompt, calc::Field focus) {
    modProcs::showWarning(prompt, this);
    acid->focus(focus);
}

void frmOptions::validateDefaults() {
    using settings::Key;
    // Texts as they stand: a text of blanks is not empty.
    if (acid->shownText(Key::BatchSize).isEmpty())
        return warn(QStringLiteral("Please enter batch size."), calc::Field::BatchSize);
    if (acid->method().isEmpty())
        return warn(QStringLiteral("Please enter method."), calc::Field::Method);

    // The shares are checked only for the blend, the one method whose shares are saved (the
    // others store 50/30/20), so that Lower's disabled zeros never block a save. When the
    // boxes are disabled the focus goes to the method, the one thing the user can still change.
    if (acid->method() == catalogue::acidBlend) {
        const auto fault =
            calc::checkShareSum(acid->shownText(Key::Tartaric), acid->shownText(Key::Malic),
                                acid->shownText(Key::Citric));
        if (fault)
            return warn(fault->message,
                        acid->isEnabled(fault->field) ? fault->field : calc::Field::Method);
    }
    saveDefaults();
}

void frmOptions::saveDefaults() {
    using namespace settings;
    try {
        SettingsTable &table = defaultSettings();
        for (const Setting &s : allSettings())
            table.removeIfPresent(s.key);
        const QString method = acid->method().trimmed();
        for (const Setting &s : allSettings()) {
            if (s.id == Key::Direction) {
                if (acid->direction() != Direction::None)
                    table.add(s.key, acid->shownText(s.id));
            } else if (s.id == Key::Method) {
                table.add(s.key, method);
            } else if (s.kind == Kind::Text) {
                table.add(s.key, acid->shownText(s.id).trimmed());
            } else if (s.kind == Kind::Number || method == catalogue::acidBlend) {
                table.add(s.key, standardText(acid->shownText(s.id)));
            } else {
                // The file always carries shares; these are what a blend starts from.
                table.add(s.key, QString::number(s.builtIn.toDouble()));
            }
        }

        // Every value is converted before the file is touched, and the writer replaces the
        // old file only with a complete new one.
        writeSettingsFile(m_settingsPath, settingsFileBytes(table));
    } catch (const SettingsError &e) {
        modProcs::showCritical(QString::number(e.number()) + u'\n' + e.description(), this);
        return;
    } catch (const std::exception &e) {
        modProcs::showCritical(QStringLiteral("0\n") + QString::fromLocal8Bit(e.what()), this);
        return;
    }
    close();
}
