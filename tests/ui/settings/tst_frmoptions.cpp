// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numbers.h"
#include "settings/settingsfile.h"
#include "settings/settingstable.h"
#include "tests/ui/common/modalCatcher.h"
#include "ui/main/controls.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList keys = {u"r_l"_s,       u"method"_s,  u"acidUnits"_s, u"batchUnits"_s,
                          u"batchSize"_s, u"blend_t"_s, u"blend_m"_s,   u"blend_c"_s};
QStringList fields(const char *row) {
    return QString::fromUtf8(row).split(u'|');
}

const QStringList builtIns = fields("raise|Acid Blend|g/L|U.S. Gal.|5|50|30|20");
const QByteArray builtInFile = "\"r_l\",\"raise\"\r\n\"method\",\"Acid Blend\"\r\n"
                               "\"acidUnits\",\"g/L\"\r\n\"batchunits\",\"U.S. Gal.\"\r\n"
                               "\"batchSize\",5\r\n\"blend_t\",50\r\n\"blend_m\",30\r\n"
                               "\"blend_c\",20\r\n";

// Values in key order; "-" leaves the key out.
void fillTable(const QStringList &values) {
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (values[i] != u"-")
            settings::defaultSettings().add(keys[i], values[i]);
    }
}

bool activate(QWidget *w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitFor([w] { return w->isActiveWindow(); });
}

template <typename T> T *part(QWidget *w, const QString &name) {
    return w->findChild<T *>(name);
}

QLineEdit *box(QWidget *w, const QString &name) {
    return part<QLineEdit>(w, name);
}

// What the dialog shows: direction, method, TA units, batch units, batch size, shares.
QStringList shown(QWidget *dlg) {
    const bool raise = part<QRadioButton>(dlg, u"optRaise"_s)->isChecked();
    const bool lower = part<QRadioButton>(dlg, u"optLower"_s)->isChecked();
    QStringList s{raise ? u"raise"_s : lower ? u"lower"_s : QString()};
    for (const char *list : {"cboMethod", "cboUnits", "cboBatchUnits"})
        s << part<QComboBox>(dlg, QString::fromLatin1(list))->currentText();
    for (const char *text : {"txtBatchSize", "txtTartaric", "txtMalic", "txtCitric"})
        s << box(dlg, QString::fromLatin1(text))->text();
    return s;
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

// Edits in the order of shown(); "~" leaves a field alone. Direction: the buttons to click.
void enter(QWidget *dlg, const QStringList &edits) {
    for (const QString &name : edits[0].split(u',', Qt::SkipEmptyParts)) {
        if (name != u"~")
            part<QRadioButton>(dlg, name)->setChecked(true);
    }
    const char *names[] = {nullptr,        "cboMethod",   "cboUnits", "cboBatchUnits",
                           "txtBatchSize", "txtTartaric", "txtMalic", "txtCitric"};
    for (int i = 1; i < 8; ++i) {
        if (edits[i] == u"~")
            continue;
        const QString name = QString::fromLatin1(names[i]);
        if (i < 4)
            QVERIFY(controls::selectText(part<QComboBox>(dlg, name), edits[i]));
        else
            box(dlg, name)->setText(edits[i]);
    }
}

} // namespace

class tst_frmOptions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void designedState();
    void activationFills_data();
    void activationFills();
    void activationRefillsAndResetsResult();
    void okChecks_data();
    void okChecks();
    void savedFile_data();
    void savedFile();
    void saveFailures_data();
    void saveFailures();
    void closing_data();
    void closing();
    void pairs_data();
    void pairs();

private:
    frmOptions *opened();

    QTemporaryDir dir;
    QString path;
    ModalCatcher *catcher = nullptr; // also the watchdog: no box ever waits for a user
};

frmOptions *tst_frmOptions::opened() {
    auto *dlg = new frmOptions;
    if (!activate(dlg))
        qWarning("dialog did not become active");
    return dlg;
}

void tst_frmOptions::initTestCase() {
    QLocale::setDefault(QLocale(u"en_US"_s));
    QVERIFY(dir.isValid());
    path = dir.filePath(u"settings.cfg"_s);
}

