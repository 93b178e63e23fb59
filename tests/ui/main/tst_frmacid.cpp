// SPDX-License-Identifier: GPL-3.0-or-later
#include "../common/modalCatcher.h"
#include "settings/settingstable.h"
#include "ui/about/frmAbout.h"
#include "ui/main/desktop.h"
#include "ui/main/frmAcid.h"
#include "ui/main/twips.h"
#include "ui/settings/frmOptions.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

namespace {

class RecordingDesktop : public Desktop {
public:
    void openUrl(const QUrl &url) override { opened << url; }
    bool startCalculator() override {
        ++calculatorStarts;
        return calculatorFound;
    }
    QList<QUrl> opened;
    int calculatorStarts = 0;
    bool calculatorFound = true;
};

const QString builtInFile = QStringLiteral(
    "\"r_l\",\"raise\"\r\n\"method\",\"Acid Blend\"\r\n\"acidUnits\",\"g/L\"\r\n"
    "\"batchunits\",\"U.S. Gal.\"\r\n\"batchSize\",5\r\n\"blend_t\",50\r\n\"blend_m\",30\r\n"
    "\"blend_c\",20\r\n");

} // namespace

class tst_frmacid : public QObject {
    Q_OBJECT

    template <typename T = QWidget> T *c(const char *name) {
        T *w = window->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QString text(const char *name) { return c<QLineEdit>(name)->text(); }
    QString result() { return c<QLabel>("lblAddition")->text(); }
    void choose(const char *list, const QString &entry) {
        auto *cbo = c<QComboBox>(list);
        const int i = cbo->findText(entry);
        QVERIFY2(i >= 0, qPrintable(entry));
        cbo->setCurrentIndex(i);
    }
    void type(const char *box, const QString &keys) {
        auto *e = c<QLineEdit>(box);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, keys);
    }
    // The built-in defaults applied through the controls, as the start-up fallback does.
    void startLikeUser() {
        c<QRadioButton>("optRaise")->setChecked(true);
        choose("cboMethod", QStringLiteral("Acid Blend"));
        choose("cboUnits", QStringLiteral("g/L"));
        choose("cboBatchUnits", QStringLiteral("Litres"));
        c<QLineEdit>("txtBatchSize")->setText(QStringLiteral("100.00"));
    }
    QString settingsFile() const {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/settings.cfg");
    }

    std::unique_ptr<frmAcid> window;
    std::unique_ptr<ModalCatcher> modals;
    RecordingDesktop desktop;

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        Desktop::setCurrent(&desktop);
    }
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        settings::defaultSettings().clear();
        QFile::remove(settingsFile());
        modals = std::make_unique<ModalCatcher>();
        window = std::make_unique<frmAcid>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        desktop = {};
    }
    void cleanup() {
        window.reset();
        modals.reset();
        QFile::remove(settingsFile());
    }

    void layout_data();
    void layout();
    void designedState();
    void keyFilter_data();
    void keyFilter();
    void typingLimit();
    void steps_data();
    void steps();
    void stepByMouse();
    void methodPresets_data();
    void methodPresets();
    void directions();
    void unitLabels();
    void everyChangeResets();
    void calculate_data();
    void calculate();
    void failedCheck_data();
    void failedCheck();
    void editMenu();
    void calculatorAndLinks();
    void exitClosesEverything();
    void optionsAndAbout();
    void formLoad_data();
    void formLoad();
    void formLoadGerman();
};

