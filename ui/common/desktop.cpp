// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {
Desktop realDesktop;
Desktop *active = nullptr;
} // namespace

void Desktop::openUrl(const QUrl &url) {
    // A missing file (a deleted manual) fails here, silently: some desktops would show an
    // error box of their own for it.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return;
    QDesktopServices::openUrl(url);
}

bool Desktop::startCalculator() {
#ifdef Q_OS_WIN
    return QProcess::startDetached(QStringLiteral("calc.exe"), {});
#else
    static const char *const candidates[] = {"gnome-calculator", "kcalc",        "galculator",
                                             "qalculate-gtk",    "qalculate-qt", "speedcrunch",
                                             "mate-calc",        "xcalc"};
    for (const char *name : candidates) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return true;
    }
    return false;
#endif
}

Desktop &Desktop::current() {
    return active ? *active : realDesktop;
}

void Desktop::setCurrent(Desktop *desktop) {
    active = desktop;
}

QUrl links::manualPage() {
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() +
                               QStringLiteral("/manual/index.html"));
}
