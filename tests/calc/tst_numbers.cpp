// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numbers.h"

#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

class tst_numbers : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void singleOverflow();
    void standardFromSingle_data();
    void standardFromSingle();
    void standardFromDouble_data();
    void standardFromDouble();
    void whole_data();
    void whole();
    void roundTrip_data();
    void roundTrip();
    void plain_data();
    void plain();
};

void tst_numbers::parse_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << "en_US"
                           << "6.5" << true << 6.5;
    QTest::newRow("blanks around") << "en_US"
                                   << "  5 " << true << 5.0;
    QTest::newRow("grouped") << "en_US"
                             << "1,234.50" << true << 1234.5;
    QTest::newRow("two groups") << "en_US"
                                << "1,234,567" << true << 1234567.0;
    QTest::newRow("lone fraction") << "en_US"
                                   << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "en_US"
                                    << "5." << true << 5.0;
    QTest::newRow("pasted negative") << "en_US"
                                     << "-3" << true << -3.0;
    QTest::newRow("comma as decimal in English") << "en_US"
                                                 << "1,5" << false << 0.0;
    QTest::newRow("short group") << "en_US"
                                 << "12,34" << false << 0.0;
    QTest::newRow("group after point") << "en_US"
                                       << "1.234,5" << false << 0.0;
    QTest::newRow("leading separator") << "en_US"
                                       << ",123" << false << 0.0;
    QTest::newRow("empty") << "en_US"
                           << "" << false << 0.0;
    QTest::newRow("blanks only") << "en_US"
                                 << "   " << false << 0.0;
    QTest::newRow("letters") << "en_US"
                             << "abc" << false << 0.0;
    QTest::newRow("lone point") << "en_US"
                                << "." << false << 0.0;
    QTest::newRow("exponent") << "en_US"
                              << "1e5" << false << 0.0;
    QTest::newRow("two numbers") << "en_US"
                                 << "5 6" << false << 0.0;
    QTest::newRow("blank inside sign") << "en_US"
                                       << "- 5" << false << 0.0;
    QTest::newRow("German grouped") << "de_DE"
                                    << "1.234,50" << true << 1234.5;
    QTest::newRow("German decimal") << "de_DE"
                                    << "6,5" << true << 6.5;
    QTest::newRow("English decimal in German") << "de_DE"
                                               << "6.5" << false << 0.0;
    QTest::newRow("Indian grouping") << "hi_IN"
                                     << "12,34,567.50" << true << 1234567.5;
    QTest::newRow("Western grouping in Indian") << "hi_IN"
                                                << "1,234,567.50" << true << 1234567.5;
    QTest::newRow("Swiss apostrophe") << "de_CH" << u"1\u2019234.50"_s << true << 1234.5;
    QTest::newRow("French narrow space") << "fr_FR" << u"1\u202f234,5"_s << true << 1234.5;
    QTest::newRow("Arabic digits") << "ar_EG" << u"\u0666\u066b\u0665"_s << true << 6.5;
    QTest::newRow("typed point in Arabic") << "ar_EG"
                                           << "6.5" << true << 6.5;
    QTest::newRow("huge but a double") << "en_US" << QString(40, u'9') << true << 1e40;
    QTest::newRow("beyond a double") << "en_US" << QString(400, u'9') << false << 0.0;
}

void tst_numbers::parse() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    const QLocale l(locale);
    const auto d = numbers::toDouble(text, l);
    QCOMPARE(d.has_value(), numeric);
    QCOMPARE(numbers::isNumeric(text, l), numeric);
    if (numeric)
        QCOMPARE(*d, value);
    // The numeric test and the single conversion agree wherever the value fits.
    if (numeric && std::fabs(value) < 3e38)
        QVERIFY(numbers::toSingle(text, l).has_value());
    if (!numeric)
        QVERIFY(!numbers::toSingle(text, l).has_value());
}

void tst_numbers::singleOverflow() {
    const QLocale en(QStringLiteral("en_US"));
    // Forty digits are numeric, but no single holds them.
    QVERIFY(numbers::isNumeric(QString(40, u'9'), en));
    QVERIFY(!numbers::toSingle(QString(40, u'9'), en));
    QCOMPARE(*numbers::toSingle(u"1"_s + QString(37, u'0'), en), 1e37f);
    // Too small rounds to zero rather than failing.
    QCOMPARE(*numbers::toSingle(u"0."_s + QString(60, u'0') + u"1"_s, en), 0.0f);
    float out = 7.0f;
    QVERIFY(!numbers::storeSingle(1e39, out));
    QCOMPARE(out, 7.0f);
    QVERIFY(!numbers::storeSingle(std::nan(""), out));
    QVERIFY(numbers::storeSingle(3.4028234e38, out));
}

