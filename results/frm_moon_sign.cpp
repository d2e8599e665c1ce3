#include "results/frm_moon_sign.h"

#include "app/app_context.h"
#include "app/resources.h"
#include "app/ui_font.h"
#include "app/window_fit.h"
#include "links/link_label.h"
#include "links/web_pages.h"
#include "results/clipboard_guard.h"
#include "results/frm_save.h"
#include "results/sign_images.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QColor kBackground(255, 218, 185);
const QColor kFieldText(128, 0, 128);
const QColor kMoonText(192, 0, 0);
const QColor kHeading(0, 64, 0);
const QColor kLabelGround(224, 224, 224);
const QColor kCaptionText(0, 0, 0);
const QColor kFieldGround(255, 255, 255);

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont f = VerdanaFont(11.25, true);
    f.setUnderline(true);
    label->setFont(f);
    SetTextColour(label, kHeading);
    return label;
}

QString qt(const std::string &s)
{
    return QString::fromStdString(s);
}

// The two panels in one place, as tall at a width as the taller of them
// needs there with its wrapped text, so that neither is squashed.
class PanelStack : public QStackedWidget {
public:
    using QStackedWidget::QStackedWidget;

    int addPanel(QWidget *panel)
    {
        // A panel's new text changes what the stack needs.
        panel->installEventFilter(this);
        return addWidget(panel);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        int height = 0;
        for (int i = 0; i < count(); ++i) {
            const QLayout *layout = widget(i)->layout();
            height = std::max(height, layout && layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                                                             : widget(i)->sizeHint().height());
        }
        return height;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QStackedWidget::eventFilter(watched, event);
    }
};

} // namespace

frmMoonSign::frmMoonSign(const Reading &reading, AppContext *context, QWidget *parent)
    : QMainWindow(parent)
    , m_reading(reading)
    , m_context(context)
    , m_clipboardGuard(new ClipboardGuard(this))
{
    InitResources();
    setObjectName(QStringLiteral("frmMoonSign"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(ApplicationCaption));
    setFont(VerdanaFont());

    // The peach ground is fixed, so its captions are fixed too, whatever the
    // theme; the menu bar keeps the theme's own colours.
    auto *central = new QWidget(this);
    SetColours(central, kCaptionText, kBackground);
    auto *layout = new QVBoxLayout(central);

    // Both panels share one place; only the one in front is seen.
    auto *stack = new PanelStack(central);
    panels = stack;
    panels->setObjectName(QStringLiteral("panels"));
    Frame1 = new QGroupBox(QStringLiteral("Personal Details"), panels);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *details = new QVBoxLayout(Frame1);
    auto *people = new QHBoxLayout;
    fraUserM = buildPerson(true);
    fraUserF = buildPerson(false);
    people->addWidget(fraUserM);
    people->addWidget(fraUserF);
    details->addLayout(people);
    // What an uncertain time of birth would change, under both people.
    lblOtherPairsCaption = new QLabel(Frame1);
    lblOtherPairsCaption->setObjectName(QStringLiteral("lblOtherPairsCaption"));
    lblOtherPairsCaption->setFont(VerdanaFont(0, true));
    lblOtherPairs = new QLabel(Frame1);
    lblOtherPairs->setObjectName(QStringLiteral("lblOtherPairs"));
    lblOtherPairs->setWordWrap(true);
    lblOtherPairs->setTextFormat(Qt::PlainText);
    SetTextColour(lblOtherPairs, kFieldText);
    lblOtherPairsCaption->setBuddy(lblOtherPairs);
    details->addWidget(lblOtherPairsCaption);
    details->addWidget(lblOtherPairs);
    buildAnalysis();
    stack->addPanel(Frame1);
    stack->addPanel(Frame2);
    layout->addWidget(panels, 1);

    cmdBirthDetails = new QPushButton(QStringLiteral("Birth Details"), central);
    cmdBirthDetails->setObjectName(QStringLiteral("cmdBirthDetails"));
    cmdMoonCompatibilityAnalysis = new QPushButton(QStringLiteral("Moon Sign Compatibility Analysis"), central);
    cmdMoonCompatibilityAnalysis->setObjectName(QStringLiteral("cmdMoonCompatibilityAnalysis"));
    cmdPrint = new QPushButton(QStringLiteral("&Print"), central);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdSave = new QPushButton(QStringLiteral("&save"), central);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setEnabled(false);
    cmdBack = new QPushButton(QStringLiteral("&Back"), central);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmdBirthDetails, cmdMoonCompatibilityAnalysis, cmdPrint, cmdSave, cmdBack})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    Label61 = new LinkLabel(QStringLiteral("Share your reading and meet other Moon-sign enthusiasts in our discussion "
                                           "forum. Click here to join in."),
                            central);
    Label61->setObjectName(QStringLiteral("Label61"));
    Label61->setAlignment(Qt::AlignCenter);
    layout->addWidget(Label61);
    setCentralWidget(ScrollingBody(central, this));

    buildMenus();
    connect(cmdBirthDetails, &QPushButton::clicked, this, &frmMoonSign::cmdBirthDetails_Click);
    connect(cmdMoonCompatibilityAnalysis, &QPushButton::clicked, this, &frmMoonSign::cmdMoonCompatibilityAnalysis_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmMoonSign::cmdPrint_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmMoonSign::cmdBack_Click);
    connect(Label5, &LinkLabel::activated, this, OpenHomePage);
    connect(Label61, &LinkLabel::activated, this, OpenHomePage);

    for (QLineEdit *field : resultFields())
        m_clipboardGuard->watch(field);

    Form_Load();
    FitWindowToScreen(this, central, QSize(860, 580));
}

