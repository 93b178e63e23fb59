// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingstable.h"
#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

using namespace Qt::StringLiterals;
using uitest::run;

namespace {

// The built-in defaults as a user would choose them, with 100 litres, a raise from 5 to 6, and a
// result of 12.34 that any change must put back to zero.
const QString base = u"optRaise;cboMethod=Acid Blend;cboUnits=g/L;cboBatchUnits=Litres;"
                     "txtBatchSize=100;txtExist=5;txtTarget=6;txtBlend=8;lblAddition=12.34;"_s;
const QString presets = u"txtTartaric|txtMalic|txtCitric|txtTartaric?|vsbTartaric?|txtMalic?|"
                        "txtCitric?|vsbCitric?|txtBlend?|vsbBlend?|lblBlend?|lblBlendUnits?|"
                        "txtBlend|lblAdditionUnits"_s;

// After the base script, what the probed controls show; a failed check leaves the result and
// one warning.
void row(const QString &script, const QString &probe, const QString &shown,
         const char *warning = nullptr) {
    QTest::newRow(qPrintable(script))
        << (base + script) << probe + (warning ? u"|lblAddition"_s : QString())
        << shown + (warning ? u"|12.34"_s : QString())
        << (warning ? u"Titrova|2|1|"_s + QString::fromUtf8(warning) : QString());
}

} // namespace

