// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modalCatcher.h"
#include "ui/common/desktop.h"

#include <QTest>

namespace uitest {

// The settings file the program writes for its built-in defaults.
inline const QByteArray builtInFile = "\"r_l\",\"raise\"\r\n\"method\",\"Acid Blend\"\r\n"
                                      "\"acidUnits\",\"g/L\"\r\n\"batchunits\",\"U.S. Gal.\"\r\n"
                                      "\"batchSize\",5\r\n\"blend_t\",50\r\n\"blend_m\",30\r\n"
                                      "\"blend_c\",20\r\n";

template <typename T = QWidget> T *child(const QObject *parent, const char *name) {
    T *w = parent->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

// The offscreen platform activates a window later than qWaitForWindowActive reports.
inline bool activate(QWidget *w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitFor([w] { return w->isActiveWindow(); });
}

// Stands in for the desktop, so that no browser or calculator is ever started.
class RecordingDesktop : public Desktop {
public:
    void openUrl(const QUrl &url) override { opened << url; }
    bool startCalculator() override { return ++calculatorStarts, calculatorFound; }
    QList<QUrl> opened;
    int calculatorStarts = 0;
    bool calculatorFound = true;
};

} // namespace uitest
