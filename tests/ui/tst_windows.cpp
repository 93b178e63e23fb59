// SPDX-License-Identifier: GPL-3.0-or-later
// The three windows, at the scale ctest gives (QT_SCALE_FACTOR): what fits at one may clip at
// another.
#include "settings/eightSettings.h"
#include "tests/common/pixels.h"
#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/common/twips.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <memory>

using namespace titrova;
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

// Rows of "script => probe => shown [=> warning]": after the base script, what the probed
// controls show; a failed check leaves the result alone, shows one warning and focuses the input
// at fault. A step comes by the scroll bar's arrow and by the arrow key alike.
const char *const scenarios = R"(
txtExist=;txtExist~a-5 .,b1 => txtExist => 5.,1
txtBatchSize=;txtBatchSize~x12e3456789012 => txtBatchSize => 1234567890
cboMethod=Blend Wine;txtBlend=;txtBlend~a-5 x => txtBlend => a-5 x
txtTartaric=;txtTartaric~1234 => txtTartaric => 123
txtExist=3.45;STEPExist:Up => txtExist|vsbExist|@|lblAddition => 3.55|0|txtExist|0.00
txtTarget=3.45;STEPTarget:Down => txtTarget|vsbTarget|@|lblAddition => 3.35|0|txtTarget|0.00
txtExist=0.05;STEPExist:Down => txtExist|vsbExist|@|lblAddition => 0.00|0|txtExist|0.00
txtTarget=;STEPTarget:Up => txtTarget|vsbTarget|@|lblAddition => 0.00|0|txtTarget|0.00
cboMethod=Blend Wine;txtBlend=abc;STEPBlend:Down => txtBlend|vsbBlend|@|lblAddition => 0.00|0|txtBlend|0.00
txtBatchSize=999.00;STEPBatchSize:Up => txtBatchSize|vsbBatchSize|@|lblAddition => 1,000.00|0|txtBatchSize|0.00
txtBatchSize=1,000.00;STEPBatchSize:Up => txtBatchSize|vsbBatchSize|@|lblAddition => 1,001.00|0|txtBatchSize|0.00
txtBatchSize=9999999999;STEPBatchSize:Up => txtBatchSize => 10,000,000,000.00
txtBatchSize=1234567;STEPBatchSize:Down;txtBatchSize~8 => txtBatchSize => 1,234,566.00
txtTartaric=100;STEPTartaric:Up => txtTartaric|vsbTartaric|@|lblAddition => 100|0|txtTartaric|0.00
txtTartaric=0;STEPTartaric:Down => txtTartaric|vsbTartaric|@|lblAddition => 0|0|txtTartaric|0.00
txtMalic=4.4;STEPMalic:Up => txtMalic|vsbMalic|@|lblAddition => 5|0|txtMalic|0.00
txtCitric=150;STEPCitric:Down => txtCitric|vsbCitric|@|lblAddition => 100|0|txtCitric|0.00
txtCitric=;STEPCitric:Up => txtCitric|vsbCitric|@|lblAddition => 0|0|txtCitric|0.00
cboMethod=Tartaric Acid => PRESETS => 100|0|0|0|0|0|0|0|0|0|0|0||grams
cboMethod=Blend Wine;cboMethod=Acid Blend => PRESETS => 50|30|20|1|1|1|1|1|0|0|0|0||grams
cboMethod=Blend Wine => PRESETS => 0|0|0|0|0|0|0|0|1|1|1|1|8|Litres of wine
optLower;cboMethod=Calcium Carbonate => PRESETS => 0|0|0|0|0|0|0|0|0|0|0|0||grams
 => cboMethod# => Acid Blend,Blend Wine,Citric Acid,Malic Acid,Tartaric Acid
optLower => cboMethod#|cboMethod => Blend Wine,Calcium Carbonate,Potassium Bicarbonate,Potassium Carbonate|
txtTartaric=70;cboMethod=Tartaric Acid;cboMethod=Acid Blend => txtTartaric => 50
cboMethod=Blend Wine;optLower;optRaise => cboMethod|txtBlend?|lblAdditionUnits => |1|Litres of wine
cboMethod=Blend Wine;cboUnits=%;cboBatchUnits=Hectolitres => lblUnit1|lblUnit2|lblBlendUnits|lblAdditionUnits => %|%|%|Hectolitres of wine
cboUnits=% => lblAddition => 0.00
cboBatchUnits=Imp. Gal. => lblAddition => 0.00
optLower => lblAddition => 0.00
cboMethod=Malic Acid;txtBatchSize=26.42;cboBatchUnits=U.S. Gal.;cmdCalc => lblAddition => 89.56
cboMethod=Tartaric Acid;txtExist=0.5;txtTarget=0.6;cboUnits=%;cmdCalc => lblAddition => 100.00
cboMethod=Blend Wine;txtBatchSize=22;cboBatchUnits=Imp. Gal.;cmdCalc => lblAddition => 11.00
txtExist=;lblAddition=12.34;cmdCalc => @|lblAddition => txtExist|12.34 => Please enter existing TA.
txtTarget=;lblAddition=12.34;cmdCalc => @|lblAddition => txtTarget|12.34 => Please enter target TA.
txtBatchSize=;lblAddition=12.34;cmdCalc => @|lblAddition => txtBatchSize|12.34 => Please enter batch size.
cboMethod=;lblAddition=12.34;cmdCalc => @ => cboMethod => Please select a method to raise acidity.
txtTartaric=;lblAddition=12.34;cmdCalc => @ => txtTartaric => Please enter tartaric blend component.
txtMalic=;lblAddition=12.34;cmdCalc => @ => txtMalic => Please enter malic blend component.
txtCitric=;lblAddition=12.34;cmdCalc => @ => txtCitric => Please enter citric blend component.
cboMethod=Blend Wine;txtBlend=;lblAddition=12.34;cmdCalc => @ => txtBlend => Please enter TA of blend wine.
)";

