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
    auto matches = webAddressPattern().globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString address = withoutTrailingPunctuation(match.captured(0));
        if (address.isEmpty() || AddressToOpen(address).isEmpty())
            continue;
        QTextCursor cursor(document);
        cursor.setPosition(static_cast<int>(match.capturedStart(0)));
        cursor.setPosition(static_cast<int>(match.capturedStart(0) + address.size()), QTextCursor::KeepAnchor);
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(address);
        link.setFontUnderline(true);
        link.setForeground(QColor(0, 0, 238));
        cursor.mergeCharFormat(link);
    }
}

QString ReportLinks::AddressToOpen(const QString &linkText)
{
    QString text = linkText.trimmed();
    if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        text.prepend(QStringLiteral("http://"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return {};
    const QString scheme = url.scheme().toLower();
    const bool web = (scheme == QLatin1String("http") || scheme == QLatin1String("https")
                      || scheme == QLatin1String("ftp"))
        && !url.host().isEmpty();
    const bool mail = scheme == QLatin1String("mailto") && !url.path().isEmpty();
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
        const QString address = AddressToOpen(url.toString());
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
