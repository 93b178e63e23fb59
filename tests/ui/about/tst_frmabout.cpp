// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about/frmAbout.h"
#include "ui/about/programIcon.h"
#include "ui/main/desktop.h"

#include <QApplication>
#include <QBitmap>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

namespace {

class RecordingDesktop : public Desktop {
public:
    QList<QUrl> opened;
    void openUrl(const QUrl &url) override { opened.append(url); }
    bool startCalculator() override { return false; }
};

// The offscreen platform activates a window later than qWaitForWindowActive reports.
bool waitUntilActive(QWidget *window) {
    return QTest::qWaitFor([window] { return window->isActiveWindow(); });
}

int distance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

bool bitSet(const QBitmap &bitmap, QPoint at) {
    return bitmap.toImage().pixelColor(at) == QColor(Qt::color1);
}

} // namespace

class tst_frmAbout : public QObject {
    Q_OBJECT

    RecordingDesktop desktop;
    QTimer watchdog;
    bool watchdogFired = false;
    QPointer<frmAbout> box;

private slots:
    void initTestCase() {
        // A modal box nobody expected would otherwise keep ctest waiting for ever.
        watchdog.setInterval(5000);
        connect(&watchdog, &QTimer::timeout, this, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                watchdogFired = true;
                modal->close();
            }
        });
    }

    void init() {
        desktop.opened.clear();
        Desktop::setCurrent(&desktop);
        watchdogFired = false;
        watchdog.start();
        box = new frmAbout;
        box->show();
        QVERIFY(waitUntilActive(box));
    }

    void cleanup() {
        watchdog.stop();
        delete box;
        Desktop::setCurrent(nullptr);
        QVERIFY2(!watchdogFired, "a modal box was left open");
    }

    void window() {
        QCOMPARE(box->windowTitle(), QStringLiteral("About"));
        QVERIFY(
            !(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Client area 3705 x 2430 twips, its corner 5355, 5115 twips from the screen's.
        QCOMPARE(box->geometry(), QRect(357, 341, 247, 162));
        QCOMPARE(box->minimumSize(), box->maximumSize());
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("text");   // empty: our own wording
        QTest::addColumn<QRect>("pixels");   // the designed twips over 15, worked out by hand
        QTest::addColumn<int>("fontPixels"); // 0: no text
        QTest::addColumn<QColor>("ink");

        const auto row = [](const char *name, const char *className, const char *text, QRect pixels,
                            int fontPixels, QColor ink) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(className)
                                << QString::fromLatin1(text) << pixels << fontPixels << ink;
        };
        const QColor black(Qt::black), blue(0, 0, 192);
        row("Picture1", "QFrame", "", {-1, 0, 249, 161}, 0, {});
        row("Label1", "QLabel", "Titrova", {8, 8, 129, 33}, 24, black);
        row("Label2", "QLabel", "", {8, 40, 129, 33}, 24, black);
        row("Label3", "QLabel", "Version 1.01", {136, 48, 105, 25}, 16, black);
        row("Picture2", "QLabel", "", {192, 8, 41, 41}, 0, {});
        row("Label4", "QLabel", "", {8, 96, 113, 25}, 13, black);
        row("lblMail", "QLabel", "", {8, 112, 81, 17}, 13, blue);
        row("lblWeb", "QLabel", "titrova.example.org", {8, 128, 121, 17}, 13, blue);
        row("cmdOK", "QPushButton", "&OK", {176, 120, 57, 27}, 13, {});
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, text);
        QFETCH(QRect, pixels);
        QFETCH(int, fontPixels);
        QFETCH(QColor, ink);

        auto *control = box->findChild<QWidget *>(name);
        QVERIFY(control);
        QVERIFY(control->inherits(className.toLatin1().constData()));
        QCOMPARE(control->geometry(), pixels);
        if (!fontPixels)
            return;
        QCOMPARE(control->font().pixelSize(), fontPixels);
        const QString caption = control->property("text").toString();
        QVERIFY(!caption.isEmpty());
        if (!text.isEmpty())
            QCOMPARE(caption, text);

        // Nothing clipped at the font that stands in for the designed one.
        QRect room = control->contentsRect();
        if (qobject_cast<QPushButton *>(control))
            room -= QMargins() + control->style()->pixelMetric(QStyle::PM_ButtonMargin);
        const QFontMetrics metrics(control->font());
        const int textWidth = metrics.horizontalAdvance(QString(caption).remove(u'&'));
        QVERIFY2(textWidth <= room.width(), qPrintable(QString::number(textWidth)));
        QVERIFY(metrics.height() <= room.height());
        if (!ink.isValid())
            return;

        // The panel's grey behind the text; the strongest pixel is the text's own colour; a
        // link has no underline, which would be a run of ink nearly as long as the text.
        const QColor grey(224, 224, 224);
        const QImage image =
            box->grab(QRect(control->mapTo(box.data(), QPoint()), control->size())).toImage();
        QCOMPARE(image.pixelColor(image.width() - 1, 0), grey);
        QColor strongest = grey;
        int longestRun = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0, run = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (distance(pixel, grey) > distance(strongest, grey))
                    strongest = pixel;
                run = distance(pixel, grey) > 60 ? run + 1 : 0;
                longestRun = std::max(longestRun, run);
            }
        }
        QVERIFY2(distance(strongest, ink) <= 30, qPrintable(strongest.name()));
        QVERIFY2(longestRun < textWidth / 2, qPrintable(QString::number(longestRun)));
    }

    void linkClicks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QList<QUrl>>("opened");

        QTest::newRow("web host") << "lblWeb" << Qt::LeftButton << QList<QUrl>{links::homePage()};
        // The label shows the author's name, but mails the address of Help's mail link.
        QTest::newRow("author") << "lblMail" << Qt::LeftButton << QList<QUrl>{links::supportMail()};
        QTest::newRow("right button") << "lblWeb" << Qt::RightButton << QList<QUrl>();
        QTest::newRow("not a link") << "Label4" << Qt::LeftButton << QList<QUrl>();
    }

    void linkClicks() {
        QFETCH(QString, name);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QList<QUrl>, opened);

        QTest::mouseClick(box->findChild<QWidget *>(name), button);
        QCOMPARE(desktop.opened, opened);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box && box->isVisible());
    }

    void closing_data() {
        QTest::addColumn<int>("key"); // 0: click OK, -1: the close box
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

        QTest::newRow("OK clicked") << 0 << Qt::KeyboardModifiers();
        QTest::newRow("close box") << -1 << Qt::KeyboardModifiers();
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("Esc") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
        QTest::newRow("Alt+O") << int(Qt::Key_O) << Qt::KeyboardModifiers(Qt::AltModifier);
    }

    void closing() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);

        if (key == 0)
            QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        else if (key < 0)
            box->close();
        else
            QTest::keyClick(box->windowHandle(), Qt::Key(key), modifiers);
        // Gone, not hidden: the next Help > About builds a new box.
        QTRY_VERIFY(box.isNull());
    }

    void execTwiceShowsFreshBoxesWithMainIcon() {
        QWidget mainWindow;
        mainWindow.setWindowIcon(programIcon());
        mainWindow.show();
        for (int round = 0; round < 2; ++round) {
            bool tookIcon = false;
            QTimer::singleShot(0, this, [&] {
                auto *modal = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
                if (!modal)
                    return;
                // Its own icon, taken on activation, rather than one inherited from the parent.
                tookIcon = waitUntilActive(modal) && modal->testAttribute(Qt::WA_SetWindowIcon) &&
                           modal->windowIcon().cacheKey() == mainWindow.windowIcon().cacheKey();
                QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("cmdOK")),
                                  Qt::LeftButton);
            });
            QPointer<frmAbout> modalBox = new frmAbout(&mainWindow);
            modalBox->exec();
            QVERIFY(modalBox.isNull());
            QVERIFY(tookIcon);
        }
    }

    void cursor() {
        for (const char *name : {"lblMail", "lblWeb"}) {
            const QCursor hand = box->findChild<QWidget *>(QString::fromLatin1(name))->cursor();
            QCOMPARE(hand.shape(), Qt::BitmapCursor);
            QCOMPARE(hand.hotSpot(), QPoint(5, 0));
            QCOMPARE(hand.bitmap().size(), QSize(32, 32));
            QCOMPARE(hand.mask().size(), QSize(32, 32));
            // The hot spot is on the black rim of the fingertip, white inside it, so the hand
            // reads on any background; the far corner is see-through.
            QVERIFY(bitSet(hand.mask(), {5, 0}) && bitSet(hand.bitmap(), {5, 0}));
            QVERIFY(bitSet(hand.mask(), {5, 2}) && !bitSet(hand.bitmap(), {5, 2}));
            QVERIFY(!bitSet(hand.mask(), {31, 31}));
        }
        QCOMPARE(box->findChild<QWidget *>(QStringLiteral("Label4"))->cursor().shape(),
                 Qt::ArrowCursor);
    }

    void iconSizes_data() {
        QTest::addColumn<int>("size");
        for (const char *size : {"16", "32", "48", "64", "128", "256"})
            QTest::newRow(size) << QByteArray(size).toInt();
    }

    void iconSizes() {
        QFETCH(int, size);
        QVERIFY(programIcon().availableSizes().contains(QSize(size, size)));
        const QImage image(QStringLiteral(":/icons/titrova-%1.png").arg(size));
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QVERIFY(image.pixelColor(size / 2, size / 2).alpha() > 0);
        QVERIFY(QFile::exists(QStringLiteral(":/icons/titrova.svg")));
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
