// SPDX-License-Identifier: GPL-3.0-or-later
// What a user reads in the three windows, at the scale ctest gives (QT_SCALE_FACTOR): no
// clipped text, enough contrast under light and dark palettes.
#include "settings/settingstable.h"
#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/common/twips.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The WCAG contrast ratio of the two colours.
double contrast(QRgb a, QRgb b) {
    const auto luminance = [](QRgb c) {
        double sum = 0;
        for (auto [v, weight] :
             {std::pair{qRed(c), 0.2126}, {qGreen(c), 0.7152}, {qBlue(c), 0.0722}}) {
            const double s = v / 255.0;
            sum += weight * (s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

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

class tst_legibility : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    const QString settingsFile = folder.filePath(u"settings.cfg"_s);
    std::unique_ptr<frmAcid> window;
    std::unique_ptr<frmOptions> options;
    std::unique_ptr<frmAbout> about;
    uitest::ModalCatcher modals; // a failed calculation never leaves a box waiting

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(u"en_US"_s));
        QApplication::setStyle(u"Fusion"_s);
    }
    void init() {
        settings::defaultSettings().clear();
        QVERIFY(testfiles::write(settingsFile, testfiles::builtInFile));
        window = std::make_unique<frmAcid>(settingsFile);
        // Not Form_Load: the three scales run at once, and only one copy may run.
        window->loadDefaults();
        options = std::make_unique<frmOptions>(settingsFile);
        about = std::make_unique<frmAbout>();
        about->setAttribute(Qt::WA_DeleteOnClose, false);
        uitest::run(window.get(), u"txtExist=0.00;txtTarget=0.00"_s);
        for (QWidget *w :
             {(QWidget *)window.get(), (QWidget *)options.get(), (QWidget *)about.get()}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
    }
    void cleanup() { about.reset(), options.reset(), window.reset(); }

    // Tartaric acid, g/L, one litre: the result is the TA difference, so each row is one
    // magnitude, up to the largest a single-precision result can show.
    void resultShownWhole_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("shown"); // where the figure is worth writing down
        QTest::newRow("0.01") << u"1.01"_s << u"0.01"_s;
        for (int power = 0; power <= 38; ++power)
            QTest::addRow("1e%d", power)
                << (power < 8 ? QString::number(qint64(std::pow(10, power)) + 1)
                              : u"1"_s + QString(power, u'0'))
                << QString();
        QTest::newRow("largest") << u"340282300000000000000000000000000000000"_s
                                 << u"340,282,300,000,000,000,000,000,000,000,000,000,000.00"_s;
    }
    void resultShownWhole() {
        QFETCH(QString, target);
        QFETCH(QString, shown);
        uitest::run(window.get(), u"cboMethod=Tartaric Acid;cboBatchUnits=Litres;txtBatchSize=1;"
                                  "txtExist=1;txtTarget=%1;cmdCalc"_s.arg(target));
        auto *label = uitest::child<QLabel>(window.get(), "lblAddition");
        QVERIFY(label->text() != u"0.00"_s && (shown.isEmpty() || label->text() == shown));
        const auto [text, room] = textAndRoom(label);
        QVERIFY2(QFontMetricsF(label->font(), label).horizontalAdvance(text) <= room,
                 qPrintable(text));
        // A small result is back at the designed size.
        uitest::run(window.get(), u"txtTarget=2"_s);
        QCOMPARE(label->font().pixelSize(), twips::labelFont().pixelSize());
    }

    // Each entry of each list as the chosen one, in both directions.
    void noTextClipped() {
        QStringList clipped;
        for (const char *direction : {"optRaise", "optLower"}) {
            for (QWidget *w :
                 {(QWidget *)window.get(), (QWidget *)options.get(), (QWidget *)about.get()}) {
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
                            clipped
                                << u"%1 \"%2\" needs %3 px, has %4"_s.arg(child->objectName(), text)
                                       .arg(width)
                                       .arg(room);
                    }
                }
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u"; "_s)));
    }

    // The background is a crop's commonest colour, the text the colour farthest from it. Text
    // of a control that cannot be used is exempt, as is a blank one.
    void contrastOfEveryText_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("default palette") << false;
        QTest::newRow("dark palette") << true;
    }
    void contrastOfEveryText() {
        QFETCH(bool, dark);
        const QPalette before = QApplication::palette();
        if (dark)
            QApplication::setPalette(QPalette(QColor(53, 53, 53))); // light text on dark grey
        for (QWidget *w :
             {(QWidget *)window.get(), (QWidget *)options.get(), (QWidget *)about.get()}) {
            const QImage shot = w->grab().toImage();
            const qreal ratio = shot.devicePixelRatio();
            for (QWidget *child : w->findChildren<QWidget *>()) {
                const QString text = textAndRoom(child).first;
                if (text.isEmpty() || !child->isEnabled() || !child->isVisible() ||
                    qobject_cast<QComboBox *>(child))
                    continue;
                const QImage crop =
                    shot.copy(QRect(child->mapTo(w, QPoint(0, 0)) * ratio, child->size() * ratio)
                                  .adjusted(2, 2, -2, -2));
                QHash<QRgb, int> counts;
                for (int y = 0; y < crop.height(); ++y)
                    for (int x = 0; x < crop.width(); ++x)
                        ++counts[crop.pixel(x, y)];
                const QRgb background =
                    std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                     [](auto a, auto b) { return a.second < b.second; })
                        ->first;
                double best = 1.0;
                for (QRgb colour : counts.keys())
                    best = std::max(best, contrast(colour, background));
                QVERIFY2(
                    best >= 4.5,
                    qPrintable(
                        u"%1 \"%2\": %3:1"_s.arg(child->objectName(), text).arg(best, 0, 'f', 2)));
            }
        }
        QApplication::setPalette(before);
    }
};

QTEST_MAIN(tst_legibility)
#include "tst_legibility.moc"