void tst_frmOptions::init() {
    settings::defaultSettings().clear();
    settings::settingsPath() = path;
    QFile::remove(path);
    catcher = new ModalCatcher;
}

void tst_frmOptions::cleanup() {
    delete catcher;
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows << w;
    for (const QPointer<QWidget> &w : windows) {
        if (qobject_cast<frmOptions *>(w) || qobject_cast<frmAcid *>(w))
            delete w;
    }
}

void tst_frmOptions::designedState() {
    frmOptions dlg;
    QCOMPARE(dlg.objectName(), u"frmOptions"_s);
    QCOMPARE(dlg.windowTitle(), u"Default Settings"_s);
    QCOMPARE(dlg.geometry(), QRect(344, 224, 253, 375));
    QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
    QVERIFY(dlg.testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!(dlg.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    const QHash<QString, const char *> prefixes = {
        {u"txt"_s, "QLineEdit"},    {u"vsb"_s, "QScrollBar"}, {u"cbo"_s, "QComboBox"},
        {u"opt"_s, "QRadioButton"}, {u"Label"_s, "QLabel"},   {u"cmd"_s, "QPushButton"},
        {u"Frame"_s, "QGroupBox"},  {u"Picture"_s, "QFrame"}};
    int named = 0;
    for (QWidget *w : dlg.findChildren<QWidget *>()) {
        for (auto p = prefixes.cbegin(); p != prefixes.cend(); ++p) {
            if (w->objectName().startsWith(p.key())) {
                QVERIFY2(w->inherits(p.value()), qPrintable(w->objectName()));
                QVERIFY(w->isEnabled());
                ++named;
            }
        }
    }
    QCOMPARE(named, 27);
    QCOMPARE(shown(&dlg), (QStringList{{}, {}, {}, {}, u"23"_s, u"100"_s, u"0"_s, u"0"_s}));
    QCOMPARE(part<QComboBox>(&dlg, u"cboMethod"_s)->count(), 0);
    const auto *units = part<QComboBox>(&dlg, u"cboBatchUnits"_s);
    QCOMPARE(units->count(), 3);
    QCOMPARE(units->itemText(2), u"Litres"_s);
    QStringList tabOrder;
    QWidget *w = part<QWidget>(&dlg, u"optRaise"_s);
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            tabOrder << w->objectName();
        w = w->nextInFocusChain();
    } while (w->objectName() != u"optRaise");
    QCOMPARE(tabOrder, fields("optRaise|optLower|cboMethod|txtTartaric|txtMalic|txtCitric|"
                              "cboUnits|txtBatchSize|cboBatchUnits|cmdCancel|cmdOK"));
    for (const char *name : {"cmdOK", "cmdCancel"}) {
        const auto *b = part<QPushButton>(&dlg, QString::fromLatin1(name));
        QVERIFY(!b->isDefault() && !b->autoDefault());
    }
}

void tst_frmOptions::activationFills_data() {
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("sharesEnabled");

    const QStringList builtInView = fields("raise|Acid Blend|g/L|U.S. Gal.|5.00|50|30|20");
    QTest::newRow("built-in defaults") << builtIns << builtInView << true;
    QTest::newRow("empty table: built-ins, silently")
        << fields("-|-|-|-|-|-|-|-") << builtInView << true;
    QTest::newRow("lower, salt") << fields("lower|Calcium Carbonate|%|Litres|1234.5|50|30|20")
                                 << fields("lower|Calcium Carbonate|%|Litres|1,234.50|50|30|20")
                                 << false;
    QTest::newRow("method refused: built-ins over a half-applied lower")
        << fields("lower|Tartaric Acid|%|Litres|7|60|20|20") << builtInView << false;
    QTest::newRow("missing share: built-ins")
        << fields("raise|Malic Acid|%|Litres|7|60|-|20") << builtInView << true;
    QTest::newRow("Raise in capitals, hectolitres, shares rounded")
        << fields("Raise|Acid Blend|g/L|Hectolitres|0|33.5|0|66.4") << fields("||g/L||0.00|34|0|66")
        << true;
}

void tst_frmOptions::activationFills() {
    QFETCH(QStringList, table);
    QFETCH(QStringList, expected);
    QFETCH(bool, sharesEnabled);

    fillTable(table);
    QPointer<frmOptions> dlg = opened();
    QCOMPARE(shown(dlg), expected);
    QCOMPARE(box(dlg, u"txtTartaric"_s)->isEnabled(), sharesEnabled);
    QCOMPARE(part<QScrollBar>(dlg, u"vsbCitric"_s)->isEnabled(), sharesEnabled);
    QCOMPARE(settings::defaultSettings().size(), table.size() - table.count(u"-"_s));
    QVERIFY(catcher->boxes.isEmpty());
}

void tst_frmOptions::activationRefillsAndResetsResult() {
    fillTable(builtIns);
    frmAcid main;
    auto *result = part<QLabel>(&main, u"lblAddition"_s);
    QVERIFY(activate(&main));
    result->setText(u"12.34"_s);

    QPointer<frmOptions> dlg = new frmOptions(&main);
    QVERIFY(activate(dlg));
    QCOMPARE(result->text(), u"0.00"_s); // opening selects the saved direction

    result->setText(u"12.34"_s);
    enter(dlg, fields("optLower|~|%|Litres|77|~|~|~"));
    QCOMPARE(result->text(), u"0.00"_s);
    QCOMPARE(shown(dlg), fields("lower||%|Litres|77|0|0|0"));
    QCOMPARE(part<QComboBox>(dlg, u"cboMethod"_s)->count(), 4);

    QVERIFY(activate(&main));
    QVERIFY(activate(dlg));
    // Unsaved edits are gone; Lower's disabled shares stay disabled.
    QCOMPARE(shown(dlg), fields("raise|Acid Blend|g/L|U.S. Gal.|5.00|50|30|20"));
    QVERIFY(!box(dlg, u"txtMalic"_s)->isEnabled());
    QCOMPARE(dlg->windowIcon().cacheKey(), main.windowIcon().cacheKey());
}

void tst_frmOptions::okChecks_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QString sum = u"Acid blend components must sum to 100%"_s;
    QTest::newRow("empty batch size, checked first")
        << fields("optLower|~|~|~||1|1|1") << u"Please enter batch size."_s << u"txtBatchSize"_s;
    QTest::newRow("blank batch size is no empty one; Lower leaves no method")
        << fields("optLower|~|~|~| |~|~|~") << u"Please enter method."_s << u"cboMethod"_s;
    QTest::newRow("sum 110") << fields("~|~|~|~|5|60|30|20") << sum << u"txtTartaric"_s;
    QTest::newRow("sum 98.9") << fields("~|~|~|~|5|49.9|29|20") << sum << u"txtTartaric"_s;
    QTest::newRow("empty share") << fields("~|~|~|~|5|70||30") << sum << u"txtMalic"_s;
    QTest::newRow("blend after Lower: disabled zeros, focus on the method")
        << fields("optLower,optRaise|Acid Blend|~|~|~|~|~|~") << sum << u"cboMethod"_s;
    QTest::newRow("sum 101 passes") << fields("~|~|~|~|5|50|30|21") << QString() << QString();
    QTest::newRow("sum 99 passes") << fields("~|~|~|~|5|49|30|20") << QString() << QString();
    QTest::newRow("single acid: shares unchecked")
        << fields("~|Tartaric Acid|~|~|5|60|30|") << QString() << QString();
}

