// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/checks.h"

#include <QTest>

using namespace Qt::StringLiterals;
using calc::Field;
using calc::Inputs;
using catalogue::Direction;
using enum calc::Field;

namespace {

// Every check's message, in the order the checks run.
const QStringList messages = {
    u"Please enter existing TA."_s,
    u"Existing TA must be numeric."_s,
    u"Existing TA must be greater than zero."_s,
    u"Please enter target TA."_s,
    u"Target TA must be numeric."_s,
    u"Target TA must be greater than zero."_s,
    u"Please enter batch size."_s,
    u"Batch size must be numeric."_s,
    u"Batch size must be greater than zero."_s,
    u"Target TA must be greater than existing TA."_s,
    u"Target TA must be lower than existing TA."_s,
    u"Please select a method to raise acidity."_s,
    u"Please select a method to lower acidity."_s,
    u"Please enter tartaric blend component."_s,
    u"Tartaric blend component must be numeric."_s,
    u"Tartaric blend component must be between 0 and 100."_s,
    u"Please enter malic blend component."_s,
    u"Malic blend component must be numeric."_s,
    u"Malic blend component must be between 0 and 100."_s,
    u"Please enter citric blend component."_s,
    u"Citric blend component must be numeric."_s,
    u"Citric blend component must be between 0 and 100."_s,
    u"Acid blend components must sum to 100%"_s,
    u"Please enter TA of blend wine."_s,
    u"TA of blend wine must be numeric."_s,
    u"TA of blend wine must be greater than zero."_s,
    u"TA of blend wine must be greater than target TA."_s,
    u"TA of blend wine must be lower than target TA."_s,
};

// A raise by tartaric acid that passes every check, with one text changed.
Inputs sound(QString Inputs::*member = nullptr, const char *text = "") {
    Inputs in;
    in.exist = u"5.00"_s, in.target = u"6.00"_s, in.batchSize = u"5.00"_s;
    in.tartaric = u"100"_s, in.malic = in.citric = u"0"_s;
    in.method = u"Tartaric Acid"_s, in.taUnits = u"g/L"_s, in.batchUnits = u"Litres"_s;
    in.direction = Direction::Raise;
    if (member)
        in.*member = QString::fromLatin1(text);
    return in;
}

Inputs blend(const char *t, const char *m, const char *c) {
    Inputs in = sound(&Inputs::method, "Acid Blend");
    in.tartaric = QString::fromLatin1(t), in.malic = QString::fromLatin1(m);
    in.citric = QString::fromLatin1(c);
    return in;
}

Inputs wine(Direction direction, const char *b) {
    Inputs in = sound(&Inputs::blend, b);
    in.method = u"Blend Wine"_s, in.direction = direction, in.target = u"6"_s;
    in.exist = direction == Direction::Raise ? u"5"_s : u"9"_s;
    return in;
}

} // namespace

class tst_checks : public QObject {
    Q_OBJECT

private slots:
    void firstFailure_data() {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<int>("number"); // 0: every check passes
        QTest::addColumn<Field>("field");
        const auto row = [](const char *name, const Inputs &in, int number, Field field = Exist) {
            QTest::newRow(name) << in << number << field;
        };
        row("all empty: only the first", Inputs(), 1);
        row("letters", sound(&Inputs::exist, "abc"), 2);
        row("blanks are not empty", sound(&Inputs::exist, "   "), 2);
        row("zero existing", sound(&Inputs::exist, "0.00"), 3);
        row("forty digits overflow a single",
            sound(&Inputs::exist, "9999999999999999999999999999999999999999"), 3);
        row("target empty", sound(&Inputs::target), 4, Target);
        row("target comma in English", sound(&Inputs::target, "6,5"), 5, Target);
        row("target negative", sound(&Inputs::target, "-1"), 6, Target);
        Inputs in = sound(&Inputs::batchSize);
        in.target = in.exist;
        row("batch checked before direction", in, 7, BatchSize);
        row("batch not numeric", sound(&Inputs::batchSize, "x"), 8, BatchSize);
        row("batch zero", sound(&Inputs::batchSize, "0"), 9, BatchSize);
        in = sound(&Inputs::target, "5.00");
        row("raise to the same TA", in, 10, Target);
        in.direction = Direction::Lower;
        row("lower to the same TA", in, 11, Target);
        row("no raise method", sound(&Inputs::method), 12, Method);
        in = sound(&Inputs::method), in.direction = Direction::Lower, in.exist = u"7"_s;
        row("no lower method", in, 13, Method);
        in.direction = Direction::None;
        row("no direction skips 10 to 13", in, 0);

        row("tartaric empty", blend("", "30", "20"), 14, Tartaric);
        row("tartaric letters", blend("a", "30", "20"), 15, Tartaric);
        row("tartaric 101", blend("101", "0", "0"), 16, Tartaric);
        row("malic empty", blend("50", "", "20"), 17, Malic);
        row("malic letters", blend("50", "..", "20"), 18, Malic);
        row("malic negative", blend("50", "-1", "20"), 19, Malic);
        row("citric empty", blend("50", "30", ""), 20, Citric);
        row("citric letters", blend("50", "30", "x"), 21, Citric);
        row("citric 150", blend("0", "0", "150"), 22, Citric);
        row("sum 98", blend("40", "30", "28"), 23, Tartaric);
        row("sum 102", blend("50", "30", "22"), 23, Tartaric);
        // Passing sums, salts and wine are in tst_addition.

        row("wine empty", wine(Direction::Raise, ""), 24, Blend);
        row("wine letter", wine(Direction::Raise, "a"), 25, Blend);
        row("wine zero", wine(Direction::Raise, "0"), 26, Blend);
        row("raise wine = target", wine(Direction::Raise, "6"), 27, Blend);
        row("lower wine = target", wine(Direction::Lower, "6"), 28, Blend);
        in = blend("0", "0", "0"), in.method = u"acid blend"_s;
        row("captions are case-sensitive", in, 0);
    }

    void firstFailure() {
        QFETCH(Inputs, inputs);
        QFETCH(int, number);
        QFETCH(Field, field);
        QLocale::setDefault(QLocale(u"en_US"_s));
        const auto failure = calc::checkInputs(inputs);
        QCOMPARE(failure ? failure->number : 0, number);
        if (failure) {
            QCOMPARE(failure->message, messages.at(number - 1));
            QCOMPARE(failure->field, field);
        }
    }
};

QTEST_APPLESS_MAIN(tst_checks)
#include "tst_checks.moc"
