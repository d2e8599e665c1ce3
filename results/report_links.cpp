#include "results/report_links.h"

#include "links/url_opener.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace {

const QRegularExpression &webAddressPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:(?:https?|ftp)://|www\.|mailto:)[^\s<>"{}|\\^`]+)"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Punctuation that ends a sentence rather than the address.
QString withoutTrailingPunctuation(QString s)
{
    while (!s.isEmpty() && QStringLiteral(".,;:!?)]'").contains(s.back()))
        s.chop(1);
    return s;
}

} // namespace

void ReportLinks::MarkWebAddresses(QTextDocument *document)
{
    const QString text = document->toPlainText();
    // One edit block without undo: the document is laid out once at the end
    // instead of once per link, which kept a box full of addresses busy for
    // seconds.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    auto matches = webAddressPattern().globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString address = withoutTrailingPunctuation(match.captured(0));
        // Marked only when a click on it opens it.
        if (address.isEmpty() || AddressToOpen(QUrl(address)).isEmpty())
            continue;
        cursor.setPosition(static_cast<int>(match.capturedStart(0)));
        cursor.setPosition(static_cast<int>(match.capturedStart(0) + address.size()), QTextCursor::KeepAnchor);
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(address);
        link.setFontUnderline(true);
        link.setForeground(QColor(0, 0, 238));
        cursor.mergeCharFormat(link);
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
}

QString ReportLinks::AddressToOpen(const QString &linkText)
{
    QString text = linkText.trimmed();
    if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        text.prepend(QStringLiteral("http://"));
    return AddressToOpen(QUrl(text, QUrl::StrictMode));
}

QString ReportLinks::AddressToOpen(const QUrl &link)
{
    QUrl url = link;
    // The text browser hands over a link without a scheme as a bare path.
    if (url.scheme().isEmpty() && url.path().startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        url = QUrl(QStringLiteral("http://") + link.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    if (!url.isValid())
        return {};
    const QString scheme = url.scheme().toLower();
    const bool web = (scheme == QLatin1String("http") || scheme == QLatin1String("https")
                      || scheme == QLatin1String("ftp"))
        && !url.host().isEmpty();
    const bool mail = scheme == QLatin1String("mailto") && !url.path().isEmpty();
    // The encoded form: %20 stays %20 rather than turning into a blank.
    return web || mail ? url.toString(QUrl::FullyEncoded) : QString();
}

void ReportLinks::EnableLinkClicks(QTextBrowser *richText)
{
    DisableLinkClicks();
    m_richText = richText;
    richText->setOpenLinks(false);
    richText->setOpenExternalLinks(false);
    richText->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_connection = QObject::connect(richText, &QTextBrowser::anchorClicked, richText, [](const QUrl &url) {
        const QString address = AddressToOpen(url);
        if (!address.isEmpty())
            UrlOpener::open(address);
    });
}

void ReportLinks::DisableLinkClicks()
{
    if (!m_connection)
        return;
    QObject::disconnect(m_connection);
    m_connection = {};
    if (m_richText)
        m_richText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_richText = nullptr;
}
