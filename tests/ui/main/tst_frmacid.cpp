// SPDX-License-Identifier: GPL-3.0-or-later
#include "../common/uitest.h"
#include "settings/settingstable.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <memory>

using namespace Qt::StringLiterals;

class tst_frmacid : public QObject {
    Q_OBJECT

    template <typename T = QWidget> T *c(const char *name) {
        return uitest::child<T>(window.get(), name);
    }

    QString text(const char *name) { return c<QLineEdit>(name)->text(); }
    QString result() { return c<QLabel>("lblAddition")->text(); }
    QString shares() {
        return text("txtTartaric") + u'/' + text("txtMalic") + u'/' + text("txtCitric");
    }

    void act(const char *name) { c<QAction>(name)->trigger(); }
    void choose(const char *list, const QString &entry) {
        auto *cbo = c<QComboBox>(list);
        QVERIFY2(cbo->findText(entry) >= 0, qPrintable(entry));
        cbo->setCurrentIndex(cbo->findText(entry));
    }

    void type(const char *box, const QString &keys) {
        auto *e = c<QLineEdit>(box);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, keys);
    }

    // The built-in defaults applied through the controls, with 100 Litres.
    void startLikeUser(const QString &method = u"Acid Blend"_s) {
        c<QRadioButton>("optRaise")->setChecked(true);
        choose("cboMethod", method);
        choose("cboUnits", u"g/L"_s);
        choose("cboBatchUnits", u"Litres"_s);
        c<QLineEdit>("txtBatchSize")->setText(u"100.00"_s);
    }

    QTemporaryDir folder;
    QString settingsFile() const { return folder.filePath(u"settings.cfg"_s); }

    std::unique_ptr<frmAcid> window;
    std::unique_ptr<ModalCatcher> modals;
    uitest::RecordingDesktop desktop;

