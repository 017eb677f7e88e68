<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>main</name>
    <message>
        <source>Builds an HTML index, RSS and Atom feeds and a sitemap from a folder of web pages.</source>
        <translation>Erstellt aus einem Ordner mit Webseiten einen HTML-Index, RSS- und Atom-Feeds und eine Sitemap.</translation>
    </message>
    <message>
        <source>The folder to open (a page file opens its folder); without it, the folder of the last run.</source>
        <translation>Der zu öffnende Ordner (eine Seitendatei öffnet ihren Ordner); ohne ihn der Ordner des letzten Aufrufs.</translation>
    </message>
    <message>
        <source>give one folder at most</source>
        <translation>höchstens einen Ordner angeben</translation>
    </message>
</context>
<context>
    <name>pagewick::AboutBox</name>
    <message>
        <source>%1 (built with %2)</source>
        <translation>%1 (erstellt mit %2)</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Pagewick %1&lt;/h3&gt;&lt;p&gt;Builds an HTML index, RSS and Atom feeds and a sitemap from a folder of web pages.&lt;/p&gt;&lt;p&gt;Licence: proprietary, all rights reserved.&lt;/p&gt;&lt;p&gt;Built with:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Qt %2, under the GNU LGPL version 3&lt;/li&gt;&lt;li&gt;uchardet %3, under the MPL 1.1, GNU GPL 2 or GNU LGPL 2.1&lt;/li&gt;&lt;/ul&gt;</source>
        <translation>&lt;h3&gt;Pagewick %1&lt;/h3&gt;&lt;p&gt;Erstellt aus einem Ordner mit Webseiten einen HTML-Index, RSS- und Atom-Feeds und eine Sitemap.&lt;/p&gt;&lt;p&gt;Lizenz: proprietär, alle Rechte vorbehalten.&lt;/p&gt;&lt;p&gt;Erstellt mit:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Qt %2, unter der GNU LGPL Version 3&lt;/li&gt;&lt;li&gt;uchardet %3, unter der MPL 1.1, GNU GPL 2 oder GNU LGPL 2.1&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
    <message>
        <source>About Pagewick</source>
        <translation>Über Pagewick</translation>
    </message>
</context>
<context>
    <name>pagewick::FolderToOpen</name>
    <message>
        <source>No folder was given.</source>
        <translation>Es wurde kein Ordner angegeben.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2.</source>
        <translation>%1 kann nicht geöffnet werden: %2.</translation>
    </message>
</context>
<context>
    <name>pagewick::SaveFlow</name>
    <message>
        <source>Give the title of the file</source>
        <translation>Geben Sie den Titel der Datei ein</translation>
    </message>
</context>
<context>
    <name>pagewick::cli</name>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>kann nicht in die Standardausgabe schreiben: %1</translation>
    </message>
    <message>
        <source>cannot read folder &quot;%1&quot;: %2</source>
        <translation>Ordner „%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot read folder &quot;%1&quot;: %2, left out</source>
        <translation>Ordner „%1“ kann nicht gelesen werden: %2, ausgelassen</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>%1: FOLDER is missing</source>
        <translation>%1: FOLDER fehlt</translation>
    </message>
    <message>
        <source>%1: unexpected argument &quot;%2&quot;</source>
        <translation>%1: unerwartetes Argument „%2“</translation>
    </message>
    <message>
        <source>%1: %2 %3 is missing</source>
        <translation>%1: %2 %3 fehlt</translation>
    </message>
    <message>
        <source>%1 does not take %2</source>
        <translation>%1 nimmt kein %2</translation>
    </message>
    <message>
        <source>%1: --sort takes name, natural or date, not &quot;%2&quot;</source>
        <translation>%1: --sort nimmt name, natural oder date, nicht „%2“</translation>
    </message>
    <message>
        <source>%1: --exclude &quot;%2&quot; is not a wildcard</source>
        <translation>%1: --exclude „%2“ ist kein Platzhaltermuster</translation>
    </message>
    <message>
        <source>%1: --limit takes a whole number from 1 up, not &quot;%2&quot;</source>
        <translation>%1: --limit nimmt eine ganze Zahl ab 1, nicht „%2“</translation>
    </message>
    <message>
        <source>%1: --description takes title or meta, not &quot;%2&quot;</source>
        <translation>%1: --description nimmt title oder meta, nicht „%2“</translation>
    </message>
    <message>
        <source>%1: --feed-url is empty</source>
        <translation>%1: --feed-url ist leer</translation>
    </message>
    <message>
        <source>%1: --max-depth takes a whole number, 0 or more</source>
        <translation>%1: --max-depth nimmt eine ganze Zahl ab 0</translation>
    </message>
    <message>
        <source>%1: --watch needs -o FILE</source>
        <translation>%1: --watch braucht -o FILE</translation>
    </message>
    <message>
        <source>%1: --format takes text or json, not &quot;%2&quot;</source>
        <translation>%1: --format nimmt text oder json, nicht „%2“</translation>
    </message>
    <message>
        <source>cannot watch for signals: %1</source>
        <translation>kann nicht auf Signale warten: %1</translation>
    </message>
    <message>
        <source>cannot watch the folder: %1</source>
        <translation>kann den Ordner nicht überwachen: %1</translation>
    </message>
    <message>
        <source>wrote %1</source>
        <translation>%1 geschrieben</translation>
    </message>
    <message>
        <source>cannot write to &quot;%1&quot;: %2</source>
        <translation>kann nicht in „%1“ schreiben: %2</translation>
    </message>
    <message>
        <source>cannot build the sitemap: %1</source>
        <translation>kann die Sitemap nicht erstellen: %1</translation>
    </message>
    <message>
        <source>the user&apos;s limit of inotify watches is reached (fs.inotify.max_user_watches)</source>
        <translation>die Grenze des Benutzers für inotify-Überwachungen ist erreicht (fs.inotify.max_user_watches)</translation>
    </message>
    <message>
        <source>cannot watch folder &quot;%1&quot;: %2</source>
        <translation>Ordner „%1“ kann nicht überwacht werden: %2</translation>
    </message>
    <message>
        <source>cannot watch folder &quot;%1&quot;: %2; its changes would go unseen</source>
        <translation>Ordner „%1“ kann nicht überwacht werden: %2; seine Änderungen blieben unbemerkt</translation>
    </message>
    <message>
        <source>cannot watch folder &quot;%1&quot;: %2; a new folder or link in the place of &quot;%3&quot; would go unseen</source>
        <translation>Ordner „%1“ kann nicht überwacht werden: %2; ein neuer Ordner oder Link an der Stelle von „%3“ bliebe unbemerkt</translation>
    </message>
    <message>
        <source>(a folder too deep to name)</source>
        <translation>(ein Ordner, zu tief verschachtelt, um ihn zu nennen)</translation>
    </message>
    <message>
        <source>cannot watch folder &quot;%1&quot;: %2; its changes are not seen</source>
        <translation>Ordner „%1“ kann nicht überwacht werden: %2; seine Änderungen werden nicht bemerkt</translation>
    </message>
    <message>
        <source>cannot watch %1 more folders; their changes are not seen</source>
        <translation>%1 weitere Ordner können nicht überwacht werden; ihre Änderungen werden nicht bemerkt</translation>
    </message>
    <message>
        <source>Usage: pagewick-cli index FOLDER [--details LIST] [ORDER] [-o FILE]
       pagewick-cli page FOLDER --title TEXT [--template FILE] [--css URL]
                    [--details LIST] [ORDER] [-o FILE]
       pagewick-cli titles FOLDER [-z] [ORDER]
       pagewick-cli rss FOLDER --feed-title TEXT --site-url URL [--guid]
                    [--feed-url URL] [--dates] [--description title|meta]
                    [--limit N] [ORDER] [-o FILE]
       pagewick-cli atom FOLDER --feed-title TEXT --site-url URL --feed-url URL
                    [--description title|meta] [--limit N] [ORDER] [-o FILE]
       pagewick-cli sitemap FOLDER --site-url URL [--lastmod] [--exclude GLOB]...
                    [-o FILE]
       pagewick-cli check FOLDER [--format text|json] [--exclude GLOB]...
       pagewick-cli --help | --version
