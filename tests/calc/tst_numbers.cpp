// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numbers.h"

#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

class tst_numbers : public QObject {
    Q_OBJECT

    enum Format { Single, Double, Whole, Plain };

private slots:
    void parse_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value"); // NaN: not numeric
        const auto row = [](const char *name, const char *locale, QStringView text, double value) {
            QTest::newRow(name) << QString::fromLatin1(locale) << text.toString() << value;
        };
        const double no = std::nan("");

        row("plain", "en_US", u"6.5", 6.5);
        row("blanks around", "en_US", u"  5 ", 5.0);
        row("grouped", "en_US", u"1,234.50", 1234.5);
        row("lone fraction", "en_US", u".5", 0.5);
        row("trailing point", "en_US", u"5.", 5.0);
        row("pasted negative", "en_US", u"-3", -3.0);
        row("comma as decimal in English", "en_US", u"1,5", no);
        row("group after point", "en_US", u"1.234,5", no);
        row("leading separator", "en_US", u",123", no);
        row("empty", "en_US", u"", no);
        row("blanks only", "en_US", u"   ", no);
        row("lone point", "en_US", u".", no);
        row("exponent", "en_US", u"1e5", no);
        row("two numbers", "en_US", u"5 6", no);
        row("blank inside sign", "en_US", u"- 5", no);
        row("German grouped", "de_DE", u"1.234,50", 1234.5);
        row("English decimal in German", "de_DE", u"6.5", no);
        row("Indian grouping", "hi_IN", u"12,34,567.50", 1234567.5);
        row("Western grouping in Indian", "hi_IN", u"1,234,567.50", 1234567.5);
        row("Swiss apostrophe", "de_CH", u"1\u2019234.50", 1234.5);
        row("French narrow space", "fr_FR", u"1\u202f234,5", 1234.5);
        row("Arabic digits", "ar_EG", u"\u0666\u066b\u0665", 6.5);
        row("typed point in Arabic", "ar_EG", u"6.5", 6.5);
        row("huge but a double", "en_US", QString(40, u'9'), 1e40);
        row("beyond a double", "en_US", QString(400, u'9'), no);
    }

    void parse() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, value);
        const QLocale l(locale);
        const bool numeric = !std::isnan(value);
        const auto d = numbers::toDouble(text, l);
        QCOMPARE(d.has_value(), numeric);
        QCOMPARE(numbers::isNumeric(text, l), numeric);
        if (numeric)
            QCOMPARE(*d, value);
        // The numeric test and the single conversion agree wherever the value fits.
        QCOMPARE(numbers::toSingle(text, l).has_value(), numeric && std::fabs(value) < 3e38);
    }

    void singleOverflow() {
        const QLocale en(u"en_US"_s);
        QCOMPARE(*numbers::toSingle(u"1"_s + QString(37, u'0'), en), 1e37f);
        // Too small rounds to zero rather than failing.
        QCOMPARE(*numbers::toSingle(u"0."_s + QString(60, u'0') + u"1"_s, en), 0.0f);
        float out = 7.0f;
        QVERIFY(!numbers::storeSingle(1e39, out));
        QCOMPARE(out, 7.0f);
        QVERIFY(!numbers::storeSingle(std::nan(""), out));
        QVERIFY(numbers::storeSingle(3.4028234e38, out));
    }

    void format_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, Format f, const char *locale, double v,
                            QStringView t) {
            QTest::newRow(name) << int(f) << QString::fromLatin1(locale) << v << t.toString();
        };

        // Standard format of a single: seven significant digits first, then two decimals.
        row("exact half rounds away", Single, "en_US", 0.125, u"0.13");
        row("seven digits first", Single, "en_US", 1234567.75, u"1,234,568.00");
        row("just under 100", Single, "en_US", 99.99996, u"100.00");
        row("Indian", Single, "hi_IN", 1234567.0, u"12,34,567.00");
        row("huge", Single, "en_US", 1e37,
            u"10,000,000,000,000,000,000,000,000,000,000,000,000.00");
        row("negative", Single, "en_US", -1.5, u"-1.50");
        row("negative rounds to zero", Single, "en_US", -0.001, u"0.00");
        // Of a double: rounded on its shortest decimal form.
        row("step up", Double, "en_US", 3.45 + 0.1, u"3.55");
        row("step down", Double, "en_US", 3.45 - 0.1, u"3.35");
        row("below zero", Double, "en_US", 0.05 - 0.1, u"-0.05");
        row("decimal half", Double, "en_US", 1.005, u"1.01");
        row("Arabic digits", Double, "ar_EG", 6.5, u"\u0666\u066b\u0665\u0660");
        // Whole numbers: zero is empty, no grouping.
        row("whole zero is empty", Whole, "en_US", 0.0, u"");
        row("whole half away", Whole, "en_US", 2.5, u"3");
        row("whole no grouping", Whole, "en_US", 12345.0, u"12345");
        // Plain, for the file: point, no grouping, no exponent, no trailing zeros.
        row("plain fraction", Plain, "C", 1234.5, u"1234.5");
        row("plain seven digits", Plain, "C", 0.1, u"0.1");
        row("plain no exponent", Plain, "C", 1e10, u"10000000000");
    }

    void format() {
        QFETCH(int, format);
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        const QLocale l(locale);
        switch (Format(format)) {
        case Single:
            QCOMPARE(numbers::standardFromSingle(float(value), l), text);
            break;
        case Double:
            QCOMPARE(numbers::standardFromDouble(value, l), text);
            break;
        case Whole:
            QCOMPARE(numbers::wholeFromDouble(value, l), text);
            break;
        case Plain:
            QCOMPARE(numbers::plainFromSingle(float(value)), text);
            break;
        }
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("locale");
        for (const char *name :
             {"en_US", "de_DE", "fr_FR", "de_CH", "hi_IN", "ar_EG", "fa_IR", "sv_SE"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void roundTrip() {
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
};

QTEST_APPLESS_MAIN(tst_numbers)
#include "tst_numbers.moc"
