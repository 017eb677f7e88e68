#pragma once

#include <QString>
#include <QStringView>
#include <span>
#include <string_view>

namespace pagewick {

struct EntityRow {
    std::u16string_view reference;   // "&name;", matched with exact letter case
    std::u16string_view replacement; // one to three characters
};

// The flattening table, in order of application: 91 rows, some references repeated on purpose.
std::span<const EntityRow> EntityFlatteningTable();

// Applies every row of the table in order, each over the whole text, without overlapping matches.
QString FlattenEntities(const QString& text);

// The characters an HTML named character reference stands for ("eacute" gives "é"), looked up in
// the full HTML list of named references; a null QString when the name is unknown. The name is
// given without "&" and ";".
QString LookUpHtmlNamedReference(QStringView name);

// Where references are read: text (a title, a line of the index) or an attribute value.
enum class ReferencesIn { Text, AttributeValue };

// Text with its character references resolved once, as a browser's HTML tokenizer reads them:
// numeric references with or without their ";" (one to nothing, a surrogate or past the last
// code point gives U+FFFD, one to a C1 control the windows-1252 character); named references with
// their ";", and the legacy names (those of HTML 4, "&copy", "&eacute") without it too, the longest
// that fits ("&notit;" is "¬it;"). In an attribute value a legacy name without ";" that a letter,
// a digit or "=" follows is no reference ("?a=1&copy=2" stays). An "&" that begins no reference
// stays as it stands.
QString ResolveCharacterReferences(QStringView text, ReferencesIn where = ReferencesIn::Text);
// The same for a text held already: one without an "&" is handed back as it is, without a copy.
QString ResolveCharacterReferences(const QString& text, ReferencesIn where = ReferencesIn::Text);

} // namespace pagewick
