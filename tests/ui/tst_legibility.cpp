// SPDX-License-Identifier: GPL-3.0-or-later
// What a user reads in the three windows, at the scale ctest gives (QT_SCALE_FACTOR): no
// clipped text, enough contrast under light and dark palettes.
#include "settings/settingstable.h"
#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/common/twips.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

double luminance(QRgb c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The background is the crop's commonest colour; the text, the pixel farthest from it.
double textContrast(const QImage &crop) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < crop.height(); ++y)
        for (int x = 0; x < crop.width(); ++x)
            ++counts[crop.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), background = it.key();
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(it.key(), background));
    return best;
}

// The text a widget shows and the room it has for it, or no room when it shows none.
std::pair<QString, qreal> textAndRoom(QWidget *w) {
    if (auto *l = qobject_cast<QLabel *>(w))
        return {l->text(), l->contentsRect().width() - qMax(l->indent(), 0)};
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return {g->title(), g->width()};
    if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        // The indicator and its gap come before the caption of a radio button.
        const int indicator = qobject_cast<QPushButton *>(b)
                                  ? 8
                                  : b->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                        b->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
        QString t = b->text();
        return {t.remove(u'&'), b->width() - indicator};
    }
    return {QString(), 0};
}

} // namespace

class tst_legibility : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString settingsFile() const { return folder.filePath(u"settings.cfg"_s); }
    std::unique_ptr<frmAcid> window;
    uitest::ModalCatcher modals; // a failed calculation never leaves a box waiting

    template <typename T = QWidget> T *c(const char *name) {
        return uitest::child<T>(window.get(), name);
    }

    // The three windows, each shown: the main one, the dialog, the About box.
    QList<QWidget *> allWindows(std::unique_ptr<frmOptions> &options,
                                std::unique_ptr<frmAbout> &about) {
        options = std::make_unique<frmOptions>(settingsFile());
        about = std::make_unique<frmAbout>();
        about->setAttribute(Qt::WA_DeleteOnClose, false);
        QList<QWidget *> all{window.get(), options.get(), about.get()};
        for (QWidget *w : all) {
            w->show();
            if (!QTest::qWaitForWindowExposed(w))
                qFatal("%s never shown", qPrintable(w->objectName()));
        }
        return all;
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(u"en_US"_s));
        QApplication::setStyle(u"Fusion"_s);
    }

    void init() {
        settings::defaultSettings().clear();
        QVERIFY(testfiles::write(settingsFile(), testfiles::builtInFile));
        window = std::make_unique<frmAcid>(settingsFile());
        // Not Form_Load: the three scales run at once, and only one copy may run.
        window->loadDefaults();
        uitest::run(window.get(), u"txtExist=0.00;txtTarget=0.00"_s);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { window.reset(); }

    // Tartaric acid, g/L, one litre: the result is the TA difference, so each row is one
    // magnitude, up to the largest a single-precision result can show.
    void resultShownWhole_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0.01") << u"1.01"_s << u"0.01"_s;
        QString digits = u"1"_s;
        for (int power = 0; power <= 38; ++power, digits += u'0') {
            const QString target =
                power < 8 ? QString::number(std::pow(10.0, power) + 1, 'f', 0) : digits;
            QTest::newRow(qPrintable(u"1e"_s + QString::number(power))) << target << QString();
        }
        QTest::newRow("largest") << u"340282300000000000000000000000000000000"_s
                                 << u"340,282,300,000,000,000,000,000,000,000,000,000,000.00"_s;
    }

    void resultShownWhole() {
        QFETCH(QString, target);
        QFETCH(QString, shown);
        uitest::run(window.get(), u"cboMethod=Tartaric Acid;cboBatchUnits=Litres;txtBatchSize=1;"
                                  "txtExist=1;txtTarget=%1;cmdCalc"_s.arg(target));
        auto *label = c<QLabel>("lblAddition");
        if (!shown.isEmpty())
            QCOMPARE(label->text(), shown);
        QVERIFY(label->text() != u"0.00"_s);
        const qreal room = label->contentsRect().width() - label->indent();
        QVERIFY2(QFontMetricsF(label->font(), label).horizontalAdvance(label->text()) <= room,
                 qPrintable(label->text()));
        // A small result is back at the designed size.
        uitest::run(window.get(), u"txtTarget=2"_s);
        QCOMPARE(label->font().pixelSize(), twips::labelFont().pixelSize());
    }

    void noTextClipped() {
        std::unique_ptr<frmOptions> options;
        std::unique_ptr<frmAbout> about;
        const QList<QWidget *> windows = allWindows(options, about);
        QStringList clipped;
        const auto check = [&](QWidget *w, const QString &text, qreal room) {
            const qreal width = QFontMetricsF(w->font(), w).horizontalAdvance(text);
            if (!text.isEmpty() && width > room)
                clipped << u"%1 \"%2\" needs %3 px, has %4"_s.arg(
                    w->objectName(), text, QString::number(width), QString::number(room));
        };
        for (QWidget *w : windows)
            for (QWidget *child : w->findChildren<QWidget *>()) {
                const auto [text, room] = textAndRoom(child);
                check(child, text, room);
            }
        // Each entry of each list as the chosen one, in both directions.
        for (const char *direction : {"optRaise", "optLower"}) {
            for (QWidget *w : windows) {
                if (auto *option = w->findChild<QAbstractButton *>(QString::fromLatin1(direction)))
                    option->click();
                for (auto *list : w->findChildren<QComboBox *>()) {
                    for (int i = 0; i < list->count(); ++i) {
                        list->setCurrentIndex(i);
                        QStyleOptionComboBox opt;
                        opt.initFrom(list);
                        const QRect field = list->style()->subControlRect(
                            QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, list);
                        check(list, list->currentText(), field.width());
                    }
                }
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u"; "_s)));
    }

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
        std::unique_ptr<frmOptions> options;
        std::unique_ptr<frmAbout> about;
        for (QWidget *w : allWindows(options, about)) {
            const QImage shot = w->grab().toImage();
            const qreal ratio = shot.devicePixelRatio();
            for (QWidget *child : w->findChildren<QWidget *>()) {
                // Text of a control that cannot be used is exempt, as is a blank one.
                const QString text = textAndRoom(child).first.isEmpty()
                                         ? qobject_cast<QLineEdit *>(child)
                                               ? qobject_cast<QLineEdit *>(child)->text()
                                               : QString()
                                         : textAndRoom(child).first;
                if (text.isEmpty() || !child->isEnabled() || !child->isVisible())
                    continue;
                const QRect r(child->mapTo(w, QPoint(0, 0)) * ratio, child->size() * ratio);
                const double got = textContrast(shot.copy(r.adjusted(2, 2, -2, -2)));
                QVERIFY2(got >= 4.5, qPrintable(u"%1 \"%2\": %3:1"_s.arg(
                                         child->objectName(), text, QString::number(got, 'f', 2))));
            }
        }
        QApplication::setPalette(before);
    }
};

QTEST_MAIN(tst_legibility)
#include "tst_legibility.moc"