QGroupBox *frmMoonSign::buildPerson(bool male)
{
    auto *group = new QGroupBox(male ? QStringLiteral("Your Moon Sign") : QStringLiteral("Your Partner's Moon Sign"), Frame1);
    group->setObjectName(male ? QStringLiteral("fraUserM") : QStringLiteral("fraUserF"));
    const QString whose = male ? QStringLiteral("Man's ") : QStringLiteral("Partner's ");
    auto *layout = new QVBoxLayout(group);

    auto *picture = new QLabel(group);
    picture->setObjectName(male ? QStringLiteral("picMaleMoonSign") : QStringLiteral("picFemaleMoonSign"));
    picture->setAccessibleName(whose + QStringLiteral("Moon sign picture"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setMinimumSize(SignPictureWidth, SignPictureHeight);
    picture->setPixmap(DesignTimePicture(devicePixelRatioF()));
    layout->addWidget(picture);

    auto *form = new QFormLayout;
    const char suffix = male ? 'M' : 'F';
    const struct {
        const char *caption;
        const char *name;
        const char *accessible;
    } rows[] = {
        {"Name", "txtUser", "name"},
        {"Date of Birth", "txtDOB", "date of birth"},
        {"Time Of Birth", "txtTOB", "time of birth"},
        {"City", "txtCity", "city of birth"},
        {"State", "txtState", "state of birth"},
        {"Country", "txtCountry", "country of birth"},
        {"Moon Sign", "txtMoon", "Moon sign"},
    };
    QList<QLineEdit *> fields;
    for (const auto &row : rows) {
        auto *field = new QLineEdit(group);
        field->setObjectName(QLatin1String(row.name) + QLatin1Char(suffix));
        field->setAccessibleName(whose + QLatin1String(row.accessible));
        field->setReadOnly(true);
        field->setContextMenuPolicy(Qt::NoContextMenu);
        SetFieldColours(field, kFieldText, kFieldGround);
        form->addRow(QLatin1String(row.caption), field);
        fields.append(field);
    }
    QLineEdit *moon = fields.last();
    moon->setFont(VerdanaFont(0, true));
    SetFieldColours(moon, kMoonText, kFieldGround);
    layout->addLayout(form);

    // How the reading was made, after the details: the instant the engine
    // used, the Moon's place and the times of the day for each sign.
    auto *working = new QFormLayout;
    working->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const char *names[] = {"lblBorn", "lblClock", "lblUniversalTime", "lblMoonAt", "lblMoonNote"};
    QList<std::pair<QLabel *, QLabel *>> &workingRows = male ? m_workingM : m_workingF;
    for (const char *valueName : names) {
        auto *caption = new QLabel(group);
        auto *value = new QLabel(group);
        value->setObjectName(QLatin1String(valueName) + QLatin1Char(suffix));
        value->setWordWrap(true);
        value->setTextFormat(Qt::PlainText);
        SetTextColour(value, kFieldText);
        caption->setBuddy(value);
        working->addRow(caption, value);
        workingRows.append(std::pair{caption, value});
    }
    layout->addLayout(working);
    (male ? lblMoonNoteM : lblMoonNoteF) = workingRows.last().second;
    layout->addStretch();

    QLineEdit **targets[2][7] = {
        {&txtUserM, &txtDOBM, &txtTOBM, &txtCityM, &txtStateM, &txtCountryM, &txtMoonM},
        {&txtUserF, &txtDOBF, &txtTOBF, &txtCityF, &txtStateF, &txtCountryF, &txtMoonF},
    };
    for (int i = 0; i < 7; ++i)
        *targets[male ? 0 : 1][i] = fields[i];
    (male ? picMaleMoonSign : picFemaleMoonSign) = picture;
    return group;
}

void frmMoonSign::buildAnalysis()
{
    Frame2 = new QGroupBox(QStringLiteral("Moon Sign Compatibility Interpretation"), panels);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto *layout = new QVBoxLayout(Frame2);

    Label2 = heading(QString(), Frame2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    m_decorLeft = new QLabel(Frame2);
    m_decorLeft->setPixmap(RenderPicture(QStringLiteral(":/pictures/decor_moon.svg"), QSize(72, 72), devicePixelRatioF()));
    m_decorLeft->setAccessibleName(QStringLiteral("Crescent moon decoration"));
    m_decorRight = new QLabel(Frame2);
    m_decorRight->setAccessibleName(QStringLiteral("Two hearts decoration"));
    m_decorRight->setPixmap(RenderPicture(QStringLiteral(":/pictures/decor_hearts.svg"), QSize(72, 72), devicePixelRatioF()));
    auto *top = new QHBoxLayout;
    top->addWidget(m_decorLeft);
    top->addWidget(Label2, 1);
    top->addWidget(m_decorRight);
    layout->addLayout(top);

    auto valueLabel = [this](const char *name) {
        auto *label = new QLabel(Frame2);
        label->setObjectName(QLatin1String(name));
        label->setFont(VerdanaFont(11.25, true));
        SetColours(label, kFieldText, kLabelGround);
        label->setMargin(4);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        return label;
    };
    lblPercentage = valueLabel("lblPercentage");
    lblPercentage->setAccessibleName(QStringLiteral("Percentage of compatibility"));
    lblComment = valueLabel("lblComment");
    lblComment->setAccessibleName(QStringLiteral("Verdict"));
    auto *percentRow = new QHBoxLayout;
    percentRow->addWidget(heading(QStringLiteral("Percentage Of Compatibility"), Frame2));
    percentRow->addWidget(lblPercentage);
    percentRow->addSpacing(16);
    percentRow->addWidget(lblComment);
    percentRow->addStretch();
    layout->addLayout(percentRow);

    layout->addWidget(heading(QStringLiteral("Detailed Analysis"), Frame2));
    lblDescription = new QLabel(Frame2);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setAccessibleName(QStringLiteral("Detailed analysis"));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lblDescription->setFont(VerdanaFont(8.25, true));
    SetTextColour(lblDescription, kFieldText);
    lblDescription->setTextFormat(Qt::PlainText);
    auto *scroll = new QScrollArea(Frame2);
    scroll->setWidget(lblDescription);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->viewport()->setAutoFillBackground(false);
    lblDescription->setAutoFillBackground(false);
    layout->addWidget(scroll, 1);

    Label5 = new LinkLabel(QStringLiteral("For a detailed, personal analysis of your relationship, visit our web "
                                          "site. Click here."),
                           Frame2);
    Label5->setObjectName(QStringLiteral("Label5"));
    layout->addWidget(Label5);
}

void frmMoonSign::buildMenus()
{
    mnuPrint = NamedAction(this, QStringLiteral("Print"), "mnuPrint");
    mnuBack = NamedAction(this, QStringLiteral("&Back"), "mnuBack");
    mnuExit = NamedAction(this, QStringLiteral("Exit"), "mnuExit");
    mnuPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    AddFileMenu(this, {mnuPrint, mnuBack, mnuExit});
    connect(mnuPrint, &QAction::triggered, this, &frmMoonSign::cmdPrint_Click);
    connect(mnuBack, &QAction::triggered, this, &frmMoonSign::cmdBack_Click);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    static_cast<HelpMenus &>(*this) = AddHelpMenus(this);
}

void frmMoonSign::showSignPictures()
{
    const qreal dpr = devicePixelRatioF();
    const int male = SignImageIndex(m_reading.man.moonSign.toStdString());
    if (male > 0)
        picMaleMoonSign->setPixmap(SignPicture(male, dpr));
    const int female = SignImageIndex(m_reading.woman.moonSign.toStdString());
    if (female > 0)
        picFemaleMoonSign->setPixmap(SignPicture(female, dpr));
}

void frmMoonSign::Form_Load()
{
    showSignPictures();
    Label2->setText(QStringLiteral("Compatibility of  ") + m_reading.man.moonSign + QStringLiteral(" With ")
                    + m_reading.woman.moonSign);
    lblPercentage->setText(qt(m_reading.compatibility.CompatPercent));
    lblComment->setText(qt(m_reading.compatibility.CompatVerdict));
    lblDescription->setText(qt(m_reading.compatibility.CompatText));

    const QList<QLineEdit *> fields = resultFields();
    for (int person = 0; person < 2; ++person) {
        const PersonTexts t = ShownTexts(person == 0 ? m_reading.man : m_reading.woman);
        const QString texts[] = {t.name, t.dateOfBirth, t.timeOfBirth, t.city, t.state, t.country, t.moonSign};
        for (int i = 0; i < 7; ++i) {
            // A text longer than its box shows its beginning.
            fields[person * 7 + i]->setText(texts[i]);
            fields[person * 7 + i]->setCursorPosition(0);
        }
    }
    showWorking();
    cmdMoonCompatibilityAnalysis_Click();
}

void frmMoonSign::showWorking()
{
    for (const auto &[person, rows] : {std::pair{&m_reading.man, &m_workingM}, std::pair{&m_reading.woman, &m_workingF}}) {
        const QList<WorkingLine> lines = WorkingLines(*person);
        for (qsizetype i = 0; i < lines.size() && i < rows->size(); ++i) {
            const auto &[caption, value] = (*rows)[i];
            caption->setText(lines[i].caption);
            value->setText(lines[i].value);
            value->setAccessibleName(lines[i].caption);
        }
    }
    const OtherPairs pairs = OtherPairsOf(m_reading);
    lblOtherPairsCaption->setText(pairs.caption);
    lblOtherPairs->setText(pairs.lines.join(QLatin1Char('\n')));
    lblOtherPairs->setAccessibleName(pairs.caption);
    lblOtherPairsCaption->setVisible(!pairs.lines.isEmpty());
    lblOtherPairs->setVisible(!pairs.lines.isEmpty());
}

QList<QLineEdit *> frmMoonSign::resultFields() const
{
    return {txtUserM, txtDOBM, txtTOBM, txtCityM, txtStateM, txtCountryM, txtMoonM,
            txtUserF, txtDOBF, txtTOBF, txtCityF, txtStateF, txtCountryF, txtMoonF};
}

void frmMoonSign::cmdBirthDetails_Click()
{
    panels->setCurrentWidget(Frame1);
}

void frmMoonSign::cmdMoonCompatibilityAnalysis_Click()
{
    panels->setCurrentWidget(Frame2);
}

void frmMoonSign::cmdPrint_Click()
{
    frmSave report(m_reading, this, m_context);
    report.exec();
}

void frmMoonSign::cmdBack_Click()
{
    Q_EMIT backRequested();
}

void frmMoonSign::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT quitRequested();
}
