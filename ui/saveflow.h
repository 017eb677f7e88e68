#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace pagewick {

// "Save HTML file": asks for the page title, lets the user pick a file in cdl (kept by the main
// window, so its last file name persists) and writes the page around indexText to it. A failing
// step is reported with Abort, Retry and Ignore.
// The dynamic property of cdl that keeps the name (without folder) of the file last saved.
inline constexpr char kLastFileNameProperty[] = "pagewickLastFileName";

void SaveIndexPage(QWidget* parent, QFileDialog* cdl, const QString& folderText, const QString& indexText);

} // namespace pagewick
