// SPDX-License-Identifier: GPL-3.0-or-later
// Every worked example of the user manual, run through the calculation: the manual must show
// what the program shows.
#include "calc/addition.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using calc::Inputs;
using namespace Qt::StringLiterals;

class tst_manual : public QObject {
    Q_OBJECT

private slots:
    void examples_data() {
        QLocale::setDefault(QLocale(u"en_US"_s));
        QTest::addColumn<Inputs>("in");
        QTest::addColumn<QString>("shown"); // the result label, or the refusing check's message
        QTest::addColumn<QString>("raw");   // the unrounded figure, where the manual gives one

        QFile file(QStringLiteral(TITROVA_MANUAL));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QString html = QString::fromUtf8(file.readAll());
        static const QRegularExpression example(u"<(div|tr) class=\"example\"([^>]*)>(.*?)</\\1>"_s,
                                                QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression attribute(u"data-([a-z-]+)=\"([^\"]*)\""_s);
        static const QRegularExpression output(u"<output[^>]*>(.*?)</output>"_s,
                                               QRegularExpression::DotMatchesEverythingOption);
        qsizetype rows = 0;
        for (const auto &m : example.globalMatch(html)) {
            QHash<QString, QString> d;
            for (const auto &a : attribute.globalMatch(m.captured(2)))
                d.insert(a.captured(1), a.captured(2));
            const QStringList shares = d.value(u"shares"_s, u"0 0 0"_s).split(u' ');
            const auto shown = output.match(m.captured(3));
            QVERIFY2(shares.size() == 3 && shown.hasMatch(), qPrintable(m.captured(0)));
            const Inputs in{d[u"exist"_s],
                            d[u"target"_s],
                            d[u"batch-size"_s],
                            shares[0],
                            shares[1],
                            shares[2],
                            d[u"blend"_s],
                            d[u"method"_s],
                            d[u"ta-units"_s],
                            d[u"batch-units"_s],
                            d[u"direction"_s] == u"raise"_s ? catalogue::Direction::Raise
                                                            : catalogue::Direction::Lower};
            QTest::newRow(qPrintable(in.method + u' ' + in.exist + u" -> "_s + in.target + u' ' +
                                     in.taUnits + u", "_s + in.batchSize + u' ' + in.batchUnits))
                << in << shown.captured(1).simplified() << d.value(u"raw"_s);
            ++rows;
        }
        // None skipped because its markup drifted from what is read here.
        QVERIFY(rows >= 20 && rows == html.count(u"class=\"example\""_s));
    }

    void examples() {
        QFETCH(Inputs, in);
        QFETCH(QString, shown);
        QFETCH(QString, raw);
        const calc::Calculation c = calc::calculate(in);
        QCOMPARE(c.failure ? c.failure->message : c.addition.label.value_or(QString()), shown);
        if (!raw.isEmpty())
            QCOMPARE(QString::number(c.addition.result, 'g', 7), raw);
    }
};

QTEST_GUILESS_MAIN(tst_manual)
#include "tst_manual.moc"
