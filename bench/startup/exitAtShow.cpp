// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the programs the start-up benchmarks run. With TITROVA_BENCH_EXIT_AT_SHOW set, a
// program ends as soon as its first window has been shown, so that callgrind counts the start
// and nothing after it; the programs themselves know nothing of it.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdlib>

namespace {

class ExitAtShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        // The last a window hears of its show(): after the system has been told to map it.
        if (event->type() == QEvent::ShowToParent && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow())
            std::_Exit(0);
        return false;
    }
};

void install() {
    if (qEnvironmentVariableIsSet("TITROVA_BENCH_EXIT_AT_SHOW"))
        QCoreApplication::instance()->installEventFilter(
            new ExitAtShow(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