void tst_frmacid::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("twipsRect");
    QTest::addColumn<QString>("caption");

    QTest::newRow("panel") << "Picture1"
                           << "QFrame" << QRect(0, 0, 7215, 4455) << "";
    QTest::newRow("calculate") << "cmdCalc"
                               << "QPushButton" << QRect(4320, 3720, 1815, 495) << "&Calculate";
    QTest::newRow("acid frame") << "Frame1"
                                << "QGroupBox" << QRect(120, 120, 3135, 3255) << "Acid Data";
    QTest::newRow("raise") << "optRaise"
                           << "QRadioButton" << QRect(120, 360, 1695, 300) << "Raise Acidity";
    QTest::newRow("method") << "cboMethod"
                            << "QComboBox" << QRect(840, 1080, 2055, 315) << "";
    QTest::newRow("tartaric") << "txtTartaric"
                              << "QLineEdit" << QRect(1680, 1560, 500, 300) << "100";
    QTest::newRow("tartaric bar") << "vsbTartaric"
                                  << "QScrollBar" << QRect(2175, 1560, 255, 300) << "";
    QTest::newRow("citric label") << "Label8"
                                  << "QLabel" << QRect(840, 2280, 615, 300) << "Citric";
    QTest::newRow("TA units") << "cboUnits"
                              << "QComboBox" << QRect(1080, 2760, 975, 315) << "";
    QTest::newRow("batch frame") << "Frame3"
                                 << "QGroupBox" << QRect(120, 3480, 3135, 855) << "Batch Data";
    QTest::newRow("batch size") << "txtBatchSize"
                                << "QLineEdit" << QRect(600, 360, 750, 300) << "23";
    QTest::newRow("existing label") << "Label2"
                                    << "QLabel" << QRect(4080, 480, 1095, 300) << "Existing TA";
    QTest::newRow("blend bar") << "vsbBlend"
                               << "QScrollBar" << QRect(6135, 1200, 255, 300) << "";
    QTest::newRow("result") << "lblAddition"
                            << "QLabel" << QRect(3720, 2760, 1005, 300) << "";
    QTest::newRow("result unit") << "lblAdditionUnits"
                                 << "QLabel" << QRect(4800, 2760, 2175, 300) << "grams";
}

void tst_frmacid::layout() {
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, twipsRect);
    QFETCH(QString, caption);
    QWidget *w = c(qPrintable(name));
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
    QCOMPARE(w->geometry(),
             twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
    if (auto *l = qobject_cast<QLabel *>(w))
        QCOMPARE(l->text(), caption);
    else if (auto *b = qobject_cast<QAbstractButton *>(w))
        QCOMPARE(b->text(), caption);
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        QCOMPARE(g->title(), caption);
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        QCOMPARE(e->text(), caption);
    // Every caption fits its designed box at the designed font.
    if (auto *l = qobject_cast<QLabel *>(w); l && !caption.isEmpty())
        QVERIFY(l->fontMetrics().horizontalAdvance(caption) <= l->contentsRect().width());
}

void tst_frmacid::designedState() {
    QCOMPARE(window->windowTitle(), QStringLiteral("Titrova"));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(c<QWidget>("client")->size(), QSize(482, 299));
    QVERIFY(!c<QRadioButton>("optRaise")->isChecked() && !c<QRadioButton>("optLower")->isChecked());
    QCOMPARE(c<QComboBox>("cboMethod")->count(), 0);
    QCOMPARE(c<QComboBox>("cboUnits")->currentIndex(), -1);
    QCOMPARE(c<QComboBox>("cboBatchUnits")->count(), 4);
    QCOMPARE(c<QComboBox>("cboBatchUnits")->itemText(3), QStringLiteral("Hectolitres"));
    for (const char *name : {"txtTartaric", "vsbTartaric", "txtMalic", "vsbCitric"})
        QVERIFY2(!c(name)->isEnabled(), name);
    QCOMPARE(c<QLineEdit>("txtBatchSize")->toolTip(), QStringLiteral("Batch Size"));
    QCOMPARE(c<QComboBox>("cboBatchUnits")->toolTip(), QStringLiteral("Batch size units."));
    for (const char *bar : {"vsbExist", "vsbBatchSize", "vsbCitric"}) {
        auto *s = c<QScrollBar>(bar);
        QCOMPARE(s->minimum(), -1);
        QCOMPARE(s->maximum(), 1);
        QCOMPARE(s->value(), 0);
        QCOMPARE(s->focusPolicy(), Qt::NoFocus);
    }
    QVERIFY(!window->findChild<QAction *>(QStringLiteral("mnuEditCut"))->isEnabled());
    QVERIFY(window->findChild<QAction *>(QStringLiteral("mnuEditPaste"))->isEnabled());
    QVERIFY(window->findChild<QMenu *>(QStringLiteral("mnuHelp")));
    QVERIFY(window->findChild<QAction *>(QStringLiteral("mnuOptions")));

    // Tab order, from the existing TA round to the blending wine.
    const char *order[] = {"txtExist",     "txtTarget",     "cmdCalc",  "optRaise",  "optLower",
                           "cboMethod",    "txtTartaric",   "txtMalic", "txtCitric", "cboUnits",
                           "txtBatchSize", "cboBatchUnits", "txtBlend"};
    QWidget *w = c(order[0]);
    for (size_t i = 1; i < std::size(order); ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        QCOMPARE(w->objectName(), QString::fromLatin1(order[i]));
    }
}

