#include "links/frm_about.h"

#include "app/app_context.h"
#include "app/resources.h"
#include "app/ui_font.h"
#include "app/window_fit.h"
#include "links/link_label.h"
#include "links/web_pages.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    InitResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromLatin1(ApplicationCaption));
    setFont(VerdanaFont());
    setModal(true);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(QIcon(QStringLiteral(":/icon/app.svg")).pixmap(64, 64));
    picIcon->setAlignment(Qt::AlignTop);

    Label2 = new QLabel(QString::fromLatin1(ApplicationCaption), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(VerdanaFont(12, true));

    Label1 = new QLabel(QStringLiteral(
        "RU Zuva Zize Vadiveziduzor Software gives you a better understanding about your compatibility with your "
        "partner\u2019s moon sign. Moon signs play an important role in your emotional and personal well being. This "
        "software reveals certain new and hitherto unknown features of you and your partner\u2019s personality. This "
        "knowledge may come in handy when you select your life partner. Also, you may keep a close watch on the "
        "probable problem areas that might arise in your relationship, so as to reduce any possible causes of "
        "friction. All rights to this software are held by Zuva Zize Software."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    Label3 = new QLabel(QStringLiteral("Home Business Opportunity. Start your own Internet business and make money "
                                       "online. Get this software fully branded for your website."), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);

    lblCobrand = new LinkLabel(QStringLiteral(" Click here for more details."), this);
    connect(lblCobrand, &LinkLabel::activated, this, OpenFullBrandPage);
    lblCobrand->setObjectName(QStringLiteral("lblCobrand"));
    lblHomePage = new LinkLabel(QStringLiteral("Click here to visit ") + HomePageAddress(), this);
    connect(lblHomePage, &LinkLabel::activated, this, OpenHomePage);
    lblHomePage->setObjectName(QStringLiteral("lblHomePage"));

    // Credit for the place finder's data, which its licence asks for.
    auto *placeData = new QLabel(QStringLiteral("Place names and coordinates: GeoNames, CC BY 4.0"), this);
    placeData->setObjectName(QStringLiteral("lblPlaceData"));
    placeData->setWordWrap(true);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->addWidget(Label2);
    text->addWidget(Label1);
    text->addWidget(Label3);
    text->addWidget(lblCobrand);
    text->addWidget(lblHomePage);
    text->addWidget(placeData);
    // Room to spare goes below the text, not between its lines.
    text->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addLayout(text, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Line1);
    layout->addLayout(buttons);

    setMinimumWidth(520);
    FitWindowToLayout(this);
    cmdOK->setFocus();
}