void tst_frmOptions::okChecks() {
    QFETCH(QStringList, edits);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    fillTable(builtIns);
    QPointer<frmOptions> dlg = opened();
    enter(dlg, edits);
    const QStringList before = shown(dlg);
    part<QPushButton>(dlg, u"cmdOK"_s)->click();
    if (message.isEmpty()) {
        QVERIFY(catcher->boxes.isEmpty());
        QTRY_VERIFY(dlg.isNull());
        QVERIFY(QFile::exists(path));
        return;
    }
    QCOMPARE(catcher->boxes.size(), 1);
    QCOMPARE(catcher->boxes[0].text, message);
    QCOMPARE(catcher->boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(catcher->boxes[0].title, u"Titrova"_s);
    QCOMPARE(dlg->focusWidget()->objectName(), focus);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(settings::defaultSettings().lookup(u"method"_s).toString(), u"Acid Blend"_s);
    // Back from its own warning is no return from another window: the edits stay. (Offscreen
    // no window is active after a box; a desktop gives the activation back.)
    QVERIFY(activate(dlg));
    QCOMPARE(shown(dlg), before);
}

void tst_frmOptions::savedFile_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QByteArray>("file");

    const auto builtInsWith = [](const QByteArray &from, const QByteArray &to) {
        return QByteArray(builtInFile).replace(from, to);
    };
    const QByteArray shares = "50\r\n\"blend_m\",30\r\n\"blend_c\",20";
    QTest::newRow("built-in defaults") << fields("~|~|~|~|~|~|~|~") << builtInFile;
    QTest::newRow("batch 1234.5") << fields("~|~|~|~|1234.5|~|~|~")
                                  << builtInsWith("Size\",5\r", "Size\",1234.5\r");
    QTest::newRow("blend 2.5/2.5/95 written 3/3/95")
        << fields("~|~|~|~| 5 |2.5|2.5|95")
        << builtInsWith(shares, "3\r\n\"blend_m\",3\r\n\"blend_c\",95");
    QTest::newRow("blend 100/0/0") << fields("~|~|~|~|~|100|0|0")
                                   << builtInsWith(shares, "100\r\n\"blend_m\",0\r\n\"blend_c\",0");
    QTest::newRow("single acid saves 50/30/20")
        << fields("~|Tartaric Acid|%|Imp. Gal.|~|60|20|20")
        << builtInsWith("Acid Blend\"\r\n\"acidUnits\",\"g/L\"\r\n\"batchunits\",\"U.S.",
                        "Tartaric Acid\"\r\n\"acidUnits\",\"%\"\r\n\"batchunits\",\"Imp.");
    QTest::newRow("lower, salt") << fields("optLower|Potassium Bicarbonate|~|Litres|10.5|~|~|~")
                                 << builtInsWith("raise\"\r\n\"method\",\"Acid Blend",
                                                 "lower\"\r\n\"method\",\"Potassium "
                                                 "Bicarbonate")
                                        .replace("U.S. Gal.\"\r\n\"batchSize\",5",
                                                 "Litres\"\r\n\"batchSize\",10.5");
}

