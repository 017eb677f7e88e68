#include "cli/help.h"

namespace pagewick::cli {

QString UsageText() {
    return QStringLiteral("Usage: pagewick-cli index FOLDER\n"
                          "       pagewick-cli page FOLDER --title TEXT [-o FILE]\n"
                          "       pagewick-cli rss FOLDER --feed-title TEXT --site-url URL [-o FILE]\n"
                          "       pagewick-cli titles FOLDER\n"
                          "       pagewick-cli --help | --version\n");
}

QString HelpText() {
    return UsageText() + QStringLiteral(R"(
Builds from the command line what the Pagewick window builds: an HTML index of
the page files in FOLDER, a complete page around that index, or RSS 2.0 code
for the pages. The page files are the files whose names match *.htm* in any
letter case (hidden files and sub-folders are left out), taken in the order the
window lists them: alphabetical without regard to letter case. Each page is
labelled with its title; a page without a title is labelled with its path.

Commands:
  index FOLDER       Print the HTML index: a <ul> list with one link per page.
  page FOLDER        Print the index inside a complete HTML page whose title
                     and heading are the --title text, as "Save HTML file"
                     in the window writes it.
  rss FOLDER         Print RSS 2.0 code: a channel with the --feed-title text
                     and the --site-url address, and one item per page that
                     links to the address followed by the page's file name.
  titles FOLDER      Print one line per page: its file name, a tab and its
                     title, ending with a line feed.

Options:
  --title TEXT       The title and heading of the page (page; required).
  --feed-title TEXT  The title of the feed (rss; required).
  --site-url URL     The address of the web site (rss; required).
  -o, --output FILE  Write to FILE instead of standard output (page, rss).
                     FILE is replaced only once all of it has been written;
                     when writing fails, an existing FILE is left as it was.
                     The new FILE keeps the old one's permissions and, when
                     run as root, its owner and group; other hard links to
                     the old FILE keep the old text. A FILE that is a FIFO or
                     a character device (such as a terminal) is written into
                     and stays what it is. "-" and /dev/stdout mean standard
                     output. A folder, socket or loop of links is refused.
  -h, --help         Print this help and exit.
  -v, --version      Print the version and exit.

Output is UTF-8 with CR LF line breaks, exactly the text the window shows and
copies. The index and the RSS code end without a line break; the page ends
with one CR LF, as the saved file does. A title is copied as HTML, as written
in the page; a path used as a label is escaped.

Exit status:
  0  Success.
  1  FOLDER does not exist or cannot be read, or the output cannot be written
     (also past the file-size limit, ulimit -f).
  2  Bad usage: an unknown command or option, a missing or an extra argument.

Examples:
  Print the index of a folder:
    pagewick-cli index ~/site

  Regenerate a site's index page from a Makefile whenever a page changes
  (in the Makefile, the command line of the rule starts with a tab):
    index.html: $(wildcard site/*.htm*)
            pagewick-cli page site --title "My pages" -o index.html

  The same every night at two, from a crontab:
    0 2 * * * pagewick-cli page /srv/www --title "My pages" -o /srv/index.html

  Publish a feed of the pages:
    pagewick-cli rss ~/site --feed-title "News" \
        --site-url https://example.org/ -o feed.xml
)");
}

} // namespace pagewick::cli
