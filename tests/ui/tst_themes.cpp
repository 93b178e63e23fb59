// SPDX-License-Identifier: GPL-3.0-or-later
// The three windows under the platform theme ctest names (QT_QPA_PLATFORMTHEME), at its scale.
// A theme sets the application's font once the event loop runs: after the windows are built, and
// before they are shown when start-up waits on a message box.
#include "tests/common/pixels.h"
#include "tests/common/uitest.h"
#include "ui/about/frmAbout.h"
#include "ui/common/twips.h"
#include "ui/main/frmAcid.h"
#include "ui/settings/frmOptions.h"

using namespace titrova;
using namespace Qt::StringLiterals;

namespace {

// Built before the event loop first runs, so before the theme applies its settings.
QList<QWidget *> builtEarly(const QString &settingsPath) {
    QApplication::setStyle(u"Fusion"_s);
    return {new frmAcid(settingsPath), new frmOptions(settingsPath), new frmAbout};
}

// The first and last columns where the control, drawn alone with `extra` pixels more room,
// puts ink.
std::pair<int, int> inkColumns(QWidget *w, int extra) {
    const QSize size = w->size();
    w->resize(size.width() + extra, size.height());
    const qreal ratio = w->devicePixelRatioF();
    QImage shot(w->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    shot.setDevicePixelRatio(ratio);
    shot.fill(Qt::transparent);
    w->render(&shot, QPoint(), QRegion(), {});
    w->resize(size);
    int first = shot.width(), last = -1;
    for (int x = 0; x < shot.width(); ++x) {
        for (int y = 0; y < shot.height(); ++y) {
            if (qAlpha(shot.pixel(x, y)) > 64) {
                first = std::min(first, x), last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

class tst_themes : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QList<QWidget *> windows = builtEarly(folder.filePath(u"settings.cfg"_s));

private slots:
    void initTestCase() {
        // Start-up without a settings file waits on a message box: the theme's queued settings
        // arrive while the main window is still hidden.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
        uitest::ModalCatcher modals;
        static_cast<frmAcid *>(windows[0])->Form_Load();
        QTest::qWait(300);
        QCOMPARE(modals.boxes.size(), 1);
        for (QWidget *w : windows) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
        qInfo("theme %s, application font %s", qgetenv("QT_QPA_PLATFORMTHEME").constData(),
              qPrintable(QApplication::font().toString()));
    }
    void cleanupTestCase() { qDeleteAll(windows); }

    // Every caption and box keeps the designed face, and the size of its class unless the
    // window gave it another (a fitted text, the About box's title).
    void designedFonts() {
        QStringList changed;
        for (QWidget *w : windows) {
            for (QWidget *child : w->findChildren<QWidget *>()) {
                const bool box =
                    qobject_cast<QLineEdit *>(child) || qobject_cast<QComboBox *>(child);
                if ((!box && !qobject_cast<QLabel *>(child) &&
                     !qobject_cast<QAbstractButton *>(child) &&
                     !qobject_cast<QGroupBox *>(child)) ||
                    qobject_cast<QMenuBar *>(child->parentWidget()))
                    continue;
                const QFont designed = box ? twips::boxFont() : twips::labelFont();
                const QFontInfo info(child->font());
                if (info.family() != QFontInfo(designed).family() ||
                    (!child->testAttribute(Qt::WA_SetFont) &&
                     info.pixelSize() != designed.pixelSize()))
                    changed << child->objectName() + u'=' + child->font().toString();
            }
        }
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(u"; "_s)));
    }

    // No caption is cut: given more room, a control draws no ink beyond the room it has.
    void noCaptionCut() {
        QStringList cut;
        for (QWidget *w : windows) {
            for (QWidget *child : w->findChildren<QWidget *>()) {
                auto *label = qobject_cast<QLabel *>(child);
                if ((!label && !qobject_cast<QRadioButton *>(child)) || !child->isVisible() ||
                    (label && (label->text().isEmpty() || label->autoFillBackground())))
                    continue;
                const int extra = 200;
                const qreal ratio = child->devicePixelRatioF();
                const auto [first, last] = inkColumns(child, extra);
                const bool right = label && (label->alignment() & Qt::AlignRight);
                if (right ? first < extra * ratio : last >= child->width() * ratio)
                    cut << child->objectName();
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u", "_s)));
    }

    // An open list's chosen entry: its text against the highlight behind it, 4.5:1 at least.
    void openListHighlight() {
        QStringList faint;
        for (QWidget *w : windows) {
            for (QComboBox *list : w->findChildren<QComboBox *>()) {
                if (!list->isEnabled() || list->count() == 0)
                    continue;
                list->setCurrentIndex(list->count() - 1);
                list->showPopup();
                QAbstractItemView *view = list->view();
                QVERIFY(QTest::qWaitForWindowExposed(view->window()));
                const QRect row = view->visualRect(view->currentIndex());
                const QImage shot = view->viewport()->grab(row).toImage();
                list->hidePopup();
                const double ratio = pixels::strongest(shot, pixels::commonest(shot));
                qInfo("%s: %.2f", qPrintable(list->objectName()), ratio);
                if (ratio < 4.5)
                    faint << list->objectName() + u": "_s + QString::number(ratio, 'f', 2);
            }
        }
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(u"; "_s)));
    }

    // An option's indicator, chosen or not, against the window: 3:1 at least.
    void optionIndicators() {
        QStringList faint;
        for (QWidget *w : windows) {
            for (QRadioButton *option : w->findChildren<QRadioButton *>()) {
                QStyleOptionButton opt;
                opt.initFrom(option);
                const QRect indicator =
                    option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, option);
                const QImage shot = option->grab(indicator).toImage();
                const double ratio =
                    pixels::strongest(shot, option->palette().color(QPalette::Window).rgb());
                qInfo("%s %d: %.2f", qPrintable(option->objectName()), option->isChecked(), ratio);
                if (ratio < 3.0)
                    faint << option->objectName() + u": "_s + QString::number(ratio, 'f', 2);
            }
        }
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(u"; "_s)));
    }
};

// As the program starts: QTEST_MAIN would fix the screen at 96 dpi.
int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    tst_themes test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_themes.moc"