ORDER: [--sort name|natural|date] [--exclude GLOB]...
Every command also takes --recursive and --max-depth N; with -o FILE, --watch.
</source>
        <translation>Aufruf: pagewick-cli index FOLDER [--details LIST] [ORDER] [-o FILE]
        pagewick-cli page FOLDER --title TEXT [--template FILE] [--css URL]
                     [--details LIST] [ORDER] [-o FILE]
        pagewick-cli titles FOLDER [-z] [ORDER]
        pagewick-cli rss FOLDER --feed-title TEXT --site-url URL [--guid]
                     [--feed-url URL] [--dates] [--description title|meta]
                     [--limit N] [ORDER] [-o FILE]
        pagewick-cli atom FOLDER --feed-title TEXT --site-url URL --feed-url URL
                     [--description title|meta] [--limit N] [ORDER] [-o FILE]
        pagewick-cli sitemap FOLDER --site-url URL [--lastmod] [--exclude GLOB]...
                     [-o FILE]
        pagewick-cli check FOLDER [--format text|json] [--exclude GLOB]...
        pagewick-cli --help | --version
ORDER: [--sort name|natural|date] [--exclude GLOB]...
Jeder Befehl nimmt auch --recursive und --max-depth N; mit -o FILE auch --watch.
</translation>
    </message>
    <message>
        <source>
Builds from the command line what the Pagewick window builds: an HTML index of
the page files in FOLDER, a complete page around that index, or RSS 2.0 code
for the pages; for publishing a site, also an Atom feed and a sitemap, and a
check of the pages beforehand. The page files are the files whose names match
*.htm* in any letter case (hidden files are left out, and so are sub-folders
unless --recursive is given), taken in the order the window lists them:
alphabetical without regard to letter case. Each page is labelled with its
title; a page without a title is labelled with its path.

With --recursive, the pages of every sub-folder are listed too, named by their
path from FOLDER with &quot;/&quot; between the parts (blog/2025/post.html); links and
feed and sitemap addresses percent-encode each part. Name orders go part by
part, so the pages of a folder stay together. Hidden folders are left out; a
folder reached through a symbolic link is walked, but no folder twice. A
sub-folder that cannot be read is named on standard error and left out; the
command goes on.

Commands:
  index FOLDER       Print the HTML index: a &lt;ul&gt; list with one link per page.
  page FOLDER        Print the index inside a complete HTML page whose title
                     and heading are the --title text, as &quot;Save HTML file&quot;
                     in the window writes it.
  titles FOLDER      Print one line per page: its file name, a tab and its
                     title, ending with a line feed (with -z, a NUL).
  rss FOLDER         Print RSS 2.0 code: a channel with the --feed-title text
                     and the --site-url address, and one item per page that
                     links to the address followed by the page&apos;s file name.
  atom FOLDER        Print an Atom feed: its id and self link are the
                     --feed-url address, its alternate link the --site-url
                     address; one entry per page with its address, title and
                     date, and with --description meta its summary.
  sitemap FOLDER     Print a sitemap (sitemaps.org): one &lt;url&gt; per page whose
                     &lt;loc&gt; is the --site-url address followed by the page&apos;s
                     percent-encoded file name.

  check FOLDER       Read every page once and report what would be wrong to
                     publish, one line a finding (&quot;NAME: what&quot;), grouped by
                     page, then a summary line: no title or an empty one (the
                     index and feeds would show the local path), a title
                     longer than 70 characters, characters XML forbids in a
                     title, a page that cannot be read (and why), a sub-folder
                     that cannot be read, and a declared encoding that the
                     bytes contradict (declared UTF-8 but not valid UTF-8; a
                     byte-order mark against the page&apos;s charset declaration;
                     another encoding declared over UTF-8 bytes). Pages that
                     share a title are one finding, after the others: a line
                     &quot;N pages share the title &quot;TITLE&quot;:&quot;, then each page on a
                     line of its own, indented by two spaces. A name&apos;s
                     backslash, tab, carriage return or line feed is written
                     as \\, \t, \r or \n.

