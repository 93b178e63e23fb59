// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/addition.h"

#include <QTest>

using calc::Inputs;
using catalogue::Direction;

namespace {

Inputs inputs(const char *method, const char *units, const char *exist, const char *target,
              const char *batch, const char *batchUnits, const char *blend = "") {
    Inputs in;
    in.method = QString::fromLatin1(method);
    in.taUnits = QString::fromUtf8(units);
    in.exist = QString::fromLatin1(exist);
    in.target = QString::fromLatin1(target);
    in.batchSize = QString::fromLatin1(batch);
    in.batchUnits = QString::fromLatin1(batchUnits);
    in.blend = QString::fromLatin1(blend);
    in.direction = in.target.toDouble() > in.exist.toDouble() ? Direction::Raise : Direction::Lower;
    in.tartaric = QStringLiteral("50");
    in.malic = QStringLiteral("30");
    in.citric = QStringLiteral("20");
    return in;
}

} // namespace

class tst_addition : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void label_data() {
        QTest::addColumn<Inputs>("in");
        QTest::addColumn<QString>("label");
        const auto row = [](const char *name, const Inputs &in, const char *label) {
            QTest::newRow(name) << in << QString::fromLatin1(label);
        };

        // Figures worked by hand: difference x (1 / divisor or factor) x litres.
        row("tartaric 100 L", inputs("Tartaric Acid", "g/L", "5", "6.5", "100", "Litres"),
            "150.00");
        row("tartaric 5 US gal", inputs("Tartaric Acid", "g/L", "5", "6", "5", "U.S. Gal."),
            "18.93");
        row("tartaric 22 imp gal", inputs("Tartaric Acid", "g/L", "5", "6", "22", "Imp. Gal."),
            "100.00");
        row("tartaric 2 hl", inputs("Tartaric Acid", "g/L", "5", "6", "2", "Hectolitres"),
            "200.00");
        row("unknown unit is litres", inputs("Tartaric Acid", "g/L", "5", "6", "10", "litres"),
            "10.00");
        row("malic", inputs("Malic Acid", "g/L", "6", "7", "1000", "Litres"), "895.58");
        row("citric", inputs("Citric Acid", "g/L", "5", "6", "10", "Litres"), "9.33");
        row("blend 50/30/20", inputs("Acid Blend", "g/L", "5", "6", "100", "Litres"), "95.52");
        Inputs in = inputs("Acid Blend", "g/L", "5", "6", "100", "Litres");
        in.tartaric = QStringLiteral("51");
        row("blend sum 101 not normalised", in, "96.52");
        row("calcium carbonate", inputs("Calcium Carbonate", "g/L", "9", "7", "100", "Litres"),
            "132.10");
        row("potassium carbonate", inputs("Potassium Carbonate", "g/L", "9", "7", "100", "Litres"),
            "200.79");
        row("potassium bicarbonate",
            inputs("Potassium Bicarbonate", "g/L", "9", "7", "100", "Litres"), "179.66");
        // Rule of thumb: 60 US gal from 8 to 6 g/L takes about 300 g of calcium carbonate.
        row("rule of thumb", inputs("Calcium Carbonate", "g/L", "8", "6", "60", "U.S. Gal."),
            "300.00");
        row("percent", inputs("Tartaric Acid", "%", "0.55", "0.65", "100", "Litres"), "100.00");
        row("unknown TA unit writes nothing",
            inputs("Tartaric Acid", "g/l", "5", "6", "1", "Litres"), "");
        // Blend wine: a volume in the batch's own units.
        row("wine raise", inputs("Blend Wine", "g/L", "5", "6", "100", "Litres", "8"), "50.00");
        row("wine raise 2 hl", inputs("Blend Wine", "g/L", "5", "6", "2", "Hectolitres", "8"),
            "1.00");
        row("wine lower", inputs("Blend Wine", "g/L", "9", "7", "100", "Litres", "4"), "66.67");
        row("wine percent, no factor 10",
            inputs("Blend Wine", "%", "0.5", "0.6", "100", "Litres", "0.8"), "50.00");
        row("wine any TA unit", inputs("Blend Wine", "", "5", "6", "100", "Litres", "8"), "50.00");
    }

    void label() {
        QFETCH(Inputs, in);
        QFETCH(QString, label);
        const calc::Calculation c = calc::calculate(in);
        QVERIFY2(!c.failure, c.failure ? qPrintable(c.failure->message) : "");
        QCOMPARE(c.addition.label.value_or(QString()), label);
        QCOMPARE(c.addition.label.has_value(), !label.isEmpty());
    }

    void germanLocale() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const auto c =
            calc::calculate(inputs("Tartaric Acid", "g/L", "5", "15", "123456,78", "Litres"));
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        QVERIFY(!c.failure);
        QCOMPARE(*c.addition.label, QStringLiteral("1.234.568,00"));
    }

    void overflow() {
        // The product overflows single precision: the step is abandoned and 0.00 shows.
        Inputs in = inputs("Tartaric Acid", "g/L", "1", "1", "100", "Litres");
        in.direction = Direction::Raise;
        in.target = QStringLiteral("1") + QString(37, u'0');
        QCOMPARE(*calc::calculate(in).addition.label, QStringLiteral("0.00"));
        // r fits, r x 10 does not: no label.
        in.taUnits = QStringLiteral("%"), in.batchSize = QStringLiteral("1");
        in.target = QStringLiteral("1") + QString(38, u'0');
        QVERIFY(!calc::calculate(in).addition.label);
        // The batch does not fit in litres: it stays in gallons, as entered.
        in = inputs("Tartaric Acid", "g/L", "5", "6", "1", "U.S. Gal.");
        in.batchSize = QStringLiteral("3") + QString(38, u'0');
        QCOMPARE(*calc::calculate(in).addition.label,
                 QStringLiteral("300,000,000,000,000,000,000,000,000,000,000,000,000.00"));
    }

    void checksGateTheArithmetic() {
        Inputs in = inputs("Tartaric Acid", "g/L", "6", "5", "100", "Litres");
        in.direction = Direction::Raise;
        const auto c = calc::calculate(in);
        QCOMPARE(c.failure ? c.failure->number : 0, 10);
        QVERIFY(!c.addition.label);
    }
};

QTEST_APPLESS_MAIN(tst_addition)
#include "tst_addition.moc"
