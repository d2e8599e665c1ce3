#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QTextBrowser>

// Live web addresses in the report. Enabling marks every address in the
// document as a link and opens a left-clicked one in the browser; disabling
// takes both back. Only web and mail addresses ever open, never local files.
class ReportLinks {
public:
    void EnableLinkClicks(QTextBrowser *richText);
    void DisableLinkClicks();
    bool enabled() const { return m_connection; }

    // Marks the addresses found in the document as links.
    static void MarkWebAddresses(QTextDocument *document);

    // The address to open for a link's text, or an empty string when it is
    // not one that may be opened.
    static QString AddressToOpen(const QString &linkText);
    // The same for a clicked link as the text browser hands it over.
    static QString AddressToOpen(const QUrl &link);

private:
    QPointer<QTextBrowser> m_richText;
    QMetaObject::Connection m_connection;
};
