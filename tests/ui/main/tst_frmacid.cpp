// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingstable.h"
#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <QAccessible>
#include <QClipboard>
#include <QTemporaryDir>
#include <memory>

using namespace Qt::StringLiterals;
using uitest::run;
using uitest::state;

namespace {

// The built-in defaults as a user would choose them, with 100 litres, a raise from 5 to 6, and a
// result of 12.34 that any change must put back to zero.
const QString base = u"optRaise;cboMethod=Acid Blend;cboUnits=g/L;cboBatchUnits=Litres;"
                     "txtBatchSize=100;txtExist=5;txtTarget=6;txtBlend=8;lblAddition=12.34;"_s;
const QString presets = u"txtTartaric|txtMalic|txtCitric|txtTartaric?|vsbTartaric?|txtMalic?|"
                        "txtCitric?|vsbCitric?|txtBlend?|vsbBlend?|lblBlend?|lblBlendUnits?|"
                        "txtBlend|lblAdditionUnits"_s;

void row(const char *script, const QString &probe, const char *shown, const char *boxes = "") {
    QTest::newRow(script) << QString::fromUtf8(script) << probe << QString::fromUtf8(shown)
                          << QString::fromUtf8(boxes);
}

} // namespace

class tst_frmacid : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    const QString settingsFile = folder.filePath(u"settings.cfg"_s);
    std::unique_ptr<frmAcid> window;
    std::unique_ptr<uitest::ModalCatcher> modals;
    uitest::RecordingDesktop desktop;

    QString shown(const char *probe) { return state(window.get(), QString::fromLatin1(probe)); }