// The Default Settings dialog.

// What the dialog shows of the eight settings, in the file's order.
const QString dialogShown = u"optRaise|optLower|cboMethod|cboUnits|cboBatchUnits|txtBatchSize|"
                            "txtTartaric|txtMalic|txtCitric"_s;
const QString builtInView = u"1|0|Acid Blend|g/L|U.S. Gal.|5.00|50|30|20"_s;
const char *const builtIns = "raise|Acid Blend|g/L|U.S. Gal.|5|50|30|20";

// The text a control shows and the room it has for it: a radio button's indicator and its gap
// come before the caption, a push button's frame around it.
std::pair<QString, qreal> textAndRoom(QWidget *w) {
    QStyle *s = w->style();
    if (auto *l = qobject_cast<QLabel *>(w))
        return {l->text(), l->contentsRect().width() - qMax(l->indent(), 0)};
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return {g->title(), g->width()};
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return {b->text().remove(u'&'),
                b->width() - (qobject_cast<QPushButton *>(b)
                                  ? 8
                                  : s->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                        s->pixelMetric(QStyle::PM_RadioButtonLabelSpacing))};
    if (auto *list = qobject_cast<QComboBox *>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(list);
        return {list->currentText(),
                s->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, list)
                    .width()};
    }
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return {e->text(), e->width()};
    return {QString(), 0};
}

} // namespace

// The three windows.
class tst_windows : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    const QString settingsFile = folder.filePath(u"settings.cfg"_s);
    std::unique_ptr<frmAcid> window;
    std::unique_ptr<uitest::ModalCatcher> modals;
    uitest::RecordingDesktop desktop;

    QString shown(const QString &probe) { return uitest::state(window.get(), probe); }
    void run(const QString &script) { uitest::run(window.get(), script); }

    // The table as a file would leave it, values in key order, "-" for a key left out; then the
    // dialog, dialogShown.
    frmOptions *opened(const QString &table = QString::fromLatin1(builtIns),
                       const QString &savePath = QString()) {
        const QStringList v = table.split(u'|');
        for (qsizetype i = 0; i < v.size(); ++i) {
            if (v[i] != u"-")
                settings::defaultSettings().add(settings::allSettings()[size_t(i)].key, v[i]);
        }
        auto *dlg = new frmOptions(savePath.isEmpty() ? settingsFile : savePath);
        [&] { QVERIFY(uitest::activate(dlg)); }();
        return dlg;
    }

    // The main window with the built-in defaults, the dialog and the About box, each shown.
    QList<QWidget *> threeWindows() {
        run(base);
        options = std::make_unique<frmOptions>(settingsFile);
        about = std::make_unique<frmAbout>();
        about->setAttribute(Qt::WA_DeleteOnClose, false);
        for (QWidget *w : {(QWidget *)options.get(), (QWidget *)about.get()}) {
            w->show();
            [&] { QVERIFY(QTest::qWaitForWindowExposed(w)); }();
        }
        return {window.get(), options.get(), about.get()};
    }
    std::unique_ptr<frmOptions> options;
    std::unique_ptr<frmAbout> about;

