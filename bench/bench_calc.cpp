// SPDX-License-Identifier: GPL-3.0-or-later
// One whole calculation from the window's texts: checks, arithmetic and formatting.
// Run: bench_calc            (QBENCHMARK prints time per calculation for each locale)
#include "calc/addition.h"

#include <QTest>

using namespace titrova;

class bench_calc : public QObject {
    Q_OBJECT

private slots:
    void calculation_data();
    void calculation();
};

void bench_calc::calculation_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("exist");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("batch");
    QTest::newRow("en_US acid blend") << "en_US"
                                      << "Acid Blend"
                                      << "5.00"
                                      << "6.50"
                                      << "1,234.50";
    QTest::newRow("de_DE acid blend") << "de_DE"
                                      << "Acid Blend"
                                      << "5,00"
                                      << "6,50"
                                      << "1.234,50";
    QTest::newRow("en_US blend wine") << "en_US"
                                      << "Blend Wine"
                                      << "5.00"
                                      << "6.50"
                                      << "1,234.50";
    QTest::newRow("de_DE blend wine") << "de_DE"
                                      << "Blend Wine"
                                      << "5,00"
                                      << "6,50"
                                      << "1.234,50";
}

void bench_calc::calculation() {
    QFETCH(QString, locale);
    QFETCH(QString, method);
    QFETCH(QString, exist);
    QFETCH(QString, target);
    QFETCH(QString, batch);
    QLocale::setDefault(QLocale(locale));
    calc::Inputs in;
    in.exist = exist;
    in.target = target;
    in.batchSize = batch;
    in.tartaric = QStringLiteral("50");
    in.malic = QStringLiteral("30");
    in.citric = QStringLiteral("20");
    in.blend = QStringLiteral("9");
    in.method = method;
    in.taUnits = QStringLiteral("g/L");
    in.batchUnits = QStringLiteral("U.S. Gal.");
    in.direction = catalogue::Direction::Raise;
    QString label;
    QBENCHMARK {
        label = *calc::calculate(in).addition.label;
    }
    QVERIFY(!label.isEmpty());
}

QTEST_APPLESS_MAIN(bench_calc)
#include "bench_calc.moc"
