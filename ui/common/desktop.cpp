// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
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

QUrl titrova::links::manualPage() {
    // The portable folder and a build keep it beside the program; a system install under the
    // prefix's shared data.
    const QDir program(QCoreApplication::applicationDirPath());
    const QString beside = program.filePath(QStringLiteral("manual/index.html"));
    const QString installed = QDir::cleanPath(
        program.filePath(titrova::appInfo::systemManual() + QStringLiteral("/index.html")));
    return QUrl::fromLocalFile(
        !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside);
}
