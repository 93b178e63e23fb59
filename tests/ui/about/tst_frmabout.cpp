// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"

#include <QLabel>
#include <QPointer>

using namespace Qt::StringLiterals;

class tst_frmAbout : public QObject {
    Q_OBJECT

    uitest::RecordingDesktop desktop;
    QPointer<frmAbout> box;
    std::unique_ptr<uitest::ModalCatcher> modals; // no stray modal box keeps ctest waiting

private slots:
    void init() {
        desktop = {};
        Desktop::setCurrent(&desktop);
        modals = std::make_unique<uitest::ModalCatcher>();
        box = new frmAbout;
        QVERIFY(uitest::activate(box));
    }
    void cleanup() {
        delete box;
        modals.reset();
        Desktop::setCurrent(nullptr);
    }

    // The web host opens the home page; the author's name mails the support address.
    void links_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Qt::MouseButton>("button"); // none: reached with Tab, worked by the key
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opened"); // the schemes
        QTest::newRow("web host") << u"lblWeb"_s << Qt::LeftButton << 0 << u"https"_s;
        QTest::newRow("author") << u"lblMail"_s << Qt::LeftButton << 0 << u"mailto"_s;
        QTest::newRow("right button") << u"lblWeb"_s << Qt::RightButton << 0 << QString();
        QTest::newRow("not a link") << u"Label4"_s << Qt::LeftButton << 0 << QString();
        QTest::newRow("web host, Enter")
            << u"lblWeb"_s << Qt::NoButton << int(Qt::Key_Return) << u"https"_s;
        QTest::newRow("author, Space")
            << u"lblMail"_s << Qt::NoButton << int(Qt::Key_Space) << u"mailto"_s;
    }
    void links() {
        QFETCH(QString, name);
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, key);
        QFETCH(QString, opened);
        QWidget *target = uitest::child(box, qPrintable(name));
        if (key) {
            QVERIFY(target->focusPolicy() & Qt::TabFocus);
            QTest::keyClick(target, Qt::Key(key));
        } else {
            QTest::mouseClick(target, button);
        }
        QString schemes;
        for (const QUrl &url : desktop.opened)
            schemes += url.scheme();
        QCOMPARE(schemes, opened);
        if (opened == u"https") // the page of the host the label shows
            QCOMPARE(desktop.opened[0].host(), uitest::child<QLabel>(box, "lblWeb")->text());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box && box->isVisible());
        // The hand over a link, the arrow elsewhere.
        QCOMPARE(target->cursor().shape(), name == u"Label4" ? Qt::ArrowCursor : Qt::BitmapCursor);
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
            uitest::run(box, u"cmdOK"_s);
        else
            QTest::keyClick(box->windowHandle(), Qt::Key(key), modifiers);
        // Gone, not hidden: the next Help > About builds a new box.
        QTRY_VERIFY(box.isNull());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
