// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

namespace uitest {

// The program's three windows over a settings file of the built-in values, on a desktop that
// starts nothing.
struct ThreeWindows {
    ThreeWindows() {
        Desktop::setCurrent(&desktop);
        if (!testfiles::write(settings, testfiles::builtInFile))
            qFatal("cannot write %s", qPrintable(settings));
    }
    // 0: the main window itself; 1: the Default Settings dialog, 2: the About box, each over
    // the main window shown.
    QWidget *open(int window, frmAcid &main) const {
        if (window == 0)
            return &main;
        main.show();
        if (!QTest::qWaitForWindowExposed(&main))
            qWarning("main window not exposed");
        return window == 1 ? static_cast<QWidget *>(new frmOptions(settings, &main))
                           : new frmAbout(&main);
    }

    RecordingDesktop desktop;
    QTemporaryDir folder;
    const QString settings = folder.filePath(u"settings.cfg"_s);
};

} // namespace uitest