void tst_frmOptions::savedFile() {
    QFETCH(QStringList, edits);
    QFETCH(QByteArray, file);

    fillTable(builtIns);
    QPointer<frmOptions> dlg = opened();
    enter(dlg, edits);
    const QString size = box(dlg, u"txtBatchSize"_s)->text();
    part<QPushButton>(dlg, u"cmdOK"_s)->click();
    QVERIFY(catcher->boxes.isEmpty());
    QCOMPARE(fileBytes(path), file);
    QTRY_VERIFY(dlg.isNull());
    // The table holds the standard format, as the next opening shows it.
    QCOMPARE(settings::defaultSettings().lookup(u"BATCHSIZE"_s).toString(),
             numbers::standardFromDouble(*numbers::toDouble(size)));
}

void tst_frmOptions::saveFailures_data() {
    QTest::addColumn<QString>("where"); // in the temporary folder
    QTest::addColumn<QString>("batchSize");
    QTest::addColumn<bool>("emptyTable");
    QTest::addColumn<QString>("message");

    QTest::newRow("batch size no number") << u"settings.cfg"_s << u"12a"_s << false << u"6\n"_s;
    QTest::newRow("parent is a file") << u"blocker/settings.cfg"_s << u"5"_s << false << u"7\n"_s;
    QTest::newRow("folder at the path") << u"folder"_s << u"5"_s << false << u"7\n"_s;
    QTest::newRow("keys gone from the table")
        << u"settings.cfg"_s << u"5"_s << true << u"4\nThe setting \"acidUnits\" is missing."_s;
}

