// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for Titrova's start-up: a plain Qt Widgets window with the same widgets as
// the main window (a panel, two frames, 18 labels, 7 text boxes each with a step bar, 3
// lists, 2 option buttons, a button, a menu bar with four menus and one command) and none
// of Titrova's own work: no settings file, no lock, no icon, no style or font choices.
// bench/startup.sh times it against Titrova. With --designed-fonts its labels and boxes take
// Titrova's two sizes of Liberation Sans beside the system's menu font: the floor of a window
// that looks like Titrova's.
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

// A text box with its step bar and a caption before it, at (x, y) in pixels.
void input(QWidget *parent, const QString &caption, int x, int y) {
    (new QLabel(caption, parent))->setGeometry(x - 112, y, 107, 20);
    auto *box = new QLineEdit(QStringLiteral("0.00"), parent);
    box->setGeometry(x, y, 49, 20);
    auto *bar = new QScrollBar(Qt::Vertical, parent);
    bar->setGeometry(x + 49, y, 17, 20);
    bar->setRange(-1, 1);
}

QComboBox *list(QWidget *parent, const QStringList &items, int x, int y, int w) {
    auto *c = new QComboBox(parent);
    c->addItems(items);
    c->setGeometry(x, y, w, 21);
    return c;
}

void label(QWidget *parent, const QString &text, int x, int y, int w) {
    (new QLabel(text, parent))->setGeometry(x, y, w, 20);
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--designed-fonts") == 0) {
        const auto face = [](int pixels) {
            QFont f(QStringLiteral("Liberation Sans"));
            f.setPixelSize(pixels);
            return f;
        };
        for (const char *className : {"QLabel", "QGroupBox", "QRadioButton", "QPushButton"})
            QApplication::setFont(face(13), className);
        for (const char *className : {"QLineEdit", "QComboBox"})
            QApplication::setFont(face(11), className);
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Reference"));

    auto *client = new QWidget(&window);
    client->setFixedSize(482, 299);
    window.setCentralWidget(client);
    auto *panel = new QFrame(client);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setGeometry(0, 0, 481, 297);

    auto *acid = new QGroupBox(QStringLiteral("Acid Data"), panel);
    acid->setGeometry(8, 8, 209, 217);
    (new QRadioButton(QStringLiteral("Raise Acidity"), acid))->setGeometry(8, 24, 113, 20);
    (new QRadioButton(QStringLiteral("Lower Acidity"), acid))->setGeometry(8, 48, 113, 20);
    label(acid, QStringLiteral("Using"), 8, 72, 49);
    list(acid,
         {QStringLiteral("Acid Blend"), QStringLiteral("Citric Acid"), QStringLiteral("Malic Acid"),
          QStringLiteral("Tartaric Acid"), QStringLiteral("Blending")},
         56, 72, 137);
    input(acid, QStringLiteral("Tartaric"), 112, 104);
    label(acid, QStringLiteral("%"), 168, 104, 25);
    input(acid, QStringLiteral("Malic"), 112, 128);
    label(acid, QStringLiteral("%"), 168, 128, 25);
    input(acid, QStringLiteral("Citric"), 112, 152);
    label(acid, QStringLiteral("%"), 168, 152, 25);
    label(acid, QStringLiteral("TA Units"), 8, 185, 65);
    list(acid, {QStringLiteral("g/L"), QStringLiteral("%")}, 72, 184, 65);

    auto *batch = new QGroupBox(QStringLiteral("Batch Data"), panel);
    batch->setGeometry(8, 232, 209, 57);
    input(batch, QStringLiteral("Size"), 40, 24);
    list(batch,
         {QStringLiteral("U.S. Gal."), QStringLiteral("Imp. Gal."), QStringLiteral("Litres"),
          QStringLiteral("Hectolitres")},
         112, 24, 73);

    input(panel, QStringLiteral("Existing TA"), 360, 32);
    label(panel, QStringLiteral("g/L"), 432, 32, 33);
    input(panel, QStringLiteral("Target TA"), 360, 56);
    label(panel, QStringLiteral("g/L"), 432, 56, 25);
    input(panel, QStringLiteral("Blending Wine TA"), 360, 80);
    label(panel, QStringLiteral("g/L"), 432, 80, 25);
    label(panel, QStringLiteral("Required Addition"), 240, 160, 113);
    label(panel, QStringLiteral("0.00"), 248, 184, 67);
    label(panel, QStringLiteral("Grams"), 320, 184, 145);
    (new QPushButton(QStringLiteral("&Calculate"), client))->setGeometry(288, 248, 121, 33);

    QMenuBar *bar = window.menuBar();
    QObject::connect(bar->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("Exit")),
                     &QAction::triggered, &app, &QApplication::quit);
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    for (const char *item : {"Cut", "Copy", "Paste"})
        edit->addAction(QString::fromLatin1(item));
    bar->addAction(QStringLiteral("&Options"));
    bar->addMenu(QStringLiteral("&Tools"))->addAction(QStringLiteral("Calculator"));
    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    for (const char *item : {"Manual", "Web Page", "Email the Author"})
        help->addAction(QString::fromLatin1(item));
    help->addSeparator();
    help->addAction(QStringLiteral("About"));

    window.show();
    return app.exec();
}