private slots:
    void initTestCase() {
        Desktop::setCurrent(&desktop);
        // A lock of its own: the three scales run side by side, and start-up claims one copy.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
        QApplication::setStyle(u"Fusion"_s);
    }
    void init() {
        QLocale::setDefault(QLocale(u"en_US"_s));
        settings::defaultSettings().clear();
        QFile::remove(settingsFile) || QDir(settingsFile).removeRecursively();
        modals = std::make_unique<uitest::ModalCatcher>();
        window = std::make_unique<frmAcid>(settingsFile);
        QVERIFY(uitest::activate(window.get()));
        desktop = {};
    }
    void cleanup() {
        about.reset(), options.reset(), window.reset(), modals.reset();
        QList<QPointer<QDialog>> dialogs; // deleting one deletes its popups too
        for (QWidget *w : QApplication::topLevelWidgets())
            dialogs << qobject_cast<QDialog *>(w);
        qDeleteAll(dialogs);
    }

    void scenario_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("row"); // probe, shown, warning
        for (QString line : QString::fromUtf8(scenarios).split(u'\n', Qt::SkipEmptyParts)) {
            QStringList row = line.replace(u"PRESETS"_s, presets).split(u" => "_s);
            row << QString();
            const QString script = row.takeFirst();
            for (const QString &by : {u"vsb"_s, u"txt"_s}) {
                QTest::newRow(qPrintable(QString(script).replace(u"STEP"_s, by)))
                    << QString(script).replace(u"STEP"_s, by) << row;
                if (!script.contains(u"STEP"))
                    break;
            }
        }
        // Enter in any input calculates.
        for (const QString &key : {u"Return"_s, u"Enter"_s}) {
            for (const char *box : {"Exist", "Target", "BatchSize", "Tartaric", "Malic", "Citric"})
                QTest::newRow(qPrintable(u"txt%1:%2"_s.arg(QLatin1String(box), key)))
                    << u"txt%1:%2"_s.arg(QLatin1String(box), key)
                    << QStringList{u"lblAddition"_s, u"95.52"_s, {}};
            QTest::newRow(qPrintable(u"txtBlend:"_s + key))
                << u"cboMethod=Blend Wine;txtBlend:"_s + key
                << QStringList{u"lblAddition"_s, u"50.00"_s, {}};
        }
    }
    void scenario() {
        QFETCH(QString, script);
        QFETCH(QStringList, row);
        run(base + script);
        QCOMPARE(shown(row[0]), row[1]);
        QCOMPARE(modals->boxes.join(u'\n'),
                 row[2].isEmpty() ? QString() : u"Titrova|2|1|"_s + row[2]);
        QVERIFY(modals->systemFont);
    }
    void startAndRepick() {
        QCOMPARE(shown(u"optRaise|optLower|cboMethod#|txtTartaric?|vsbCitric?"_s), u"0|0||0|0"_s);
        QCOMPARE(window->menuBar()->font(), QApplication::font());
        // Picking the chosen entry again, in a later event, resets too.
        run(base);
        QCoreApplication::processEvents();
        emit uitest::child<QComboBox>(window.get(), "cboBatchUnits")->activated(2);
        QCOMPARE(shown(u"lblAddition"_s), u"0.00"_s);
    }

    // What the Edit menu offers for a selection; Cut changes the text, and so resets the result;
    // pasted text is not filtered.
    void editMenu() {
        run(base + u"txtExist=12.50"_s);
        auto *exist = uitest::child<QLineEdit>(window.get(), "txtExist");
        const auto offered = [this] {
            run(u"mnuEdit"_s);
            return shown(u"mnuEditCut?|mnuEditCopy?|mnuEditPaste?"_s);
        };
        exist->setFocus();
        exist->setSelection(0, 2);
        QCOMPARE(offered(), u"1|1|1"_s);
        run(u"mnuEditCopy"_s);
        exist->deselect();
        QCOMPARE(offered() + QGuiApplication::clipboard()->text(), u"0|0|112"_s);
        exist->setSelection(0, 2);
        offered();
        run(u"mnuEditCut"_s);
        QCOMPARE(QGuiApplication::clipboard()->text() + u'|' + shown(u"txtExist|lblAddition"_s),
                 u"12|.50|0.00"_s);
        QGuiApplication::clipboard()->setText(u"abc"_s);
        exist->selectAll();
        run(u"mnuEditPaste"_s);
        QCOMPARE(exist->text(), u"abc"_s);
    }

    // The result is selected with the mouse and copied by its context menu or Ctrl+C; the
    // label shows what it showed, and the Edit menu's rules stay those of the text boxes.
    void resultCopied() {
        run(base + u"cmdCalc"_s);
        auto *result = uitest::child<QLabel>(window.get(), "lblAddition");
        const QString answer = result->text();
        QCOMPARE(answer, u"95.52"_s);
        const auto copiedBy = [&](const QString &command) {
            QGuiApplication::clipboard()->setText(u"before"_s);
            QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(4, 4),
                                    result->mapToGlobal(QPoint(4, 4)));
            QApplication::sendEvent(result, &click);
            QMenu *menu = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *m = qobject_cast<QMenu *>(w); m && m->isVisible())
                    menu = m;
            if (!menu)
                return u"(no menu)"_s;
            for (QAction *a : menu->actions())
                if (a->text().remove(u'&').startsWith(command) && a->isEnabled())
                    a->trigger();
            menu->close();
            return QGuiApplication::clipboard()->text();
        };
        QCOMPARE(copiedBy(u"Copy"_s), u"before"_s); // nothing selected yet
        copiedBy(u"Select All"_s);
        QCOMPARE(copiedBy(u"Copy"_s), answer);
        QCOMPARE(shown(u"lblAddition|lblAdditionUnits"_s), answer + u"|grams"_s);
        run(u"mnuEdit"_s);
        QCOMPARE(shown(u"mnuEditCut?|mnuEditCopy?"_s), u"0|0"_s);
    }

    void calculatorAndLinks() {
        run(u"mnuToolsCalc"_s); // found: nothing to say
        desktop.calculatorFound = false;
        run(u"mnuToolsCalc;mnuHelpManual;mnuHelpWeb;mnuHelpEmail"_s);
        QCOMPARE(QString::number(desktop.calculatorStarts) + modals->boxes.join(u'\n'),
                 u"2Calculator|2|1|Calculator not found!"_s);
        const QString manual = QCoreApplication::applicationDirPath() + u"/manual/index.html"_s;
        QCOMPARE(desktop.opened.size(), 3);
        QCOMPARE(desktop.opened[0].toString() + desktop.opened[1].scheme() +
                     desktop.opened[2].scheme(),
                 QUrl::fromLocalFile(manual).toString() + u"httpsmailto"_s);
        // No manual beside this program: the real desktop's open fails, and says nothing.
        QVERIFY(!QFile::exists(manual));
        Desktop::setCurrent(nullptr);
        run(u"mnuHelpManual"_s);
        Desktop::setCurrent(&desktop);
        QCOMPARE(modals->boxes.size(), 1);
    }

    void optionsAboutExit() {
        run(u"mnuOptions;mnuOptions"_s);
        QPointer<frmOptions> options = window->findChild<frmOptions *>();
        QVERIFY(window->findChildren<frmOptions *>().size() == 1 && options->isVisible());
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

    // Rows of "name => file => state": the file as "" (none), "=bytes", "+bytes" after the
    // built-in file, or its "from>to" edits; "!" before the state: the fallback's message shown.
    // Fallback, in each of its causes: unreadable, key missing, odd count, duplicate, refused.
    void formLoad() {
        const char *const rows = R"(
no file =>  => !BUILT-IN|5.00|50|30|20|1|0
empty file => =\r\n => !BUILT-IN|5.00|50|30|20|1|0
odd field count => +"orphan" => !BUILT-IN|5.00|50|30|20|1|0
duplicate key => +"BatchUnits","Litres"\r\n => !BUILT-IN|5.00|50|30|20|1|0
method of the other direction => Acid Blend>Calcium Carbonate => !BUILT-IN|5.00|50|30|20|1|0
built-in file => + => BUILT-IN|5.00|50|30|20|1|0
unknown ninth key => +"colour","red"\r\n => BUILT-IN|5.00|50|30|20|1|0
single acid forces its shares => Acid Blend>Malic Acid => Malic Acid|g/L|U.S. Gal.|5.00|0|100|0|1|0
no direction needs no method => "raise">"";"method","Acid Blend"> => |g/L|U.S. Gal.|5.00|50|30|20|0|0
TA units in another case => g/L>G/L => Acid Blend||U.S. Gal.|5.00|50|30|20|1|0
texts: a share rounded, the rest as they are => ,5\r>,"a lot"\r;,50>,"2.5";,20>,"x" => BUILT-IN|a lot|3|30|x|1|0
any order, any case => ="blend_c",20,"BLEND_M",30\r\n"blend_t",50\r\n"batchSize",1234.5\r\n"batchunits","Litres","acidUnits","g/L"\r\n"method","Blend Wine"\r\n"R_L","lower"\r\n => Blend Wine|g/L|Litres|1,234.50|50|30|20|0|1
de_DE:German => ,5\r>,1234.5\r => BUILT-IN|1.234,50|50|30|20|1|0
)";
        for (const QString &line : QString::fromUtf8(rows).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList f = line.split(u" => "_s);
            const QByteArray recipe = f[1].toLatin1().replace("\\r", "\r").replace("\\n", "\n");
            QByteArray file = recipe.startsWith('=') ? recipe.mid(1) : testfiles::builtInFile;
            if (recipe.startsWith('+'))
                file += recipe.mid(1);
            for (const QByteArray &edit : recipe.startsWith('=') || recipe.startsWith('+')
                                              ? QByteArrayList()
                                              : recipe.split(';'))
                file.replace(edit.left(edit.indexOf('>')), edit.mid(edit.indexOf('>') + 1));
            QLocale::setDefault(QLocale(f[0].startsWith(u"de_DE") ? u"de_DE"_s : u"en_US"_s));
            settings::defaultSettings().clear();
            modals->boxes.clear();
            QFile::remove(settingsFile);
            QVERIFY(recipe.isEmpty() || testfiles::write(settingsFile, file));
            window = std::make_unique<frmAcid>(settingsFile); // start-up runs on a fresh window
            window->Form_Load();
            const bool fallback = f[2].startsWith(u'!');
            const QString zero = QLocale().toString(0.0, 'f', 2);
            const auto &table = settings::defaultSettings();
            // The message, what is shown, what the table holds whatever the file had added before
            // failing, and the file, which start-up never writes.
            QCOMPARE(
                f[0] + u": "_s + modals->boxes.join(u'\n') + u'|' +
                    shown(u"cboMethod|cboUnits|cboBatchUnits|txtBatchSize|txtTartaric|"
                          "txtMalic|txtCitric|optRaise|optLower|txtExist|lblAddition"_s) +
                    (fallback ? table.lookup(u"method"_s).toString() : QString()) +
                    QString::number(window->refusedToRun()) +
                    (testfiles::read(settingsFile) == (recipe.isEmpty() ? testfiles::noFile : file)
                         ? QString()
                         : u" (file changed)"_s),
                f[0] + u": "_s +
                    (fallback
                         ? u"Titrova|3|1|User default settings not found.\nLoading program defaults."_s
                         : QString()) +
                    u'|' +
                    QString(f[2]).mid(fallback).replace(u"BUILT-IN"_s,
                                                        u"Acid Blend|g/L|U.S. Gal."_s) +
                    u'|' + zero + u'|' + zero + (fallback ? u"Acid Blend"_s : QString()) + u'0');
        }
    }

    // Settings read from one file, beside a program whose folder the user cannot write, are
    // saved to the other, the user's own; the file read stays as it was.
    void readAndSavedApart() {
        const QString given = folder.filePath(u"given.cfg"_s);
        const QByteArray lower = QByteArray(testfiles::builtInFile)
                                     .replace("raise", "lower")
                                     .replace("Acid Blend", "Calcium Carbonate")
                                     .replace("U.S. Gal.", "Litres");
        QVERIFY(testfiles::write(given, lower));
        window = std::make_unique<frmAcid>(settings::SettingsFiles(given, settingsFile));
        window->Form_Load();
        QCOMPARE(shown(u"optLower|cboMethod|cboBatchUnits"_s), u"1|Calcium Carbonate|Litres"_s);
        run(u"mnuOptions"_s);
        QPointer<frmOptions> dlg = window->findChild<frmOptions *>();
        QVERIFY(uitest::activate(dlg));
        uitest::run(dlg, u"cmdOK"_s);
        QTRY_VERIFY(dlg.isNull());
        QCOMPARE(testfiles::read(settingsFile), lower);
        QCOMPARE(testfiles::read(given), lower);
        QVERIFY(modals->boxes.isEmpty());
    }

    // Tab visits every input in its designed order, and a screen reader names each one; a list
    // by its label, the result by its value with its caption related.
    void tabOrderAndNames() {
        run(base + u"cboMethod=Blend Wine;lblAddition=12.34;txtExist:Tab"_s);
        // What a screen reader says: the name, the description, the label related. A list is
        // named by its entry; its description or its label tells what it is.
        const auto said = [](QWidget *w) {
            QAccessibleInterface *i = QAccessible::queryAccessibleInterface(w);
            const auto labels = i->relations(QAccessible::Label);
            return w->objectName() + u'=' + i->text(QAccessible::Name) + u'/' +
                   i->text(QAccessible::Description) + u'/' +
                   (labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name));
        };
        QStringList visited;
        for (QWidget *w = uitest::child(window.get(), "txtExist"); visited.size() < 10;
             w = QApplication::focusWidget(), QTest::keyClick(w, Qt::Key_Tab))
            visited << said(w);
        // The result: its value, with its caption related.
        visited << said(uitest::child(window.get(), "lblAddition"));