void tst_frmOptions::saveFailures() {
    QFETCH(QString, where);
    QFETCH(QString, batchSize);
    QFETCH(bool, emptyTable);
    QFETCH(QString, message);

    const QByteArray old = "\"r_l\",\"lower\"\r\n";
    for (const QString &name : {u"settings.cfg"_s, u"blocker"_s}) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
    }
    QVERIFY(QDir(dir.path()).mkpath(u"folder"_s));
    settings::settingsPath() = dir.filePath(where);

    fillTable(builtIns);
    QPointer<frmOptions> dlg = opened();
    enter(dlg, fields("~|~|%|~|~|~|~|~"));
    box(dlg, u"txtBatchSize"_s)->setText(batchSize);
    if (emptyTable)
        settings::defaultSettings().clear();
    part<QPushButton>(dlg, u"cmdOK"_s)->click();

    QCOMPARE(catcher->boxes.size(), 1);
    QCOMPARE(catcher->boxes[0].icon, QMessageBox::Critical);
    QVERIFY2(catcher->boxes[0].text.startsWith(message), qPrintable(catcher->boxes[0].text));
    QTest::qWait(50);
    QVERIFY(dlg && dlg->isVisible());
    QCOMPARE(fileBytes(dir.filePath(u"settings.cfg"_s)), old);
    QCOMPARE(fileBytes(dir.filePath(u"blocker"_s)), old);
    QVERIFY(QFileInfo(dir.filePath(u"folder"_s)).isDir());
    if (!emptyTable) // replaced entries stay replaced
        QCOMPARE(settings::defaultSettings().lookup(u"acidUnits"_s).toString(), u"%"_s);
}

void tst_frmOptions::closing_data() {
    QTest::addColumn<int>("how"); // a key, or 0 for Cancel and 1 for the close box
    QTest::addColumn<bool>("closes");
    QTest::newRow("Cancel") << 0 << true;
    QTest::newRow("close box") << 1 << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("Enter") << int(Qt::Key_Return) << false;
}

void tst_frmOptions::closing() {
    QFETCH(int, how);
    QFETCH(bool, closes);

    fillTable(builtIns);
    QPointer<frmOptions> dlg = opened();
    enter(dlg, fields("optLower|~|%|~|9|~|~|~"));
    if (how == 0)
        part<QPushButton>(dlg, u"cmdCancel"_s)->click();
    else if (how == 1)
        dlg->close();
    else
        for (const char *name : {"cboUnits", "optLower", "cmdOK"})
            QTest::keyClick(part<QWidget>(dlg, QString::fromLatin1(name)), Qt::Key(how));

    QTest::qWait(50);
    QCOMPARE(dlg.isNull(), closes);
    QVERIFY(catcher->boxes.isEmpty());
    QVERIFY(!QFile::exists(path));
    for (qsizetype i = 0; i < keys.size(); ++i)
        QCOMPARE(settings::defaultSettings().lookup(keys[i]).toString(), builtIns[i]);
}

void tst_frmOptions::pairs_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("texts"); // typed, after filter and limit, after the up arrow

    QTest::newRow("batch size") << u"BatchSize"_s << fields("x1-2,345.5|12,345.5|12,346.50");
    QTest::newRow("tartaric") << u"Tartaric"_s << fields("a9 9|99|100");
    QTest::newRow("malic") << u"Malic"_s << fields("-7|7|8");
    QTest::newRow("citric") << u"Citric"_s << fields("1000|100|100");
}

void tst_frmOptions::pairs() {
    QFETCH(QString, name);
    QFETCH(QStringList, texts);

    fillTable(builtIns);
    QPointer<frmOptions> dlg = opened();
    QLineEdit *text = box(dlg, u"txt"_s + name);
    text->clear();
    QTest::keyClicks(text, texts[0]);
    QCOMPARE(text->text(), texts[1]);
    part<QScrollBar>(dlg, u"vsb"_s + name)->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(text->text(), texts[2]);
}

QTEST_MAIN(tst_frmOptions)
#include "tst_frmoptions.moc"
