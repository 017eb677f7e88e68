#pragma once

#include <QString>
#include <functional>

class QFileDialog;
class QWidget;

namespace pagewick {

// "Save HTML file": asks for the page title, lets the user pick a file in cdl and writes the page
// around indexText to it. A failing step is reported with Abort, Retry and Ignore. The main window
// keeps cdl and lastFileName for its life: the dialog offers the name (without folder) of the file
// last saved, and a save sets it.
void SaveIndexPage(QWidget* parent, QFileDialog* cdl, QString* lastFileName, const QString& folderText,
                   const QString& indexText);

// The same flow with the page made by makePage from the title given (a template's page, or the
// built-in one with a stylesheet).
void SaveIndexPage(QWidget* parent, QFileDialog* cdl, QString* lastFileName, const QString& folderText,
                   const std::function<QString(const QString& title)>& makePage);

// Saves a built text (a sitemap, an Atom feed) the same way: the dialog opens in the folder with
// offeredName filled in (its extension is the one added when the user gives none), and a failing
// write is reported with Abort, Retry and Ignore.
void SaveTextFile(QWidget* parent, QFileDialog* dialog, const QString& folderText, const QString& offeredName,
                  const QString& text);

} // namespace pagewick
