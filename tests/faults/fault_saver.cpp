// SPDX-License-Identifier: GPL-3.0-or-later
// fault_saver <none|write|commit> <file> [<key> <value>]...: writes the table to the file as the
// Default Settings dialog does, and dies by SIGKILL at the named moment. A refusal prints the
// error's number and description and ends with 1.
#include "settings/settingsfile.h"
#include "tests/faults/faultshim.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    const char *const points[] = {"none", "write", "commit"}; // by FaultPoint
    int point = -1;
    for (int i = 0; argc >= 3 && i < int(std::size(points)); ++i) {
        if (std::strcmp(argv[1], points[i]) == 0)
            point = i;
    }
    if (point < 0 || argc % 2 == 0) {
        std::fputs("usage: fault_saver none|write|commit <file> [<key> <value>]...\n", stderr);
        return 2;
    }
    try {
        settings::SettingsTable table;
        for (int i = 3; i < argc; i += 2)
            table.add(QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[i + 1]));
        const QByteArray bytes = settings::settingsFileBytes(table, QLocale::c());
        faultshim_arm(argv[2], point, 0);
        settings::writeSettingsFile(QString::fromLocal8Bit(argv[2]), bytes);
    } catch (const settings::SettingsError &e) {
        std::printf("%d\n%s\n", e.number(), e.description().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