void tst_numbers::standardFromSingle_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << "en_US" << 0.0f << "0.00";
    QTest::newRow("exact half rounds away") << "en_US" << 0.125f << "0.13";
    QTest::newRow("seven digits first") << "en_US" << 1234567.75f << "1,234,568.00";
    QTest::newRow("just under 100") << "en_US" << 99.99996f << "100.00";
    QTest::newRow("malic") << "en_US" << 8.955758f << "8.96";
    QTest::newRow("German") << "de_DE" << 1234.5f << "1.234,50";
    QTest::newRow("Indian") << "hi_IN" << 1234567.0f << "12,34,567.00";
    QTest::newRow("Swiss") << "de_CH" << 1234.5f << u"1\u2019234.50"_s;
    QTest::newRow("huge") << "en_US" << 1e37f
                          << "10,000,000,000,000,000,000,000,000,000,000,000,000.00";
    QTest::newRow("tiny") << "en_US" << 0.004999f << "0.00";
    QTest::newRow("negative") << "en_US" << -1.5f << "-1.50";
    QTest::newRow("negative rounds to zero") << "en_US" << -0.001f << "0.00";
}

void tst_numbers::standardFromSingle() {
    QFETCH(QString, locale);
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(numbers::standardFromSingle(value, QLocale(locale)), text);
}

void tst_numbers::standardFromDouble_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("step up") << "en_US" << 3.45 + 0.1 << "3.55";
    QTest::newRow("step down") << "en_US" << 3.45 - 0.1 << "3.35";
    QTest::newRow("below zero") << "en_US" << 0.05 - 0.1 << "-0.05";
    QTest::newRow("grouping appears") << "en_US" << 999.0 + 1.0 << "1,000.00";
    QTest::newRow("decimal half") << "en_US" << 1.005 << "1.01";
    QTest::newRow("German") << "de_DE" << 6.5 << "6,50";
    QTest::newRow("Arabic digits") << "ar_EG" << 6.5 << u"\u0666\u066b\u0665\u0660"_s;
}

void tst_numbers::standardFromDouble() {
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(numbers::standardFromDouble(value, QLocale(locale)), text);
}

void tst_numbers::whole_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero is empty") << 0.0 << "";
    QTest::newRow("rounds to zero") << 0.4 << "";
    QTest::newRow("fraction lost") << 5.4 << "5";
    QTest::newRow("half away") << 2.5 << "3";
    QTest::newRow("hundred") << 100.0 << "100";
    QTest::newRow("no grouping") << 12345.0 << "12345";
}

void tst_numbers::whole() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(numbers::wholeFromDouble(value, QLocale(QStringLiteral("en_US"))), text);
}

void tst_numbers::roundTrip_data() {
    QTest::addColumn<QString>("locale");
    for (const char *name :
         {"en_US", "de_DE", "fr_FR", "de_CH", "hi_IN", "ar_EG", "fa_IR", "sv_SE"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_numbers::roundTrip() {
    QFETCH(QString, locale);
    const QLocale l(locale);
    for (double v : {0.0, 0.05, 6.5, 999.99, 1234.5, 1234567.25, 98765432.1, -42.75}) {
        const QString text = numbers::standardFromDouble(v, l);
        const auto back = numbers::toDouble(text, l);
        QVERIFY2(back.has_value(), qPrintable(text));
        QCOMPARE(*back, std::round(v * 100) / 100);
        const QString whole = numbers::wholeFromDouble(v, l);
        if (!whole.isEmpty())
            QCOMPARE(*numbers::toDouble(whole, l), std::round(v));
    }
}

void tst_numbers::plain_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole") << 5.0f << "5";
    QTest::newRow("fraction") << 1234.5f << "1234.5";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("seven digits") << 0.1f << "0.1";
    QTest::newRow("no exponent") << 1e10f << "10000000000";
    QTest::newRow("small") << 0.00001f << "0.00001";
    QTest::newRow("negative") << -2.5f << "-2.5";
}

void tst_numbers::plain() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(numbers::plainFromSingle(value), text);
}

QTEST_APPLESS_MAIN(tst_numbers)
#include "tst_numbers.moc"
