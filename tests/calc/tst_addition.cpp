// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/addition.h"

#include <QTest>

using calc::Inputs;
using catalogue::Direction;

class tst_addition : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void label_data();
    void label();
    void germanLocale();
    void overflow();
    void checksGateTheArithmetic();
};

namespace {

Inputs inputs(const QString &method, const QString &units, const char *exist, const char *target,
              const char *batch, const QString &batchUnits) {
    Inputs in;
    in.method = method;
    in.taUnits = units;
    in.exist = QString::fromLatin1(exist);
    in.target = QString::fromLatin1(target);
    in.batchSize = QString::fromLatin1(batch);
    in.batchUnits = batchUnits;
    in.direction = in.target.toDouble() > in.exist.toDouble() ? Direction::Raise : Direction::Lower;
    in.tartaric = QStringLiteral("50");
    in.malic = QStringLiteral("30");
    in.citric = QStringLiteral("20");
    return in;
}

const QString gl = QStringLiteral("g/L");
const QString pct = QStringLiteral("%");
const QString litres = QStringLiteral("Litres");
const QString usGal = QStringLiteral("U.S. Gal.");
const QString impGal = QStringLiteral("Imp. Gal.");
const QString hl = QStringLiteral("Hectolitres");
const QString tartaric = QStringLiteral("Tartaric Acid");
const QString malic = QStringLiteral("Malic Acid");
const QString citric = QStringLiteral("Citric Acid");
const QString blend = QStringLiteral("Acid Blend");
const QString wine = QStringLiteral("Blend Wine");
const QString caco3 = QStringLiteral("Calcium Carbonate");
const QString k2co3 = QStringLiteral("Potassium Carbonate");
const QString khco3 = QStringLiteral("Potassium Bicarbonate");

} // namespace

void tst_addition::label_data() {
    QTest::addColumn<Inputs>("in");
    QTest::addColumn<QString>("label");

    // Figures worked by hand: difference x (1 / divisor or factor) x litres.
    QTest::newRow("tartaric 100 L") << inputs(tartaric, gl, "5", "6.5", "100", litres) << "150.00";
    QTest::newRow("tartaric 26.42 US gal")
        << inputs(tartaric, gl, "5", "6.5", "26.42", usGal) << "150.00";
    QTest::newRow("tartaric 5 US gal") << inputs(tartaric, gl, "5", "6", "5", usGal) << "18.93";
    QTest::newRow("tartaric 22 imp gal")
        << inputs(tartaric, gl, "5", "6", "22", impGal) << "100.00";
    QTest::newRow("tartaric 2 hl") << inputs(tartaric, gl, "5", "6", "2", hl) << "200.00";
    QTest::newRow("unknown unit is litres")
        << inputs(tartaric, gl, "5", "6", "10", QStringLiteral("litres")) << "10.00";
    QTest::newRow("malic 10 L") << inputs(malic, gl, "5", "6", "10", litres) << "8.96";
    QTest::newRow("malic 1000 L") << inputs(malic, gl, "6", "7", "1000", litres) << "895.58";
    QTest::newRow("citric 10 L") << inputs(citric, gl, "5", "6", "10", litres) << "9.33";
    QTest::newRow("blend 50/30/20") << inputs(blend, gl, "5", "6", "100", litres) << "95.52";
    Inputs in = inputs(blend, gl, "5", "6", "100", litres);
    in.tartaric = QStringLiteral("51");
    QTest::newRow("blend sum 101 not normalised") << in << "96.52";
    in.tartaric = QStringLiteral("100"), in.malic = in.citric = QStringLiteral("0");
    QTest::newRow("blend 100/0/0 = tartaric") << in << "100.00";
    in.tartaric = in.citric = QStringLiteral("0"), in.malic = QStringLiteral("100");
    QTest::newRow("blend 0/100/0 = malic") << in << "89.56";
    QTest::newRow("calcium carbonate") << inputs(caco3, gl, "9", "7", "100", litres) << "132.10";
    QTest::newRow("potassium carbonate") << inputs(k2co3, gl, "9", "7", "100", litres) << "200.79";
    QTest::newRow("potassium bicarbonate")
        << inputs(khco3, gl, "9", "7", "100", litres) << "179.66";
    QTest::newRow("bicarbonate 60 imp gal")
        << inputs(khco3, gl, "8", "6.5", "60", impGal) << "367.48";
    // Rule of thumb: 60 US gal from 8 to 6 g/L takes about 300 g of calcium carbonate.
    QTest::newRow("rule of thumb") << inputs(caco3, gl, "8", "6", "60", usGal) << "300.00";
    QTest::newRow("percent tartaric")
        << inputs(tartaric, pct, "0.55", "0.65", "100", litres) << "100.00";
    QTest::newRow("percent calcium") << inputs(caco3, pct, "0.9", "0.7", "100", litres) << "132.10";
    QTest::newRow("unknown TA unit writes nothing")
        << inputs(tartaric, QStringLiteral("g/l"), "5", "6", "1", litres) << QString();
    QTest::newRow("half rounds away") << inputs(tartaric, gl, "5", "5.125", "1", litres) << "0.13";
    QTest::newRow("seven digits") << inputs(tartaric, gl, "5", "15", "123456.78", litres)
                                  << "1,234,568.00";

    const auto wineIn = [](const char *e, const char *t, const char *b, const char *v,
                           const QString &u, const QString &units) {
        Inputs w = inputs(wine, units, e, t, v, u);
        w.blend = QString::fromLatin1(b);
        return w;
    };
    QTest::newRow("wine raise 100 L") << wineIn("5", "6", "8", "100", litres, gl) << "50.00";
    QTest::newRow("wine raise 100 US gal") << wineIn("5", "6", "8", "100", usGal, gl) << "50.00";
    QTest::newRow("wine raise 2 hl") << wineIn("5", "6", "8", "2", hl, gl) << "1.00";
    QTest::newRow("wine raise 22 imp gal") << wineIn("5", "6", "8", "22", impGal, gl) << "11.00";
    QTest::newRow("wine lower") << wineIn("9", "7", "4", "100", litres, gl) << "66.67";
    QTest::newRow("wine percent, no factor 10")
        << wineIn("0.5", "0.6", "0.8", "100", litres, pct) << "50.00";
    QTest::newRow("wine any TA unit") << wineIn("5", "6", "8", "100", litres, QString()) << "50.00";
}