void tst_frmacid::keyFilter_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("existing refuses letters, blanks, minus") << "txtExist"
                                                             << "a-5 .,b1"
                                                             << "5.,1";
    QTest::newRow("target takes digits and separators") << "txtTarget"
                                                        << "6.5"
                                                        << "6.5";
    QTest::newRow("batch size") << "txtBatchSize"
                                << "x12e"
                                << "12";
    QTest::newRow("blending wine takes anything") << "txtBlend"
                                                  << "a-5 x"
                                                  << "a-5 x";
}

void tst_frmacid::keyFilter() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    startLikeUser();
    choose("cboMethod", QStringLiteral("Blend Wine"));
    type(qPrintable(box), keys);
    QCOMPARE(text(qPrintable(box)), expected);
}

void tst_frmacid::typingLimit() {
    startLikeUser();
    type("txtTartaric", QStringLiteral("1234"));
    QCOMPARE(text("txtTartaric"), QStringLiteral("123"));
    type("txtBatchSize", QStringLiteral("123456789012"));
    QCOMPARE(text("txtBatchSize"), QStringLiteral("1234567890"));
    // The program may write more than a user may type, and the user can still shorten it.
    auto *batch = c<QLineEdit>("txtBatchSize");
    batch->setText(QStringLiteral("1,234,567.00"));
    QCOMPARE(batch->text(), QStringLiteral("1,234,567.00"));
    batch->setFocus();
    batch->end(false);
    QTest::keyClick(batch, Qt::Key_Backspace);
    QCOMPARE(batch->text(), QStringLiteral("1,234,567.0"));
}

void tst_frmacid::steps_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("after");

    const int up = QAbstractSlider::SliderSingleStepSub;
    const int down = QAbstractSlider::SliderSingleStepAdd;
    const int pageUp = QAbstractSlider::SliderPageStepSub;
    QTest::newRow("up a tenth") << "txtExist"
                                << "3.45" << up << "3.55";
    QTest::newRow("down a tenth") << "txtExist"
                                  << "3.45" << down << "3.35";
    QTest::newRow("track above is a step") << "txtTarget"
                                           << "3.45" << pageUp << "3.55";
    QTest::newRow("never below zero") << "txtExist"
                                      << "0.05" << down << "0.00";
    QTest::newRow("format imposed") << "txtTarget"
                                    << "6.5" << up << "6.60";
    QTest::newRow("empty becomes zero") << "txtTarget"
                                        << "" << up << "0.00";
    QTest::newRow("letters become zero") << "txtBlend"
                                         << "abc" << down << "0.00";
    QTest::newRow("grouping appears") << "txtBatchSize"
                                      << "999.00" << up << "1,000.00";
    QTest::newRow("grouping reads back") << "txtBatchSize"
                                         << "1,000.00" << up << "1,001.00";
    QTest::newRow("share capped") << "txtTartaric"
                                  << "100" << up << "100";
    QTest::newRow("share floor") << "txtTartaric"
                                 << "0" << down << "0";
    QTest::newRow("share to zero is 0") << "txtMalic"
                                        << "1" << down << "0";
    QTest::newRow("share fraction lost") << "txtMalic"
                                         << "4.4" << up << "5";
    QTest::newRow("share above 100 either way") << "txtCitric"
                                                << "150" << down << "100";
    QTest::newRow("share empty") << "txtCitric"
                                 << "" << up << "0";
}

