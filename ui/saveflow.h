#pragma once

#include <QString>
#include <functional>

class QFileDialog;
class QWidget;

namespace pagewick {

// "Save HTML file": asks for the page title, lets the user pick a file in cdl (kept by the main
// window, so its last file name persists) and writes the page around indexText to it. A failing
// step is reported with Abort, Retry and Ignore.
// The dynamic property of cdl that keeps the name (without folder) of the file last saved.
inline constexpr char kLastFileNameProperty[] = "pagewickLastFileName";

void SaveIndexPage(QWidget* parent, QFileDialog* cdl, const QString& folderText, const QString& indexText);

// The same flow with the page made by makePage from the title given (a template's page, or the
// built-in one with a stylesheet).
void SaveIndexPage(QWidget* parent, QFileDialog* cdl, const QString& folderText,
                   const std::function<QString(const QString& title)>& makePage);

// Saves a built text (a sitemap, an Atom feed) the same way: the dialog opens in the folder with
// offeredName filled in (its extension is the one added when the user gives none), and a failing
// write is reported with Abort, Retry and Ignore.
void SaveTextFile(QWidget* parent, QFileDialog* dialog, const QString& folderText, const QString& offeredName,
                  const QString& text);

} // namespace pagewick
