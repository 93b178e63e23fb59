// SPDX-License-Identifier: GPL-3.0-or-later
#include "../common/uitest.h"
#include "calc/numbers.h"
#include "settings/settingsfile.h"
#include "settings/settingstable.h"
#include "ui/common/controls.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using uitest::child;

namespace {

const QStringList keys =
    u"r_l method acidUnits batchUnits batchSize blend_t blend_m blend_c"_s.split(u' ');
QStringList fields(const char *row) {
    return QString::fromUtf8(row).split(u'|');
}
const QStringList builtIns = fields("raise|Acid Blend|g/L|U.S. Gal.|5|50|30|20");
const char *const names[] = {
    "",         "cboMethod", "cboUnits", "cboBatchUnits", "txtBatchSize", "txtTartaric",
    "txtMalic", "txtCitric"};

// Values in key order; "-" leaves the key out.
void fillTable(const QStringList &values) {
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (values[i] != u"-")
            settings::defaultSettings().add(keys[i], values[i]);
    }
}

// What the dialog shows: direction, method, TA units, batch units, batch size, shares.
QStringList shown(QWidget *dlg) {
    QStringList s{child<QRadioButton>(dlg, "optRaise")->isChecked()   ? u"raise"_s
                  : child<QRadioButton>(dlg, "optLower")->isChecked() ? u"lower"_s
                                                                      : QString()};
    for (int i = 1; i < 8; ++i)
        s << child(dlg, names[i])->property(i < 4 ? "currentText" : "text").toString();
    return s;
}

// Edits in the order of shown(); "~" leaves a field alone. Direction: the buttons to click.
void enter(QWidget *dlg, const QStringList &edits) {
    for (const QString &name : edits[0].split(u',', Qt::SkipEmptyParts)) {
        if (name != u"~")
            child<QRadioButton>(dlg, qPrintable(name))->setChecked(true);
    }
    for (int i = 1; i < 8; ++i) {
        if (edits[i] == u"~")
            continue;
        if (i < 4)
            QVERIFY(controls::selectText(child<QComboBox>(dlg, names[i]), edits[i]));
        else
            child<QLineEdit>(dlg, names[i])->setText(edits[i]);
    }
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

} // namespace

