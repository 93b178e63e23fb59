// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/frmAcid.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

// The whole window from the keyboard alone: Tab visits every input in its designed order, and
// a screen reader can name each one.
class tst_accessibility : public QObject {
    Q_OBJECT

    // What a screen reader says for a control: its name; for a list (named by its current entry
    // here) its description or the label it is labelled by.
    static QString spokenFor(QWidget *w) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface)
            return QString();
        if (iface->role() != QAccessible::ComboBox)
            return iface->text(QAccessible::Name);
        if (!iface->text(QAccessible::Description).isEmpty())
            return iface->text(QAccessible::Description);
        const auto labels = iface->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }

private slots:
    void tabOrderAndNames() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        frmAcid window(QString{});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.findChild<QRadioButton *>(QStringLiteral("optRaise"))->setChecked(true);
        auto *method = window.findChild<QComboBox *>(QStringLiteral("cboMethod"));
        method->setCurrentIndex(method->findText(QStringLiteral("Blend Wine")));

        const std::pair<const char *, const char *> expected[] = {
            {"txtExist", "Existing TA"},      {"txtTarget", "Target TA"},
            {"cmdCalc", "Calculate"},         {"optRaise", "Raise Acidity"},
            {"cboMethod", "Using"},           {"cboUnits", "TA Units"},
            {"txtBatchSize", "Size"},         {"cboBatchUnits", "Batch Units"},
            {"txtBlend", "Blending Wine TA"}, {"txtExist", "Existing TA"},
        };
        window.findChild<QLineEdit *>(QStringLiteral("txtExist"))->setFocus();
        for (const auto &[name, spoken] : expected) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus);
            QCOMPARE(focus->objectName(), QString::fromLatin1(name));
            QCOMPARE(spokenFor(focus), QString::fromLatin1(spoken));
            QTest::keyClick(focus, Qt::Key_Tab);
        }
    }

    void resultIsNamed() {
        frmAcid window(QString{});
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(
            window.findChild<QWidget *>(QStringLiteral("lblAddition")));
        // A screen reader reads the value, and the caption through the relation.
        window.findChild<QLineEdit *>(QStringLiteral("txtExist"))->setText(QStringLiteral("1"));
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("0.00"));
        const auto labels = iface->relations(QAccessible::Label);
        QVERIFY(!labels.isEmpty());
        QCOMPARE(labels.first().first->text(QAccessible::Name),
                 QStringLiteral("Required Addition"));
    }
};

QTEST_MAIN(tst_accessibility)
#include "tst_accessibility.moc"
