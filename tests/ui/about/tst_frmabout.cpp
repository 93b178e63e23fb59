// SPDX-License-Identifier: GPL-3.0-or-later
#include "../common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/about/programIcon.h"

#include <QBitmap>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using namespace Qt::StringLiterals;

class tst_frmAbout : public QObject {
    Q_OBJECT

    uitest::RecordingDesktop desktop;
    QPointer<frmAbout> box;
    std::unique_ptr<ModalCatcher> modals; // no stray modal box keeps ctest waiting

private slots:
    void init() {
        desktop = {};
        Desktop::setCurrent(&desktop);
        modals = std::make_unique<ModalCatcher>();
        box = new frmAbout;
        QVERIFY(uitest::activate(box));
    }

    void cleanup() {
        delete box;
        modals.reset();
        Desktop::setCurrent(nullptr);
    }

    void window() {
        QCOMPARE(box->windowTitle(), u"About"_s);
        QCOMPARE(box->minimumSize(), box->maximumSize());
        QCOMPARE(uitest::child<QLabel>(box, "Label3")->text(), u"Version 1.01"_s);
        QCOMPARE(uitest::child<QLabel>(box, "lblWeb")->text(), links::webHost);
    }

    void linkClicks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("key"); // instead of the button: reached with Tab, worked by key
        QTest::addColumn<QList<QUrl>>("opened");
        const auto web = QList{links::homePage()}, mail = QList{links::supportMail()};
        QTest::newRow("web host") << u"lblWeb"_s << Qt::LeftButton << 0 << web;
        // The label shows the author's name, but mails the address of Help's mail link.
        QTest::newRow("author") << u"lblMail"_s << Qt::LeftButton << 0 << mail;
        QTest::newRow("right button") << u"lblWeb"_s << Qt::RightButton << 0 << QList<QUrl>();
        QTest::newRow("not a link") << u"Label4"_s << Qt::LeftButton << 0 << QList<QUrl>();
        QTest::newRow("web host, Enter")
            << u"lblWeb"_s << Qt::NoButton << int(Qt::Key_Return) << web;
        QTest::newRow("author, Space")
            << u"lblMail"_s << Qt::NoButton << int(Qt::Key_Space) << mail;
    }

    void linkClicks() {
        QFETCH(QString, name);
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, key);
        QFETCH(QList<QUrl>, opened);
        QWidget *target = box->findChild<QWidget *>(name);
        if (key) {
            QVERIFY(target->focusPolicy() & Qt::TabFocus);
            QTest::keyClick(target, Qt::Key(key));
        } else {
            QTest::mouseClick(target, button);
        }
        QCOMPARE(desktop.opened, opened);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box && box->isVisible());
    }

    void closing_data() {
        QTest::addColumn<int>("key"); // 0: click OK
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("OK clicked") << 0 << Qt::KeyboardModifiers();
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("Esc") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
        QTest::newRow("Alt+O") << int(Qt::Key_O) << Qt::KeyboardModifiers(Qt::AltModifier);
    }

    void closing() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        if (key == 0)
            QTest::mouseClick(uitest::child<QPushButton>(box, "cmdOK"), Qt::LeftButton);
        else
            QTest::keyClick(box->windowHandle(), Qt::Key(key), modifiers);
        // Gone, not hidden: the next Help > About builds a new box.
        QTRY_VERIFY(box.isNull());
    }

    void cursor() {
        const auto bitSet = [](const QBitmap &bitmap, QPoint at) {
            return bitmap.toImage().pixelColor(at) == QColor(Qt::color1);
        };
        for (const char *name : {"lblMail", "lblWeb"}) {
            const QCursor hand = uitest::child(box, name)->cursor();
            QCOMPARE(hand.shape(), Qt::BitmapCursor);
            QCOMPARE(hand.hotSpot(), QPoint(5, 0));
            // The hot spot is on the black rim of the fingertip, white inside it.
            QVERIFY(bitSet(hand.mask(), {5, 0}) && bitSet(hand.bitmap(), {5, 0}));
            QVERIFY(bitSet(hand.mask(), {5, 2}) && !bitSet(hand.bitmap(), {5, 2}));
        }
        QCOMPARE(uitest::child(box, "Label4")->cursor().shape(), Qt::ArrowCursor);
    }

    void programIconSizes() {
        for (int size : {16, 32, 48, 64})
            QVERIFY(programIcon().availableSizes().contains(QSize(size, size)));
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
