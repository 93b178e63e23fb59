// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/checks.h"

#include <QTest>

using calc::Field;
using calc::Inputs;
using catalogue::Direction;

namespace {

// A raise by tartaric acid that passes every check; rows change what they test.
Inputs sound() {
    Inputs in;
    in.exist = QStringLiteral("5.00");
    in.target = QStringLiteral("6.00");
    in.batchSize = QStringLiteral("5.00");
    in.tartaric = QStringLiteral("100");
    in.malic = QStringLiteral("0");
    in.citric = QStringLiteral("0");
    in.method = QStringLiteral("Tartaric Acid");
    in.taUnits = QStringLiteral("g/L");
    in.batchUnits = QStringLiteral("Litres");
    in.direction = Direction::Raise;
    return in;
}

Inputs blend(const char *t, const char *m, const char *c) {
    Inputs in = sound();
    in.method = QStringLiteral("Acid Blend");
    in.tartaric = QString::fromLatin1(t);
    in.malic = QString::fromLatin1(m);
    in.citric = QString::fromLatin1(c);
    return in;
}

Inputs wine(Direction direction, const char *target, const char *b) {
    Inputs in = sound();
    in.method = QStringLiteral("Blend Wine");
    in.direction = direction;
    in.exist = direction == Direction::Raise ? QStringLiteral("5") : QStringLiteral("9");
    in.target = QString::fromLatin1(target);
    in.blend = QString::fromLatin1(b);
    return in;
}

} // namespace

class tst_checks : public QObject {
    Q_OBJECT

private slots:
    void firstFailure_data();
    void firstFailure();
};

