// SPDX-License-Identifier: GPL-3.0-or-later
// Every window opens wholly inside the screen's available area: at its designed place where it
// fits, moved just far enough where it does not. ctest runs this on several screens and scales.
#include "tests/common/threeWindows.h"
#include "ui/common/onScreen.h"

using namespace titrova;

class tst_Placement : public QObject {
    Q_OBJECT

    const uitest::ThreeWindows three;

private slots:
    void fitted_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QMargins>("margins");
        const auto row = [](const char *name, QRect frame, QRect available, QPoint expected,
                            qreal scale = 1.0, QMargins margins = {}) {
            QTest::newRow(name) << frame << available << expected << scale << margins;
        };
        const QRect screen(0, 0, 1024, 768);
        row("fits: stays", QRect(226, 270, 486, 350), screen, QPoint(226, 270));
        row("fits exactly", QRect(0, 0, 1024, 768), screen, QPoint(0, 0));
        row("below the edge: up just enough", QRect(226, 270, 486, 350), QRect(0, 0, 960, 540),
            QPoint(226, 190));
        row("beyond the right edge", QRect(700, 10, 486, 350), screen, QPoint(538, 10));
        row("under a top panel", QRect(226, 10, 486, 350), QRect(0, 32, 1024, 736),
            QPoint(226, 32));
        row("under a left dock", QRect(20, 100, 486, 350), QRect(64, 0, 960, 768), QPoint(64, 100));
        row("second screen, right of the first", QRect(1700, 900, 486, 350),
            QRect(1920, 0, 1366, 768), QPoint(1920, 418));
        row("taller than the area: the title bar stays in", QRect(226, 270, 486, 600),
            QRect(0, 24, 1024, 500), QPoint(226, 24));
        // 1024 x 768 device pixels at 150 % show as 683 x 512 logical ones. A client of 482 x 348
        // takes 723 x 522 device pixels, and a border shown as 1 stands for up to 2: at most 727
        // x 526 with the frame. Put at logical x, the frame starts at device qRound(1.5 x): 198
        // starts it at 297, its last column 1023; the 199 that logical pixels allow starts it at
        // 299 and ends it on column 1025, off the screen.
        row("150 %: the frame's last device column and row on the screen",
            QRect(226, 270, 484, 350), QRect(0, 0, 683, 512), QPoint(198, 161), 1.5,
            QMargins(1, 1, 1, 1));
        row("150 %: where it fits, it stays", QRect(100, 100, 484, 350), QRect(0, 0, 683, 512),
            QPoint(100, 100), 1.5, QMargins(1, 1, 1, 1));
    }
    void fitted() {
        QFETCH(QRect, frame);
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QFETCH(qreal, scale);
        QFETCH(QMargins, margins);
        QCOMPARE(onScreen::fitted(frame, available, scale, margins), expected);
    }

    // The main window, the Default Settings dialog, the About box, on this run's screen.
    void windows() {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect area = screen->availableGeometry();
        for (int window = 0; window < 3; ++window) {
            frmAcid main(three.settings);
            QWidget *w = three.open(window, main);
            const QRect designed = w->geometry();
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            const QRect frame = w->frameGeometry();
            const QMargins margins(
                w->geometry().left() - frame.left(), w->geometry().top() - frame.top(),
                frame.right() - w->geometry().right(), frame.bottom() - w->geometry().bottom());
            qInfo("%dx%d at scale %s: %s frame at %d,%d, %dx%d", screen->size().width(),
                  screen->size().height(), qgetenv("QT_SCALE_FACTOR").constData(),
                  w->metaObject()->className(), frame.x(), frame.y(), frame.width(),
                  frame.height());
            QVERIFY2(area.contains(frame), qPrintable(w->objectName()));
            // The main window is placed by its frame's corner, the others by their client area.
            const QRect designedFrame = window == 0 ? QRect(designed.topLeft(), frame.size())
                                                    : designed.marginsAdded(margins);
            const QPoint fitted =
                onScreen::fitted(designedFrame, area, screen->devicePixelRatio(), margins);
            if (area.contains(designedFrame.marginsAdded(QMargins(2, 2, 2, 2))))
                QCOMPARE(fitted, designedFrame.topLeft());
            QCOMPARE(frame.topLeft(), fitted);
            if (window == 0) {
                auto *calc = uitest::child<QWidget>(w, "cmdCalc");
                QVERIFY(area.contains(QRect(calc->mapToGlobal(QPoint()), calc->size())));
            }
        }
    }
};

QTEST_MAIN(tst_Placement)
#include "tst_placement.moc"