Options:
  --title TEXT       The title and heading of the page (page; required).
  --feed-title TEXT  The title of the feed (rss, atom; required).
  --site-url URL     The address of the web site (rss, atom, sitemap;
                     required). Free text for a plain rss feed; an absolute
                     http or https address, without a query or fragment,
                     for atom, sitemap, and rss with --guid or --feed-url.
  --feed-url URL     The feed&apos;s own address, an absolute http or https
                     address (atom: required, its id; rss: adds an
                     &lt;atom:link rel=&quot;self&quot;&gt; to the channel).
  --guid             Give each rss item a &lt;guid isPermaLink=&quot;true&quot;&gt;: its link.
  --dates            Give each rss item its page date as &lt;pubDate&gt;, and the
                     channel the newest page date as &lt;lastBuildDate&gt;.
  --description FROM
                     Where an item&apos;s description comes from (rss, atom):
                     &quot;title&quot;, the page&apos;s title (the default), or &quot;meta&quot;, the
                     page&apos;s &lt;meta name=&quot;description&quot;&gt;, else its title for
                     rss and no summary for atom.
  --lastmod          Give each sitemap &lt;url&gt; its page date as &lt;lastmod&gt;.
  --template FILE    Build the page from FILE, an HTML page of your own
                     (page): {{index}}, which it must hold, becomes the
                     index, {{title}} the --title text (escaped as text, or
                     as an attribute value inside a tag), {{updated}} the
                     newest page date (RFC 3339) and {{count}} the number of
                     pages; &quot;{{{{&quot; writes &quot;{{&quot;. Another {{...}} is bad usage,
                     named with its line. FILE is read in its own encoding
                     (a byte-order mark or a charset declaration, as pages
                     are); the page is written in UTF-8 and its charset
                     declarations say so (a &lt;meta charset=&quot;utf-8&quot;&gt; is added
                     at the start of its head when it has none).
  --css URL          Link the page to the stylesheet at URL: a &lt;link
                     rel=&quot;stylesheet&quot;&gt; in its head (page; with --template, at
                     the end of the template&apos;s head).
  --details LIST     After each page&apos;s link, also show some of &quot;date&quot;,
                     &quot;size&quot; and &quot;description&quot;, separated by commas, in the
                     order given (index, page): the page date as a &lt;time
                     datetime&gt; element (shown as yyyy-mm-dd, UTC), the file&apos;s
                     size in bytes, KiB or MiB, and the page&apos;s
                     &lt;meta name=&quot;description&quot;&gt;, as text, in a
                     &lt;span class=&quot;size&quot;&gt; and a &lt;span class=&quot;description&quot;&gt;
                     for a stylesheet. What a page lacks is left out.
  --sort ORDER       The order of the pages (index, page, titles, rss, atom):
                     &quot;name&quot;, alphabetical without regard to letter case (the
                     default); &quot;natural&quot;, the same with runs of digits read as
                     numbers, so page2 comes before page10; &quot;date&quot;, newest
                     page date first, equal dates by name.
  --exclude GLOB     Leave out the pages whose file names match the wildcard
                     GLOB: * for any run of characters, ? for one, [...] for
                     one of a set; letter case does not count. May be given
                     more than once; quote it, so the shell leaves it alone.
                     With --recursive it matches the path (drafts/*,
                     */old-*; * and ? do not cross a /), and a pattern that
                     matches a folder&apos;s path leaves out all pages below it.
  --limit N          Keep only the first N pages of the order, N from 1 up
                     (rss, atom).
  --recursive        Take the pages of the sub-folders too (every command).
  --max-depth N      Go at most N folders below FOLDER (0: FOLDER&apos;s own pages
                     only); implies --recursive.
  --format FORMAT    How check reports: text (the default), or json: one
                     JSON array of objects with the keys &quot;page&quot;, &quot;kind&quot; and
                     &quot;detail&quot;, for scripts; pages that share a title add
                     &quot;title&quot; and &quot;pages&quot;, an array of their names.
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
                     The new FILE keeps the old one&apos;s permissions and, when
                     run as root, its owner and group; other hard links to
                     the old FILE keep the old text. A FILE that is a FIFO or
                     a character device (such as a terminal) is written into
                     and stays what it is. &quot;-&quot; and /dev/stdout mean standard
                     output; a FILE that is where standard output, standard
                     error or another open stream goes (/dev/stderr with
                     2&gt;&gt;log) is written into that stream at its place. A
                     folder, socket or loop of links is refused.
  -h, --help         Print this help and exit.
  -v, --version      Print the version and exit.

Output is UTF-8 with CR LF line breaks, exactly the text the window shows and
copies. The index, the feeds and the sitemap end without a line break; the
page ends with one CR LF, as the saved file does. A title is copied as HTML,
as written in the page; a path used as a label is escaped.

Page dates:
  A page&apos;s date is the date its head declares, in &lt;meta name=&quot;date&quot;
  content=&quot;...&quot;&gt; or &lt;meta property=&quot;article:published_time&quot; content=&quot;...&quot;&gt;
  (ISO 8601), else the time the file was last changed. Copying a folder or
  cloning a repository gives the files new times: declare the date in the
  page to keep it. Dates are written in UTC. Without --dates, --sort date,
  atom, --lastmod, --details date or description, or a template&apos;s
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

  Regenerate a site&apos;s index page, feeds and sitemap from a Makefile whenever a
  page changes (in the Makefile, each command line starts with a tab):
    PAGES := $(wildcard site/*.htm*)
    URL := https://example.org/
    index.html: $(PAGES)
            pagewick-cli page site --title &quot;My pages&quot; --sort natural -o $@
    feed.xml: $(PAGES)
            pagewick-cli rss site --feed-title News --site-url $(URL) \
                --feed-url $(URL)feed.xml --guid --dates --sort date \
                --limit 20 --description meta -o $@
    atom.xml: $(PAGES)
            pagewick-cli atom site --feed-title News --site-url $(URL) \
                --feed-url $(URL)atom.xml --limit 20 -o $@
    sitemap.xml: $(PAGES)
            pagewick-cli sitemap site --site-url $(URL) --lastmod \
                --exclude &quot;draft-*&quot; -o $@

  The page and the feed every night at two, from a crontab:
    0 2 * * * pagewick-cli page /srv/www --title &quot;My pages&quot; -o /srv/index.html
    0 2 * * * pagewick-cli rss /srv/www --feed-title News --site-url https://example.org/ --guid --dates --sort date --limit 20 -o /srv/www/feed.xml

  Publish a feed of the pages:
    pagewick-cli rss ~/site --feed-title &quot;News&quot; \
        --site-url https://example.org/ -o feed.xml

  Check a whole site before publishing it; make stops when check finds
  something:
    publish:
            pagewick-cli check site --recursive
            pagewick-cli page site --recursive --title &quot;My pages&quot; \
                -o site/index.html
            rsync -a site/ host:/srv/www/

  A page in the site&apos;s own look, each entry with its date and description:
    pagewick-cli page ~/site --title &quot;My pages&quot; --template site.html \
        --details date,description -o ~/site/index.html

  Keep the index page current while editing, until Ctrl+C:
    pagewick-cli page ~/site --recursive --title &quot;My pages&quot; \
        -o ~/site/index.html --watch
</source>
        <translation>
Erstellt auf der Befehlszeile, was das Pagewick-Fenster erstellt: einen
HTML-Index der Seitendateien in FOLDER, eine vollständige Seite um diesen Index
oder RSS-2.0-Code für die Seiten; zum Veröffentlichen einer Website außerdem
einen Atom-Feed und eine Sitemap, und vorher eine Prüfung der Seiten. Die
Seitendateien sind die Dateien, deren Namen in beliebiger Groß- und
Kleinschreibung auf *.htm* passen (versteckte Dateien bleiben außen vor,
ebenso Unterordner, sofern --recursive nicht angegeben ist), in der
Reihenfolge, in der das Fenster sie auflistet: alphabetisch ohne Rücksicht auf
Groß- und Kleinschreibung. Jede Seite wird mit ihrem Titel beschriftet; eine
Seite ohne Titel mit ihrem Pfad.

Mit --recursive werden auch die Seiten aller Unterordner aufgeführt, benannt
mit ihrem Pfad ab FOLDER, die Teile durch &quot;/&quot; getrennt (blog/2025/post.html);
Links sowie Feed- und Sitemap-Adressen kodieren jeden Teil mit
Prozentzeichen. Namensreihenfolgen gehen Teil für Teil vor, sodass die Seiten
eines Ordners beisammen bleiben. Versteckte Ordner bleiben außen vor; ein
Ordner hinter einem symbolischen Link wird durchlaufen, aber kein Ordner
zweimal. Ein Unterordner, der nicht gelesen werden kann, wird auf der
Standardfehlerausgabe genannt und ausgelassen; der Befehl läuft weiter.

Befehle:
  index FOLDER       Den HTML-Index ausgeben: eine &lt;ul&gt;-Liste mit einem Link
                     je Seite.
  page FOLDER        Den Index in einer vollständigen HTML-Seite ausgeben,
                     deren Titel und Überschrift der --title-Text ist, so wie
                     &quot;HTML speichern&quot; im Fenster sie schreibt.
  titles FOLDER      Eine Zeile je Seite ausgeben: ihren Dateinamen, einen
                     Tabulator und ihren Titel, mit einem Zeilenvorschub am
                     Ende (mit -z einem NUL).
  rss FOLDER         RSS-2.0-Code ausgeben: einen Kanal mit dem
                     --feed-title-Text und der --site-url-Adresse und einen
                     Eintrag je Seite, der auf die Adresse gefolgt vom
                     Dateinamen der Seite verweist.
  atom FOLDER        Einen Atom-Feed ausgeben: seine id und sein self-Link
                     sind die --feed-url-Adresse, sein alternate-Link die
                     --site-url-Adresse; ein Eintrag je Seite mit ihrer
                     Adresse, ihrem Titel und Datum und mit --description
                     meta ihrer Zusammenfassung.
  sitemap FOLDER     Eine Sitemap (sitemaps.org) ausgeben: ein &lt;url&gt; je
                     Seite, dessen &lt;loc&gt; die --site-url-Adresse gefolgt vom
                     prozentkodierten Dateinamen der Seite ist.

  check FOLDER       Jede Seite einmal lesen und melden, was beim
                     Veröffentlichen falsch wäre, eine Zeile je Befund
                     (&quot;NAME: was&quot;), nach Seiten gruppiert, dann eine
                     Zusammenfassung: kein oder ein leerer Titel (Index und
                     Feeds würden den lokalen Pfad zeigen), ein Titel mit
                     mehr als 70 Zeichen, in XML verbotene
                     Zeichen in einem Titel, eine Seite, die nicht gelesen
                     werden kann (und warum), ein Unterordner, der nicht
                     gelesen werden kann, und eine angegebene Kodierung, der
                     die Bytes widersprechen (als UTF-8 angegeben, aber kein
                     gültiges UTF-8; eine Bytereihenfolge-Markierung gegen
                     die Zeichensatzangabe der Seite; eine andere Kodierung
                     über UTF-8-Bytes angegeben). Seiten mit demselben Titel
                     sind ein Befund, nach den anderen: eine Zeile &quot;N pages
                     share the title &quot;TITLE&quot;:&quot;, dann jede Seite auf einer
                     eigenen Zeile, um zwei Leerzeichen eingerückt. Ein
                     Backslash, Tabulator, Wagenrücklauf oder Zeilenvorschub
                     in einem Namen wird als \\, \t, \r oder \n geschrieben.

Optionen:
  --title TEXT       Titel und Überschrift der Seite (page; Pflicht).
  --feed-title TEXT  Der Titel des Feeds (rss, atom; Pflicht).
  --site-url URL     Die Adresse der Website (rss, atom, sitemap; Pflicht).
                     Freier Text für einen einfachen rss-Feed; eine absolute
                     http- oder https-Adresse ohne Abfrage und Fragment für
                     atom, sitemap und rss mit --guid oder --feed-url.
  --feed-url URL     Die eigene Adresse des Feeds, eine absolute http- oder
                     https-Adresse (atom: Pflicht, seine id; rss: fügt dem
                     Kanal ein &lt;atom:link rel=&quot;self&quot;&gt; hinzu).
  --guid             Jedem rss-Eintrag ein &lt;guid isPermaLink=&quot;true&quot;&gt; geben:
                     seinen Link.
  --dates            Jedem rss-Eintrag das Datum seiner Seite als &lt;pubDate&gt;
                     geben und dem Kanal das neueste Seitendatum als
                     &lt;lastBuildDate&gt;.
  --description FROM
                     Woher die Beschreibung eines Eintrags kommt (rss, atom):
                     &quot;title&quot;, der Titel der Seite (Vorgabe), oder &quot;meta&quot;,
                     das &lt;meta name=&quot;description&quot;&gt; der Seite, sonst ihr
                     Titel bei rss und keine Zusammenfassung bei atom.
  --lastmod          Jedem &lt;url&gt; der Sitemap das Datum seiner Seite als
                     &lt;lastmod&gt; geben.
  --template FILE    Die Seite aus FILE bauen, einer eigenen HTML-Seite
                     (page): {{index}}, das sie enthalten muss, wird zum
                     Index, {{title}} zum --title-Text (als Text maskiert
                     oder, in einem Tag, als Attributwert), {{updated}} zum
                     neuesten Seitendatum (RFC 3339) und {{count}} zur Zahl
                     der Seiten; &quot;{{{{&quot; schreibt &quot;{{&quot;. Jedes andere {{...}}
                     ist ein falscher Aufruf und wird mit seiner Zeile
                     genannt. FILE wird in ihrer eigenen Kodierung gelesen
                     (Byte-Order-Mark oder charset-Angabe, wie bei Seiten);
                     die Seite wird in UTF-8 geschrieben, und ihre
                     charset-Angaben sagen das (hat sie keine, kommt ein
                     &lt;meta charset=&quot;utf-8&quot;&gt; an den Anfang ihres Kopfes).
  --css URL          Die Seite mit dem Stylesheet unter URL verknüpfen: ein
                     &lt;link rel=&quot;stylesheet&quot;&gt; in ihrem Kopf (page; mit
                     --template am Ende des Kopfes der Vorlage).
  --details LIST     Nach dem Link jeder Seite auch einiges von &quot;date&quot;,
                     &quot;size&quot; und &quot;description&quot; zeigen, durch Kommas getrennt,
                     in der angegebenen Reihenfolge (index, page): das
                     Seitendatum als &lt;time datetime&gt;-Element (angezeigt als
                     JJJJ-MM-TT, UTC), die Dateigröße in Bytes, KiB oder MiB
                     und das &lt;meta name=&quot;description&quot;&gt; der Seite, als Text,
                     in einem &lt;span class=&quot;size&quot;&gt; und einem
                     &lt;span class=&quot;description&quot;&gt; für ein Stylesheet. Was
                     einer Seite fehlt, wird ausgelassen.
  --sort ORDER       Die Reihenfolge der Seiten (index, page, titles, rss,
                     atom): &quot;name&quot;, alphabetisch ohne Rücksicht auf Groß- und
                     Kleinschreibung (Vorgabe); &quot;natural&quot;, ebenso, aber
                     Ziffernfolgen als Zahlen gelesen, sodass page2 vor
                     page10 kommt; &quot;date&quot;, neuestes Seitendatum zuerst,
                     gleiche Daten nach Name.
  --exclude GLOB     Die Seiten auslassen, deren Dateinamen auf das Muster
                     GLOB passen: * für beliebig viele Zeichen, ? für eines,
                     [...] für eines aus einer Menge; Groß- und
                     Kleinschreibung zählt nicht. Mehrfach möglich; in
                     Anführungszeichen setzen, damit die Shell es nicht
                     verändert. Mit --recursive passt es auf den Pfad
                     (drafts/*, */old-*; * und ? gehen nicht über ein /
                     hinweg), und ein Muster, das auf den Pfad eines Ordners
                     passt, lässt alle Seiten darunter aus.
  --limit N          Nur die ersten N Seiten der Reihenfolge behalten, N ab 1
                     (rss, atom).
  --recursive        Auch die Seiten der Unterordner nehmen (jeder Befehl).
  --max-depth N      Höchstens N Ordner unter FOLDER hinabgehen (0: nur die
                     eigenen Seiten von FOLDER); schließt --recursive ein.
  --format FORMAT    Wie check berichtet: text (Vorgabe) oder json: ein
                     JSON-Array von Objekten mit den Schlüsseln &quot;page&quot;,
                     &quot;kind&quot; und &quot;detail&quot;, für Skripte; Seiten mit demselben
                     Titel fügen &quot;title&quot; und &quot;pages&quot; hinzu, ein Array ihrer
                     Namen.
  -z, --null         Jede Zeile von titles mit einem NUL statt eines
                     Zeilenvorschubs beenden, wie find -print0, für Namen mit
                     Zeilenvorschüben (titles).
  --watch            Nach dem Schreiben von FILE weiterlaufen und FILE neu
                     schreiben, wenn eine Seite hinzukommt, entfernt,
                     umbenannt oder geändert wird, sobald die Seiten 300 ms
                     lang ruhig waren, und nur, wenn der neue Text sich von
                     FILE unterscheidet; jedes Neuschreiben wird auf der
                     Standardfehlerausgabe genannt. Auch eine Änderung an
                     der Datei FILE von --template löst es aus. SIGINT oder
                     SIGTERM beenden es mit Status 0. Braucht -o FILE, eine
                     reguläre Datei (jeder Befehl, der -o nimmt).
  -o, --output FILE  In FILE statt in die Standardausgabe schreiben (jeder
                     Befehl außer titles und check). FILE wird erst ersetzt,
                     wenn alles geschrieben ist; schlägt das Schreiben fehl,
                     bleibt eine vorhandene FILE, wie sie war.
                     Die neue FILE behält die Zugriffsrechte der alten und,
                     wenn als root ausgeführt, deren Eigentümer und Gruppe;
                     andere harte Links auf die alte FILE behalten den alten
                     Text. Eine FILE, die ein FIFO oder ein zeichenorientiertes
                     Gerät ist (etwa ein Terminal), wird beschrieben und
                     bleibt, was sie ist. &quot;-&quot; und /dev/stdout bedeuten die
                     Standardausgabe; eine FILE, die dort liegt, wohin die
                     Standardausgabe, die Standardfehlerausgabe oder ein
                     anderer offener Datenstrom geht (/dev/stderr mit
                     2&gt;&gt;log), wird an dessen Stelle in diesen Datenstrom
                     geschrieben. Ein Ordner, ein Socket oder eine Schleife
                     von Links wird abgelehnt.
  -h, --help         Diese Hilfe ausgeben und beenden.
  -v, --version      Die Version ausgeben und beenden.

Die Ausgabe ist UTF-8 mit CR-LF-Zeilenumbrüchen, genau der Text, den das
Fenster zeigt und kopiert. Index, Feeds und Sitemap enden ohne
Zeilenumbruch; die Seite endet mit einem CR LF, wie die gespeicherte Datei.
Ein Titel wird als HTML übernommen, wie er in der Seite steht; ein Pfad als
Beschriftung wird maskiert.

Seitendaten:
  Das Datum einer Seite ist das Datum, das ihr Kopf angibt, in &lt;meta
  name=&quot;date&quot; content=&quot;...&quot;&gt; oder &lt;meta property=&quot;article:published_time&quot;
  content=&quot;...&quot;&gt; (ISO 8601), sonst der Zeitpunkt der letzten Änderung der
  Datei. Das Kopieren eines Ordners oder Klonen eines Repositorys gibt den
  Dateien neue Zeiten: Geben Sie das Datum in der Seite an, um es zu
  behalten. Daten werden in UTC geschrieben. Ohne --dates, --sort date, atom,
  --lastmod, --details date oder description oder das {{updated}} einer
  Vorlage wird keine Seite über ihren Titel hinaus gelesen.

Umgebung:
  PAGEWICK_READERS   Wie viele Threads gleichzeitig Seiten lesen (1 liest sie
                     nacheinander); vorgegeben sind zwei je Prozessor,
                     mindestens 2 und höchstens 8. Die Ausgabe ist bei jeder
                     Zahl dieselbe.

Exit-Status:
  0  Erfolg; bei check: nichts gefunden.
  1  FOLDER existiert nicht oder kann nicht gelesen werden, oder die Ausgabe
     kann nicht geschrieben werden (auch über der Dateigrößengrenze, ulimit
     -f); bei check: etwas gefunden.
  2  Falscher Aufruf: ein unbekannter Befehl oder eine unbekannte Option, ein
     fehlendes oder überzähliges Argument, ein falscher Optionswert oder eine
     Adresse, die eine absolute http- oder https-Adresse sein muss und es
     nicht ist.

Beispiele:
  Den Index eines Ordners ausgeben:
    pagewick-cli index ~/site

  Indexseite, Feeds und Sitemap einer Website aus einem Makefile neu
  erstellen, sobald sich eine Seite ändert (im Makefile beginnt jede
  Befehlszeile mit einem Tabulator):
    PAGES := $(wildcard site/*.htm*)
    URL := https://example.org/
    index.html: $(PAGES)
            pagewick-cli page site --title &quot;My pages&quot; --sort natural -o $@
    feed.xml: $(PAGES)
            pagewick-cli rss site --feed-title News --site-url $(URL) \
                --feed-url $(URL)feed.xml --guid --dates --sort date \
                --limit 20 --description meta -o $@
    atom.xml: $(PAGES)
            pagewick-cli atom site --feed-title News --site-url $(URL) \
                --feed-url $(URL)atom.xml --limit 20 -o $@
    sitemap.xml: $(PAGES)
            pagewick-cli sitemap site --site-url $(URL) --lastmod \
                --exclude &quot;draft-*&quot; -o $@

  Die Seite und den Feed jede Nacht um zwei Uhr, aus einer crontab:
    0 2 * * * pagewick-cli page /srv/www --title &quot;My pages&quot; -o /srv/index.html
    0 2 * * * pagewick-cli rss /srv/www --feed-title News --site-url https://example.org/ --guid --dates --sort date --limit 20 -o /srv/www/feed.xml

  Einen Feed der Seiten veröffentlichen:
    pagewick-cli rss ~/site --feed-title &quot;News&quot; \
        --site-url https://example.org/ -o feed.xml

  Eine ganze Website vor dem Veröffentlichen prüfen; make hält an, wenn
  check etwas findet:
    publish:
            pagewick-cli check site --recursive
            pagewick-cli page site --recursive --title &quot;My pages&quot; \
                -o site/index.html
            rsync -a site/ host:/srv/www/

  Eine Seite im eigenen Aussehen der Website, jeder Eintrag mit Datum und
  Beschreibung:
    pagewick-cli page ~/site --title &quot;My pages&quot; --template site.html \
        --details date,description -o ~/site/index.html

  Die Indexseite beim Bearbeiten aktuell halten, bis Strg+C:
    pagewick-cli page ~/site --recursive --title &quot;My pages&quot; \
        -o ~/site/index.html --watch
</translation>
    </message>
</context>
<context>
    <name>pagewick::engine</name>
    <message>
        <source>an Atom feed needs the feed&apos;s own address</source>
        <translation>ein Atom-Feed braucht seine eigene Adresse</translation>
    </message>
    <message>
        <source>the site address &quot;%1&quot; is not an absolute http or https address</source>
        <translation>die Adresse der Website „%1“ ist keine absolute http- oder https-Adresse</translation>
    </message>
    <message>
        <source>the feed address &quot;%1&quot; is not an absolute http or https address</source>
        <translation>die Feed-Adresse „%1“ ist keine absolute http- oder https-Adresse</translation>
    </message>
    <message>
        <source>a loop of symbolic links</source>
        <translation>eine Schleife symbolischer Links</translation>
    </message>
    <message>
        <source>it is not a regular file but %1, and was left as it is.</source>
        <translation>Das Ziel ist keine reguläre Datei, sondern %1, und bleibt unverändert.</translation>
    </message>
    <message>
        <source>it changed while it was being opened; nothing was written.</source>
        <translation>Das Ziel hat sich beim Öffnen geändert; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a named pipe (FIFO)</source>
        <translation>eine benannte Pipe (FIFO)</translation>
    </message>
    <message>
        <source>a character device</source>
        <translation>ein zeichenorientiertes Gerät</translation>
    </message>
    <message>
        <source>a block device</source>
        <translation>ein blockorientiertes Gerät</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>eine Spezialdatei</translation>
    </message>
    <message>
        <source>the site address &quot;%1&quot; has a query (&quot;?&quot;), and page addresses cannot be put after one</source>
        <translation>die Adresse der Website „%1“ hat eine Abfrage („?“), und Seitenadressen können nicht dahinter stehen</translation>
    </message>
    <message>
        <source>the site address &quot;%1&quot; has a fragment (&quot;#&quot;), and page addresses cannot be put after one</source>
        <translation>die Adresse der Website „%1“ hat ein Fragment („#“), und Seitenadressen können nicht dahinter stehen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a detail: date, size or description</source>
        <translation>„%1“ ist keine Angabe: date, size oder description</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is given twice</source>
        <translation>„%1“ ist zweimal angegeben</translation>
    </message>
    <message>
        <source>line %1: &quot;{{&quot; without its &quot;}}&quot; (&quot;{{{{&quot; writes &quot;{{&quot;)</source>
        <translation>Zeile %1: „{{“ ohne sein „}}“ („{{{{“ schreibt „{{“)</translation>
    </message>
    <message>
        <source>line %1: unknown placeholder %2 (known: {{title}}, {{index}}, {{updated}}, {{count}})</source>
        <translation>Zeile %1: unbekannter Platzhalter %2 (bekannt: {{title}}, {{index}}, {{updated}}, {{count}})</translation>
    </message>
    <message>
        <source>line %1: {{index}} stands inside a tag; it belongs in the page&apos;s text</source>
        <translation>Zeile %1: {{index}} steht in einem Tag; es gehört in den Text der Seite</translation>
    </message>
    <message>
        <source>there is no {{index}}, the place of the index in the page</source>
        <translation>es gibt kein {{index}}, die Stelle des Index in der Seite</translation>
    </message>
    <message>
        <source>cannot read the template &quot;%1&quot;: %2</source>
        <translation>die Vorlage „%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>it is larger than 16 MiB</source>
        <translation>sie ist größer als 16 MiB</translation>
    </message>
    <message>
        <source>a read failed</source>
        <translation>ein Lesevorgang ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>the template &quot;%1&quot;: %2</source>
        <translation>die Vorlage „%1“: %2</translation>
    </message>
    <message>
        <source>it would list %1 pages, more than the %2 a sitemap may hold</source>
        <translation>sie würde %1 Seiten aufführen, mehr als die %2, die eine Sitemap enthalten darf</translation>
    </message>
    <message>
        <source>the address of %1 would be %2 characters long, and a sitemap&apos;s addresses must be shorter than %3</source>
        <translation>die Adresse von %1 wäre %2 Zeichen lang, und die Adressen einer Sitemap müssen kürzer als %3 Zeichen sein</translation>
    </message>
    <message>
        <source>it would be %1 bytes long, more than the %2 (50 MB) a sitemap may be</source>
        <translation>sie wäre %1 Bytes groß, mehr als die %2 (50 MB), die eine Sitemap haben darf</translation>
    </message>
</context>
<context>
    <name>pagewick::frmBrowse</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Available disks</source>
        <translation>Verfügbare Laufwerke</translation>
    </message>
    <message>
        <source>Available folders</source>
        <translation>Verfügbare Ordner</translation>
    </message>
    <message>
        <source>Confirm the selected folder</source>
        <translation>Den gewählten Ordner übernehmen</translation>
    </message>
    <message>
        <source>Cancel the selection of a folder</source>
        <translation>Die Ordnerauswahl abbrechen</translation>
    </message>
</context>
<context>
    <name>pagewick::frmBrowser</name>
    <message>
        <source>Pagewick Browser</source>
        <translation>Pagewick-Browser</translation>
    </message>
    <message>
        <source>Pagewick opens only web pages and the pages of the listed folder. This link is not opened:

</source>
        <translation>Pagewick öffnet nur Webseiten und die Seiten des aufgelisteten Ordners. Dieser Link wird nicht geöffnet:

</translation>
    </message>
</context>
<context>
    <name>pagewick::frmFeedOptions</name>
    <message>
        <source>The address of the %1 must be an absolute http:// or https:// address; &quot;%2&quot; is not.</source>
        <translation>Die Adresse des %1 muss eine absolute http://- oder https://-Adresse sein; „%2“ ist keine.</translation>
    </message>
    <message>
        <source>Feed Options</source>
        <translation>Feed-Optionen</translation>
    </message>
    <message>
        <source>RSS code</source>
        <translation>RSS-Code</translation>
    </message>
    <message>
        <source>Give every item a guid (its link)</source>
        <translation>Jedem Eintrag eine guid geben (seinen Link)</translation>
    </message>
    <message>
        <source>Where the feed will be published; named in the feed as its own address</source>
        <translation>Wo der Feed veröffentlicht wird; im Feed als seine eigene Adresse genannt</translation>
    </message>
    <message>
        <source>Add page dates (also to the sitemap)</source>
        <translation>Datum der Seiten angeben (auch in der Sitemap)</translation>
    </message>
    <message>
        <source>Describe pages by their meta description (also in Atom)</source>
        <translation>Seiten mit ihrer Meta-Beschreibung beschreiben (auch in Atom)</translation>
    </message>
    <message>
        <source>Feed address:</source>
        <translation>Feed-Adresse:</translation>
    </message>
    <message>
        <source>Atom feed</source>
        <translation>Atom-Feed</translation>
    </message>
    <message>
        <source>Where the Atom feed will be published; Save Atom Feed needs it</source>
        <translation>Wo der Atom-Feed veröffentlicht wird; „Atom-Feed speichern“ braucht sie</translation>
    </message>
    <message>
        <source>Pages in the feeds</source>
        <translation>Seiten in den Feeds</translation>
    </message>
    <message>
        <source>By name</source>
        <translation>Nach Name</translation>
    </message>
    <message>
        <source>By name, numbers as numbers (page2, page10)</source>
        <translation>Nach Name, Zahlen als Zahlen (page2, page10)</translation>
    </message>
    <message>
        <source>By date, newest first</source>
        <translation>Nach Datum, neueste zuerst</translation>
    </message>
    <message>
        <source>All pages</source>
        <translation>Alle Seiten</translation>
    </message>
    <message>
        <source> pages</source>
        <translation> Seiten</translation>
    </message>
    <message>
        <source>One pattern a line: * any characters, ? one character, [abc] one of a set; letter case is ignored</source>
        <translation>Ein Muster pro Zeile: * beliebige Zeichen, ? ein Zeichen, [abc] eines aus einer Menge; Groß- und Kleinschreibung zählt nicht</translation>
    </message>
    <message>
        <source>Order:</source>
        <translation>Reihenfolge:</translation>
    </message>
    <message>
        <source>At most:</source>
        <translation>Höchstens:</translation>
    </message>
    <message>
        <source>Leave out:</source>
        <translation>Auslassen:</translation>
    </message>
    <message>
        <source>With every option off, Create XML code builds the plain RSS code.</source>
        <translation>Sind alle Optionen aus, erstellt „XML erstellen“ den einfachen RSS-Code.</translation>
    </message>
    <message>
        <source>RSS feed</source>
        <comment>the address of the ...</comment>
        <translation>RSS-Feeds</translation>
    </message>
    <message>
        <source>Atom feed</source>
        <comment>the address of the ...</comment>
        <translation>Atom-Feeds</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read as a pattern: a &quot;[&quot; needs its &quot;]&quot;.</source>
        <translation>„%1“ ist kein gültiges Muster: Zu einem „[“ gehört ein „]“.</translation>
    </message>
</context>
<context>
    <name>pagewick::frmMain</name>
    <message>
        <source>Last modified: </source>
        <translation>Zuletzt geändert: </translation>
    </message>
    <message>
        <source>Creation date unknown</source>
        <translation>Erstellungsdatum unbekannt</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>The selected folder</source>
        <translation>Der gewählte Ordner</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Browse to select a folder</source>
        <translation>Einen Ordner auswählen</translation>
    </message>
    <message>
        <source>List of files</source>
        <translation>Liste der Dateien</translation>
    </message>
    <message>
        <source>Create HTML</source>
        <translation>HTML erstellen</translation>
    </message>
    <message>
        <source>Create an index</source>
        <translation>Einen Index erstellen</translation>
    </message>
    <message>
        <source>View HTML code</source>
        <translation>HTML zeigen</translation>
    </message>
    <message>
        <source>View the HTML code of the index. You can copy and paste into your HTML editor</source>
        <translation>Den HTML-Code des Index zeigen, zum Kopieren und Einfügen in Ihren HTML-Editor</translation>
    </message>
    <message>
        <source>View in Browser</source>
        <translation>Im Browser</translation>
    </message>
    <message>
        <source>View the index in a browser</source>
        <translation>Den Index in einem Browser zeigen</translation>
    </message>
    <message>
        <source>Save HTML file</source>
        <translation>HTML speichern</translation>
    </message>
    <message>
        <source>Create XML code</source>
        <translation>XML erstellen</translation>
    </message>
    <message>
        <source>Click to genereate XML code to include in a RSS feed</source>
        <translation>Klicken, um XML-Code für einen RSS-Feed zu erzeugen</translation>
    </message>
    <message>
        <source>View XML code</source>
        <translation>XML zeigen</translation>
    </message>
    <message>
        <source>Click to view the XML code to be pasted in a RSS feed</source>
        <translation>Klicken, um den XML-Code zum Einfügen in einen RSS-Feed zu zeigen</translation>
    </message>
    <message>
        <source>the folder</source>
        <translation>den Ordner</translation>
    </message>
    <message>
        <source>Give the title of the RSS feed</source>
        <translation>Geben Sie den Titel des RSS-Feeds ein</translation>
    </message>
    <message>
        <source>Give the URL of the website</source>
        <translation>Geben Sie die Adresse (URL) der Website ein</translation>
    </message>
    <message>
        <source>Pagewick cannot build the RSS code: %1.

The last RSS code is kept.</source>
        <translation>Pagewick kann den RSS-Code nicht erstellen: %1.

Der letzte RSS-Code bleibt erhalten.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open Folder...</source>
        <translation>&amp;Ordner öffnen...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Include &amp;Sub-folders</source>
        <translation>&amp;Unterordner einbeziehen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>F&amp;eed</source>
        <translation>&amp;Feed</translation>
    </message>
    <message>
        <source>Feed &amp;Options...</source>
        <translation>Feed-&amp;Optionen...</translation>
    </message>
    <message>
        <source>Save &amp;Sitemap...</source>
        <translation>&amp;Sitemap speichern...</translation>
    </message>
    <message>
        <source>Save &amp;Atom Feed...</source>
        <translation>&amp;Atom-Feed speichern...</translation>
    </message>
    <message>
        <source>&amp;Check Site...</source>
        <translation>Website &amp;prüfen...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Pagewick</source>
        <translation>Ü&amp;ber Pagewick</translation>
    </message>
    <message>
        <source>No Recent Folders</source>
        <translation>Keine zuletzt geöffneten Ordner</translation>
    </message>
    <message>
        <source>&amp;Clear Recent</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>the recent folders</source>
        <translation>die zuletzt geöffneten Ordner</translation>
    </message>
    <message>
        <source>Pagewick cannot remember %1 for the next start.

</source>
        <translation>Pagewick kann %1 nicht für den nächsten Start speichern.

</translation>
    </message>
    <message>
        <source>whether sub-folders are included</source>
        <translation>die Einstellung „Unterordner einbeziehen“</translation>
    </message>
    <message>
        <source>the feed options</source>
        <translation>die Feed-Optionen</translation>
    </message>
    <message>
        <source>Pagewick cannot build the sitemap: %1.</source>
        <translation>Pagewick kann die Sitemap nicht erstellen: %1.</translation>
    </message>
    <message>
        <source>An Atom feed names its own address. Give the address the Atom feed will have under Feed Options (Feed menu), then save it again.</source>
        <translation>Ein Atom-Feed nennt seine eigene Adresse. Geben Sie unter Feed-Optionen (Menü Feed) die Adresse an, die der Atom-Feed haben wird, und speichern Sie ihn dann erneut.</translation>
    </message>
    <message>
        <source>Pagewick cannot build the Atom feed: %1.</source>
        <translation>Pagewick kann den Atom-Feed nicht erstellen: %1.</translation>
    </message>
    <message>
        <source>Pagewick cannot save the page with its template: %1.

Choose another template under Page Options (Feed menu).</source>
        <translation>Pagewick kann die Seite nicht mit ihrer Vorlage speichern: %1.

Wählen Sie unter Seitenoptionen (Menü Feed) eine andere Vorlage.</translation>
    </message>
    <message>
        <source>&amp;Page Options...</source>
        <translation>S&amp;eitenoptionen...</translation>
    </message>
    <message>
        <source>the page options</source>
        <translation>die Seitenoptionen</translation>
    </message>
    <message>
        <source>Give the title of the Atom feed</source>
        <translation>Geben Sie den Titel des Atom-Feeds ein</translation>
    </message>
</context>
<context>
    <name>pagewick::frmPageOptions</name>
    <message>
        <source>Page Options</source>
        <translation>Seitenoptionen</translation>
    </message>
    <message>
        <source>Saved page</source>
        <translation>Gespeicherte Seite</translation>
    </message>
    <message>
        <source>The built-in page</source>
        <translation>Die eingebaute Seite</translation>
    </message>
    <message>
        <source>An HTML file of yours with {{index}} where the index goes; {{title}}, {{updated}} and {{count}} are filled in too</source>
        <translation>Eine eigene HTML-Datei mit {{index}} an der Stelle des Index; auch {{title}}, {{updated}} und {{count}} werden ausgefüllt</translation>
    </message>
    <message>
        <source>Template file</source>
        <translation>Vorlagendatei</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Auswählen...</translation>
    </message>
    <message>
        <source>A stylesheet the page links to in its head</source>
        <translation>Ein Stylesheet, das die Seite in ihrem Kopf einbindet</translation>
    </message>
    <message>
        <source>Stylesheet address</source>
        <translation>Stylesheet-Adresse</translation>
    </message>
    <message>
        <source>Template file:</source>
        <translation>Vorlagendatei:</translation>
    </message>
    <message>
        <source>Stylesheet address:</source>
        <translation>Stylesheet-Adresse:</translation>
    </message>
    <message>
        <source>After each page&apos;s link</source>
        <translation>Nach dem Link jeder Seite</translation>
    </message>
    <message>
        <source>Its date</source>
        <translation>Ihr Datum</translation>
    </message>
    <message>
        <source>Its size</source>
        <translation>Ihre Größe</translation>
    </message>
    <message>
        <source>Its meta description</source>
        <translation>Ihre Meta-Beschreibung</translation>
    </message>
    <message>
        <source>Save HTML file uses the template or the stylesheet; the details show from the next Create HTML. With every option empty, the page is the plain one.</source>
        <translation>„HTML speichern“ verwendet die Vorlage oder das Stylesheet; die Angaben erscheinen ab dem nächsten „HTML erstellen“. Sind alle Optionen leer, ist die Seite die einfache.</translation>
    </message>
    <message>
        <source>Pagewick cannot use this template: %1.</source>
        <translation>Pagewick kann diese Vorlage nicht verwenden: %1.</translation>
    </message>
    <message>
        <source>Page Template</source>
        <translation>Seitenvorlage</translation>
    </message>
    <message>
        <source>HTML files (*.htm *.html)</source>
        <translation>HTML-Dateien (*.htm *.html)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>pagewick::frmTextpad</name>
    <message>
        <source>Pagewick Scratchpad</source>
        <translation>Pagewick-Notizblock</translation>
    </message>
</context>
<context>
    <name>pagewick::settings</name>
    <message>
        <source>a loop of symbolic links</source>
        <translation>eine Schleife symbolischer Links</translation>
    </message>
    <message>
        <source>%1 is not a regular file but %2, so Pagewick neither reads nor writes it.</source>
        <translation>%1 ist keine reguläre Datei, sondern %2; Pagewick liest und schreibt sie daher nicht.</translation>
    </message>
    <message>
        <source>%1 cannot be created because %2 is not a folder.</source>
        <translation>%1 kann nicht angelegt werden, weil %2 kein Ordner ist.</translation>
    </message>
    <message>
        <source>%1 cannot be written: no permission to write in %2.</source>
        <translation>%1 kann nicht geschrieben werden: keine Schreibberechtigung in %2.</translation>
    </message>
    <message>
        <source>%1 cannot be written (the disk may be full or read-only).</source>
        <translation>%1 kann nicht geschrieben werden (der Datenträger ist vielleicht voll oder schreibgeschützt).</translation>
    </message>
    <message>
        <source>%1 is damaged and cannot be read.</source>
        <translation>%1 ist beschädigt und kann nicht gelesen werden.</translation>
    </message>
</context>
</TS>