void tst_checks::firstFailure_data() {
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<int>("number"); // 0: every check passes
    QTest::addColumn<QString>("message");
    QTest::addColumn<Field>("field");

    Inputs in;
    QTest::newRow("all empty: only the first")
        << in << 1 << "Please enter existing TA." << Field::Exist;
    in = sound(), in.exist = QStringLiteral("abc");
    QTest::newRow("letters") << in << 2 << "Existing TA must be numeric." << Field::Exist;
    in.exist = QStringLiteral("   ");
    QTest::newRow("blanks are not empty")
        << in << 2 << "Existing TA must be numeric." << Field::Exist;
    in.exist = QStringLiteral("0.00");
    QTest::newRow("zero existing")
        << in << 3 << "Existing TA must be greater than zero." << Field::Exist;
    in.exist = QString(40, u'9');
    QTest::newRow("forty digits overflow")
        << in << 3 << "Existing TA must be greater than zero." << Field::Exist;
    in = sound(), in.target.clear();
    QTest::newRow("target empty") << in << 4 << "Please enter target TA." << Field::Target;
    in.target = QStringLiteral("6,5");
    QTest::newRow("target comma in English")
        << in << 5 << "Target TA must be numeric." << Field::Target;
    in.target = QStringLiteral("-1");
    QTest::newRow("target negative")
        << in << 6 << "Target TA must be greater than zero." << Field::Target;
    in = sound(), in.target = QStringLiteral("5"), in.batchSize.clear();
    QTest::newRow("batch checks before direction")
        << in << 7 << "Please enter batch size." << Field::BatchSize;
    in.batchSize = QStringLiteral("x");
    QTest::newRow("batch not numeric")
        << in << 8 << "Batch size must be numeric." << Field::BatchSize;
    in.batchSize = QStringLiteral("0");
    QTest::newRow("batch zero") << in << 9 << "Batch size must be greater than zero."
                                << Field::BatchSize;
    in = sound(), in.target = in.exist;
    QTest::newRow("raise to the same TA")
        << in << 10 << "Target TA must be greater than existing TA." << Field::Target;
    in.direction = Direction::Lower;
    QTest::newRow("lower to the same TA")
        << in << 11 << "Target TA must be lower than existing TA." << Field::Target;
    in = sound(), in.method.clear();
    QTest::newRow("no raise method")
        << in << 12 << "Please select a method to raise acidity." << Field::Method;
    in.direction = Direction::Lower, in.exist = QStringLiteral("7");
    QTest::newRow("no lower method")
        << in << 13 << "Please select a method to lower acidity." << Field::Method;
    in.direction = Direction::None, in.method.clear();
    QTest::newRow("no direction skips 10 to 13") << in << 0 << "" << Field::Exist;

    QTest::newRow("blend 0/0/100") << blend("0", "0", "100") << 0 << "" << Field::Exist;
    QTest::newRow("blend tartaric empty")
        << blend("", "30", "20") << 14 << "Please enter tartaric blend component."
        << Field::Tartaric;
    QTest::newRow("blend tartaric letters")
        << blend("a", "30", "20") << 15 << "Tartaric blend component must be numeric."
        << Field::Tartaric;
    QTest::newRow("blend tartaric 101")
        << blend("101", "0", "0") << 16 << "Tartaric blend component must be between 0 and 100."
        << Field::Tartaric;
    QTest::newRow("blend malic empty")
        << blend("50", "", "20") << 17 << "Please enter malic blend component." << Field::Malic;
    QTest::newRow("blend malic letters")
        << blend("50", "..", "20") << 18 << "Malic blend component must be numeric."
        << Field::Malic;
    QTest::newRow("blend malic negative")
        << blend("50", "-1", "20") << 19 << "Malic blend component must be between 0 and 100."
        << Field::Malic;
    QTest::newRow("blend citric empty")
        << blend("50", "30", "") << 20 << "Please enter citric blend component." << Field::Citric;
    QTest::newRow("blend citric letters")
        << blend("50", "30", "x") << 21 << "Citric blend component must be numeric."
        << Field::Citric;
    QTest::newRow("blend citric 150")
        << blend("0", "0", "150") << 22 << "Citric blend component must be between 0 and 100."
        << Field::Citric;
    QTest::newRow("sum 99 passes") << blend("40", "30", "29") << 0 << "" << Field::Exist;
    QTest::newRow("sum 98") << blend("40", "30", "28") << 23
                            << "Acid blend components must sum to 100%" << Field::Tartaric;
    QTest::newRow("sum 101 passes") << blend("50", "30", "21") << 0 << "" << Field::Exist;
    QTest::newRow("sum 102") << blend("50", "30", "22") << 23
                             << "Acid blend components must sum to 100%" << Field::Tartaric;
    QTest::newRow("sum 99.5 passes") << blend("9.5", "60", "30") << 0 << "" << Field::Exist;

    QTest::newRow("wine empty") << wine(Direction::Raise, "6", "") << 24
                                << "Please enter TA of blend wine." << Field::Blend;
    QTest::newRow("wine letter") << wine(Direction::Raise, "6", "a") << 25
                                 << "TA of blend wine must be numeric." << Field::Blend;
    QTest::newRow("wine zero") << wine(Direction::Raise, "6", "0") << 26
                               << "TA of blend wine must be greater than zero." << Field::Blend;
    QTest::newRow("raise wine = target")
        << wine(Direction::Raise, "6", "6") << 27
        << "TA of blend wine must be greater than target TA." << Field::Blend;
    QTest::newRow("lower wine = target")
        << wine(Direction::Lower, "6", "6") << 28
        << "TA of blend wine must be lower than target TA." << Field::Blend;
    QTest::newRow("raise wine above")
        << wine(Direction::Raise, "6", "8") << 0 << "" << Field::Exist;

    in = sound(), in.method = QStringLiteral("Calcium Carbonate"), in.direction = Direction::Lower;
    in.exist = QStringLiteral("9"), in.target = QStringLiteral("7");
    in.tartaric = in.malic = in.citric = QStringLiteral("0");
    QTest::newRow("salt checks neither group") << in << 0 << "" << Field::Exist;
    in.method = QStringLiteral("acid blend");
    QTest::newRow("captions are case-sensitive") << in << 0 << "" << Field::Exist;
}

void tst_checks::firstFailure() {
    QFETCH(Inputs, inputs);
    QFETCH(int, number);
    QFETCH(QString, message);
    QFETCH(Field, field);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    const auto failure = calc::checkInputs(inputs);
    QCOMPARE(failure ? failure->number : 0, number);
    if (failure) {
        QCOMPARE(failure->message, message);
        QCOMPARE(failure->field, field);
    }
}

QTEST_APPLESS_MAIN(tst_checks)
#include "tst_checks.moc"
