#pragma once

#include <QString>
#include <QStringView>
#include <span>

namespace pagewick {

struct EntityRow {
    const char16_t* reference;   // "&name;", matched with exact letter case
    const char16_t* replacement; // one to three characters
};

// The flattening table, in order of application: 91 rows, some references repeated on purpose.
std::span<const EntityRow> EntityFlatteningTable();

// Applies every row of the table in order, each over the whole text, without overlapping matches.
QString FlattenEntities(const QString& text);

// The characters an HTML named character reference stands for ("eacute" gives "é"), looked up in
// the full HTML list of named references; a null QString when the name is unknown. The name is
// given without "&" and ";".
QString LookUpHtmlNamedReference(QStringView name);

// Text with its character references resolved once, as a browser reads page text and attribute
// values: named references need their ";", numeric ones do not; a numeric reference to nothing,
// a surrogate or past the last code point gives U+FFFD, and one to a C1 control the
// windows-1252 character. An "&" that begins no reference stays as it stands.
QString ResolveCharacterReferences(QStringView text);

} // namespace pagewick