private slots:
    void initTestCase() { Desktop::setCurrent(&desktop); }
    void init() {
        QLocale::setDefault(QLocale(u"en_US"_s));
        settings::defaultSettings().clear();
        QFile::remove(settingsFile());
        modals = std::make_unique<ModalCatcher>();
        window = std::make_unique<frmAcid>(settingsFile());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        desktop = {};
    }

    void cleanup() {
        window.reset();
        modals.reset();
        QFile::remove(settingsFile());
    }

    void designedState() {
        QCOMPARE(window->windowTitle(), u"Titrova"_s);
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!c<QRadioButton>("optRaise")->isChecked() &&
                !c<QRadioButton>("optLower")->isChecked());
        QCOMPARE(c<QComboBox>("cboMethod")->count(), 0);
        QCOMPARE(c<QComboBox>("cboBatchUnits")->itemText(3), u"Hectolitres"_s);
        QVERIFY(!c("txtTartaric")->isEnabled() && !c("vsbCitric")->isEnabled());
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("refuses letters, blanks, minus")
            << u"txtExist"_s << u"a-5 .,b1"_s << u"5.,1"_s;
        QTest::newRow("batch size") << u"txtBatchSize"_s << u"x12e"_s << u"12"_s;
        QTest::newRow("blending wine takes anything") << u"txtBlend"_s << u"a-5 x"_s << u"a-5 x"_s;
        QTest::newRow("share limit") << u"txtTartaric"_s << u"1234"_s << u"123"_s;
        QTest::newRow("batch limit") << u"txtBatchSize"_s << u"123456789012"_s << u"1234567890"_s;
    }

    void keyFilter() {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        startLikeUser(box == u"txtBlend" ? u"Blend Wine"_s : u"Acid Blend"_s);
        type(qPrintable(box), keys);
        QCOMPARE(text(qPrintable(box)), expected);
    }

    void programWritesPastTheLimit() {
        // The program may write more than a user may type, and the user can still shorten it.
        auto *batch = c<QLineEdit>("txtBatchSize");
        batch->setText(u"1,234,567.00"_s);
        batch->setFocus();
        batch->end(false);
        QTest::keyClick(batch, Qt::Key_Backspace);
        QCOMPARE(batch->text(), u"1,234,567.0"_s);
    }

    void steps_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("after");
        const auto row = [](const char *name, const char *box, const char *before, int action,
                            const char *after) {
            QTest::newRow(name) << QString::fromLatin1(box) << QString::fromLatin1(before) << action
                                << QString::fromLatin1(after);
        };
        const int up = QAbstractSlider::SliderSingleStepSub;
        const int down = QAbstractSlider::SliderSingleStepAdd;
        row("up a tenth", "txtExist", "3.45", up, "3.55");
        row("down a tenth", "txtExist", "3.45", down, "3.35");
        row("track above is a step", "txtTarget", "3.45", QAbstractSlider::SliderPageStepSub,
            "3.55");
        row("never below zero", "txtExist", "0.05", down, "0.00");
        row("empty becomes zero", "txtTarget", "", up, "0.00");
        row("letters become zero", "txtBlend", "abc", down, "0.00");
        row("grouping appears", "txtBatchSize", "999.00", up, "1,000.00");
        row("grouping reads back", "txtBatchSize", "1,000.00", up, "1,001.00");
        row("share capped", "txtTartaric", "100", up, "100");
        row("share floor", "txtTartaric", "0", down, "0");
        row("share fraction lost", "txtMalic", "4.4", up, "5");
        row("share above 100 either way", "txtCitric", "150", down, "100");
        row("share empty", "txtCitric", "", up, "0");
    }

    void steps() {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(int, action);
        QFETCH(QString, after);
        startLikeUser(box == u"txtBlend" ? u"Blend Wine"_s : u"Acid Blend"_s);
        auto *e = c<QLineEdit>(qPrintable(box));
        e->setText(before);
        auto *bar = c<QScrollBar>(qPrintable(u"vsb"_s + box.mid(3)));
        c<QLabel>("lblAddition")->setText(u"12.34"_s);
        bar->triggerAction(QAbstractSlider::SliderAction(action));
        QCOMPARE(e->text(), after);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(window->focusWidget(), e);
        QCOMPARE(result(), u"0.00"_s);
    }

    void methodPresets_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("state"); // shares|shares on|wine on|wine TA|result unit
        QTest::newRow("tartaric") << u"Tartaric Acid"_s << u"100/0/0|0|0||grams"_s;
        QTest::newRow("blend") << u"Acid Blend"_s << u"50/30/20|1|0||grams"_s;
        QTest::newRow("wine keeps its TA") << u"Blend Wine"_s << u"0/0/0|0|1|8.00|Litres of wine"_s;
        QTest::newRow("salt") << u"Calcium Carbonate"_s << u"0/0/0|0|0||grams"_s;
    }

    void methodPresets() {
        QFETCH(QString, method);
        QFETCH(QString, state);
        startLikeUser(u"Blend Wine"_s);
        c<QLineEdit>("txtBlend")->setText(u"8.00"_s);
        c<QRadioButton>(method.startsWith(u"Calcium") ? "optLower" : "optRaise")->setChecked(true);
        choose("cboMethod", method);
        // "1" when every control of the group is enabled, "0" when none is.
        const auto on = [this](std::initializer_list<const char *> names) {
            int enabled = 0;
            for (const char *name : names)
                enabled += c(name)->isEnabled();
            return enabled == 0 ? u"0"_s : enabled == int(names.size()) ? u"1"_s : u"some"_s;
        };
        QCOMPARE(
            QStringList({shares(),
                         on({"txtTartaric", "vsbTartaric", "txtMalic", "txtCitric", "vsbCitric"}),
                         on({"txtBlend", "vsbBlend", "lblBlend", "lblBlendUnits"}),
                         text("txtBlend"), c<QLabel>("lblAdditionUnits")->text()})
                .join(u'|'),
            state);
    }

    void directions() {
        startLikeUser();
        auto *method = c<QComboBox>("cboMethod");
        const auto entries = [method] {
            QStringList all;
            for (int i = 0; i < method->count(); ++i)
                all << method->itemText(i);
            return all.join(u'|');
        };
        QCOMPARE(entries(), u"Acid Blend|Blend Wine|Citric Acid|Malic Acid|Tartaric Acid"_s);
        // Edited shares come back to the preset when the blend is chosen again.
        c<QLineEdit>("txtTartaric")->setText(u"70"_s);
        choose("cboMethod", u"Tartaric Acid"_s);
        choose("cboMethod", u"Acid Blend"_s);
        QCOMPARE(text("txtTartaric"), u"50"_s);

        choose("cboMethod", u"Blend Wine"_s);
        c<QRadioButton>("optLower")->setChecked(true);
        QCOMPARE(entries(),
                 u"Blend Wine|Calcium Carbonate|Potassium Bicarbonate|Potassium Carbonate"_s);
        QCOMPARE(method->currentIndex(), -1);
        // Raise refills the list; the wine input and its unit keep the last method's state.
        c<QRadioButton>("optRaise")->setChecked(true);
        QCOMPARE(method->currentIndex(), -1);
        QVERIFY(c("txtBlend")->isEnabled());
        QCOMPARE(c<QLabel>("lblAdditionUnits")->text(), u"Litres of wine"_s);
    }

    void unitLabels() {
        startLikeUser(u"Blend Wine"_s);
        choose("cboUnits", u"%"_s);
        for (const char *name : {"lblUnit1", "lblUnit2", "lblBlendUnits"})
            QCOMPARE(c<QLabel>(name)->text(), u"%"_s);
        choose("cboBatchUnits", u"Hectolitres"_s);
        QCOMPARE(c<QLabel>("lblAdditionUnits")->text(), u"Hectolitres of wine"_s);
    }

    void everyChangeResets() {
        startLikeUser();
        const auto changes = std::initializer_list<std::function<void()>>{
            [&] { c<QLineEdit>("txtExist")->setText(u"1"_s); },
            [&] { type("txtTarget", u"7"_s); },
            [&] { c<QLineEdit>("txtMalic")->setText(u"31"_s); },
            [&] { choose("cboUnits", u"%"_s); },
            [&] { choose("cboBatchUnits", u"Imp. Gal."_s); },
            [&] { c<QRadioButton>("optLower")->setChecked(true); },
            [&] { // picking the chosen entry again, in a later event
                QCoreApplication::processEvents();
                auto *units = c<QComboBox>("cboBatchUnits");
                emit units->activated(units->currentIndex());
            },
        };
        for (const auto &change : changes) {
            c<QLabel>("lblAddition")->setText(u"12.34"_s);
            change();
            QCOMPARE(result(), u"0.00"_s);
        }
    }

    void calculate_data() {
        QTest::addColumn<QStringList>("in"); // direction|method|TA units|exist|target|batch|units
        QTest::addColumn<QString>("shown");  // the result, or the warning|the box it focuses
        const auto row = [](const char *name, const char *in, const char *shown) {
            QTest::newRow(name) << QString::fromLatin1(in).split(u'|')
                                << QString::fromLatin1(shown);
        };
        row("blend", "raise|Acid Blend|g/L|5|6|100|Litres", "95.52");
        row("malic US gal", "raise|Malic Acid|g/L|6|7|264.2|U.S. Gal.", "895.58");
        row("percent", "raise|Tartaric Acid|%|0.55|0.65|100|Litres", "100.00");
        row("salt", "lower|Calcium Carbonate|g/L|9|7|100|Litres", "132.10");
        row("wine hl", "raise|Blend Wine|g/L|5|6|2|Hectolitres", "1.00");
        row("all empty", "raise|Acid Blend|g/L|||100|Litres", "Please enter existing TA.|txtExist");
        row("wrong direction", "raise|Acid Blend|g/L|6|5|100|Litres",
            "Target TA must be greater than existing TA.|txtTarget");
    }

    void calculate() {
        QFETCH(QStringList, in);
        QFETCH(QString, shown);
        startLikeUser();
        c<QRadioButton>(in[0] == u"lower" ? "optLower" : "optRaise")->setChecked(true);
        choose("cboMethod", in[1]);
        choose("cboUnits", in[2]);
        choose("cboBatchUnits", in[6]);
        type("txtExist", in[3]);
        type("txtTarget", in[4]);
        type("txtBatchSize", in[5]);
        if (in[1] == u"Blend Wine")
            type("txtBlend", u"8"_s);
        c<QLabel>("lblAddition")->setText(u"12.34"_s);
        c("cmdCalc")->setFocus();
        QTest::mouseClick(c<QPushButton>("cmdCalc"), Qt::LeftButton);
        if (!shown.contains(u'|')) {
            QVERIFY(modals->boxes.isEmpty());
            QCOMPARE(result(), shown);
            return;
        }
        // A failed check: one warning, focus on the input at fault, the result left alone.
        QCOMPARE(modals->boxes.size(), 1);
        const ModalCatcher::Box box = modals->boxes.first();
        QCOMPARE(box.text, shown.section(u'|', 0, 0));
        QCOMPARE(box.title, u"Titrova"_s);
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, 1);
        QCOMPARE(window->focusWidget()->objectName(), shown.section(u'|', 1));
        QCOMPARE(result(), u"12.34"_s);
    }

    void editMenu() {
        startLikeUser();
        auto *edit = c<QMenu>("mnuEdit");
        auto *cut = c<QAction>("mnuEditCut");
        auto *copy = c<QAction>("mnuEditCopy");
        auto *paste = c<QAction>("mnuEditPaste");
        auto *exist = c<QLineEdit>("txtExist");
        exist->setText(u"12.50"_s);
        exist->setFocus();
        exist->setSelection(0, 2);
        emit edit->aboutToShow();
        QVERIFY(cut->isEnabled() && copy->isEnabled() && paste->isEnabled());
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"12"_s);
        exist->deselect();
        emit edit->aboutToShow();
        QVERIFY(!cut->isEnabled() && !copy->isEnabled() && paste->isEnabled());
        c("cmdCalc")->setFocus();
        emit edit->aboutToShow();
        QVERIFY(!cut->isEnabled());

        // Cut changes the text, and so resets the result.
        auto *batch = c<QLineEdit>("txtBatchSize");
        batch->setFocus();
        batch->setSelection(0, 3);
        c<QLabel>("lblAddition")->setText(u"12.34"_s);
        emit edit->aboutToShow();
        cut->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"100"_s);
        QCOMPARE(batch->text(), u".00"_s);
        QCOMPARE(result(), u"0.00"_s);

        // Pasted text is not filtered; Calculate reports it.
        QGuiApplication::clipboard()->setText(u"abc"_s);
        exist->setFocus();
        exist->selectAll();
        paste->trigger();
        QCOMPARE(exist->text(), u"abc"_s);
    }

    void calculatorAndLinks() {
        act("mnuToolsCalc");
        QCOMPARE(desktop.calculatorStarts, 1);
        QVERIFY(modals->boxes.isEmpty());
        desktop.calculatorFound = false;
        act("mnuToolsCalc");
        QCOMPARE(modals->boxes.size(), 1);
        QCOMPARE(modals->boxes.first().title, u"Calculator"_s);
        QCOMPARE(modals->boxes.first().text, u"Calculator not found!"_s);
        QCOMPARE(modals->boxes.first().icon, QMessageBox::Warning);
        act("mnuHelpManual");
        act("mnuHelpWeb");
        act("mnuHelpEmail");
        const QUrl manual =
            QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + u"/manual/index.html"_s);
        QCOMPARE(desktop.opened, (QList<QUrl>{manual, links::productPage(), links::supportMail()}));

        // No manual beside this program: the real desktop's open fails, and says nothing.
        QVERIFY(!QFile::exists(manual.toLocalFile()));
        Desktop::setCurrent(nullptr);
        act("mnuHelpManual");
        Desktop::setCurrent(&desktop);
        QCOMPARE(modals->boxes.size(), 1); // the calculator's, above
    }

    void optionsAboutExit() {
        act("mnuOptions");
        act("mnuOptions");
        QCOMPARE(window->findChildren<frmOptions *>().size(), 1);
        QPointer<frmOptions> options = window->findChild<frmOptions *>();
        QVERIFY(options->isVisible());

        // About is modal and new each time, and the command returns at once (no nested loop
        // that would keep an assistive client waiting on its action).
        for (int round = 0; round < 2; ++round) {
            act("mnuHelpAbout");
            QPointer<frmAbout> about = window->findChild<frmAbout *>();
            QVERIFY(about && about->isVisible() && about->isModal());
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            about->close();
            QTRY_VERIFY(!about);
        }
        QVERIFY(window->findChildren<frmAbout *>().isEmpty());

        // File > Exit closes every window, the dialog too, and asks nothing.
        auto *other = new QWidget;
        other->setAttribute(Qt::WA_DeleteOnClose);
        other->show();
        QPointer<QWidget> guard(other);
        act("mnuFileExit");
        QTRY_VERIFY(options.isNull() && guard.isNull());
        QVERIFY(!window->isVisible());
        QVERIFY(modals->boxes.isEmpty());
    }

    void formLoad_data() {
        QTest::addColumn<QByteArray>("file"); // null: no file at all
        QTest::addColumn<bool>("fallback");
        QTest::addColumn<QString>("state"); // method|units|batch units|batch|shares|direction

        const QByteArray builtIn = uitest::builtInFile;
        const QString defaults = u"Acid Blend|g/L|U.S. Gal.|5.00|50/30/20|raise"_s;
        // Fallback, in each of its causes: unreadable, key missing, odd count, duplicate, refused.
        QTest::newRow("no file") << QByteArray() << true << defaults;
        QTest::newRow("empty file") << "\r\n"_ba << true << defaults;
        QTest::newRow("odd field count") << builtIn + "\"orphan\"" << true << defaults;
        QTest::newRow("duplicate key") << builtIn + "\"BatchUnits\",\"Litres\"\r\n"
                                       << true << defaults;
        QTest::newRow("method of the other direction")
            << QByteArray(builtIn).replace("Acid Blend", "Calcium Carbonate") << true << defaults;
        // No fallback.
        QTest::newRow("built-in file") << builtIn << false << defaults;
        QTest::newRow("unknown ninth key") << builtIn + "\"colour\",\"red\"\r\n"
                                           << false << defaults;
        QTest::newRow("single acid forces its shares")
            << QByteArray(builtIn).replace("Acid Blend", "Malic Acid") << false
            << u"Malic Acid|g/L|U.S. Gal.|5.00|0/100/0|raise"_s;
        QTest::newRow("no direction needs no method")
            << QByteArray(builtIn)
                   .replace("\"raise\"", "\"\"")
                   .replace("\"method\",\"Acid Blend\"", "")
            << false << u"|g/L|U.S. Gal.|5.00|50/30/20|"_s;
        QTest::newRow("TA units in another case")
            << QByteArray(builtIn).replace("g/L", "G/L") << false
            << u"Acid Blend||U.S. Gal.|5.00|50/30/20|raise"_s;
        QTest::newRow("texts: a share rounded, the rest as they are")
            << QByteArray(builtIn)
                   .replace(",5\r", ",\"a lot\"\r")
                   .replace(",50", ",\"2.5\"")
                   .replace(",20", ",\"x\"")
            << false << u"Acid Blend|g/L|U.S. Gal.|a lot|3/30/x|raise"_s;
        QTest::newRow("any order, any case")
            << "\"blend_c\",20,\"BLEND_M\",30\r\n\"blend_t\",50\r\n\"batchSize\",1234.5\r\n"
               "\"batchunits\",\"Litres\",\"acidUnits\",\"g/L\"\r\n\"method\",\"Blend Wine\"\r\n"
               "\"R_L\",\"lower\"\r\n"_ba
            << false << u"Blend Wine|g/L|Litres|1,234.50|50/30/20|lower"_s;
    }

    void formLoad() {
        QFETCH(QByteArray, file);
        QFETCH(bool, fallback);
        QFETCH(QString, state);
        window = std::make_unique<frmAcid>(settingsFile()); // start-up runs on a fresh window
        if (!file.isNull()) {
            QFile f(settingsFile());
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
        }
        window->Form_Load();
        QVERIFY(!window->refusedToRun());
        QCOMPARE(modals->boxes.size(), fallback ? 1 : 0);
        if (fallback) {
            QCOMPARE(modals->boxes.first().text,
                     u"User default settings not found.\nLoading program defaults."_s);
            QCOMPARE(modals->boxes.first().icon, QMessageBox::Critical);
            QCOMPARE(modals->boxes.first().title, u"Titrova"_s);
            // The table holds the program's defaults, whatever the file had added before failing.
            auto &table = settings::defaultSettings();
            QCOMPARE(table.lookup(u"batchUnits"_s).toString(), u"U.S. Gal."_s);
            QCOMPARE(table.lookup(u"method"_s).toString(), u"Acid Blend"_s);
        }
        const QString dir = c<QRadioButton>("optRaise")->isChecked()   ? u"raise"_s
                            : c<QRadioButton>("optLower")->isChecked() ? u"lower"_s
                                                                       : QString();
        QCOMPARE(QStringList({c<QComboBox>("cboMethod")->currentText(),
                              c<QComboBox>("cboUnits")->currentText(),
                              c<QComboBox>("cboBatchUnits")->currentText(), text("txtBatchSize"),
                              shares(), dir})
                     .join(u'|'),
                 state);
        QCOMPARE(text("txtExist"), u"0.00"_s);
        QCOMPARE(result(), u"0.00"_s);
        // Start-up never writes the file.
        QCOMPARE(QFile::exists(settingsFile()), !file.isNull());
    }

    void formLoadGerman() {
        QLocale::setDefault(QLocale(u"de_DE"_s));
        window = std::make_unique<frmAcid>(settingsFile());
        QFile f(settingsFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(uitest::builtInFile).replace(",5\r\n", ",1234.5\r\n"));
        f.close();
        window->Form_Load();
        QVERIFY(modals->boxes.isEmpty());
        QCOMPARE(text("txtBatchSize"), u"1.234,50"_s);
        QCOMPARE(text("txtExist"), u"0,00"_s);
    }
};

QTEST_MAIN(tst_frmacid)
#include "tst_frmacid.moc"
