// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/appInfo.h"

#include <QString>
#include <QUrl>

// The program's one door to the outside world: links go to the desktop's open operation and
// the calculator is started as a separate program. Tests put a recording stand-in here so
// that no browser or calculator is ever started.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Hands the address to the desktop; whether anything could open it is not reported.
    virtual void openUrl(const QUrl &url);
    // Starts the system calculator without waiting for it; false when none could be started.
    virtual bool startCalculator();

    static Desktop &current();
    // nullptr restores the real desktop. The caller keeps ownership.
    static void setCurrent(Desktop *desktop);
};

namespace titrova::links {
inline const QUrl homePage() {
    return titrova::appInfo::homePage();
}
inline const QString webHost = homePage().host();
// The manual beside the program (the portable folder, a build) or where a system install
// puts it.
QUrl manualPage();
inline const QUrl productPage() {
    return titrova::appInfo::productPage();
}
inline const QUrl supportMail() {
    return titrova::appInfo::supportMail();
}
} // namespace titrova::links
