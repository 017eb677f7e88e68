#pragma once

#include <QString>

namespace pagewick::cli {

// The synopsis: one line per form of the command.
QString UsageText();

// The full help: synopsis, description, each command and option, exit status and examples.
// Kept in one place so it can also be turned into the manual page.
QString HelpText();

} // namespace pagewick::cli