void tst_addition::label() {
    QFETCH(Inputs, in);
    QFETCH(QString, label);
    const calc::Calculation c = calc::calculate(in);
    QVERIFY2(!c.failure, c.failure ? qPrintable(c.failure->message) : "");
    QCOMPARE(c.addition.label.value_or(QString()), label);
    QCOMPARE(c.addition.label.has_value(), !label.isEmpty());
}

void tst_addition::germanLocale() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    const auto c = calc::calculate(inputs(tartaric, gl, "5", "15", "123456,78", litres));
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QVERIFY(!c.failure);
    QCOMPARE(*c.addition.label, QStringLiteral("1.234.568,00"));
}

void tst_addition::overflow() {
    // The product overflows single precision: the step is abandoned and 0.00 shows.
    Inputs in = inputs(tartaric, gl, "1", "1", "100", litres);
    in.direction = Direction::Raise;
    in.target = QStringLiteral("1") + QString(37, u'0');
    auto c = calc::calculate(in);
    QVERIFY(!c.failure);
    QCOMPARE(*c.addition.label, QStringLiteral("0.00"));

    // r fits, r x 10 does not: the label keeps what it had.
    in = inputs(tartaric, pct, "1", "1", "1", litres);
    in.direction = Direction::Raise;
    in.target = QStringLiteral("1") + QString(38, u'0');
    c = calc::calculate(in);
    QVERIFY(!c.failure);
    QVERIFY(!c.addition.label);

    // The batch does not fit in litres: it stays in gallons, as entered.
    in = inputs(tartaric, gl, "5", "6", "1", usGal);
    in.batchSize = QStringLiteral("3") + QString(38, u'0');
    QCOMPARE(*calc::calculate(in).addition.label,
             QStringLiteral("300,000,000,000,000,000,000,000,000,000,000,000,000.00"));
}

void tst_addition::checksGateTheArithmetic() {
    Inputs in = inputs(tartaric, gl, "6", "5", "100", litres);
    in.direction = Direction::Raise;
    const auto c = calc::calculate(in);
    QVERIFY(c.failure);
    QCOMPARE(c.failure->number, 10);
    QVERIFY(!c.addition.label);
}

QTEST_APPLESS_MAIN(tst_addition)
#include "tst_addition.moc"
