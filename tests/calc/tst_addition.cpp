// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/addition.h"

#include <QTest>

using namespace Qt::StringLiterals;
using calc::Inputs;
using catalogue::Direction;

namespace {

// 100 litres in each batch unit, as the batch-unit list orders them.
const QStringList units = {u"Litres"_s, u"U.S. Gal."_s, u"Imp. Gal."_s, u"Hectolitres"_s};
const QStringList hundredLitres = {u"100"_s, u"26.42"_s, u"22"_s, u"1"_s};

Inputs inputs(const QString &method, const char *exist, const char *target,
              const char *taUnits = "g/L", const char *batch = "100",
              const char *batchUnits = "Litres") {
    Inputs in{QString::fromLatin1(exist),
              QString::fromLatin1(target),
              QString::fromLatin1(batch),
              u"50"_s,
              u"30"_s,
              u"20"_s,
              u"8"_s,
              method,
              QString::fromUtf8(taUnits),
              QString::fromLatin1(batchUnits)};
    in.direction = in.target.toDouble() > in.exist.toDouble() ? Direction::Raise : Direction::Lower;
    if (in.direction == Direction::Lower)
        in.blend = u"4"_s;
    return in;
}

QString shown(const Inputs &in) {
    const calc::Calculation c = calc::calculate(in);
    return c.failure ? c.failure->message : c.addition.label.value_or(u"(none)"_s);
}

} // namespace

class tst_addition : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(u"en_US"_s)); }

    // Every method, with 100 litres given in each batch unit. Worked by hand: the difference
    // x (1 / divisor, or factor) x litres; blending wine: difference / (wine - target) x
    // litres, given back in the batch unit.
    void everyMethodEveryUnit_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("exist");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("shown"); // in the order of units; one: for all
        const auto row = [](const char *method, const char *e, const char *t, const char *shown) {
            QTest::addRow("%s %s -> %s", method, e, t)
                << QString::fromLatin1(method) << QString::fromLatin1(e) << QString::fromLatin1(t)
                << QString::fromLatin1(shown).split(u' ');
        };
        row("Tartaric Acid", "5", "6", "100.00");
        row("Malic Acid", "5", "6", "89.56");
        row("Citric Acid", "5", "6", "93.27");
        row("Acid Blend", "5", "6", "95.52");
        row("Calcium Carbonate", "9", "7", "132.10");
        row("Potassium Carbonate", "9", "7", "200.79");
        row("Potassium Bicarbonate", "9", "7", "179.66");
        row("Blend Wine", "5", "6", "50.00 13.21 11.00 0.50");
        row("Blend Wine", "9", "7", "66.67 17.61 14.67 0.67");
    }

    void everyMethodEveryUnit() {
        QFETCH(QString, method);
        QFETCH(QString, exist);
        QFETCH(QString, target);
        QFETCH(QStringList, shown);
        for (qsizetype i = 0; i < units.size(); ++i) {
            const Inputs in = inputs(method, qPrintable(exist), qPrintable(target), "g/L",
                                     qPrintable(hundredLitres[i]), qPrintable(units[i]));
            QCOMPARE(::shown(in), shown.size() == 1 ? shown[0] : shown[i]);
        }
    }

    void conversions_data() {
        QTest::addColumn<Inputs>("in");
        QTest::addColumn<QString>("shown");
        const QString tartaric = u"Tartaric Acid"_s, wine = u"Blend Wine"_s;
        // Rule of thumb: 60 US gal from 8 to 6 g/L takes about 300 g of calcium carbonate.
        QTest::newRow("rule of thumb")
            << inputs(u"Calcium Carbonate"_s, "8", "6", "g/L", "60", "U.S. Gal.") << u"300.00"_s;
        QTest::newRow("unknown batch unit is litres")
            << inputs(tartaric, "5", "6", "g/L", "10", "litres") << u"10.00"_s;
        QTest::newRow("percent: a tenth of the grams")
            << inputs(tartaric, "0.55", "0.65", "%") << u"100.00"_s;
        QTest::newRow("other TA unit: nothing written")
            << inputs(tartaric, "5", "6", "g/l") << u"(none)"_s;
        Inputs in = inputs(wine, "0.5", "0.6", "%");
        in.blend = u"0.8"_s;
        QTest::newRow("wine in percent, no factor 10") << in << u"50.00"_s;
        QTest::newRow("wine in any TA unit") << inputs(wine, "5", "6", "") << u"50.00"_s;
        in = inputs(u"Acid Blend"_s, "5", "6");
        in.tartaric = u"51"_s;
        QTest::newRow("blend summing to 101 not normalised") << in << u"96.52"_s;
        // Too big for single precision: the step is abandoned and leaves its value.
        in = inputs(tartaric, "1", "1", "g/L", "100");
        in.direction = Direction::Raise, in.target = u"1"_s + QString(37, u'0');
        QTest::newRow("product overflows: 0.00") << in << u"0.00"_s;
        in.taUnits = u"%"_s, in.batchSize = u"1"_s, in.target = u"1"_s + QString(38, u'0');
        QTest::newRow("grams overflow: nothing written") << in << u"(none)"_s;
        in = inputs(tartaric, "5", "6", "g/L", (QByteArray("3") + QByteArray(38, '0')).constData(),
                    "U.S. Gal.");
        QTest::newRow("litres overflow: gallons kept")
            << in << u"300,000,000,000,000,000,000,000,000,000,000,000,000.00"_s;
        in = inputs(tartaric, "6", "5");
        in.direction = Direction::Raise;
        QTest::newRow("a failed check: no arithmetic")
            << in << u"Target TA must be greater than existing TA."_s;
    }

    void conversions() {
        QFETCH(Inputs, in);
        QFETCH(QString, shown);
        QCOMPARE(::shown(in), shown);
    }

    void germanLocale() {
        QLocale::setDefault(QLocale(u"de_DE"_s));
        const QString got = shown(inputs(u"Tartaric Acid"_s, "5", "15", "g/L", "123456,78"));
        QLocale::setDefault(QLocale(u"en_US"_s));
        QCOMPARE(got, u"1.234.568,00"_s);
    }
};

QTEST_APPLESS_MAIN(tst_addition)
#include "tst_addition.moc"