class tst_frmOptions : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path;
    QString savePath;                      // where OK writes
    std::unique_ptr<ModalCatcher> catcher; // no box ever waits for a user

    frmOptions *opened() {
        fillTable(builtIns);
        auto *dlg = new frmOptions(savePath);
        if (!uitest::activate(dlg))
            qWarning("dialog did not become active");
        return dlg;
    }

    void clickOK(QWidget *dlg) { child<QPushButton>(dlg, "cmdOK")->click(); }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(u"en_US"_s));
        path = dir.filePath(u"settings.cfg"_s);
    }

    void init() {
        settings::defaultSettings().clear();
        savePath = path;
        QFile::remove(path);
        catcher = std::make_unique<ModalCatcher>();
    }

    void cleanup() {
        catcher.reset();
        QList<QPointer<frmOptions>> dialogs; // deleting one deletes its popups too
        for (QWidget *w : QApplication::topLevelWidgets())
            dialogs << qobject_cast<frmOptions *>(w);
        qDeleteAll(dialogs);
    }

    void designedState() {
        frmOptions dlg(path);
        QCOMPARE(dlg.windowTitle(), u"Default Settings"_s);
        QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
        QVERIFY(dlg.testAttribute(Qt::WA_DeleteOnClose));
        // Hectolitres is never saved, so the dialog does not offer it.
        QCOMPARE(child<QComboBox>(&dlg, "cboBatchUnits")->count(), 3);
        QStringList tabOrder;
        QWidget *w = child(&dlg, "optRaise");
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                tabOrder << w->objectName();
            w = w->nextInFocusChain();
        } while (w->objectName() != u"optRaise");
        QCOMPARE(tabOrder, fields("optRaise|optLower|cboMethod|txtTartaric|txtMalic|txtCitric|"
                                  "cboUnits|txtBatchSize|cboBatchUnits|cmdCancel|cmdOK"));
    }

    void activationFills_data() {
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("sharesEnabled");
        const QStringList builtInView = fields("raise|Acid Blend|g/L|U.S. Gal.|5.00|50|30|20");
        QTest::newRow("built-in defaults") << builtIns << builtInView << true;
        QTest::newRow("empty table: built-ins, silently")
            << fields("-|-|-|-|-|-|-|-") << builtInView << true;
        QTest::newRow("method refused: built-ins over a half-applied lower")
            << fields("lower|Tartaric Acid|%|Litres|7|60|20|20") << builtInView << false;
        QTest::newRow("Raise in capitals, hectolitres, shares rounded")
            << fields("Raise|Acid Blend|g/L|Hectolitres|0|33.5|0|66.4")
            << fields("||g/L||0.00|34|0|66") << true;
    }

    void activationFills() {
        QFETCH(QStringList, table);
        QFETCH(QStringList, expected);
        QFETCH(bool, sharesEnabled);
        fillTable(table);
        auto *dlg = new frmOptions(path);
        QVERIFY(uitest::activate(dlg));
        QCOMPARE(shown(dlg), expected);
        QCOMPARE(child(dlg, "txtTartaric")->isEnabled(), sharesEnabled);
        QCOMPARE(child(dlg, "vsbCitric")->isEnabled(), sharesEnabled);
        QCOMPARE(settings::defaultSettings().size(), table.size() - table.count(u"-"_s));
        QVERIFY(catcher->boxes.isEmpty());
    }

    void activationRefillsAndResetsResult() {
        fillTable(builtIns);
        frmAcid main(path);
        auto *result = child<QLabel>(&main, "lblAddition");
        QVERIFY(uitest::activate(&main));
        result->setText(u"12.34"_s);
        main.findChild<QAction *>(u"mnuOptions"_s)->trigger();
        QPointer<frmOptions> dlg = main.findChild<frmOptions *>();
        QVERIFY(uitest::activate(dlg));
        QCOMPARE(result->text(), u"0.00"_s); // opening selects the saved direction

        result->setText(u"12.34"_s);
        enter(dlg, fields("optLower|~|%|Litres|77|~|~|~"));
        QCOMPARE(result->text(), u"0.00"_s);
        QCOMPARE(shown(dlg), fields("lower||%|Litres|77|0|0|0"));
        QVERIFY(uitest::activate(&main));
        QVERIFY(uitest::activate(dlg));
        // Unsaved edits are gone; Lower's disabled shares stay disabled.
        QCOMPARE(shown(dlg), fields("raise|Acid Blend|g/L|U.S. Gal.|5.00|50|30|20"));
        QVERIFY(!child(dlg, "txtMalic")->isEnabled());
        QCOMPARE(dlg->windowIcon().cacheKey(), main.windowIcon().cacheKey());
        delete dlg;
    }

    void okButton_data() {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("message"); // empty: saved and closed
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QByteArray>("file");
        const auto failed = [](const char *name, const char *edits, const QString &message,
                               const char *focus) {
            QTest::newRow(name) << fields(edits) << message << QString::fromLatin1(focus)
                                << QByteArray();
        };
        const auto saved = [](const char *name, const char *edits,
                              std::initializer_list<std::pair<QByteArray, QByteArray>> changes) {
            QByteArray file = uitest::builtInFile;
            for (const auto &[from, to] : changes)
                file.replace(from, to);
            QTest::newRow(name) << fields(edits) << QString() << QString() << file;
        };
        const QString sum = u"Acid blend components must sum to 100%"_s;
        failed("empty batch size, checked first", "optLower|~|~|~||1|1|1",
               u"Please enter batch size."_s, "txtBatchSize");
        failed("blank batch size is no empty one; Lower leaves no method", "optLower|~|~|~| |~|~|~",
               u"Please enter method."_s, "cboMethod");
        failed("sum 98.9", "~|~|~|~|5|49.9|29|20", sum, "txtTartaric");
        failed("empty share", "~|~|~|~|5|70||30", sum, "txtMalic");
        failed("blend after Lower: disabled zeros, focus on the method",
               "optLower,optRaise|Acid Blend|~|~|~|~|~|~", sum, "cboMethod");
        saved("built-in defaults", "~|~|~|~|~|~|~|~", {});
        saved("sum 101 passes", "~|~|~|~|5|50|30|21", {{"_c\",20", "_c\",21"}});
        saved("blend 2.5/2.5/95 written 3/3/95", "~|~|~|~| 5 |2.5|2.5|95",
              {{"_t\",50", "_t\",3"}, {"_m\",30", "_m\",3"}, {"_c\",20", "_c\",95"}});
        saved("single acid: shares unchecked, 50/30/20 saved",
              "~|Tartaric Acid|%|Imp. Gal.|~|60|30|",
              {{"Acid Blend", "Tartaric Acid"}, {"g/L", "%"}, {"U.S. Gal.", "Imp. Gal."}});
        saved("lower, salt", "optLower|Potassium Bicarbonate|~|Litres|10.5|~|~|~",
              {{"raise", "lower"},
               {"Acid Blend", "Potassium Bicarbonate"},
               {"U.S. Gal.", "Litres"},
               {"Size\",5", "Size\",10.5"}});
    }

    void okButton() {
        QFETCH(QStringList, edits);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QByteArray, file);
        QPointer<frmOptions> dlg = opened();
        enter(dlg, edits);
        const QStringList before = shown(dlg);
        clickOK(dlg);
        if (message.isEmpty()) {
            QVERIFY(catcher->boxes.isEmpty());
            QCOMPARE(fileBytes(path), file);
            QTRY_VERIFY(dlg.isNull());
            // The table holds the standard format, as the next opening shows it.
            QCOMPARE(settings::defaultSettings().lookup(u"BATCHSIZE"_s).toString(),
                     numbers::standardFromDouble(*numbers::toDouble(before[4])));
            return;
        }
        QCOMPARE(catcher->boxes.size(), 1);
        QCOMPARE(catcher->boxes[0].text, message);
        QCOMPARE(catcher->boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(catcher->boxes[0].title, u"Titrova"_s);
        QCOMPARE(dlg->focusWidget()->objectName(), focus);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(settings::defaultSettings().lookup(u"method"_s).toString(), u"Acid Blend"_s);
        // Back from its own warning is no return from another window: the edits stay.
        QVERIFY(uitest::activate(dlg));
        QCOMPARE(shown(dlg), before);
    }

    void saveFailures_data() {
        QTest::addColumn<QString>("where"); // in the temporary folder
        QTest::addColumn<QString>("batchSize");
        QTest::addColumn<bool>("emptyTable");
        QTest::addColumn<QString>("message");
        QTest::newRow("batch size no number") << u"settings.cfg"_s << u"12a"_s << false << u"6\n"_s;
        QTest::newRow("folder at the path") << u"folder"_s << u"5"_s << false << u"7\n"_s;
        QTest::newRow("keys gone from the table")
            << u"settings.cfg"_s << u"5"_s << true << u"4\nThe setting \"r_l\" is missing."_s;
    }

    void saveFailures() {
        QFETCH(QString, where);
        QFETCH(QString, batchSize);
        QFETCH(bool, emptyTable);
        QFETCH(QString, message);
        const QByteArray old = "\"r_l\",\"lower\"\r\n";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
        f.close();
        QVERIFY(QDir(dir.path()).mkpath(u"folder"_s));
        savePath = dir.filePath(where);

        QPointer<frmOptions> dlg = opened();
        enter(dlg, fields("~|~|%|~|~|~|~|~"));
        child<QLineEdit>(dlg, "txtBatchSize")->setText(batchSize);
        if (emptyTable)
            settings::defaultSettings().clear();
        clickOK(dlg);
        QCOMPARE(catcher->boxes.size(), 1);
        QCOMPARE(catcher->boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(catcher->boxes[0].text.startsWith(message), qPrintable(catcher->boxes[0].text));
        QTest::qWait(50);
        QVERIFY(dlg && dlg->isVisible());
        QCOMPARE(fileBytes(path), old);
        QVERIFY(QFileInfo(dir.filePath(u"folder"_s)).isDir());
        if (!emptyTable) // replaced entries stay replaced
            QCOMPARE(settings::defaultSettings().lookup(u"acidUnits"_s).toString(), u"%"_s);
    }

    void closing_data() {
        QTest::addColumn<int>("how"); // a key, or 0 for Cancel and 1 for the close box
        QTest::addColumn<bool>("closes");
        QTest::newRow("Cancel") << 0 << true;
        QTest::newRow("close box") << 1 << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter") << int(Qt::Key_Return) << false;
    }

    void closing() {
        QFETCH(int, how);
        QFETCH(bool, closes);
        QPointer<frmOptions> dlg = opened();
        enter(dlg, fields("optLower|~|%|~|9|~|~|~"));
        if (how == 0)
            child<QPushButton>(dlg, "cmdCancel")->click();
        else if (how == 1)
            dlg->close();
        else
            for (const char *name : {"cboUnits", "optLower", "cmdOK"})
                QTest::keyClick(child(dlg, name), Qt::Key(how));
        QTest::qWait(50);
        QCOMPARE(dlg.isNull(), closes);
        QVERIFY(catcher->boxes.isEmpty());
        QVERIFY(!QFile::exists(path));
        for (qsizetype i = 0; i < keys.size(); ++i)
            QCOMPARE(settings::defaultSettings().lookup(keys[i]).toString(), builtIns[i]);
    }
};

QTEST_MAIN(tst_frmOptions)
#include "tst_frmoptions.moc"
