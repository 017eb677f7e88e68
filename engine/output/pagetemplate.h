#pragma once

#include "engine/output/index.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace pagewick {

// A stylesheet link for a page's head, <link rel="stylesheet" href="URL">, the address escaped
// for the attribute.
QString StylesheetLink(const QString& url);

// A page of the user's own around the index: HTML with the placeholders {{title}} (the page title,
// as text), {{index}} (the index), {{updated}} (the newest page date, RFC 3339) and {{count}} (the
// number of pages); "{{{{" stands for "{{". The page is written in UTF-8 and says so: the template's
// own charset declarations are rewritten, or <meta charset="utf-8"> is put at the start of its head.
class PageTemplate {
public:
    enum Placeholder : unsigned { Title = 1u << 0, Index = 1u << 1, Updated = 1u << 2, Count = 1u << 3 };

    // The template from a file's bytes, decoded as a page is (a byte-order mark, an XML or meta
    // charset declaration, else UTF-8 or a guess). A stylesheet address adds a link at the end of
    // its head. nullopt, with error saying why (with the line, for a placeholder), when a
    // placeholder is unknown or not closed, {{index}} is missing or stands inside a tag.
    static std::optional<PageTemplate> Parse(QByteArrayView bytes, const QString& stylesheetUrl = QString(),
                                             QString* error = nullptr);

    // Whether the template holds the placeholder (so that {{updated}} alone makes pages' dates read).
    bool uses(Placeholder placeholder) const { return (used & placeholder) != 0; }

    // The page: the template with its placeholders filled in. The title is plain text, escaped as
    // the place it stands in needs (text, or an attribute value).
    QString render(const QString& pageTitle, const QString& indexText, const IndexSummary& summary) const;

    // The same page handed to sink piece by piece; writeIndex hands the index to the sink it is given
    // where {{index}} stands.
    using Sink = std::function<void(const QString&)>;
    void render(const QString& pageTitle, const std::function<void(const Sink&)>& writeIndex,
                const IndexSummary& summary, const Sink& sink) const;

private:
    enum class Context { Text, QuotedValue, InTag };
    struct Piece {
        unsigned placeholder = 0; // 0: literal text
        Context context = Context::Text;
        QString text;
    };
    QList<Piece> pieces;
    unsigned used = 0;
};

// The page of the template around the index of the request's pages, handed to sink piece by piece.
// The index waits, as it is made, in a spool (a little in memory, the rest in a temporary file)
// until every page is read and {{updated}} and {{count}} are known: the page is never held whole.
void StreamTemplatePage(const PageTemplate& pageTemplate, const QString& pageTitle,
                        const IndexRequest& request, const std::function<void(const QString&)>& sink);

// The template file at path, read whole (a template is a page of the user's: at most 16 MiB, and
// only a regular file: a FIFO or a device is refused, never waited on) and parsed. nullopt, with
// error saying why, when it cannot be read or parsed.
std::optional<PageTemplate> LoadPageTemplate(const QString& path, const QString& stylesheetUrl = QString(),
                                             QString* error = nullptr);

} // namespace pagewick
