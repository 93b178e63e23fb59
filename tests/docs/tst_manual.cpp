// SPDX-License-Identifier: GPL-3.0-or-later
// Every worked example of the user manual, run through the calculation: the manual must show
// what the program shows.
#include "calc/addition.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using calc::Inputs;

class tst_manual : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }

    void examples_data() {
        QTest::addColumn<Inputs>("in");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("isMessage");

        QFile file(QStringLiteral(TITROVA_MANUAL));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QString html = QString::fromUtf8(file.readAll());
        static const QRegularExpression example(
            QStringLiteral("<(div|tr) class=\"example\"([^>]*)>(.*?)</\\1>"),
            QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression attribute(QStringLiteral("data-([a-z-]+)=\"([^\"]*)\""));
        static const QRegularExpression output(
            QStringLiteral("<output( class=\"message\")?>(.*?)</output>"),
            QRegularExpression::DotMatchesEverythingOption);

        int count = 0;
        for (const auto &m : example.globalMatch(html)) {
            QHash<QString, QString> data;
            for (const auto &a : attribute.globalMatch(m.captured(2)))
                data.insert(a.captured(1), a.captured(2));
            Inputs in;
            in.exist = data.value(QStringLiteral("exist"));
            in.target = data.value(QStringLiteral("target"));
            in.batchSize = data.value(QStringLiteral("batch-size"));
            in.batchUnits = data.value(QStringLiteral("batch-units"));
            in.taUnits = data.value(QStringLiteral("ta-units"));
            in.method = data.value(QStringLiteral("method"));
            in.blend = data.value(QStringLiteral("blend"));
            const QStringList shares =
                data.value(QStringLiteral("shares"), QStringLiteral("0 0 0")).split(u' ');
            QCOMPARE(shares.size(), 3);
            in.tartaric = shares[0];
            in.malic = shares[1];
            in.citric = shares[2];
            in.direction = data.value(QStringLiteral("direction")) == QStringLiteral("raise")
                               ? catalogue::Direction::Raise
                               : catalogue::Direction::Lower;
            const auto shown = output.match(m.captured(3));
            QVERIFY2(shown.hasMatch(), qPrintable(m.captured(0)));
            const QString name =
                QStringLiteral("%1 %2 -> %3 in %4 %5")
                    .arg(in.method, in.exist, in.target, in.batchSize, in.batchUnits);
            QTest::newRow(qPrintable(name))
                << in << shown.captured(2).simplified() << shown.hasCaptured(1);
            ++count;
        }
        QVERIFY2(count >= 20, qPrintable(QStringLiteral("only %1 examples found").arg(count)));
    }

    void examples() {
        QFETCH(Inputs, in);
        QFETCH(QString, shown);
        QFETCH(bool, isMessage);
        const calc::Calculation c = calc::calculate(in);
        if (isMessage) {
            QVERIFY(c.failure);
            QCOMPARE(c.failure->message, shown);
        } else {
            QVERIFY2(!c.failure, c.failure ? qPrintable(c.failure->message) : "");
            QCOMPARE(c.addition.label.value_or(QString()), shown);
        }
    }
};

QTEST_GUILESS_MAIN(tst_manual)
#include "tst_manual.moc"
