#include "gui_support.h"

#include "links/web_search.h"
#include "results/frm_save.h"
#include "results/report_links.h"

#include <QClipboard>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

// Hostile text and hostile links. Run on a real X server where one is at
// hand, so that the primary selection is the X11 one.
class SafetyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Text safety
    void messageBoxesShowPlainText();
    void readingCannotBeCopiedOut_data();
    void readingCannotBeCopiedOut();
    // Links
    void everyDrawnLinkOpens_data();
    void everyDrawnLinkOpens();
    void markingIsOneEditWhateverTheCount();
    void searchTextIsEncoded_data();
    void searchTextIsEncoded();
};

void SafetyTest::messageBoxesShowPlainText()
{
    const QString text = QStringLiteral("<a href=ssh:x.example>SSH</a>.rtf\nsecond line");
    QString shown;
    int format = -1;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        shown = label->text();
        format = label->textFormat();
        box->accept();
    });
    MessageBox::show(nullptr, text, QMessageBox::Critical);
    QCOMPARE(format, int(Qt::PlainText));
    QCOMPARE(shown, text);
}

void SafetyTest::readingCannotBeCopiedOut_data()
{
    QTest::addColumn<bool>("report");
    QTest::addColumn<QString>("action");
    for (bool report : {false, true}) {
        const char *where = report ? "report: " : "result field: ";
        for (const char *action : {"hover", "double click", "drag", "select all and copy", "Ctrl+Insert", "context menu"})
            QTest::newRow(qPrintable(QLatin1String(where) + QLatin1String(action))) << report << QString::fromLatin1(action);
    }
}

void SafetyTest::readingCannotBeCopiedOut()
{
    QFETCH(bool, report);
    QFETCH(QString, action);
    Session s;
    Person man;
    man.city = QStringLiteral("Copenhagen");
    frmMoonSign *r = s.read(man, Person{});
    QVERIFY(r);
    std::unique_ptr<frmSave> save;
    QWidget *field = r->txtCityM;
    QWidget *surface = field;
    if (report) {
        save = std::make_unique<frmSave>(r->reading(), r);
        save->show();
        field = save->RTB;
        surface = save->RTB->viewport();
    }
    QVERIFY(QTest::qWaitForWindowExposed(field->window()));
    field->activateWindow();
    field->setFocus();

    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString kept = QStringLiteral("copied elsewhere");
    clipboard->setText(kept);
    if (clipboard->supportsSelection())
        clipboard->setText(kept, QClipboard::Selection);

    const QPoint at = report ? save->RTB->cursorRect(save->RTB->document()->find(QStringLiteral("Copenhagen"))).center()
                             : QPoint(8, field->height() / 2);
    if (action == QLatin1String("hover")) {
        QTest::mouseMove(surface, at);
        QMouseEvent move(QEvent::MouseMove, QPointF(at), surface->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(surface, &move);
    } else if (action == QLatin1String("double click")) {
        QTest::mouseDClick(surface, Qt::LeftButton, {}, at);
    } else if (action == QLatin1String("drag")) {
        QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(2, at.y()));
        QMouseEvent move(QEvent::MouseMove, QPointF(surface->width() - 2, at.y()),
                         surface->mapToGlobal(QPointF(surface->width() - 2, at.y())), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(surface, &move);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(surface->width() - 2, at.y()));
    } else if (action == QLatin1String("select all and copy")) {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    } else if (action == QLatin1String("Ctrl+Insert")) {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Insert, Qt::ControlModifier);
    } else if (action == QLatin1String("context menu")) {
        QCOMPARE(field->contextMenuPolicy(), Qt::NoContextMenu);
    }
    QApplication::processEvents();

    QCOMPARE(clipboard->text(), kept);
    if (clipboard->supportsSelection()) {
        const QString primary = clipboard->text(QClipboard::Selection);
        QVERIFY2(primary == kept || primary.isEmpty(), qPrintable(primary));
    }
    // The report keeps its own selection, for printing it.
    if (report && action == QLatin1String("double click"))
        QCOMPARE(save->RTB->textCursor().selectedText(), QStringLiteral("Copenhagen"));
}

void SafetyTest::everyDrawnLinkOpens_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened");
    QTest::newRow("%20") << "http://example.org/a%20b" << "http://example.org/a%20b";
    QTest::newRow("encoded plus and slash") << "https://example.org/x%2By%2Fz?q=a%2Bb" << "https://example.org/x%2By%2Fz?q=a%2Bb";
    QTest::newRow("non-ASCII path") << "http://example.org/caf\u00e9" << "http://example.org/caf%C3%A9";
    QTest::newRow("www with tilde") << "www.example.com/%7Euser" << "http://www.example.com/~user";
}

void SafetyTest::everyDrawnLinkOpens()
{
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    Session s;
    Person man;
    man.city = QStringLiteral("see ") + typed;
    frmMoonSign *r = s.read(man, Person{});
    QVERIFY(r);
    frmSave report(r->reading(), r);
    report.resize(800, 700);
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    const QTextCursor found = report.RTB->document()->find(typed);
    QVERIFY(!found.isNull());
    QTextCursor inside(report.RTB->document());
    inside.setPosition(found.selectionStart() + 2);
    QVERIFY(inside.charFormat().isAnchor());
    s.recorder.urls.clear();
    QTest::mouseClick(report.RTB->viewport(), Qt::LeftButton, {}, report.RTB->cursorRect(inside).center());
    QCOMPARE(s.recorder.urls, QStringList{opened});
}

// Marking used to change the document once per address, each change laying
// a long paragraph out again.
void SafetyTest::markingIsOneEditWhateverTheCount()
{
    for (int count : {1, 300}) {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QStringLiteral("http://example.org/%1 ").arg(i);
        QTextDocument document;
        document.setPlainText(text);
        document.documentLayout(); // changes are reported once it is laid out
        QSignalSpy changes(&document, &QTextDocument::contentsChange);
        ReportLinks::MarkWebAddresses(&document);
        QCOMPARE(changes.count(), 1);
        int anchors = 0;
        for (QTextBlock::iterator it = document.begin().begin(); !it.atEnd(); ++it)
            anchors += it.fragment().charFormat().isAnchor() ? 1 : 0;
        QCOMPARE(anchors, count);
    }
}

void SafetyTest::searchTextIsEncoded_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    QTest::newRow("plus") << "C++ City Latitude Longitude" << "C%2B%2B%20City%20Latitude%20Longitude";
    QTest::newRow("query syntax") << "A&B=C#D?E/F" << "A%26B%3DC%23D%3FE%2FF";
    QTest::newRow("percent") << "50% off" << "50%25%20off";
    QTest::newRow("non-ASCII") << "S\u00e3o Paulo" << "S%C3%A3o%20Paulo";
}

void SafetyTest::searchTextIsEncoded()
{
    QFETCH(QString, text);
    QFETCH(QString, query);
    Recorder recorder;
    WebSearchComponent().Search(text, QStringLiteral("http://www.zuvazize.example"));
    QCOMPARE(recorder.urls.size(), 1);
    QCOMPARE(recorder.urls[0], QStringLiteral("https://duckduckgo.com/?q=") + query);
}

QTEST_MAIN(SafetyTest)
#include "safety_test.moc"
