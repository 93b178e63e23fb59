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

// An acid-blend raise from 5 to 6 that passes every check, with "box=text" edits separated by
// ';'. Boxes: e t b tar mal cit w (blending wine) m (method) d (r, l or none).
Inputs with(const char *edits) {
    Inputs in{u"5"_s, u"6"_s,          u"5"_s,   u"50"_s,     u"30"_s,         u"20"_s,
              u"8"_s, u"Acid Blend"_s, u"g/L"_s, u"Litres"_s, Direction::Raise};
    QString *const boxes[] = {&in.exist, &in.target, &in.batchSize, &in.tartaric,
                              &in.malic, &in.citric, &in.blend,     &in.method};
    const QStringList names = u"e t b tar mal cit w m"_s.split(u' ');
    for (const QString &edit : QString::fromUtf8(edits).split(u';', Qt::SkipEmptyParts)) {
        const QString box = edit.section(u'=', 0, 0), text = edit.section(u'=', 1);
        if (box == u"d")
            in.direction = text == u"r"   ? Direction::Raise
                           : text == u"l" ? Direction::Lower
                                          : Direction::None;
        else
            *boxes[names.indexOf(box)] = text;
    }
    return in;
}

} // namespace

class tst_checks : public QObject {
    Q_OBJECT

private slots:
    // Each check fails on its side of its boundary and passes on the other.
    void firstFailure_data() {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<int>("number"); // 0: every check passes
        QTest::addColumn<Field>("field");
        const auto row = [](const char *edits, int number, Field field = Exist) {
            QTest::newRow(*edits ? edits : "sound") << with(edits) << number << field;
        };
        row("", 0);
        row("e=;t=;b=", 1);
        row("e=   ", 2); // blanks are no empty box
        row("e=abc", 2);
        row("e=0", 3);
        row("e=0.01;t=1", 0);
        row("e=9999999999999999999999999999999999999999", 3); // no single holds it
        row("t=", 4, Target);
        row("t=6,5", 5, Target);
        row("t=0;d=none", 6, Target);
        row("e=0.01;t=0.01;d=none", 0);
        row("b=;t=5", 7, BatchSize); // before the direction
        row("b=x", 8, BatchSize);
        row("b=0", 9, BatchSize);
        row("b=0.01", 0);
        row("t=5", 10, Target);
        row("t=5.01", 0);
        row("d=l", 11, Target);
        row("d=l;t=4.99;m=Blend Wine;w=4", 0);
        row("m=", 12, Method);
        row("m=;d=l;t=4", 13, Method);
        row("m=;d=none;t=4", 0);                     // no direction skips 10 to 13
        row("m=Tartaric Acid;tar=;mal=x;cit=-5", 0); // the shares matter to the blend alone
        row("tar=", 14, Tartaric);
        row("tar=a", 15, Tartaric);
        row("tar=100.01;mal=0;cit=0", 16, Tartaric);
        row("tar=-0.01;mal=80;cit=20", 16, Tartaric);
        row("tar=100;mal=0;cit=0", 0);
        row("tar=0;mal=80;cit=20", 0);
        row("mal=", 17, Malic);
        row("mal=..", 18, Malic);
        row("mal=100.01;tar=0;cit=0", 19, Malic);
        row("mal=-0.01;tar=80;cit=20", 19, Malic);
        row("mal=100;tar=0;cit=0", 0);
        row("cit=", 20, Citric);
        row("cit=x", 21, Citric);
        row("cit=100.01;tar=0;mal=0", 22, Citric);
        row("cit=-0.01;tar=80;mal=20", 22, Citric);
        row("cit=100;tar=0;mal=0", 0);
        row("tar=49", 0); // sum 99
        row("tar=48.9", 23, Tartaric);
        row("tar=51", 0); // sum 101
        row("tar=51.1", 23, Tartaric);
        row("m=Blend Wine;w=", 24, Blend);
        row("m=Blend Wine;w=a", 25, Blend);
        row("m=Blend Wine;w=0;d=none", 26, Blend);
        row("m=Blend Wine;w=0.01;d=none", 0);
        row("m=Blend Wine;w=6", 27, Blend);
        row("m=Blend Wine;w=6.01", 0);
        row("m=Blend Wine;w=6;d=l;e=9", 28, Blend);
        row("m=Blend Wine;w=5.99;d=l;e=9", 0);
        row("m=acid blend;tar=0", 0); // captions are case-sensitive
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
