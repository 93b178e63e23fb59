// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/eightSettings.h"
#include "tests/common/uitest.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <QDir>
#include <QPointer>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using uitest::run;
using uitest::state;

namespace {

// What the dialog shows of the eight settings, in the file's order.
const QString shown = u"optRaise|optLower|cboMethod|cboUnits|cboBatchUnits|txtBatchSize|"
                      "txtTartaric|txtMalic|txtCitric"_s;
const QString builtInView = u"1|0|Acid Blend|g/L|U.S. Gal.|5.00|50|30|20"_s;
const char *const builtIns = "raise|Acid Blend|g/L|U.S. Gal.|5|50|30|20";

} // namespace

class tst_frmOptions : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    const QString path = dir.filePath(u"settings.cfg"_s);
    std::unique_ptr<uitest::ModalCatcher> catcher;

    // The table as a file would leave it, values in key order, "-" for a key left out; then the
    // dialog, shown.
    frmOptions *opened(const QString &table = QString::fromLatin1(builtIns),
                       const QString &savePath = QString()) {
        const QStringList v = table.split(u'|');
        for (qsizetype i = 0; i < v.size(); ++i) {
            if (v[i] != u"-")
                settings::defaultSettings().add(settings::allSettings()[size_t(i)].key, v[i]);
        }
        auto *dlg = new frmOptions(savePath.isEmpty() ? path : savePath);
        [&] { QVERIFY(uitest::activate(dlg)); }();
        return dlg;
    }
    QString table() {
        QStringList values;
        for (const settings::Setting &s : settings::allSettings())
            values << settings::defaultSettings().lookup(s.key).toString();
        return values.join(u'|');
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(u"en_US"_s)); }
    void init() {
        settings::defaultSettings().clear();
        QFile::remove(path);
        catcher = std::make_unique<uitest::ModalCatcher>();
    }
    void cleanup() {
        catcher.reset();
        QList<QPointer<frmOptions>> dialogs; // deleting one deletes its popups too
        for (QWidget *w : QApplication::topLevelWidgets())
            dialogs << qobject_cast<frmOptions *>(w);
        qDeleteAll(dialogs);
    }

    void activationFills_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("view"); // then whether the shares can be used
        QTest::newRow("built-in defaults")
            << QString::fromLatin1(builtIns) << builtInView + u"|1"_s;
        QTest::newRow("empty table: built-ins") << u"-|-|-|-|-|-|-|-"_s << builtInView + u"|1"_s;
        QTest::newRow("method refused: built-ins over a half-applied lower")
            << u"lower|Tartaric Acid|%|Litres|7|60|20|20"_s << builtInView + u"|0"_s;
        QTest::newRow("Raise in capitals, hectolitres, shares rounded")
            << u"Raise|Acid Blend|g/L|Hectolitres|0|33.5|0|66.4"_s << u"0|0||g/L||0.00|34|0|66|1"_s;
    }
    void activationFills() {
        QFETCH(QString, table);
        QFETCH(QString, view);
        frmOptions *dlg = opened(table);
        QCOMPARE(state(dlg, shown + u"|txtTartaric?"_s), view);
        QCOMPARE(state(dlg, u"vsbCitric?|cboBatchUnits#"_s), // hectolitres are never saved
                 view.right(1) + u"|U.S. Gal.,Imp. Gal.,Litres"_s);
        QCOMPARE(settings::defaultSettings().size(), 8 - table.count(u'-'));
        QVERIFY(catcher->boxes.isEmpty());
    }

    void activationRefillsAndResetsResult() {
        frmAcid main(path);
        opened()->deleteLater(); // fills the table
        QVERIFY(uitest::activate(&main));
        run(&main, u"lblAddition=12.34;mnuOptions"_s);
        QPointer<frmOptions> dlg = main.findChild<frmOptions *>();
        QVERIFY(uitest::activate(dlg));
        QCOMPARE(state(&main, u"lblAddition"_s), u"0.00"_s); // opening selects the direction
        run(&main, u"lblAddition=12.34"_s);
        run(dlg, u"optLower;cboUnits=%;cboBatchUnits=Litres;txtBatchSize=77"_s);
        QCOMPARE(state(&main, u"lblAddition"_s) + u'|' + state(dlg, shown),
                 u"0.00|0|1||%|Litres|77|0|0|0"_s);
        QVERIFY(uitest::activate(&main) && uitest::activate(dlg));
        // Unsaved edits are gone; Lower's disabled shares stay disabled.
        QCOMPARE(state(dlg, shown + u"|txtMalic?"_s), builtInView + u"|0"_s);
        QCOMPARE(dlg->windowIcon().cacheKey(), main.windowIcon().cacheKey());
        delete dlg;
    }

    void okButton_data() {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("outcome"); // "!warning|focus", or the saved file's changes
        const auto row = [](const char *edits, const char *outcome) {
            QTest::newRow(edits) << QString::fromUtf8(edits) << QString::fromUtf8(outcome);
        };
        row("optLower;txtBatchSize=;txtTartaric=1", "!Please enter batch size.|txtBatchSize");
        row("optLower;txtBatchSize= ", "!Please enter method.|cboMethod"); // blanks: no empty box
        row("txtTartaric=48.9", "!Acid blend components must sum to 100%|txtTartaric");
        row("txtTartaric=51.1", "!Acid blend components must sum to 100%|txtTartaric");
        row("txtMalic=", "!Acid blend components must sum to 100%|txtMalic");
        row("txtCitric=x", "!Acid blend components must sum to 100%|txtCitric");
        row("optLower;optRaise;cboMethod=Acid Blend", // the disabled shares hold zeros
            "!Acid blend components must sum to 100%|cboMethod");
        row("", "");
        row("txtTartaric=49", "_t\",50>_t\",49");
        row("txtTartaric=51", "_t\",50>_t\",51");
        row("txtBatchSize= 5 ;txtTartaric=2.5;txtMalic=2.5;txtCitric=95",
            "_t\",50>_t\",3;_m\",30>_m\",3;_c\",20>_c\",95");
        row("cboMethod=Tartaric Acid;cboUnits=%;cboBatchUnits=Imp. Gal.;txtTartaric=60;txtCitric=",
            "Acid Blend>Tartaric Acid;g/L>%;U.S. Gal.>Imp. Gal.");
        row("optLower;cboMethod=Potassium Bicarbonate;cboBatchUnits=Litres;txtBatchSize=10.5",
            "raise>lower;Acid Blend>Potassium Bicarbonate;U.S. Gal.>Litres;Size\",5>Size\",10.5");
    }
    void okButton() {
        QFETCH(QString, edits);
        QFETCH(QString, outcome);
        QPointer<frmOptions> dlg = opened();
        run(dlg, edits);
        const QString before = state(dlg, shown);
        run(dlg, u"cmdOK"_s);
        if (outcome.startsWith(u'!')) {
            QCOMPARE(catcher->boxes,
                     QStringList(u"Titrova|2|1|"_s + outcome.mid(1).section(u'|', 0, 0)));
            QCOMPARE(state(dlg, u"@"_s), outcome.section(u'|', 1));
            QCOMPARE(testfiles::read(path), testfiles::noFile);
            QCOMPARE(table(), QString::fromLatin1(builtIns));
            // Back from its own warning is no return from another window: the edits stay.
            QVERIFY(uitest::activate(dlg));
            QCOMPARE(state(dlg, shown), before);
            return;
        }
        QByteArray file = testfiles::builtInFile;
        for (const QString &change : outcome.split(u';', Qt::SkipEmptyParts))
            file.replace(change.section(u'>', 0, 0).toLatin1(), change.section(u'>', 1).toLatin1());
        QVERIFY(catcher->boxes.isEmpty());
        QCOMPARE(testfiles::read(path), file);
        QTRY_VERIFY(dlg.isNull());
        // The table holds the batch size as the next opening shows it.
        QCOMPARE(settings::defaultSettings().lookup(u"BATCHSIZE"_s).toString(),
                 before.section(u'|', 5, 5) == u"10.5" ? u"10.50"_s : u"5.00"_s);
    }

    void saveFailures_data() {
        QTest::addColumn<QString>("where"); // in the temporary folder
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("error");
        QTest::newRow("batch size no number")
            << u"settings.cfg"_s << u"txtBatchSize=12a"_s << u"6"_s;
        QTest::newRow("folder at the path") << u"folder"_s << QString() << u"7"_s;
        // "Raise" loads without a message and leaves the method unread; the file lacks it.
        QTest::newRow("over a file lacking keys")
            << u"settings.cfg"_s << u"optRaise;cboMethod=Acid Blend"_s << QString();
    }
    void saveFailures() {
        QFETCH(QString, where);
        QFETCH(QString, edits);
        QFETCH(QString, error);
        const QByteArray old = "\"r_l\",\"lower\"\r\n";
        QVERIFY(testfiles::write(path, old) && QDir(dir.path()).mkpath(u"folder"_s));
        QPointer<frmOptions> dlg = opened(error.isEmpty() ? u"Raise|-|g/L|U.S. Gal.|5|50|30|20"_s
                                                          : QString::fromLatin1(builtIns),
                                          dir.filePath(where));
        run(dlg, u"cboUnits=%;"_s + edits + u";cmdOK"_s);
        QTest::qWait(50);
        if (error.isEmpty()) {
            QCOMPARE(testfiles::read(path), QByteArray(testfiles::builtInFile).replace("g/L", "%"));
            QVERIFY(catcher->boxes.isEmpty() && dlg.isNull());
            return;
        }
        QCOMPARE(catcher->boxes.size(), 1);
        QCOMPARE(catcher->boxes[0].section(u'\n', 0, 0), u"Titrova|3|1|"_s + error);
        QVERIFY(dlg && dlg->isVisible());
        QCOMPARE(testfiles::read(path), old);
        QVERIFY(QFileInfo(dir.filePath(u"folder"_s)).isDir());
        // Replaced entries stay replaced.
        QCOMPARE(settings::defaultSettings().lookup(u"acidUnits"_s).toString(), u"%"_s);
    }

    void closing_data() {
        QTest::addColumn<QString>("how"); // none: the close box
        QTest::addColumn<bool>("closes");
        QTest::newRow("Cancel") << u"cmdCancel"_s << true;
        QTest::newRow("close box") << QString() << true;
        QTest::newRow("Escape") << u"Escape"_s << false;
        QTest::newRow("Enter") << u"cboUnits:Return;optLower:Return;cmdOK:Return"_s << false;
    }
    void closing() {
        QFETCH(QString, how);
        QFETCH(bool, closes);
        QPointer<frmOptions> dlg = opened();
        run(dlg, u"optLower;cboUnits=%;txtBatchSize=9"_s);
        if (how.isEmpty())
            dlg->close();
        else if (how == u"Escape")
            for (const char *name : {"cboUnits", "optLower", "cmdOK"})
                QTest::keyClick(uitest::child(dlg, name), Qt::Key_Escape);
        else
            run(dlg, how);
        QTest::qWait(50);
        QCOMPARE(dlg.isNull(), closes);
        QVERIFY(catcher->boxes.isEmpty());
        QCOMPARE(testfiles::read(path), testfiles::noFile);
        QCOMPARE(table(), QString::fromLatin1(builtIns));
    }
};

QTEST_MAIN(tst_frmOptions)
#include "tst_frmoptions.moc"