void tst_frmacid::steps() {
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(int, action);
    QFETCH(QString, after);
    startLikeUser();
    choose("cboMethod", box == QStringLiteral("txtBlend") ? QStringLiteral("Blend Wine")
                                                          : QStringLiteral("Acid Blend"));
    auto *e = c<QLineEdit>(qPrintable(box));
    e->setText(before);
    auto *bar = c<QScrollBar>(qPrintable(QStringLiteral("vsb") + box.mid(3)));
    c<QLabel>("lblAddition")->setText(QStringLiteral("12.34"));
    bar->triggerAction(QAbstractSlider::SliderAction(action));
    QCOMPARE(e->text(), after);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(window->focusWidget(), e);
    QCOMPARE(result(), QStringLiteral("0.00"));
}

void tst_frmacid::stepByMouse() {
    startLikeUser();
    auto *bar = c<QScrollBar>("vsbExist");
    c<QLineEdit>("txtExist")->setText(QStringLiteral("6.00"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 2));
    QCOMPARE(text("txtExist"), QStringLiteral("6.10"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
    QCOMPARE(text("txtExist"), QStringLiteral("6.00"));
}

void tst_frmacid::methodPresets_data() {
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("shares");
    QTest::addColumn<bool>("sharesEnabled");
    QTest::addColumn<bool>("wineEnabled");
    QTest::addColumn<QString>("units");

    QTest::newRow("tartaric") << "optRaise"
                              << "Tartaric Acid"
                              << "100/0/0" << false << false << "grams";
    QTest::newRow("malic") << "optRaise"
                           << "Malic Acid"
                           << "0/100/0" << false << false << "grams";
    QTest::newRow("citric") << "optRaise"
                            << "Citric Acid"
                            << "0/0/100" << false << false << "grams";
    QTest::newRow("blend") << "optRaise"
                           << "Acid Blend"
                           << "50/30/20" << true << false << "grams";
    QTest::newRow("wine") << "optRaise"
                          << "Blend Wine"
                          << "0/0/0" << false << true << "Litres of wine";
    QTest::newRow("calcium") << "optLower"
                             << "Calcium Carbonate"
                             << "0/0/0" << false << false << "grams";
    QTest::newRow("bicarbonate") << "optLower"
                                 << "Potassium Bicarbonate"
                                 << "0/0/0" << false << false << "grams";
}

void tst_frmacid::methodPresets() {
    QFETCH(QString, direction);
    QFETCH(QString, method);
    QFETCH(QString, shares);
    QFETCH(bool, sharesEnabled);
    QFETCH(bool, wineEnabled);
    QFETCH(QString, units);
    startLikeUser();
    choose("cboMethod", QStringLiteral("Blend Wine"));
    c<QLineEdit>("txtBlend")->setText(QStringLiteral("8.00"));
    c<QRadioButton>(qPrintable(direction))->setChecked(true);
    choose("cboMethod", method);
    QCOMPARE(text("txtTartaric") + u'/' + text("txtMalic") + u'/' + text("txtCitric"), shares);
    for (const char *name :
         {"txtTartaric", "vsbTartaric", "txtMalic", "vsbMalic", "txtCitric", "vsbCitric"})
        QCOMPARE(c(name)->isEnabled(), sharesEnabled);
    for (const char *name : {"txtBlend", "vsbBlend", "lblBlend", "lblBlendUnits"})
        QCOMPARE(c(name)->isEnabled(), wineEnabled);
    // Only the blending wine keeps its TA.
    QCOMPARE(text("txtBlend"), wineEnabled ? QStringLiteral("8.00") : QString());
    QCOMPARE(c<QLabel>("lblAdditionUnits")->text(), units);
}

void tst_frmacid::directions() {
    startLikeUser();
    auto *method = c<QComboBox>("cboMethod");
    QStringList raise;
    for (int i = 0; i < method->count(); ++i)
        raise << method->itemText(i);
    QCOMPARE(raise.join(u'|'),
             QStringLiteral("Acid Blend|Blend Wine|Citric Acid|Malic Acid|Tartaric Acid"));

    // Edited shares come back to the preset when the blend is chosen again.
    c<QLineEdit>("txtTartaric")->setText(QStringLiteral("70"));
    choose("cboMethod", QStringLiteral("Tartaric Acid"));
    choose("cboMethod", QStringLiteral("Acid Blend"));
    QCOMPARE(text("txtTartaric"), QStringLiteral("50"));

    choose("cboMethod", QStringLiteral("Blend Wine"));
    c<QRadioButton>("optLower")->setChecked(true);
    QStringList lower;
    for (int i = 0; i < method->count(); ++i)
        lower << method->itemText(i);
    QCOMPARE(
        lower.join(u'|'),
        QStringLiteral("Blend Wine|Calcium Carbonate|Potassium Bicarbonate|Potassium Carbonate"));
    QCOMPARE(method->currentIndex(), -1);
    QCOMPARE(text("txtCitric"), QStringLiteral("0"));
    QVERIFY(!c("vsbCitric")->isEnabled());

    // Raise refills the list; the wine input and its unit keep the last method's state.
    c<QRadioButton>("optRaise")->setChecked(true);
    QCOMPARE(method->currentIndex(), -1);
    QVERIFY(c("txtBlend")->isEnabled());
    QCOMPARE(c<QLabel>("lblAdditionUnits")->text(), QStringLiteral("Litres of wine"));
}

void tst_frmacid::unitLabels() {
    startLikeUser();
    c<QLineEdit>("txtExist")->setText(QStringLiteral("6.50"));
    choose("cboUnits", QStringLiteral("%"));
    for (const char *name : {"lblUnit1", "lblUnit2", "lblBlendUnits"})
        QCOMPARE(c<QLabel>(name)->text(), QStringLiteral("%"));
    QCOMPARE(text("txtExist"), QStringLiteral("6.50"));
    choose("cboBatchUnits", QStringLiteral("Hectolitres"));
    QCOMPARE(c<QLabel>("lblAdditionUnits")->text(), QStringLiteral("grams"));
    choose("cboMethod", QStringLiteral("Blend Wine"));
    QCOMPARE(c<QLabel>("lblAdditionUnits")->text(), QStringLiteral("Hectolitres of wine"));
    choose("cboBatchUnits", QStringLiteral("Imp. Gal."));
    QCOMPARE(c<QLabel>("lblAdditionUnits")->text(), QStringLiteral("Imp. Gal. of wine"));
}

void tst_frmacid::everyChangeResets() {
    startLikeUser();
    const auto changes = std::initializer_list<std::function<void()>>{
        [&] { c<QLineEdit>("txtExist")->setText(QStringLiteral("1")); },
        [&] { type("txtTarget", QStringLiteral("7")); },
        [&] { c<QLineEdit>("txtMalic")->setText(QStringLiteral("31")); },
        [&] { choose("cboUnits", QStringLiteral("%")); },
        [&] { choose("cboBatchUnits", QStringLiteral("Imp. Gal.")); },
        [&] { c<QRadioButton>("optLower")->setChecked(true); },
        [&] { // picking the chosen entry again, in a later event
            QCoreApplication::processEvents();
            auto *units = c<QComboBox>("cboBatchUnits");
            emit units->activated(units->currentIndex());
        },
    };
    for (const auto &change : changes) {
        c<QLabel>("lblAddition")->setText(QStringLiteral("12.34"));
        change();
        QCOMPARE(result(), QStringLiteral("0.00"));
    }
}

void tst_frmacid::calculate_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("exist");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("batch");
    QTest::addColumn<QString>("batchUnits");
    QTest::addColumn<QString>("label");

    QTest::newRow("blend") << "Acid Blend"
                           << "g/L"
                           << "5"
                           << "6"
                           << "100"
                           << "Litres"
                           << "95.52";
    QTest::newRow("malic US gal") << "Malic Acid"
                                  << "g/L"
                                  << "6"
                                  << "7"
                                  << "264.2"
                                  << "U.S. Gal."
                                  << "895.58";
    QTest::newRow("percent") << "Tartaric Acid"
                             << "%"
                             << "0.55"
                             << "0.65"
                             << "100"
                             << "Litres"
                             << "100.00";
    QTest::newRow("salt") << "Calcium Carbonate"
                          << "g/L"
                          << "9"
                          << "7"
                          << "100"
                          << "Litres"
                          << "132.10";
    QTest::newRow("wine hl") << "Blend Wine"
                             << "g/L"
                             << "5"
                             << "6"
                             << "2"
                             << "Hectolitres"
                             << "1.00";
}

void tst_frmacid::calculate() {
    QFETCH(QString, method);
    QFETCH(QString, units);
    QFETCH(QString, exist);
    QFETCH(QString, target);
    QFETCH(QString, batch);
    QFETCH(QString, batchUnits);
    QFETCH(QString, label);
    startLikeUser();
    if (exist.toDouble() > target.toDouble())
        c<QRadioButton>("optLower")->setChecked(true);
    choose("cboMethod", method);
    choose("cboUnits", units);
    choose("cboBatchUnits", batchUnits);
    type("txtExist", exist);
    type("txtTarget", target);
    type("txtBatchSize", batch);
    if (method == QStringLiteral("Blend Wine"))
        type("txtBlend", QStringLiteral("8"));
    QTest::mouseClick(c<QPushButton>("cmdCalc"), Qt::LeftButton);
    QVERIFY(modals->boxes.isEmpty());
    QCOMPARE(result(), label);
}

void tst_frmacid::failedCheck_data() {
    QTest::addColumn<QString>("exist");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("all empty") << ""
                               << ""
                               << "Please enter existing TA."
                               << "txtExist";
    QTest::newRow("pasted letters") << "abc"
                                    << "6"
                                    << "Existing TA must be numeric."
                                    << "txtExist";
    QTest::newRow("direction") << "6"
                               << "5"
                               << "Target TA must be greater than existing TA."
                               << "txtTarget";
}

void tst_frmacid::failedCheck() {
    QFETCH(QString, exist);
    QFETCH(QString, target);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    startLikeUser();
    c<QLineEdit>("txtExist")->setText(exist);
    c<QLineEdit>("txtTarget")->setText(target);
    c<QLabel>("lblAddition")->setText(QStringLiteral("12.34"));
    c<QPushButton>("cmdCalc")->setFocus();
    QTest::mouseClick(c<QPushButton>("cmdCalc"), Qt::LeftButton);
    QCOMPARE(modals->boxes.size(), 1);
    const ModalCatcher::Box box = modals->boxes.first();
    QCOMPARE(box.text, message);
    QCOMPARE(box.title, QStringLiteral("Titrova"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, 1);
    QCOMPARE(window->focusWidget()->objectName(), focus);
    QCOMPARE(result(), QStringLiteral("12.34"));
}

void tst_frmacid::editMenu() {
    startLikeUser();
    auto *edit = window->findChild<QMenu *>(QStringLiteral("mnuEdit"));
    auto *cut = window->findChild<QAction *>(QStringLiteral("mnuEditCut"));
    auto *copy = window->findChild<QAction *>(QStringLiteral("mnuEditCopy"));
    auto *paste = window->findChild<QAction *>(QStringLiteral("mnuEditPaste"));
    auto *exist = c<QLineEdit>("txtExist");
    exist->setText(QStringLiteral("12.50"));
    exist->setFocus();
    exist->setSelection(0, 2);
    emit edit->aboutToShow();
    QVERIFY(cut->isEnabled() && copy->isEnabled() && paste->isEnabled());
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12"));

    exist->deselect();
    emit edit->aboutToShow();
    QVERIFY(!cut->isEnabled() && !copy->isEnabled() && paste->isEnabled());

    c<QPushButton>("cmdCalc")->setFocus();
    emit edit->aboutToShow();
    QVERIFY(!cut->isEnabled());

    auto *batch = c<QLineEdit>("txtBatchSize");
    batch->setFocus();
    batch->setSelection(0, 3);
    c<QLabel>("lblAddition")->setText(QStringLiteral("12.34"));
    emit edit->aboutToShow();
    cut->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("100"));
    QCOMPARE(batch->text(), QStringLiteral(".00"));
    QCOMPARE(result(), QStringLiteral("0.00"));

    // Pasted text is not filtered; Calculate reports it.
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    exist->setFocus();
    exist->selectAll();
    paste->trigger();
    QCOMPARE(exist->text(), QStringLiteral("abc"));
    QGuiApplication::clipboard()->clear();
    exist->selectAll();
    paste->trigger();
    QCOMPARE(exist->text(), QString());
}

void tst_frmacid::calculatorAndLinks() {
    auto act = [&](const char *name) {
        window->findChild<QAction *>(QString::fromLatin1(name))->trigger();
    };
    act("mnuToolsCalc");
    QCOMPARE(desktop.calculatorStarts, 1);
    QVERIFY(modals->boxes.isEmpty());
    desktop.calculatorFound = false;
    act("mnuToolsCalc");
    QCOMPARE(modals->boxes.size(), 1);
    QCOMPARE(modals->boxes.first().title, QStringLiteral("Calculator"));
    QCOMPARE(modals->boxes.first().text, QStringLiteral("Calculator not found!"));
    QCOMPARE(modals->boxes.first().icon, QMessageBox::Warning);

    act("mnuHelpManual");
    act("mnuHelpWeb");
    act("mnuHelpEmail");
    QCOMPARE(desktop.opened.size(), 3);
    QCOMPARE(desktop.opened.at(0).host(), desktop.opened.at(1).host());
    QCOMPARE(desktop.opened.at(2).scheme(), QStringLiteral("mailto"));
}

void tst_frmacid::exitClosesEverything() {
    auto *other = new QWidget;
    other->setAttribute(Qt::WA_DeleteOnClose);
    other->show();
    QPointer<QWidget> guard(other);
    window->findChild<QAction *>(QStringLiteral("mnuFileExit"))->trigger();
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(guard.isNull());
    QVERIFY(modals->boxes.isEmpty());
}

void tst_frmacid::optionsAndAbout() {
    auto act = [&](const char *name) {
        window->findChild<QAction *>(QString::fromLatin1(name))->trigger();
    };
    act("mnuOptions");
    act("mnuOptions");
    QCOMPARE(window->findChildren<frmOptions *>().size(), 1);
    QPointer<frmOptions> options = window->findChild<frmOptions *>();
    QVERIFY(options->isVisible());

    // About is modal and new each time; close it from inside its own loop.
    QList<QString> seen;
    for (int round = 0; round < 2; ++round) {
        QTimer::singleShot(50, [&] {
            auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
            seen << (about ? about->windowTitle() : QString());
            if (about)
                about->close();
        });
        modals->closeOtherModals(false);
        act("mnuHelpAbout");
        modals->closeOtherModals(true);
    }
    QCOMPARE(seen, (QList<QString>{QStringLiteral("About"), QStringLiteral("About")}));
    QVERIFY(window->findChildren<frmAbout *>().isEmpty());

    // File > Exit with the dialog open: everything closes, nothing is asked.
    act("mnuFileExit");
    QTRY_VERIFY(options.isNull());
    QVERIFY(!window->isVisible());
    QVERIFY(modals->boxes.isEmpty());
}

void tst_frmacid::formLoad_data() {
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<QString>("state"); // method|units|batch units|batch|shares|direction

    const QByteArray builtIn = builtInFile.toLatin1();
    QByteArray malic = builtIn;
    malic.replace("Acid Blend", "Malic Acid");
    QByteArray shares = builtIn;
    shares.replace("50", "33.5").replace(",30", ",0");
    QByteArray wrongDirection = builtIn;
    wrongDirection.replace("Acid Blend", "Calcium Carbonate");
    QByteArray capital = builtIn;
    capital.replace("\"raise\"", "\"Raise\"").replace("\"g/L\"", "\"%\"");
    QByteArray hecto = builtIn;
    hecto.replace("U.S. Gal.", "Hectolitres");
    QByteArray reordered =
        "\"blend_c\",20,\"BLEND_M\",30\r\n\"blend_t\",50\r\n\"batchSize\",1234.5\r\n"
        "\"batchunits\",\"Litres\",\"acidUnits\",\"g/L\"\r\n\"method\",\"Blend "
        "Wine\"\r\n\"R_L\",\"lower\"\r\n";
    QByteArray duplicate = builtIn + "\"BatchUnits\",\"Litres\"\r\n";
    QByteArray ninth = builtIn + "\"colour\",\"red\"\r\n";

    const QString defaults = QStringLiteral("Acid Blend|g/L|U.S. Gal.|5.00|50/30/20|raise");
    QTest::newRow("no file") << QByteArray() << true << defaults;
    QTest::newRow("empty file") << QByteArray("\r\n") << true << defaults;
    QTest::newRow("built-in file") << builtIn << false << defaults;
    QTest::newRow("single acid forces its shares")
        << malic << false << QStringLiteral("Malic Acid|g/L|U.S. Gal.|5.00|0/100/0|raise");
    QTest::newRow("blend shows the file's shares")
        << shares << false << QStringLiteral("Acid Blend|g/L|U.S. Gal.|5.00|34/0/20|raise");
    QTest::newRow("method of the other direction") << wrongDirection << true << defaults;
    QTest::newRow("capital Raise selects nothing")
        << capital << false << QStringLiteral("|%|U.S. Gal.|5.00|50/30/20|");
    QTest::newRow("hectolitres left alone")
        << hecto << false << QStringLiteral("Acid Blend|g/L||5.00|50/30/20|raise");
    QTest::newRow("any order, any case")
        << reordered << false << QStringLiteral("Blend Wine|g/L|Litres|1,234.50|50/30/20|lower");
    QTest::newRow("duplicate key") << duplicate << true << defaults;
    QTest::newRow("unknown ninth key") << ninth << false << defaults;
    QTest::newRow("odd field count") << builtIn + "\"orphan\"" << true << defaults;
    QTest::newRow("binary") << QByteArray("\x00\xff\x01\"\x00,,\r\x7f", 9) << true << defaults;
    QTest::newRow("unterminated quote") << QByteArray("\"r_l\",\"raise") << true << defaults;
}

void tst_frmacid::formLoad() {
    QFETCH(QByteArray, file);
    QFETCH(bool, fallback);
    QFETCH(QString, state);
    // Start-up runs on a fresh window, as the program does.
    window = std::make_unique<frmAcid>();
    if (!file.isNull()) {
        QFile f(settingsFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    window->Form_Load();
    QVERIFY(!window->refusedToRun());
    QCOMPARE(modals->boxes.size(), fallback ? 1 : 0);
    if (fallback) {
        QCOMPARE(modals->boxes.first().text,
                 QStringLiteral("User default settings not found.\nLoading program defaults."));
        QCOMPARE(modals->boxes.first().icon, QMessageBox::Critical);
        QCOMPARE(modals->boxes.first().title, QStringLiteral("Titrova"));
        // The table holds the program's defaults, whatever the file had added before failing.
        auto &table = settings::defaultSettings();
        QCOMPARE(table.lookup(QStringLiteral("batchUnits")).toString(),
                 QStringLiteral("U.S. Gal."));
        QCOMPARE(table.lookup(QStringLiteral("method")).toString(), QStringLiteral("Acid Blend"));
        QCOMPARE(table.lookup(QStringLiteral("r_l")).toString(), QStringLiteral("raise"));
        QCOMPARE(table.lookup(QStringLiteral("blend_t")).toString(), QStringLiteral("50"));
    }
    const QString dir = c<QRadioButton>("optRaise")->isChecked()   ? QStringLiteral("raise")
                        : c<QRadioButton>("optLower")->isChecked() ? QStringLiteral("lower")
                                                                   : QString();
    const QString shown =
        QStringList{c<QComboBox>("cboMethod")->currentText(),
                    c<QComboBox>("cboUnits")->currentText(),
                    c<QComboBox>("cboBatchUnits")->currentText(),
                    text("txtBatchSize"),
                    text("txtTartaric") + u'/' + text("txtMalic") + u'/' + text("txtCitric"),
                    dir}
            .join(u'|');
    QCOMPARE(shown, state);
    QCOMPARE(text("txtExist"), QStringLiteral("0.00"));
    QCOMPARE(text("txtTarget"), QStringLiteral("0.00"));
    QCOMPARE(result(), QStringLiteral("0.00"));
    // Start-up never writes the file.
    QCOMPARE(QFile::exists(settingsFile()), !file.isNull());
}

void tst_frmacid::formLoadGerman() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    window = std::make_unique<frmAcid>();
    QByteArray file = builtInFile.toLatin1();
    file.replace(",5\r\n", ",1234.5\r\n");
    QFile f(settingsFile());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();
    window->Form_Load();
    QVERIFY(modals->boxes.isEmpty());
    QCOMPARE(text("txtBatchSize"), QStringLiteral("1.234,50"));
    QCOMPARE(text("txtExist"), QStringLiteral("0,00"));
}

QTEST_MAIN(tst_frmacid)
#include "tst_frmacid.moc"
