// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The About box: the program's name, version, icon and copyright, and two links. It deletes
// itself when closed, so each Help > About shows a fresh one. Control names: docs/names.md.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

public slots:
    void Form_Activate();
    void cmdOK_Click();
    void lblWeb_Click();
    void lblMail_Click();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QFrame *Picture1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Picture2;
    QLabel *Label4;
    QLabel *lblMail;
    QLabel *lblWeb;
    QPushButton *cmdOK;
};
