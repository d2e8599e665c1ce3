#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QFrame;
class LinkLabel;

// The About box, shown modally.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    QLabel *picIcon = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    LinkLabel *lblCobrand = nullptr;
    LinkLabel *lblHomePage = nullptr;
    QFrame *Line1 = nullptr;
    QPushButton *cmdOK = nullptr;
};
