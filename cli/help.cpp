#include "cli/help.h"

namespace pagewick::cli {

QString UsageText() {
    return QStringLiteral("Usage: pagewick-cli index FOLDER\n"
                          "       pagewick-cli page FOLDER --title TEXT [-o FILE]\n"
                          "       pagewick-cli rss FOLDER --feed-title TEXT --site-url URL [-o FILE]\n"
                          "       pagewick-cli titles FOLDER\n"
                          "       pagewick-cli check FOLDER [--format text|json]\n"
                          "       pagewick-cli --help | --version\n");
}

QString HelpText() {
    return UsageText() + QStringLiteral(R"(
Builds from the command line what the Pagewick window builds: an HTML index of
the page files in FOLDER, a complete page around that index, or RSS 2.0 code
for the pages; or checks the pages before they are published. The page files
are the files whose names match *.htm* in any letter case (hidden files are
left out, and so are sub-folders unless --recursive is given), taken in the
order the window lists them: alphabetical without regard to letter case. Each
page is labelled with its title; a page without a title is labelled with its
path.

Every command also takes --recursive and --max-depth N; the commands that take
-o FILE also take --watch.

With --recursive, the pages of every sub-folder are listed too, named by their
path from FOLDER with "/" between the parts (blog/2025/post.html); links and
feed addresses percent-encode each part. Name order goes part by part, so the
pages of a folder stay together. Hidden folders are left out; a folder reached
through a symbolic link is walked, but no folder twice. A sub-folder that
cannot be read is named on standard error and left out; the command goes on.

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
  check FOLDER       Read every page once and report what would be wrong to
                     publish, one line a finding ("NAME: what"), grouped by
                     page, then a summary line: no title or an empty one (the
                     index and feeds would show the local path), a title that
                     another page has too (naming every such page), a title
                     longer than 70 characters, characters XML forbids in a
                     title, a page that cannot be read (and why), a sub-folder
                     that cannot be read, and a declared encoding that the
                     bytes contradict (declared UTF-8 but not valid UTF-8; a
                     byte-order mark against the meta charset; another
                     encoding declared over UTF-8 bytes).

Options:
  --title TEXT       The title and heading of the page (page; required).
  --feed-title TEXT  The title of the feed (rss; required).
  --site-url URL     The address of the web site (rss; required).
  --recursive        Take the pages of the sub-folders too (every command).
  --max-depth N      Go at most N folders below FOLDER (0: FOLDER's own pages
                     only); implies --recursive.
  --format FORMAT    How check reports: text (the default), or json: one
                     JSON array of objects with the keys "page", "kind" and
                     "detail", for scripts.
  --watch            After writing FILE, keep running and write it again when
                     a page is added, removed, renamed or changed, once the
                     pages have been quiet for 300 ms, and only when the new
                     text differs from FILE; each rewrite is named on
                     standard error. SIGINT or SIGTERM end it with status 0
                     (page, rss; needs -o FILE).
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
  0  Success; for check, nothing found.
  1  FOLDER does not exist or cannot be read, or the output cannot be written
     (also past the file-size limit, ulimit -f); for check, something found.
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

  Check a whole site before publishing it; make stops when check finds
  something:
    publish:
            pagewick-cli check site --recursive
            pagewick-cli page site --recursive --title "My pages" \
                -o site/index.html
            rsync -a site/ host:/srv/www/

  Keep the index page current while editing, until Ctrl+C:
    pagewick-cli page ~/site --recursive --title "My pages" \
        -o ~/site/index.html --watch
)");
}

} // namespace pagewick::cli