private slots:
    void initTestCase() { Desktop::setCurrent(&desktop); }
    void init() {
        QLocale::setDefault(QLocale(u"en_US"_s));
        settings::defaultSettings().clear();
        QFile::remove(settingsFile);
        modals = std::make_unique<uitest::ModalCatcher>();
        window = std::make_unique<frmAcid>(settingsFile);
        QVERIFY(uitest::activate(window.get()));
        desktop = {};
    }
    void cleanup() { window.reset(), modals.reset(); }

    void scenario_data() {
        QTest::addColumn<QString>("script"); // after the base one
        QTest::addColumn<QString>("probe");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("boxes"); // the warnings' texts
        // Typing: the TA boxes and the batch size take digits and separators only.
        row("txtExist=;txtExist~a-5 .,b1", u"txtExist"_s, "5.,1");
        row("txtBatchSize=;txtBatchSize~x12e3456789012", u"txtBatchSize"_s, "1234567890");
        row("cboMethod=Blend Wine;txtBlend=;txtBlend~a-5 x", u"txtBlend"_s, "a-5 x");
        row("txtTartaric=;txtTartaric~1234", u"txtTartaric"_s, "123");
        // Steps, by the arrow of the scroll bar and by the arrow key.
        for (const char *by : {"vsb", "txt"}) {
            const auto step = [by](const char *box, const char *before, const char *key,
                                   const char *after) {
                const QString script =
                    (qstrcmp(box, "Blend") ? u""_s : u"cboMethod=Blend Wine;"_s) +
                    u"txt%1=%2;%3%1:%4"_s.arg(QLatin1String(box), QLatin1String(before),
                                              QLatin1String(by), QLatin1String(key));
                QTest::newRow(qPrintable(script))
                    << script << u"txt%1|vsb%1|@|lblAddition"_s.arg(QLatin1String(box))
                    << u"%1|0|txt%2|0.00"_s.arg(QLatin1String(after), QLatin1String(box))
                    << QString();
            };
            step("Exist", "3.45", "Up", "3.55");
            step("Target", "3.45", "Down", "3.35");
            step("Exist", "0.05", "Down", "0.00");
            step("Target", "", "Up", "0.00");
            step("Blend", "abc", "Down", "0.00");
            step("BatchSize", "999.00", "Up", "1,000.00");
            step("BatchSize", "1,000.00", "Up", "1,001.00");
            step("Tartaric", "100", "Up", "100");
            step("Tartaric", "0", "Down", "0");
            step("Malic", "4.4", "Up", "5");
            step("Citric", "150", "Down", "100");
            step("Citric", "", "Up", "0");
        }
        // A method's presets: the shares, which inputs can be used, the unit of the result.
        row("cboMethod=Tartaric Acid", presets, "100|0|0|0|0|0|0|0|0|0|0|0||grams");
        row("cboMethod=Acid Blend", presets, "50|30|20|1|1|1|1|1|0|0|0|0|8|grams");
        row("cboMethod=Blend Wine", presets, "0|0|0|0|0|0|0|0|1|1|1|1|8|Litres of wine");
        row("optLower;cboMethod=Calcium Carbonate", presets, "0|0|0|0|0|0|0|0|0|0|0|0||grams");
        // The direction fills the method list.
        row("", u"cboMethod#"_s, "Acid Blend,Blend Wine,Citric Acid,Malic Acid,Tartaric Acid");
        row("optLower", u"cboMethod#|cboMethod"_s,
            "Blend Wine,Calcium Carbonate,Potassium Bicarbonate,Potassium Carbonate|");
        row("txtTartaric=70;cboMethod=Tartaric Acid;cboMethod=Acid Blend", u"txtTartaric"_s, "50");
        row("cboMethod=Blend Wine;optLower;optRaise", u"cboMethod|txtBlend?|lblAdditionUnits"_s,
            "|1|Litres of wine");
        row("cboMethod=Blend Wine;cboUnits=%;cboBatchUnits=Hectolitres",
            u"lblUnit1|lblUnit2|lblBlendUnits|lblAdditionUnits"_s, "%|%|%|Hectolitres of wine");
        // Every change puts the result back to zero.
        for (const char *change : {"txtExist=1", "txtTarget~7", "txtMalic=31", "cboUnits=%",
                                   "cboBatchUnits=Imp. Gal.", "optLower", "txtBatchSize:Up"})
            row(change, u"lblAddition"_s, "0.00");
        // Calculate: the result, or a warning and the focus on the input at fault.
        row("cboMethod=Malic Acid;txtBatchSize=26.42;cboBatchUnits=U.S. Gal.;cmdCalc",
            u"lblAddition"_s, "89.56");
        row("cboMethod=Tartaric Acid;txtExist=0.5;txtTarget=0.6;cboUnits=%;cmdCalc",
            u"lblAddition"_s, "100.00");
        row("cboMethod=Blend Wine;txtBatchSize=22;cboBatchUnits=Imp. Gal.;cmdCalc",
            u"lblAddition"_s, "11.00");
        const QString failed = u"lblAddition|@"_s;
        row("txtExist=;lblAddition=12.34;cmdCalc", failed, "12.34|txtExist",
            "Please enter existing TA.");
        row("txtTarget=;lblAddition=12.34;cmdCalc", failed, "12.34|txtTarget",
            "Please enter target TA.");
        row("txtBatchSize=;lblAddition=12.34;cmdCalc", failed, "12.34|txtBatchSize",
            "Please enter batch size.");
        row("cboMethod=;lblAddition=12.34;cmdCalc", failed, "12.34|cboMethod",
            "Please select a method to raise acidity.");
        row("txtTartaric=;lblAddition=12.34;cmdCalc", failed, "12.34|txtTartaric",
            "Please enter tartaric blend component.");
        row("txtMalic=;lblAddition=12.34;cmdCalc", failed, "12.34|txtMalic",
            "Please enter malic blend component.");
        row("txtCitric=;lblAddition=12.34;cmdCalc", failed, "12.34|txtCitric",
            "Please enter citric blend component.");
        row("cboMethod=Blend Wine;txtBlend=;lblAddition=12.34;cmdCalc", failed, "12.34|txtBlend",
            "Please enter TA of blend wine.");
        // Enter in any input calculates.
        for (const char *box : {"Exist", "Target", "BatchSize", "Tartaric", "Malic", "Citric"}) {
            for (const char *key : {"Return", "Enter"})
                row(qPrintable(u"txt%1:%2"_s.arg(QLatin1String(box), QLatin1String(key))),
                    u"lblAddition"_s, "95.52");
        }
        row("cboMethod=Blend Wine;txtBlend:Return", u"lblAddition"_s, "50.00");
        row("cboMethod=Blend Wine;txtBlend:Enter", u"lblAddition"_s, "50.00");
    }
    void scenario() {
        QFETCH(QString, script);
        QFETCH(QString, probe);
        QFETCH(QString, shown);
        QFETCH(QString, boxes);
        run(window.get(), base + script);
        QCOMPARE(state(window.get(), probe), shown);
        QStringList texts;
        for (const auto &box : modals->boxes) {
            texts << box.text;
            QCOMPARE(box.title, u"Titrova"_s);
            QCOMPARE(box.icon, QMessageBox::Warning);
            QCOMPARE(box.buttons, 1);
        }
        QCOMPARE(texts.join(u'|'), boxes);
    }

    void startState() {
        QCOMPARE(shown("optRaise|optLower|cboMethod#|txtTartaric?|vsbCitric?"), u"0|0||0|0"_s);
    }

    void pickingTheChosenEntryResets() {
        run(window.get(), base);
        QCoreApplication::processEvents(); // a later event than the choice
        auto *units = uitest::child<QComboBox>(window.get(), "cboBatchUnits");
        emit units->activated(units->currentIndex());
        QCOMPARE(shown("lblAddition"), u"0.00"_s);
    }

    void editMenu() {
        run(window.get(), base + u"txtExist=12.50"_s);
        auto *exist = uitest::child<QLineEdit>(window.get(), "txtExist");
        auto *batch = uitest::child<QLineEdit>(window.get(), "txtBatchSize");
        const auto enabled = [this] {
            run(window.get(), u"mnuEdit"_s);
            QString on;
            for (const char *item : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
                on += QString::number(uitest::child<QAction>(window.get(), item)->isEnabled());
            return on;
        };
        exist->setFocus();
        exist->setSelection(0, 2);
        QCOMPARE(enabled(), u"111"_s);
        run(window.get(), u"mnuEditCopy"_s);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"12"_s);
        exist->deselect();
        QCOMPARE(enabled(), u"001"_s);
        uitest::child(window.get(), "cmdCalc")->setFocus();
        QCOMPARE(enabled(), u"001"_s);
        // Cut changes the text, and so resets the result.
        batch->setFocus();
        batch->setSelection(0, 2);
        enabled();
        run(window.get(), u"mnuEditCut"_s);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"10"_s);
        QCOMPARE(shown("txtBatchSize|lblAddition"), u"0|0.00"_s);
        // Pasted text is not filtered; Calculate reports it.
        QGuiApplication::clipboard()->setText(u"abc"_s);
        exist->setFocus();
        exist->selectAll();
        run(window.get(), u"mnuEditPaste"_s);
        QCOMPARE(exist->text(), u"abc"_s);
    }

    void calculatorAndLinks() {
        run(window.get(), u"mnuToolsCalc"_s);
        QCOMPARE(desktop.calculatorStarts, 1);
        QVERIFY(modals->boxes.isEmpty());
        desktop.calculatorFound = false;
        run(window.get(), u"mnuToolsCalc;mnuHelpManual;mnuHelpWeb;mnuHelpEmail"_s);
        QCOMPARE(modals->boxes.size(), 1);
        QCOMPARE(modals->boxes[0].text + modals->boxes[0].title,
                 u"Calculator not found!Calculator"_s);
        QCOMPARE(modals->boxes[0].icon, QMessageBox::Warning);
        const QString manual = QCoreApplication::applicationDirPath() + u"/manual/index.html"_s;
        QCOMPARE(desktop.opened.size(), 3);
        QCOMPARE(desktop.opened[0], QUrl::fromLocalFile(manual));
        QCOMPARE(desktop.opened[1].scheme() + desktop.opened[2].scheme(), u"httpsmailto"_s);
        // No manual beside this program: the real desktop's open fails, and says nothing.
        QVERIFY(!QFile::exists(manual));
        Desktop::setCurrent(nullptr);
        run(window.get(), u"mnuHelpManual"_s);
        Desktop::setCurrent(&desktop);
        QCOMPARE(modals->boxes.size(), 1);
    }

    void optionsAboutExit() {
        run(window.get(), u"mnuOptions;mnuOptions"_s);
        QCOMPARE(window->findChildren<frmOptions *>().size(), 1);
        QPointer<frmOptions> options = window->findChild<frmOptions *>();
        QVERIFY(options->isVisible());
        // About is modal and new each time, and the command returns at once (no nested loop
        // that would keep an assistive client waiting on its action).
        for (int round = 0; round < 2; ++round) {
            run(window.get(), u"mnuHelpAbout"_s);
            QPointer<frmAbout> about = window->findChild<frmAbout *>();
            QVERIFY(about && about->isVisible());
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            about->close();
            QTRY_VERIFY(!about);
        }
        // File > Exit closes every window, the dialog too, and asks nothing.
        QPointer<QWidget> other = new QWidget;
        other->setAttribute(Qt::WA_DeleteOnClose);
        other->show();
        run(window.get(), u"mnuFileExit"_s);
        QTRY_VERIFY(options.isNull() && other.isNull());
        QVERIFY(!window->isVisible() && modals->boxes.isEmpty());
    }

    void formLoad_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("file"); // null: no file at all
        QTest::addColumn<QString>("state");   // with "!" first: the fallback's message shown
        const QByteArray builtIn = testfiles::builtInFile;
        const auto row = [](const char *name, const QByteArray &file, const QString &state,
                            const char *locale = "en_US") {
            QTest::newRow(name) << QString::fromLatin1(locale) << file << state;
        };
        const QString fallback = u"!Acid Blend|g/L|U.S. Gal.|5.00|50|30|20|1|0"_s;
        // Fallback, in each of its causes: unreadable, key missing, odd count, duplicate, refused.
        row("no file", QByteArray(), fallback);
        row("empty file", "\r\n", fallback);
        row("odd field count", builtIn + "\"orphan\"", fallback);
        row("duplicate key", builtIn + "\"BatchUnits\",\"Litres\"\r\n", fallback);
        row("method of the other direction",
            QByteArray(builtIn).replace("Acid Blend", "Calcium Carbonate"), fallback);
        row("built-in file", builtIn, fallback.mid(1));
        row("unknown ninth key", builtIn + "\"colour\",\"red\"\r\n", fallback.mid(1));
        row("single acid forces its shares",
            QByteArray(builtIn).replace("Acid Blend", "Malic Acid"),
            u"Malic Acid|g/L|U.S. Gal.|5.00|0|100|0|1|0"_s);
        row("no direction needs no method",
            QByteArray(builtIn)
                .replace("\"raise\"", "\"\"")
                .replace("\"method\",\"Acid Blend\"", ""),
            u"|g/L|U.S. Gal.|5.00|50|30|20|0|0"_s);
        row("TA units in another case", QByteArray(builtIn).replace("g/L", "G/L"),
            u"Acid Blend||U.S. Gal.|5.00|50|30|20|1|0"_s);
        row("texts: a share rounded, the rest as they are",
            QByteArray(builtIn)
                .replace(",5\r", ",\"a lot\"\r")
                .replace(",50", ",\"2.5\"")
                .replace(",20", ",\"x\""),
            u"Acid Blend|g/L|U.S. Gal.|a lot|3|30|x|1|0"_s);
        row("any order, any case",
            "\"blend_c\",20,\"BLEND_M\",30\r\n\"blend_t\",50\r\n\"batchSize\",1234.5\r\n"
            "\"batchunits\",\"Litres\",\"acidUnits\",\"g/L\"\r\n\"method\",\"Blend Wine\"\r\n"
            "\"R_L\",\"lower\"\r\n",
            u"Blend Wine|g/L|Litres|1,234.50|50|30|20|0|1"_s);
        row("German", QByteArray(builtIn).replace(",5\r", ",1234.5\r"),
            u"Acid Blend|g/L|U.S. Gal.|1.234,50|50|30|20|1|0"_s, "de_DE");
    }
    void formLoad() {
        QFETCH(QString, locale);
        QFETCH(QByteArray, file);
        QFETCH(QString, state);
        QLocale::setDefault(QLocale(locale));
        window = std::make_unique<frmAcid>(settingsFile); // start-up runs on a fresh window
        QVERIFY(file.isNull() || testfiles::write(settingsFile, file));
        window->Form_Load();
        QVERIFY(!window->refusedToRun());
        QStringList texts;
        for (const auto &box : modals->boxes)
            texts << box.text + QString::number(box.icon);
        QCOMPARE(texts.join(u'|'), state.startsWith(u'!')
                                       ? u"User default settings not found.\nLoading program "
                                         "defaults.%1"_s.arg(QMessageBox::Critical)
                                       : QString());
        QCOMPARE(shown("cboMethod|cboUnits|cboBatchUnits|txtBatchSize|txtTartaric|txtMalic|"
                       "txtCitric|optRaise|optLower"),
                 state.mid(state.startsWith(u'!')));
        const QString zero = QLocale().toString(0.0, 'f', 2);
        QCOMPARE(shown("txtExist|lblAddition"), zero + u'|' + zero);
        // The table holds what was applied, whatever the file had added before failing.
        auto &table = settings::defaultSettings();
        if (state.startsWith(u'!'))
            QCOMPARE(table.lookup(u"batchUnits"_s).toString() +
                         table.lookup(u"method"_s).toString(),
                     u"U.S. Gal.Acid Blend"_s);
        // Start-up never writes the file.
        QCOMPARE(testfiles::read(settingsFile) == testfiles::noFile, file.isNull());
    }

    // Tab visits every input in its designed order, and a screen reader names each one.
    void tabOrderAndNames() {
        run(window.get(), base + u"cboMethod=Blend Wine;lblAddition=12.34"_s);
        const char *const expected[][2] = {
            {"txtExist", "Existing TA"},      {"txtTarget", "Target TA"},
            {"cmdCalc", "Calculate"},         {"optRaise", "Raise Acidity"},
            {"cboMethod", "Using"},           {"cboUnits", "TA Units"},
            {"txtBatchSize", "Size"},         {"cboBatchUnits", "Batch Units"},
            {"txtBlend", "Blending Wine TA"}, {"txtExist", "Existing TA"},
        };
        uitest::child(window.get(), "txtExist")->setFocus();
        for (const auto &[name, spoken] : expected) {
            QWidget *focus = QApplication::focusWidget();
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(focus);
            // A list is named by its current entry; its label tells what it is.
            const auto labels = iface->relations(QAccessible::Label);
            const QString said =
                iface->role() != QAccessible::ComboBox ? iface->text(QAccessible::Name)
                : labels.isEmpty() || !iface->text(QAccessible::Description).isEmpty()
                    ? iface->text(QAccessible::Description)
                    : labels.first().first->text(QAccessible::Name);
            QCOMPARE(focus->objectName() + u'=' + said,
                     QString::fromLatin1(name) + u'=' + QString::fromLatin1(spoken));
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        // The result is read by its value, its caption through the relation.
        QAccessibleInterface *iface =
            QAccessible::queryAccessibleInterface(uitest::child(window.get(), "lblAddition"));
        QCOMPARE(iface->text(QAccessible::Name), u"12.34"_s);
        const auto labels = iface->relations(QAccessible::Label);
        QVERIFY(!labels.isEmpty());
        QCOMPARE(labels.first().first->text(QAccessible::Name), u"Required Addition"_s);
    }
};

QTEST_MAIN(tst_frmacid)
#include "tst_frmacid.moc"
