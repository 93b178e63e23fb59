// SPDX-License-Identifier: GPL-3.0-or-later
// Runs on a real Wayland compositor: a window asked to maximize or resize must not end the
// program, takes back its designed size, and the Default Settings dialog opens filled.
#include "tests/common/threeWindows.h"
#include "ui/common/fixedWindows.h"

using namespace titrova;

class tst_Wayland : public QObject {
    Q_OBJECT

    const uitest::ThreeWindows three;

private slots:
    void initTestCase() {
        fixedWindows::install();
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
    }

    void fixedSize() {
        for (int window = 0; window < 3; ++window) {
            frmAcid main(three.settings);
            QWidget *w = three.open(window, main);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            const QSize designed = w->size();
            QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
            // A size asked for in the normal state, then what the decoration's maximize button
            // asks for.
            for (const auto &ask : std::initializer_list<std::function<void(QWindow *)>>{
                     [&](QWindow *h) { h->resize(designed * 2); },
                     [](QWindow *h) { h->setWindowStates(Qt::WindowMaximized); },
                     [](QWindow *h) { h->showFullScreen(); },
                     [](QWindow *h) { h->showNormal(); }}) {
                ask(w->windowHandle());
                QTest::qWait(300);
            }
            // On a loaded machine the compositor's last answer can come later still.
            QTRY_COMPARE_WITH_TIMEOUT(w->size(), designed, 10000);
            if (window == 1) // the dialog opens filled
                QCOMPARE(uitest::state(w, QStringLiteral("txtBatchSize")), QStringLiteral("5.00"));
        }
    }

    // Weston's own maximize binding, a real key press through the compositor, over and over:
    // a configure met with any other size makes weston end the program.
    void maximizeBinding() {
        if (!qEnvironmentVariableIsSet("TITROVA_KEYS_DISPLAY"))
            QSKIP("weston runs headless: no keys to press");
        const int presses = 20;
        for (int window = 0; window < 3; ++window) {
            frmAcid main(three.settings);
            QWidget *w = three.open(window, main);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            // Weston gives a new window the keyboard a moment after showing it.
            QTest::qWait(500);
            const QSize designed = w->size();
            const QWidget *control = w->findChild<QPushButton *>();
            const QRect place = control->geometry();
            QSize configured;
            for (int i = 0; i < presses; ++i) {
                const bool maximized = i % 2 == 0;
                QProcess xdotool;
                xdotool.start(QStringLiteral("xdotool"),
                              {QStringLiteral("key"), QStringLiteral("super+shift+m")});
                if (!xdotool.waitForStarted()) {
#ifdef TITROVA_UNDER_EMULATOR
                    // qemu-user rejects Qt's clone(CLONE_VFORK): no key can be pressed at all,
                    // which says nothing of the program.
                    QSKIP(qPrintable(QStringLiteral("xdotool cannot be started under emulation: ") +
                                     xdotool.errorString()));
#else
                    QFAIL(qPrintable(QStringLiteral("xdotool cannot be started: ") +
                                     xdotool.errorString()));
#endif
                }
                QVERIFY(xdotool.waitForFinished());
                QCOMPARE(xdotool.exitStatus(), QProcess::NormalExit);
                QCOMPARE(xdotool.exitCode(), 0);
                QTRY_COMPARE_WITH_TIMEOUT(w->isMaximized(), maximized, 10000);
                if (maximized) {
                    QTRY_VERIFY_WITH_TIMEOUT(w->width() > designed.width(), 10000);
                    configured = w->windowHandle()->size();
                } else {
                    QTRY_COMPARE_WITH_TIMEOUT(w->size(), designed, 10000);
                }
                QCOMPARE(control->geometry(), place);
                // Weston toggles by the state the window last drew in, which comes a moment later.
                QTest::qWait(300);
            }
            qInfo("%s: %d presses, maximized at %dx%d", w->metaObject()->className(), presses,
                  configured.width(), configured.height());
        }
    }
};

QTEST_MAIN(tst_Wayland)
#include "tst_wayland.moc"