#ifdef Q_OS_WIN
        // Windows' readers take a list's name from its label and read its entry as its value.
        const QStringList lists = {u"Using"_s, u"TA Units"_s, u"Batch Units"_s};
#else
        const QStringList lists = {u"Blend Wine"_s, u"g/L"_s, u"Litres"_s};
#endif
        QCOMPARE(visited.join(u'|'),
                 u"txtExist=Existing TA//Existing TA|txtTarget=Target TA//Target TA|"
                 "cmdCalc=Calculate//|optRaise=Raise Acidity//Acid Data|cboMethod=%1//Using|"
                 "cboUnits=%2//TA Units|txtBatchSize=Size/Batch Size/Size|"
                 "cboBatchUnits=%3/Batch Units/Batch Data|"
                 "txtBlend=Blending Wine TA//Blending Wine TA|txtExist=Existing TA//Existing TA|"
                 "lblAddition=12.34//Required Addition"_s.arg(lists[0], lists[1], lists[2]));
        // A blend's shares, usable now, come between the method and the units.
        run(u"cboMethod=Acid Blend"_s);
        uitest::child(window.get(), "cboMethod")->setFocus();
        QStringList shares;
        while (shares.size() < 5) {
            shares << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(shares.join(u'|'), u"cboMethod|txtTartaric|txtMalic|txtCitric|cboUnits"_s);
    }
    // Opening fills the dialog from the table, and from the built-in values where the table
    // lacks a key or holds a method the list refuses: "table => view|shares usable".
    void activationFills() {
        for (const char *row :
             {"raise|Acid Blend|g/L|U.S. Gal.|5|50|30|20 => BUILT-IN|1",
              "-|-|-|-|-|-|-|- => BUILT-IN|1",
              "raise|Acid Blend|g/L|Litres|1234567|50|30|20 => "
              "1|0|Acid Blend|g/L|Litres|1,234,567.00|50|30|20|1",
              "lower|Tartaric Acid|%|Litres|7|60|20|20 => BUILT-IN|0",
              "Raise|Acid Blend|g/L|Hectolitres|0|33.5|0|66.4 => 0|0||g/L||0.00|34|0|66|1"}) {
            const QStringList r =
                QString::fromLatin1(row).replace(u"BUILT-IN"_s, builtInView).split(u" => "_s);
            settings::defaultSettings().clear();
            QPointer<frmOptions> dlg = opened(r[0]);
            QCOMPARE(r[0] + u" => "_s +
                         state(dlg, dialogShown + u"|txtTartaric?|vsbCitric?|cboBatchUnits#"_s),
                     r[0] + u" => "_s + r[1] + u'|' + r[1].right(1) +
                         u"|U.S. Gal.,Imp. Gal.,Litres"_s); // no hectolitres
            QCOMPARE(settings::defaultSettings().size(), 8 - r[0].count(u'-'));
            QVERIFY(modals->boxes.isEmpty());
            delete dlg;
        }
    }

    void activationRefillsAndResetsResult() {
        delete opened(); // fills the table
        run(u"lblAddition=12.34;mnuOptions"_s);
        QPointer<frmOptions> dlg = window->findChild<frmOptions *>();
        QVERIFY(uitest::activate(dlg));
        QCOMPARE(shown(u"lblAddition"_s), u"0.00"_s); // opening selects the direction
        run(u"lblAddition=12.34"_s);
        uitest::run(dlg, u"optLower;cboUnits=%;cboBatchUnits=Litres;txtBatchSize=77"_s);
        QCOMPARE(shown(u"lblAddition"_s) + u'|' + state(dlg, dialogShown),
                 u"0.00|0|1||%|Litres|77|0|0|0"_s);
        // Qt 6.8 sends a visible dialog shown again another show event: no return to it.
        QShowEvent again;
        QApplication::sendEvent(dlg, &again);
        QCOMPARE(state(dlg, dialogShown), u"0|1||%|Litres|77|0|0|0"_s);
        QVERIFY(uitest::activate(window.get()) && uitest::activate(dlg));
        // Unsaved edits are gone; Lower's disabled shares stay disabled.
        QCOMPARE(state(dlg, dialogShown + u"|txtMalic?"_s), builtInView + u"|0"_s);
    }

    // OK checks, saves and closes. Rows of "edits => outcome [=> table]": "!warning|focus" keeps
    // the dialog, its edits and the old file; "#number" is a save refused by the file (7: a folder
    // where it goes) that keeps the dialog and the old file; else the saved file as the built-in
    // one's "from>to" edits (' for a double quote: moc misreads one inside a raw string).
    void okButton_data() {
        QTest::addColumn<QStringList>("row");
        const char *const rows = R"(
optLower;txtBatchSize=;txtTartaric=1 => !Please enter batch size.|txtBatchSize
optLower;txtBatchSize=  => !Please enter method.|cboMethod
txtMalic= => !Acid blend components must sum to 100%|txtMalic
txtCitric=x => !Acid blend components must sum to 100%|txtCitric
optLower;optRaise;cboMethod=Acid Blend => !Acid blend components must sum to 100%|cboMethod
cboUnits=%;txtBatchSize=12a => #6
cboUnits=% => #7
 => 
txtTartaric=49 => _t',50>_t',49
txtTartaric=51 => _t',50>_t',51
txtBatchSize= 5 ;txtTartaric=2.5;txtMalic=2.5;txtCitric=95 => _t',50>_t',3;_m',30>_m',3;_c',20>_c',95
cboMethod=Tartaric Acid;cboUnits=%;cboBatchUnits=Imp. Gal.;txtTartaric=60;txtCitric= => Acid Blend>Tartaric Acid;g/L>%;U.S. Gal.>Imp. Gal.
optLower;cboMethod=Potassium Bicarbonate;cboBatchUnits=Litres;txtBatchSize=10.5 => raise>lower;Acid Blend>Potassium Bicarbonate;U.S. Gal.>Litres;Size',5>Size',10.5
optRaise;cboMethod=Acid Blend =>  => Raise|-|g/L|U.S. Gal.|5|50|30|20
)";
        for (const QString &line : QString::fromUtf8(rows).split(u'\n', Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(line)) << QString(line).replace(u'\'', u'"').split(u" => "_s);
    }
    void okButton() {
        QFETCH(QStringList, row);
        const QString outcome = row[1];
        const QByteArray old = "\"r_l\",\"lower\"\r\n";
        QVERIFY(outcome == u"#7"           ? QDir().mkdir(settingsFile)
                : outcome.startsWith(u'#') ? testfiles::write(settingsFile, old)
                                           : true);
        QPointer<frmOptions> dlg = opened(row.value(2, QString::fromLatin1(builtIns)));
        uitest::run(dlg, row[0]);
        const QString before = state(dlg, dialogShown);
        uitest::run(dlg, u"cmdOK"_s);
        QTest::qWait(50);
        if (outcome.startsWith(u'!') || outcome.startsWith(u'#')) {
            QCOMPARE(modals->boxes.size(), 1);
            QCOMPARE(modals->boxes[0].section(u'\n', 0, 0),
                     outcome[0] == u'!' ? u"Titrova|2|1|"_s + outcome.mid(1).section(u'|', 0, 0)
                                        : u"Titrova|3|1|"_s + outcome.mid(1));
            QVERIFY(dlg && dlg->isVisible());
            QCOMPARE(testfiles::read(settingsFile), outcome == u"#6" ? old : testfiles::noFile);
            // Entries a refused save replaced stay replaced; a failed check saves none.
            QCOMPARE(settings::defaultSettings().lookup(u"acidUnits"_s).toString(),
                     outcome[0] == u'#' ? u"%"_s : u"g/L"_s);
            if (outcome[0] == u'#')
                return;
            QCOMPARE(state(dlg, u"@"_s), outcome.section(u'|', 1));
            // Back from its own warning is no return from another window: the edits stay.
            QVERIFY(uitest::activate(dlg));
            QCOMPARE(state(dlg, dialogShown), before);
            return;
        }
        QByteArray file = testfiles::builtInFile;
        for (const QString &change : outcome.split(u';', Qt::SkipEmptyParts))
            file.replace(change.section(u'>', 0, 0).toLatin1(), change.section(u'>', 1).toLatin1());
        QVERIFY(modals->boxes.isEmpty());
        QTRY_VERIFY(dlg.isNull());
        QCOMPARE(testfiles::read(settingsFile), file);
        // The table holds the batch size as the next opening shows it.
        QCOMPARE(settings::defaultSettings().lookup(u"BATCHSIZE"_s).toString(),
                 before.section(u'|', 5, 5) == u"10.5" ? u"10.50"_s : u"5.00"_s);
    }

    // Cancel and the close box close without saving; Escape and Enter do nothing.
    void optionsClosing() {
        for (const QString &how :
             {u"cmdCancel"_s, QString(), u"cboUnits:Escape;optLower:Escape;cmdOK:Escape"_s,
              u"cboUnits:Return;optLower:Return;cmdOK:Return"_s}) {
            QPointer<frmOptions> dlg = opened();
            uitest::run(dlg, u"optLower;cboUnits=%;txtBatchSize=9;"_s + how);
            if (how.isEmpty())
                dlg->close();
            QTest::qWait(50);
            QVERIFY2(dlg.isNull() == (how.size() < 10) && modals->boxes.isEmpty() &&
                         testfiles::read(settingsFile) == testfiles::noFile,
                     qPrintable(how));
            const auto &table = settings::defaultSettings(); // the edited three as they were
            QCOMPARE(how + table.lookup(u"r_l"_s).toString() +
                         table.lookup(u"acidUnits"_s).toString() +
                         table.lookup(u"batchSize"_s).toString(),
                     how + u"raiseg/L5"_s);
            delete dlg;
            settings::defaultSettings().clear();
        }
    }
    // About: the web host opens the home page, the author's name mails the support address,
    // by the left button or, reached with Tab, by Enter or Space; the hand over each link.
    void aboutLinks() {
        for (const char *row : {"lblWeb:1:0:https", "lblMail:1:0:mailto", "lblWeb:2:0:",
                                "Label4:1:0:", "lblWeb:0:1:https", "lblMail:0:32:mailto"}) {
            const QStringList r = QString::fromLatin1(row).split(u':');
            desktop = {};
            QPointer<frmAbout> box = new frmAbout;
            QVERIFY(uitest::activate(box));
            QWidget *target = uitest::child(box, qPrintable(r[0]));
            if (r[1] != u"0")
                QTest::mouseClick(target, Qt::MouseButton(r[1].toInt()));
            else if (target->focusPolicy() & Qt::TabFocus)
                QTest::keyClick(target, r[2] == u"1" ? Qt::Key_Return : Qt::Key_Space);
            QString schemes;
            for (const QUrl &url : desktop.opened)
                schemes += url.scheme() + (url.scheme() == u"https" ? url.host() : QString());
            QCOMPARE(r.join(u':') + u' ' + schemes,
                     r.join(u':') + u' ' + r[3] +
                         (r[3] == u"https" ? uitest::state(box, u"lblWeb"_s) : QString()));
            QCOMPARE(target->cursor().shape(),
                     r[0] == u"Label4" ? Qt::ArrowCursor : Qt::BitmapCursor);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(box && box->isVisible(), row);
        }
        // OK, Return, Escape and Alt+O close it, and it is gone: the next one is built anew.
        for (auto [key, modifier] : {std::pair{Qt::Key_unknown, Qt::NoModifier},
                                     {Qt::Key_Return, Qt::NoModifier},
                                     {Qt::Key_Escape, Qt::NoModifier},
                                     {Qt::Key_O, Qt::AltModifier}}) {
            QPointer<frmAbout> box = new frmAbout;
            QVERIFY(uitest::activate(box));
            key == Qt::Key_unknown ? uitest::run(box, u"cmdOK"_s)
                                   : QTest::keyClick(box->windowHandle(), key, modifier);
            QTRY_VERIFY(box.isNull());
        }
    }
    // Tartaric acid, g/L, one litre: the result is the TA difference, so each row is one
    // magnitude, up to the largest a single-precision result can show.
    void resultShownWhole() {
        // The figures worth writing down.
        const QHash<QString, QString> written{
            {u"1.01"_s, u"0.01"_s},
            {u"340282300000000000000000000000000000000"_s,
             u"340,282,300,000,000,000,000,000,000,000,000,000,000.00"_s}};
        QStringList targets = written.keys();
        for (int power = 0; power <= 38; ++power)
            targets << (power < 8 ? QString::number(qint64(std::pow(10, power)) + 1)
                                  : u"1"_s + QString(power, u'0'));
        for (const QString &target : targets) {
            run(base +
                u"cboMethod=Tartaric Acid;cboBatchUnits=Litres;txtBatchSize=1;txtExist=1;txtTarget=%1;cmdCalc"_s
                    .arg(target));
            auto *label = uitest::child<QLabel>(window.get(), "lblAddition");
            const auto [text, room] = textAndRoom(label);
            QVERIFY2(text != u"0.00" &&
                         QFontMetricsF(label->font(), label).horizontalAdvance(text) <= room,
                     qPrintable(text));
            QCOMPARE(text, written.value(target, text));
            // Shrunk, it can be read in full from its tooltip.
            QCOMPARE(label->toolTip(),
                     label->font().pixelSize() < twips::labelFont().pixelSize() ? text : QString());
            // A small result is back at the designed size, and needs no tooltip.
            run(u"txtTarget=2"_s);
            QCOMPARE(label->font().pixelSize(), twips::labelFont().pixelSize());
            QCOMPARE(label->toolTip(), QString());
        }
    }

    // Each entry of each list as the chosen one, in both directions.
    void noTextClipped() {
        const QList<QWidget *> windows = threeWindows();
        QStringList clipped;
        for (const char *direction : {"optRaise", "optLower"}) {
            for (QWidget *w : windows) {
                if (auto *option = w->findChild<QAbstractButton *>(QString::fromLatin1(direction)))
                    option->click();
                for (QWidget *child : w->findChildren<QWidget *>()) {
                    auto *list = qobject_cast<QComboBox *>(child);
                    for (int i = 0; i < (list ? list->count() : 1); ++i) {
                        if (list)
                            list->setCurrentIndex(i);
                        const auto [text, room] = textAndRoom(child);
                        const qreal width =
                            QFontMetricsF(child->font(), child).horizontalAdvance(text);
                        if (!text.isEmpty() && !qobject_cast<QLineEdit *>(child) && width > room)
                            clipped << child->objectName() + u'=' + text;
                    }
                }
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u"; "_s)));
    }

    // The background is a crop's commonest colour, the text the colour farthest from it. Text
    // of a control that cannot be used is exempt, as is a blank one.
    void contrastOfEveryText() {
        const QPalette before = QApplication::palette();
        for (const QPalette &palette : {before, QPalette(QColor(53, 53, 53))}) { // light on dark
            QApplication::setPalette(palette);
            for (QWidget *w : threeWindows()) {
                const QImage shot = w->grab().toImage();
                const qreal ratio = shot.devicePixelRatio();
                for (QWidget *child : w->findChildren<QWidget *>()) {
                    const QString text = textAndRoom(child).first;
                    if (text.isEmpty() || !child->isEnabled() || !child->isVisible() ||
                        qobject_cast<QComboBox *>(child))
                        continue;
                    const QImage crop = shot.copy(
                        QRect(child->mapTo(w, QPoint(0, 0)) * ratio, child->size() * ratio)
                            .adjusted(2, 2, -2, -2));
                    const double best = pixels::strongest(crop, pixels::commonest(crop));
                    QVERIFY2(best >= 4.5,
                             qPrintable(child->objectName() + u": "_s + QString::number(best)));
                }
            }
        }
        QApplication::setPalette(before);
    }
};

QTEST_MAIN(tst_windows)
#include "tst_windows.moc"
