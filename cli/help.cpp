#include "cli/help.h"

#include <QCoreApplication>

namespace pagewick::cli {

QString UsageText() {
    return QCoreApplication::translate(
        "pagewick::cli", "Usage: pagewick-cli index FOLDER [--details LIST] [ORDER] [-o FILE]\n"
                         "       pagewick-cli page FOLDER --title TEXT [--template FILE] [--css URL]\n"
                         "                    [--details LIST] [ORDER] [-o FILE]\n"
                         "       pagewick-cli titles FOLDER [-z] [ORDER]\n"
                         "       pagewick-cli rss FOLDER --feed-title TEXT --site-url URL [--guid]\n"
                         "                    [--feed-url URL] [--dates] [--description title|meta]\n"
                         "                    [--limit N] [ORDER] [-o FILE]\n"
                         "       pagewick-cli atom FOLDER --feed-title TEXT --site-url URL --feed-url URL\n"
                         "                    [--description title|meta] [--limit N] [ORDER] [-o FILE]\n"
                         "       pagewick-cli sitemap FOLDER --site-url URL [--lastmod] [--exclude GLOB]...\n"
                         "                    [-o FILE]\n"
                         "       pagewick-cli check FOLDER [--format text|json] [--exclude GLOB]...\n"
                         "       pagewick-cli --help | --version\n"
                         "ORDER: [--sort name|natural|date] [--exclude GLOB]...\n"
                         "Every command also takes --recursive and --max-depth N; with -o FILE, --watch.\n");
}

// A backslash that ends a line of the help is a literal of its own ("\\"), as lupdate would
// otherwise drop it from the catalogue's text; the lines stay as they read.
// clang-format off
QString HelpText() {
    return UsageText() + QCoreApplication::translate("pagewick::cli", R"(
Builds from the command line what the Pagewick window builds: an HTML index of
the page files in FOLDER, a complete page around that index, or RSS 2.0 code
for the pages; for publishing a site, also an Atom feed and a sitemap, and a
check of the pages beforehand. The page files are the files whose names match
*.htm* in any letter case (hidden files are left out, and so are sub-folders
unless --recursive is given), taken in the order the window lists them:
alphabetical without regard to letter case. Each page is labelled with its
title; a page without a title is labelled with its path.

With --recursive, the pages of every sub-folder are listed too, named by their
path from FOLDER with "/" between the parts (blog/2025/post.html); links and
feed and sitemap addresses percent-encode each part. Name orders go part by
part, so the pages of a folder stay together. Hidden folders are left out; a
folder reached through a symbolic link is walked, but no folder twice. A
sub-folder that cannot be read is named on standard error and left out; the
command goes on.

Commands:
  index FOLDER       Print the HTML index: a <ul> list with one link per page.
  page FOLDER        Print the index inside a complete HTML page whose title
                     and heading are the --title text, as "Save HTML file"
                     in the window writes it.
  titles FOLDER      Print one line per page: its file name, a tab and its
                     title, ending with a line feed (with -z, a NUL).
  rss FOLDER         Print RSS 2.0 code: a channel with the --feed-title text
                     and the --site-url address, and one item per page that
                     links to the address followed by the page's file name.
  atom FOLDER        Print an Atom feed: its id and self link are the
                     --feed-url address, its alternate link the --site-url
                     address; one entry per page with its address, title and
                     date, and with --description meta its summary.
  sitemap FOLDER     Print a sitemap (sitemaps.org): one <url> per page whose
                     <loc> is the --site-url address followed by the page's
                     percent-encoded file name.

  check FOLDER       Read every page once and report what would be wrong to
                     publish, one line a finding ("NAME: what"), grouped by
                     page, then a summary line: no title or an empty one (the
                     index and feeds would show the local path), a title
                     longer than 70 characters, characters XML forbids in a
                     title, a page that cannot be read (and why), a sub-folder
                     that cannot be read, and a declared encoding that the
                     bytes contradict (declared UTF-8 but not valid UTF-8; a
                     byte-order mark against the page's charset declaration;
                     another encoding declared over UTF-8 bytes). Pages that
                     share a title are one finding, after the others: a line
                     "N pages share the title "TITLE":", then each page on a
                     line of its own, indented by two spaces. A name's
                     backslash, tab, carriage return or line feed is written
                     as \\, \t, \r or \n.

Options:
  --title TEXT       The title and heading of the page (page; required).
  --feed-title TEXT  The title of the feed (rss, atom; required).
  --site-url URL     The address of the web site (rss, atom, sitemap;
                     required). Free text for a plain rss feed; an absolute
                     http or https address, without a query or fragment,
                     for atom, sitemap, and rss with --guid or --feed-url.
  --feed-url URL     The feed's own address, an absolute http or https
                     address (atom: required, its id; rss: adds an
                     <atom:link rel="self"> to the channel).
  --guid             Give each rss item a <guid isPermaLink="true">: its link.
  --dates            Give each rss item its page date as <pubDate>, and the
                     channel the newest page date as <lastBuildDate>.
  --description FROM
                     Where an item's description comes from (rss, atom):
                     "title", the page's title (the default), or "meta", the
                     page's <meta name="description">, else its title for
                     rss and no summary for atom.
  --lastmod          Give each sitemap <url> its page date as <lastmod>.
  --template FILE    Build the page from FILE, an HTML page of your own
                     (page): {{index}}, which it must hold, becomes the
                     index, {{title}} the --title text (escaped as text, or
                     as an attribute value inside a tag), {{updated}} the
                     newest page date (RFC 3339) and {{count}} the number of
                     pages; "{{{{" writes "{{". Another {{...}} is bad usage,
                     named with its line. FILE is read in its own encoding
                     (a byte-order mark or a charset declaration, as pages
                     are); the page is written in UTF-8 and its charset
                     declarations say so (a <meta charset="utf-8"> is added
                     at the start of its head when it has none).
  --css URL          Link the page to the stylesheet at URL: a <link
                     rel="stylesheet"> in its head (page; with --template, at
                     the end of the template's head).
  --details LIST     After each page's link, also show some of "date",
                     "size" and "description", separated by commas, in the
                     order given (index, page): the page date as a <time
                     datetime> element (shown as yyyy-mm-dd, UTC), the file's
                     size in bytes, KiB or MiB, and the page's
                     <meta name="description">, as text, in a
                     <span class="size"> and a <span class="description">
                     for a stylesheet. What a page lacks is left out.
  --sort ORDER       The order of the pages (index, page, titles, rss, atom):
                     "name", alphabetical without regard to letter case (the
                     default); "natural", the same with runs of digits read as
                     numbers, so page2 comes before page10; "date", newest
                     page date first, equal dates by name.
  --exclude GLOB     Leave out the pages whose file names match the wildcard
                     GLOB: * for any run of characters, ? for one, [...] for
                     one of a set; letter case does not count. May be given
                     more than once; quote it, so the shell leaves it alone.
                     With --recursive it matches the path (drafts/*,
                     */old-*; * and ? do not cross a /), and a pattern that
                     matches a folder's path leaves out all pages below it.
  --limit N          Keep only the first N pages of the order, N from 1 up
                     (rss, atom).
  --recursive        Take the pages of the sub-folders too (every command).
  --max-depth N      Go at most N folders below FOLDER (0: FOLDER's own pages
                     only); implies --recursive.
  --format FORMAT    How check reports: text (the default), or json: one
                     JSON array of objects with the keys "page", "kind" and
                     "detail", for scripts; pages that share a title add
                     "title" and "pages", an array of their names.
  -z, --null         End each line of titles with a NUL instead of a line
                     feed, as find -print0 does, for names that hold line
                     feeds (titles).
  --watch            After writing FILE, keep running and write it again when
                     a page is added, removed, renamed or changed, once the
                     pages have been quiet for 300 ms, and only when the new
                     text differs from FILE; each rewrite is named on
                     standard error. A change to the --template FILE
                     builds it again too. SIGINT or SIGTERM end it with
                     status 0.
                     Needs -o FILE, a regular file (every command that takes
                     -o).
  -o, --output FILE  Write to FILE instead of standard output (every command
                     but titles and check). FILE is replaced only once all
                     of it has been written; when writing fails, an existing
                     FILE is left as it was.
                     The new FILE keeps the old one's permissions and, when
                     run as root, its owner and group; other hard links to
                     the old FILE keep the old text. A FILE that is a FIFO or
                     a character device (such as a terminal) is written into
                     and stays what it is. "-" and /dev/stdout mean standard
                     output; a FILE that is where standard output, standard
                     error or another open stream goes (/dev/stderr with
                     2>>log) is written into that stream at its place. A
                     folder, socket or loop of links is refused.
  -h, --help         Print this help and exit.
  -v, --version      Print the version and exit.

Output is UTF-8 with CR LF line breaks, exactly the text the window shows and
copies. The index, the feeds and the sitemap end without a line break; the
page ends with one CR LF, as the saved file does. A title is copied as HTML,
as written in the page; a path used as a label is escaped.

Page dates:
  A page's date is the date its head declares, in <meta name="date"
  content="..."> or <meta property="article:published_time" content="...">
  (ISO 8601), else the time the file was last changed. Copying a folder or
  cloning a repository gives the files new times: declare the date in the
  page to keep it. Dates are written in UTC. Without --dates, --sort date,
  atom, --lastmod, --details date or description, or a template's
  {{updated}}, no page is read beyond its title.

Environment:
  PAGEWICK_READERS   How many threads read pages at once (1 reads them one
                     after the other); by default two for each processor, at
                     least 2 and at most 8. The output is the same whatever
                     the number.

Exit status:
  0  Success; for check, nothing found.
  1  FOLDER does not exist or cannot be read, or the output cannot be written
     (also past the file-size limit, ulimit -f); for check, something found.
  2  Bad usage: an unknown command or option, a missing or an extra argument,
     a bad option value, or an address that must be an absolute http or https
     address and is not.

Examples:
  Print the index of a folder:
    pagewick-cli index ~/site

  Regenerate a site's index page, feeds and sitemap from a Makefile whenever a
  page changes (in the Makefile, each command line starts with a tab):
    PAGES := $(wildcard site/*.htm*)
    URL := https://example.org/
    index.html: $(PAGES)
            pagewick-cli page site --title "My pages" --sort natural -o $@
    feed.xml: $(PAGES)
            pagewick-cli rss site --feed-title News --site-url $(URL) )" "\\" R"(
                --feed-url $(URL)feed.xml --guid --dates --sort date )" "\\" R"(
                --limit 20 --description meta -o $@
    atom.xml: $(PAGES)
            pagewick-cli atom site --feed-title News --site-url $(URL) )" "\\" R"(
                --feed-url $(URL)atom.xml --limit 20 -o $@
    sitemap.xml: $(PAGES)
            pagewick-cli sitemap site --site-url $(URL) --lastmod )" "\\" R"(
                --exclude "draft-*" -o $@

  The page and the feed every night at two, from a crontab:
    0 2 * * * pagewick-cli page /srv/www --title "My pages" -o /srv/index.html
    0 2 * * * pagewick-cli rss /srv/www --feed-title News --site-url https://example.org/ --guid --dates --sort date --limit 20 -o /srv/www/feed.xml

  Publish a feed of the pages:
    pagewick-cli rss ~/site --feed-title "News" )" "\\" R"(
        --site-url https://example.org/ -o feed.xml

  Check a whole site before publishing it; make stops when check finds
  something:
    publish:
            pagewick-cli check site --recursive
            pagewick-cli page site --recursive --title "My pages" )" "\\" R"(
                -o site/index.html
            rsync -a site/ host:/srv/www/

  A page in the site's own look, each entry with its date and description:
    pagewick-cli page ~/site --title "My pages" --template site.html )" "\\" R"(
        --details date,description -o ~/site/index.html

  Keep the index page current while editing, until Ctrl+C:
    pagewick-cli page ~/site --recursive --title "My pages" )" "\\" R"(
        -o ~/site/index.html --watch
)");
}
// clang-format on

} // namespace pagewick::cli