class tst_frmacid : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    const QString settingsFile = folder.filePath(u"settings.cfg"_s);
    std::unique_ptr<frmAcid> window;
    std::unique_ptr<uitest::ModalCatcher> modals;
    uitest::RecordingDesktop desktop;

    QString shown(const QString &probe) { return uitest::state(window.get(), probe); }
    void run(const QString &script) { uitest::run(window.get(), script); }

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
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("probe");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("boxes");
        // Typing: the TA boxes and the batch size take digits and separators only.
        row(u"txtExist=;txtExist~a-5 .,b1"_s, u"txtExist"_s, u"5.,1"_s);
        row(u"txtBatchSize=;txtBatchSize~x12e3456789012"_s, u"txtBatchSize"_s, u"1234567890"_s);
        row(u"cboMethod=Blend Wine;txtBlend=;txtBlend~a-5 x"_s, u"txtBlend"_s, u"a-5 x"_s);
        row(u"txtTartaric=;txtTartaric~1234"_s, u"txtTartaric"_s, u"123"_s);
        // Steps, by the arrow of the scroll bar and by the arrow key: box|before|key|after.
        for (const char *step :
             {"Exist|3.45|Up|3.55", "Target|3.45|Down|3.35", "Exist|0.05|Down|0.00",
              "Target||Up|0.00", "Blend|abc|Down|0.00", "BatchSize|999.00|Up|1,000.00",
              "BatchSize|1,000.00|Up|1,001.00", "Tartaric|100|Up|100", "Tartaric|0|Down|0",
              "Malic|4.4|Up|5", "Citric|150|Down|100", "Citric||Up|0"}) {
            const QStringList s = QString::fromLatin1(step).split(u'|');
            for (const QString &by : {u"vsb"_s, u"txt"_s})
                row((s[0] == u"Blend" ? u"cboMethod=Blend Wine;"_s : QString()) +
                        u"txt%1=%2;%3%1:%4"_s.arg(s[0], s[1], by, s[2]),
                    u"txt%1|vsb%1|@|lblAddition"_s.arg(s[0]),
                    s[3] + u"|0|txt"_s + s[0] + u"|0.00"_s);
        }
        // A method's presets: the shares, which inputs can be used, the unit of the result.
        row(u"cboMethod=Tartaric Acid"_s, presets, u"100|0|0|0|0|0|0|0|0|0|0|0||grams"_s);
        row(u"cboMethod=Blend Wine;cboMethod=Acid Blend"_s, presets,
            u"50|30|20|1|1|1|1|1|0|0|0|0||grams"_s);
        row(u"cboMethod=Blend Wine"_s, presets, u"0|0|0|0|0|0|0|0|1|1|1|1|8|Litres of wine"_s);
        row(u"optLower;cboMethod=Calcium Carbonate"_s, presets,
            u"0|0|0|0|0|0|0|0|0|0|0|0||grams"_s);
        // The direction fills the method list.
        row(u""_s, u"cboMethod#"_s,
            u"Acid Blend,Blend Wine,Citric Acid,Malic Acid,Tartaric Acid"_s);
        row(u"optLower"_s, u"cboMethod#|cboMethod"_s,
            u"Blend Wine,Calcium Carbonate,Potassium Bicarbonate,Potassium Carbonate|"_s);
        row(u"txtTartaric=70;cboMethod=Tartaric Acid;cboMethod=Acid Blend"_s, u"txtTartaric"_s,
            u"50"_s);
        row(u"cboMethod=Blend Wine;optLower;optRaise"_s, u"cboMethod|txtBlend?|lblAdditionUnits"_s,
            u"|1|Litres of wine"_s);
        row(u"cboMethod=Blend Wine;cboUnits=%;cboBatchUnits=Hectolitres"_s,
            u"lblUnit1|lblUnit2|lblBlendUnits|lblAdditionUnits"_s, u"%|%|%|Hectolitres of wine"_s);
        // Every change puts the result back to zero.
        for (const QString &change : {u"txtExist=1"_s, u"txtTarget~7"_s, u"txtMalic=31"_s,
                                      u"cboUnits=%"_s, u"cboBatchUnits=Imp. Gal."_s, u"optLower"_s})
            row(change, u"lblAddition"_s, u"0.00"_s);
        // Calculate: the result, or a warning and the focus on the input at fault.
        row(u"cboMethod=Malic Acid;txtBatchSize=26.42;cboBatchUnits=U.S. Gal.;cmdCalc"_s,
            u"lblAddition"_s, u"89.56"_s);
        row(u"cboMethod=Tartaric Acid;txtExist=0.5;txtTarget=0.6;cboUnits=%;cmdCalc"_s,
            u"lblAddition"_s, u"100.00"_s);
        row(u"cboMethod=Blend Wine;txtBatchSize=22;cboBatchUnits=Imp. Gal.;cmdCalc"_s,
            u"lblAddition"_s, u"11.00"_s);
        const auto failed = [](const char *edit, const char *focus, const char *warning) {
            row(QString::fromLatin1(edit) + u";lblAddition=12.34;cmdCalc"_s, u"@"_s,
                QString::fromLatin1(focus), warning);
        };
        failed("txtExist=", "txtExist", "Please enter existing TA.");
        failed("txtTarget=", "txtTarget", "Please enter target TA.");
        failed("txtBatchSize=", "txtBatchSize", "Please enter batch size.");
        failed("cboMethod=", "cboMethod", "Please select a method to raise acidity.");
        failed("txtTartaric=", "txtTartaric", "Please enter tartaric blend component.");
        failed("txtMalic=", "txtMalic", "Please enter malic blend component.");
        failed("txtCitric=", "txtCitric", "Please enter citric blend component.");
        failed("cboMethod=Blend Wine;txtBlend=", "txtBlend", "Please enter TA of blend wine.");
        // Enter in any input calculates.
        for (const QString &key : {u"Return"_s, u"Enter"_s}) {
            for (const char *box : {"Exist", "Target", "BatchSize", "Tartaric", "Malic", "Citric"})
                row(u"txt%1:%2"_s.arg(QLatin1String(box), key), u"lblAddition"_s, u"95.52"_s);
            row(u"cboMethod=Blend Wine;txtBlend:"_s + key, u"lblAddition"_s, u"50.00"_s);
        }
    }
    void scenario() {
        QFETCH(QString, script);
        QFETCH(QString, probe);
        QFETCH(QString, shown);
        QFETCH(QString, boxes);
        run(script);
        QCOMPARE(this->shown(probe), shown);
        QCOMPARE(modals->boxes.join(u'\n'), boxes);
    }

    void startAndRepick() {
        QCOMPARE(shown(u"optRaise|optLower|cboMethod#|txtTartaric?|vsbCitric?"_s), u"0|0||0|0"_s);
        // Picking the chosen entry again, in a later event, resets too.
        run(base);
        QCoreApplication::processEvents();
        emit uitest::child<QComboBox>(window.get(), "cboBatchUnits")->activated(2);
        QCOMPARE(shown(u"lblAddition"_s), u"0.00"_s);
    }

    void editMenu() {
        run(base + u"txtExist=12.50"_s);
        auto *exist = uitest::child<QLineEdit>(window.get(), "txtExist");
        auto *batch = uitest::child<QLineEdit>(window.get(), "txtBatchSize");
        const auto enabled = [this] {
            run(u"mnuEdit"_s);
            QString on;
            for (const char *item : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
                on += QString::number(uitest::child<QAction>(window.get(), item)->isEnabled());
            return on;
        };
        exist->setFocus();
        exist->setSelection(0, 2);
        QCOMPARE(enabled(), u"111"_s);
        run(u"mnuEditCopy"_s);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"12"_s);
        exist->deselect();
        QCOMPARE(enabled(), u"001"_s);
        uitest::child(window.get(), "cmdCalc")->setFocus();
        QCOMPARE(enabled(), u"001"_s);
        batch->setFocus();
        batch->setSelection(0, 2);
        enabled();
        run(u"mnuEditCut"_s); // the text changes, and so the result goes
        QCOMPARE(QGuiApplication::clipboard()->text() + u'|' + shown(u"txtBatchSize|lblAddition"_s),
                 u"10|0|0.00"_s);
        QGuiApplication::clipboard()->setText(u"abc"_s); // pasted text is not filtered
        exist->setFocus();
        exist->selectAll();
        run(u"mnuEditPaste"_s);
        QCOMPARE(exist->text(), u"abc"_s);
    }

    void calculatorAndLinks() {
        run(u"mnuToolsCalc"_s);
        QCOMPARE(desktop.calculatorStarts, 1);
        desktop.calculatorFound = false;
        run(u"mnuToolsCalc;mnuHelpManual;mnuHelpWeb;mnuHelpEmail"_s);
        QCOMPARE(modals->boxes, QStringList(u"Calculator|2|1|Calculator not found!"_s));
        const QString manual = QCoreApplication::applicationDirPath() + u"/manual/index.html"_s;
        QCOMPARE(desktop.opened.size(), 3);
        QCOMPARE(desktop.opened[0], QUrl::fromLocalFile(manual));
        QCOMPARE(desktop.opened[1].scheme() + desktop.opened[2].scheme(), u"httpsmailto"_s);
        // No manual beside this program: the real desktop's open fails, and says nothing.
        QVERIFY(!QFile::exists(manual));
        Desktop::setCurrent(nullptr);
        run(u"mnuHelpManual"_s);
        Desktop::setCurrent(&desktop);
        QCOMPARE(modals->boxes.size(), 1);
    }

    void optionsAboutExit() {
        run(u"mnuOptions;mnuOptions"_s);
        QCOMPARE(window->findChildren<frmOptions *>().size(), 1);
        QPointer<frmOptions> options = window->findChild<frmOptions *>();
        QVERIFY(options->isVisible());
        // About is modal and new each time, and the command returns at once (no nested loop
        // that would keep an assistive client waiting on its action).
        for (int round = 0; round < 2; ++round) {
            run(u"mnuHelpAbout"_s);
            QPointer<frmAbout> about = window->findChild<frmAbout *>();
            QVERIFY(about && about->isVisible() && about->windowModality() == Qt::ApplicationModal);
            about->close();
            QTRY_VERIFY(!about);
        }
        // File > Exit closes every window, the dialog too, and asks nothing.
        QPointer<QWidget> other = new QWidget;
        other->setAttribute(Qt::WA_DeleteOnClose);
        other->show();
        run(u"mnuFileExit"_s);
        QTRY_VERIFY(options.isNull() && other.isNull());
        QVERIFY(!window->isVisible() && modals->boxes.isEmpty());
    }

    void formLoad_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("file"); // null: no file at all
        QTest::addColumn<QString>("state");   // with "!" first: the fallback's message shown
        const QByteArray builtIn = testfiles::builtInFile;
        const auto row = [&](const char *name, const QByteArray &file, const char *state,
                             const char *locale = "en_US") {
            QTest::newRow(name) << QString::fromLatin1(locale) << file
                                << QString::fromUtf8(state).replace(u"BUILT-IN"_s,
                                                                    u"Acid Blend|g/L|U.S. Gal."_s);
        };
        const auto edited = [&](std::initializer_list<const char *> edits) {
            QByteArray file = builtIn;
            for (auto e = edits.begin(); e != edits.end(); e += 2)
                file.replace(e[0], e[1]);
            return file;
        };
        // Fallback, in each of its causes: unreadable, key missing, odd count, duplicate, refused.
        row("no file", QByteArray(), "!BUILT-IN|5.00|50|30|20|1|0");
        row("empty file", "\r\n", "!BUILT-IN|5.00|50|30|20|1|0");
        row("odd field count", builtIn + "\"orphan\"", "!BUILT-IN|5.00|50|30|20|1|0");
        row("duplicate key", builtIn + "\"BatchUnits\",\"Litres\"\r\n",
            "!BUILT-IN|5.00|50|30|20|1|0");
        row("method of the other direction", edited({"Acid Blend", "Calcium Carbonate"}),
            "!BUILT-IN|5.00|50|30|20|1|0");
        row("built-in file", builtIn, "BUILT-IN|5.00|50|30|20|1|0");
        row("unknown ninth key", builtIn + "\"colour\",\"red\"\r\n", "BUILT-IN|5.00|50|30|20|1|0");
        row("single acid forces its shares", edited({"Acid Blend", "Malic Acid"}),
            "Malic Acid|g/L|U.S. Gal.|5.00|0|100|0|1|0");
        row("no direction needs no method",
            edited({"\"raise\"", "\"\"", "\"method\",\"Acid Blend\"", ""}),
            "|g/L|U.S. Gal.|5.00|50|30|20|0|0");
        row("TA units in another case", edited({"g/L", "G/L"}),
            "Acid Blend||U.S. Gal.|5.00|50|30|20|1|0");
        row("texts: a share rounded, the rest as they are",
            edited({",5\r", ",\"a lot\"\r", ",50", ",\"2.5\"", ",20", ",\"x\""}),
            "BUILT-IN|a lot|3|30|x|1|0");
        row("any order, any case",
            "\"blend_c\",20,\"BLEND_M\",30\r\n\"blend_t\",50\r\n\"batchSize\",1234.5\r\n"
            "\"batchunits\",\"Litres\",\"acidUnits\",\"g/L\"\r\n\"method\",\"Blend Wine\"\r\n"
            "\"R_L\",\"lower\"\r\n",
            "Blend Wine|g/L|Litres|1,234.50|50|30|20|0|1");
        row("German", edited({",5\r", ",1234.5\r"}), "BUILT-IN|1.234,50|50|30|20|1|0", "de_DE");
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
        const bool fallback = state.startsWith(u'!');
        QCOMPARE(modals->boxes.join(u'\n'),
                 fallback
                     ? u"Titrova|3|1|User default settings not found.\nLoading program defaults."_s
                     : QString());
        const QString zero = QLocale().toString(0.0, 'f', 2);
        QCOMPARE(shown(u"cboMethod|cboUnits|cboBatchUnits|txtBatchSize|txtTartaric|txtMalic|"
                       "txtCitric|optRaise|optLower|txtExist|lblAddition"_s),
                 state.mid(fallback) + u'|' + zero + u'|' + zero);
        // The table holds what was applied, whatever the file had added before failing.
        auto &table = settings::defaultSettings();
        if (fallback)
            QCOMPARE(table.lookup(u"batchUnits"_s).toString() +
                         table.lookup(u"method"_s).toString(),
                     u"U.S. Gal.Acid Blend"_s);
        // Start-up never writes the file.
        QCOMPARE(testfiles::read(settingsFile) == testfiles::noFile, file.isNull());
    }

    // Tab visits every input in its designed order, and a screen reader names each one; a list
    // by its label, the result by its value with its caption related.
    void tabOrderAndNames() {
        run(base + u"cboMethod=Blend Wine;lblAddition=12.34;txtExist:Tab"_s);
        const auto said = [](QWidget *w) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            const auto labels = iface->relations(QAccessible::Label);
            const QString name = iface->text(QAccessible::Name);
            const QString description = iface->text(QAccessible::Description);
            return iface->role() != QAccessible::ComboBox ? name
                   : !description.isEmpty() || labels.isEmpty()
                       ? description
                       : labels.first().first->text(QAccessible::Name);
        };
        QStringList visited;
        for (QWidget *w = uitest::child(window.get(), "txtExist"); visited.size() < 10;
             w = QApplication::focusWidget(), QTest::keyClick(w, Qt::Key_Tab))
            visited << w->objectName() + u'=' + said(w);
        QCOMPARE(
            visited.join(u'|'),
            u"txtExist=Existing TA|txtTarget=Target TA|cmdCalc=Calculate|optRaise=Raise Acidity|"
            "cboMethod=Using|cboUnits=TA Units|txtBatchSize=Size|cboBatchUnits=Batch Units|"
            "txtBlend=Blending Wine TA|txtExist=Existing TA"_s);
        QAccessibleInterface *result =
            QAccessible::queryAccessibleInterface(uitest::child(window.get(), "lblAddition"));
        const auto labels = result->relations(QAccessible::Label);
        QCOMPARE(result->text(QAccessible::Name) + u'|' +
                     (labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name)),
                 u"12.34|Required Addition"_s);
    }
};

QTEST_MAIN(tst_frmacid)
#include "tst_frmacid.moc"
