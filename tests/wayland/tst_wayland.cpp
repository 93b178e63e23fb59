// SPDX-License-Identifier: GPL-3.0-or-later
// Runs on a real Wayland compositor: a window asked to maximize or resize must neither end
// the program nor change size, and the Default Settings dialog opens filled.
#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/common/fixedWindows.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

class tst_Wayland : public QObject {
    Q_OBJECT

    uitest::RecordingDesktop desktop;
    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("settings.cfg"));

private slots:
    void initTestCase() {
        Desktop::setCurrent(&desktop);
        fixedWindows::install();
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        QVERIFY(testfiles::write(settings, testfiles::builtInFile));
    }

    // The main window, the dialog, the About box.
    void fixedSize() {
        for (int window = 0; window < 3; ++window) {
            frmAcid main(settings);
            QWidget *w = window == 0   ? &main
                         : window == 1 ? static_cast<QWidget *>(new frmOptions(settings, &main))
                                       : new frmAbout(&main);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            const QSize designed = w->size();
            QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
            // What the decoration's maximize button and a resizing compositor ask for.
            for (const auto &ask : std::initializer_list<std::function<void(QWindow *)>>{
                     [](QWindow *h) { h->setWindowStates(Qt::WindowMaximized); },
                     [&](QWindow *h) { h->resize(designed * 2); },
                     [](QWindow *h) { h->showFullScreen(); },
                     [](QWindow *h) { h->showNormal(); }}) {
                ask(w->windowHandle());
                QTest::qWait(300);
            }
            QCOMPARE(w->size(), designed);
            if (window == 1) // the dialog opens filled
                QCOMPARE(uitest::state(w, QStringLiteral("txtBatchSize")), QStringLiteral("5.00"));
        }
    }
};

QTEST_MAIN(tst_Wayland)
#include "tst_wayland.moc"
