<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>main</name>
    <message>
        <source>Builds an HTML index, RSS and Atom feeds and a sitemap from a folder of web pages.</source>
        <translation>Crée un index HTML, des flux RSS et Atom et un plan du site à partir d&apos;un dossier de pages web.</translation>
    </message>
    <message>
        <source>The folder to open (a page file opens its folder); without it, the folder of the last run.</source>
        <translation>Le dossier à ouvrir (un fichier de page ouvre son dossier)&#xa0;; sans lui, le dossier de la dernière utilisation.</translation>
    </message>
    <message>
        <source>give one folder at most</source>
        <translation>indiquez au plus un dossier</translation>
    </message>
</context>
<context>
    <name>pagewick::AboutBox</name>
    <message>
        <source>%1 (built with %2)</source>
        <translation>%1 (compilé avec %2)</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Pagewick %1&lt;/h3&gt;&lt;p&gt;Builds an HTML index, RSS and Atom feeds and a sitemap from a folder of web pages.&lt;/p&gt;&lt;p&gt;Licence: proprietary, all rights reserved.&lt;/p&gt;&lt;p&gt;Built with:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Qt %2, under the GNU LGPL version 3&lt;/li&gt;&lt;li&gt;uchardet %3, under the MPL 1.1, GNU GPL 2 or GNU LGPL 2.1&lt;/li&gt;&lt;/ul&gt;</source>
        <translation>&lt;h3&gt;Pagewick %1&lt;/h3&gt;&lt;p&gt;Crée un index HTML, des flux RSS et Atom et un plan du site à partir d&apos;un dossier de pages web.&lt;/p&gt;&lt;p&gt;Licence&#xa0;: propriétaire, tous droits réservés.&lt;/p&gt;&lt;p&gt;Compilé avec&#xa0;:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Qt %2, sous licence GNU LGPL version 3&lt;/li&gt;&lt;li&gt;uchardet %3, sous licence MPL 1.1, GNU GPL 2 ou GNU LGPL 2.1&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
    <message>
        <source>About Pagewick</source>
        <translation>À propos de Pagewick</translation>
    </message>
</context>
<context>
    <name>pagewick::FolderToOpen</name>
    <message>
        <source>No folder was given.</source>
        <translation>Aucun dossier n&apos;a été indiqué.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2.</source>
        <translation>%1 ne peut pas être ouvert&#xa0;: %2.</translation>
    </message>
</context>
<context>
    <name>pagewick::SaveFlow</name>
    <message>
        <source>Give the title of the file</source>
        <translation>Indiquez le titre du fichier</translation>
    </message>
</context>
<context>
    <name>pagewick::cli</name>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>impossible d&apos;écrire sur la sortie standard&#xa0;: %1</translation>
    </message>
    <message>
        <source>cannot read folder &quot;%1&quot;: %2</source>
        <translation>impossible de lire le dossier «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
    <message>
        <source>cannot read folder &quot;%1&quot;: %2, left out</source>
        <translation>impossible de lire le dossier «&#xa0;%1&#xa0;»&#xa0;: %2, ignoré</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>aucune commande indiquée</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>commande inconnue «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1: FOLDER is missing</source>
        <translation>%1&#xa0;: FOLDER manque</translation>
    </message>
    <message>
        <source>%1: unexpected argument &quot;%2&quot;</source>
        <translation>%1&#xa0;: argument inattendu «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>%1: %2 %3 is missing</source>
        <translation>%1&#xa0;: %2 %3 manque</translation>
    </message>
    <message>
        <source>%1 does not take %2</source>
        <translation>%1 n&apos;accepte pas %2</translation>
    </message>
    <message>
        <source>%1: --sort takes name, natural or date, not &quot;%2&quot;</source>
        <translation>%1&#xa0;: --sort accepte name, natural ou date, pas «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>%1: --exclude &quot;%2&quot; is not a wildcard</source>
        <translation>%1&#xa0;: --exclude «&#xa0;%2&#xa0;» n&apos;est pas un motif générique</translation>
    </message>
    <message>
        <source>%1: --limit takes a whole number from 1 up, not &quot;%2&quot;</source>
        <translation>%1&#xa0;: --limit accepte un nombre entier à partir de 1, pas «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>%1: --description takes title or meta, not &quot;%2&quot;</source>
        <translation>%1&#xa0;: --description accepte title ou meta, pas «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>%1: --feed-url is empty</source>
        <translation>%1&#xa0;: --feed-url est vide</translation>
    </message>
    <message>
        <source>%1: --max-depth takes a whole number, 0 or more</source>
        <translation>%1&#xa0;: --max-depth accepte un nombre entier, 0 ou plus</translation>
    </message>
    <message>
        <source>%1: --watch needs -o FILE</source>
        <translation>%1&#xa0;: --watch demande -o FILE</translation>
    </message>
    <message>
        <source>%1: --format takes text or json, not &quot;%2&quot;</source>
        <translation>%1&#xa0;: --format accepte text ou json, pas «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>cannot watch for signals: %1</source>
        <translation>impossible d&apos;attendre les signaux&#xa0;: %1</translation>
    </message>
    <message>
        <source>cannot watch the folder: %1</source>
        <translation>impossible de surveiller le dossier&#xa0;: %1</translation>
    </message>
    <message>
        <source>wrote %1</source>
        <translation>%1 écrit</translation>
    </message>
    <message>
        <source>cannot write to &quot;%1&quot;: %2</source>
        <translation>impossible d&apos;écrire dans «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
    <message>
        <source>cannot build the sitemap: %1</source>
        <translation>impossible de créer le plan du site&#xa0;: %1</translation>
    </message>
    <message>
        <source>the user&apos;s limit of inotify watches is reached (fs.inotify.max_user_watches)</source>
        <translation>la limite de surveillances inotify de l&apos;utilisateur est atteinte (fs.inotify.max_user_watches)</translation>
    </message>
    <message>
        <source>cannot watch folder &quot;%1&quot;: %2</source>
        <translation>impossible de surveiller le dossier «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
    <message>
        <source>cannot watch folder &quot;%1&quot;: %2; its changes would go unseen</source>
        <translation>impossible de surveiller le dossier «&#xa0;%1&#xa0;»&#xa0;: %2&#xa0;; ses modifications passeraient inaperçues</translation>
    </message>
    <message>
        <source>cannot watch folder &quot;%1&quot;: %2; a new folder or link in the place of &quot;%3&quot; would go unseen</source>
        <translation>impossible de surveiller le dossier «&#xa0;%1&#xa0;»&#xa0;: %2&#xa0;; un nouveau dossier ou lien à la place de «&#xa0;%3&#xa0;» passerait inaperçu</translation>
    </message>
    <message>
        <source>(a folder too deep to name)</source>
        <translation>(un dossier trop profond pour être nommé)</translation>
    </message>
    <message>
        <source>cannot watch folder &quot;%1&quot;: %2; its changes are not seen</source>
        <translation>impossible de surveiller le dossier «&#xa0;%1&#xa0;»&#xa0;: %2&#xa0;; ses modifications passent inaperçues</translation>
    </message>
    <message>
        <source>cannot watch %1 more folders; their changes are not seen</source>
        <translation>impossible de surveiller %1 autres dossiers&#xa0;; leurs modifications passent inaperçues</translation>
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
        <translation>Usage&#xa0;: pagewick-cli index FOLDER [--details LIST] [ORDER] [-o FILE]
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
ORDER&#xa0;: [--sort name|natural|date] [--exclude GLOB]...
Toute commande accepte aussi --recursive et --max-depth N&#xa0;; avec -o FILE, --watch.
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
Crée en ligne de commande ce que crée la fenêtre de Pagewick&#xa0;: un index HTML
des fichiers de pages de FOLDER, une page complète autour de cet index, ou le
code RSS 2.0 des pages&#xa0;; pour publier un site, aussi un flux Atom et un plan
du site, et au préalable une vérification des pages. Les fichiers de pages
sont les fichiers dont le nom correspond à *.htm*, quelle que soit la casse
(les fichiers cachés sont exclus, de même que les sous-dossiers sauf avec
--recursive), pris dans l&apos;ordre où la fenêtre les liste&#xa0;: alphabétique sans
tenir compte de la casse. Chaque page est libellée par son titre&#xa0;; une page
sans titre est libellée par son chemin.

Avec --recursive, les pages de tous les sous-dossiers sont aussi listées,
nommées par leur chemin depuis FOLDER, les parties séparées par &quot;/&quot;
(blog/2025/post.html)&#xa0;; les liens et les adresses des flux et du plan du site
encodent chaque partie en pourcentage. Les ordres par nom procèdent partie
par partie, si bien que les pages d&apos;un dossier restent ensemble. Les dossiers
cachés sont exclus&#xa0;; un dossier atteint par un lien symbolique est parcouru,
mais aucun dossier deux fois. Un sous-dossier illisible est nommé sur la
sortie d&apos;erreur et exclu&#xa0;; la commande continue.

Commandes&#xa0;:
  index FOLDER       Afficher l&apos;index HTML&#xa0;: une liste &lt;ul&gt; avec un lien par
                     page.
  page FOLDER        Afficher l&apos;index dans une page HTML complète dont le
                     titre et l&apos;en-tête sont le texte de --title, comme
                     &quot;Enregistrer&quot; l&apos;écrit dans la fenêtre.
  titles FOLDER      Afficher une ligne par page&#xa0;: son nom de fichier, une
                     tabulation et son titre, terminée par un saut de ligne
                     (avec -z, par un NUL).
  rss FOLDER         Afficher le code RSS 2.0&#xa0;: un canal avec le texte de
                     --feed-title et l&apos;adresse de --site-url, et un élément
                     par page qui pointe vers l&apos;adresse suivie du nom de
                     fichier de la page.
  atom FOLDER        Afficher un flux Atom&#xa0;: son id et son lien self sont
                     l&apos;adresse de --feed-url, son lien alternate l&apos;adresse de
                     --site-url&#xa0;; une entrée par page avec son adresse, son
                     titre et sa date, et avec --description meta son
                     résumé.
  sitemap FOLDER     Afficher un plan du site (sitemaps.org)&#xa0;: un &lt;url&gt; par
                     page dont le &lt;loc&gt; est l&apos;adresse de --site-url suivie du
                     nom de fichier de la page encodé en pourcentage.

  check FOLDER       Lire chaque page une fois et signaler ce qui poserait
                     problème à la publication, une ligne par constat
                     (&quot;NOM&#xa0;: quoi&quot;), groupées par page, puis une ligne de
                     bilan&#xa0;: pas de titre ou un titre vide (l&apos;index et les
                     flux montreraient le chemin local), un titre de plus de
                     70 caractères, des
                     caractères interdits par XML dans un titre, une page
                     illisible (et pourquoi), un sous-dossier illisible, et
                     un encodage déclaré que les octets contredisent
                     (déclaré UTF-8 mais pas de l&apos;UTF-8 valide&#xa0;; une marque
                     d&apos;ordre des octets contraire à la déclaration de
                     jeu de caractères de la page&#xa0;; un autre encodage
                     déclaré sur des octets UTF-8). Les pages qui partagent
                     un titre forment un seul constat, après les autres&#xa0;: une
                     ligne &quot;N pages share the title &quot;TITLE&quot;:&quot;, puis
                     chaque page sur une ligne à elle, en retrait de deux
                     espaces. La barre oblique inverse, la tabulation, le
                     retour chariot ou le saut de ligne d&apos;un nom s&apos;écrivent
                     \\, \t, \r ou \n.

Options&#xa0;:
  --title TEXT       Le titre et l&apos;en-tête de la page (page&#xa0;; obligatoire).
  --feed-title TEXT  Le titre du flux (rss, atom&#xa0;; obligatoire).
  --site-url URL     L&apos;adresse du site web (rss, atom, sitemap&#xa0;;
                     obligatoire). Texte libre pour un flux rss simple&#xa0;; une
                     adresse http ou https absolue, sans requête ni
                     fragment, pour atom, sitemap, et rss avec --guid ou
                     --feed-url.
  --feed-url URL     L&apos;adresse propre du flux, une adresse http ou https
                     absolue (atom&#xa0;: obligatoire, son id&#xa0;; rss&#xa0;: ajoute un
                     &lt;atom:link rel=&quot;self&quot;&gt; au canal).
  --guid             Donner à chaque élément rss un &lt;guid
                     isPermaLink=&quot;true&quot;&gt;&#xa0;: son lien.
  --dates            Donner à chaque élément rss la date de sa page comme
                     &lt;pubDate&gt;, et au canal la date de page la plus récente
                     comme &lt;lastBuildDate&gt;.
  --description FROM
                     D&apos;où vient la description d&apos;un élément (rss, atom)&#xa0;:
                     &quot;title&quot;, le titre de la page (par défaut), ou &quot;meta&quot;,
                     le &lt;meta name=&quot;description&quot;&gt; de la page, sinon son
                     titre pour rss et aucun résumé pour atom.
  --lastmod          Donner à chaque &lt;url&gt; du plan du site la date de sa page
                     comme &lt;lastmod&gt;.
  --template FILE    Construire la page à partir de FILE, une page HTML à
                     vous (page)&#xa0;: {{index}}, qu&apos;elle doit contenir, devient
                     l&apos;index, {{title}} le texte de --title (échappé comme
                     texte, ou comme valeur d&apos;attribut dans une balise),
                     {{updated}} la date de page la plus récente (RFC 3339)
                     et {{count}} le nombre de pages&#xa0;; &quot;{{{{&quot; écrit &quot;{{&quot;.
                     Tout autre {{...}} est une mauvaise utilisation,
                     signalée avec sa ligne. FILE est lu dans son propre
                     encodage (une marque d&apos;ordre des octets ou une
                     déclaration charset, comme les pages)&#xa0;; la page est
                     écrite en UTF-8 et ses déclarations charset le disent
                     (un &lt;meta charset=&quot;utf-8&quot;&gt; est ajouté au début de son
                     en-tête quand elle n&apos;en a pas).
  --css URL          Lier la page à la feuille de style à l&apos;adresse URL&#xa0;: un
                     &lt;link rel=&quot;stylesheet&quot;&gt; dans son en-tête (page&#xa0;; avec
                     --template, à la fin de l&apos;en-tête du modèle).
  --details LIST     Après le lien de chaque page, montrer aussi certains
                     des détails &quot;date&quot;, &quot;size&quot; et &quot;description&quot;, séparés
                     par des virgules, dans l&apos;ordre donné (index, page)&#xa0;: la
                     date de la page comme élément &lt;time datetime&gt; (affichée
                     AAAA-MM-JJ, en UTC), la taille du fichier en octets, Kio
                     ou Mio, et le &lt;meta name=&quot;description&quot;&gt; de la page,
                     comme texte, dans un &lt;span class=&quot;size&quot;&gt; et un
                     &lt;span class=&quot;description&quot;&gt; pour une feuille de style.
                     Ce qui manque à une page est omis.
  --sort ORDER       L&apos;ordre des pages (index, page, titles, rss, atom)&#xa0;:
                     &quot;name&quot;, alphabétique sans tenir compte de la casse (par
                     défaut)&#xa0;; &quot;natural&quot;, de même mais avec les suites de
                     chiffres lues comme des nombres, si bien que page2 vient
                     avant page10&#xa0;; &quot;date&quot;, la date de page la plus récente
                     d&apos;abord, les dates égales par nom.
  --exclude GLOB     Exclure les pages dont le nom de fichier correspond au
                     motif GLOB&#xa0;: * pour une suite quelconque de caractères,
                     ? pour un seul, [...] pour un caractère d&apos;un ensemble&#xa0;;
                     la casse ne compte pas. Peut être donné plusieurs fois&#xa0;;
                     mettez-le entre guillemets pour que le shell n&apos;y touche
                     pas. Avec --recursive, il s&apos;applique au chemin
                     (drafts/*, */old-*&#xa0;; * et ? ne franchissent pas un /),
                     et un motif qui correspond au chemin d&apos;un dossier exclut
                     toutes les pages en dessous.
  --limit N          Ne garder que les N premières pages de l&apos;ordre, N à
                     partir de 1 (rss, atom).
  --recursive        Prendre aussi les pages des sous-dossiers (toutes les
                     commandes).
  --max-depth N      Descendre d&apos;au plus N dossiers sous FOLDER (0&#xa0;: les
                     pages de FOLDER seulement)&#xa0;; implique --recursive.
  --format FORMAT    Forme du rapport de check&#xa0;: text (par défaut), ou
                     json&#xa0;: un tableau JSON d&apos;objets avec les clés &quot;page&quot;,
                     &quot;kind&quot; et &quot;detail&quot;, pour les scripts&#xa0;; les pages qui
                     partagent un titre ajoutent &quot;title&quot; et &quot;pages&quot;, un
                     tableau de leurs noms.
  -z, --null         Terminer chaque ligne de titles par un NUL au lieu d&apos;un
                     saut de ligne, comme find -print0, pour les noms qui
                     contiennent des sauts de ligne (titles).
  --watch            Après avoir écrit FILE, continuer et le réécrire quand
                     une page est ajoutée, supprimée, renommée ou modifiée,
                     une fois les pages calmes depuis 300 ms, et seulement si
                     le nouveau texte diffère de FILE&#xa0;; chaque réécriture est
                     signalée sur la sortie d&apos;erreur. Une modification du
                     FILE de --template le reconstruit aussi. SIGINT ou
                     SIGTERM y mettent fin avec le code 0. Demande -o FILE,
                     un fichier ordinaire (toutes les commandes qui
                     acceptent -o).
  -o, --output FILE  Écrire dans FILE au lieu de la sortie standard (toutes
                     les commandes sauf titles et check). FILE n&apos;est remplacé
                     qu&apos;une fois entièrement écrit&#xa0;; si l&apos;écriture échoue, un
                     FILE existant reste tel qu&apos;il était.
                     Le nouveau FILE garde les droits de l&apos;ancien et, si la
                     commande tourne en root, son propriétaire et son groupe&#xa0;;
                     les autres liens physiques vers l&apos;ancien FILE gardent
                     l&apos;ancien texte. Un FILE qui est une FIFO ou un
                     périphérique caractère (comme un terminal) est écrit
                     tel quel et reste ce qu&apos;il est. &quot;-&quot; et /dev/stdout
                     désignent la sortie standard&#xa0;; un FILE qui est là où va
                     la sortie standard, la sortie d&apos;erreur ou un autre flux
                     ouvert (/dev/stderr avec 2&gt;&gt;log) est écrit dans ce flux,
                     à sa position. Un dossier, un socket ou une boucle de
                     liens est refusé.
  -h, --help         Afficher cette aide et quitter.
  -v, --version      Afficher la version et quitter.

La sortie est en UTF-8 avec des fins de ligne CR LF, exactement le texte que
la fenêtre affiche et copie. L&apos;index, les flux et le plan du site se
terminent sans fin de ligne&#xa0;; la page se termine par un CR LF, comme le
fichier enregistré. Un titre est repris en HTML, tel qu&apos;il est écrit dans la
page&#xa0;; un chemin servant de libellé est échappé.

Dates des pages&#xa0;:
  La date d&apos;une page est celle que déclare son en-tête, dans &lt;meta
  name=&quot;date&quot; content=&quot;...&quot;&gt; ou &lt;meta property=&quot;article:published_time&quot;
  content=&quot;...&quot;&gt; (ISO 8601), sinon l&apos;heure de la dernière modification du
  fichier. Copier un dossier ou cloner un dépôt donne aux fichiers de
  nouvelles heures&#xa0;: déclarez la date dans la page pour la garder. Les dates
  sont écrites en UTC. Sans --dates, --sort date, atom,
  --lastmod, --details date ou description, ou le {{updated}} d&apos;un modèle,
  aucune page n&apos;est lue au-delà de son titre.

Environnement&#xa0;:
  PAGEWICK_READERS   Combien de threads lisent des pages à la fois (1 les lit
                     l&apos;une après l&apos;autre)&#xa0;; par défaut deux par processeur,
                     au moins 2 et au plus 8. La sortie est la même quel que
                     soit le nombre.

Code de retour&#xa0;:
  0  Succès&#xa0;; pour check, rien trouvé.
  1  FOLDER n&apos;existe pas ou ne peut pas être lu, ou la sortie ne peut pas
     être écrite (aussi au-delà de la taille de fichier permise, ulimit -f)&#xa0;;
     pour check, quelque chose trouvé.
  2  Mauvaise utilisation&#xa0;: une commande ou une option inconnue, un argument
     manquant ou en trop, une valeur d&apos;option incorrecte, ou une adresse qui
     doit être une adresse http ou https absolue et ne l&apos;est pas.

Exemples&#xa0;:
  Afficher l&apos;index d&apos;un dossier&#xa0;:
    pagewick-cli index ~/site

  Recréer la page d&apos;index, les flux et le plan du site depuis un Makefile dès
  qu&apos;une page change (dans le Makefile, chaque ligne de commande commence par
  une tabulation)&#xa0;:
    PAGES&#xa0;:= $(wildcard site/*.htm*)
    URL&#xa0;:= https://example.org/
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

  La page et le flux chaque nuit à deux heures, depuis une crontab&#xa0;:
    0 2 * * * pagewick-cli page /srv/www --title &quot;My pages&quot; -o /srv/index.html
    0 2 * * * pagewick-cli rss /srv/www --feed-title News --site-url https://example.org/ --guid --dates --sort date --limit 20 -o /srv/www/feed.xml

  Publier un flux des pages&#xa0;:
    pagewick-cli rss ~/site --feed-title &quot;News&quot; \
        --site-url https://example.org/ -o feed.xml

  Vérifier tout un site avant de le publier&#xa0;; make s&apos;arrête quand check
  trouve quelque chose&#xa0;:
    publish:
            pagewick-cli check site --recursive
            pagewick-cli page site --recursive --title &quot;My pages&quot; \
                -o site/index.html
            rsync -a site/ host:/srv/www/

  Une page à l&apos;apparence du site, chaque entrée avec sa date et sa
  description&#xa0;:
    pagewick-cli page ~/site --title &quot;My pages&quot; --template site.html \
        --details date,description -o ~/site/index.html

  Garder la page d&apos;index à jour pendant l&apos;édition, jusqu&apos;à Ctrl+C&#xa0;:
    pagewick-cli page ~/site --recursive --title &quot;My pages&quot; \
        -o ~/site/index.html --watch
</translation>
    </message>
</context>
<context>
    <name>pagewick::engine</name>
    <message>
        <source>an Atom feed needs the feed&apos;s own address</source>
        <translation>un flux Atom a besoin de sa propre adresse</translation>
    </message>
    <message>
        <source>the site address &quot;%1&quot; is not an absolute http or https address</source>
        <translation>l&apos;adresse du site «&#xa0;%1&#xa0;» n&apos;est pas une adresse http ou https absolue</translation>
    </message>
    <message>
        <source>the feed address &quot;%1&quot; is not an absolute http or https address</source>
        <translation>l&apos;adresse du flux «&#xa0;%1&#xa0;» n&apos;est pas une adresse http ou https absolue</translation>
    </message>
    <message>
        <source>a loop of symbolic links</source>
        <translation>une boucle de liens symboliques</translation>
    </message>
    <message>
        <source>it is not a regular file but %1, and was left as it is.</source>
        <translation>ce n&apos;est pas un fichier ordinaire mais %1, laissé tel quel.</translation>
    </message>
    <message>
        <source>it changed while it was being opened; nothing was written.</source>
        <translation>la cible a changé pendant son ouverture&#xa0;; rien n&apos;a été écrit.</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>Impossible d&apos;écrire %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>un dossier</translation>
    </message>
    <message>
        <source>a named pipe (FIFO)</source>
        <translation>un tube nommé (FIFO)</translation>
    </message>
    <message>
        <source>a character device</source>
        <translation>un périphérique caractère</translation>
    </message>
    <message>
        <source>a block device</source>
        <translation>un périphérique bloc</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>un socket</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>un fichier spécial</translation>
    </message>
    <message>
        <source>the site address &quot;%1&quot; has a query (&quot;?&quot;), and page addresses cannot be put after one</source>
        <translation>l&apos;adresse du site «&#xa0;%1&#xa0;» contient une requête («&#xa0;?&#xa0;»), et les adresses des pages ne peuvent pas la suivre</translation>
    </message>
    <message>
        <source>the site address &quot;%1&quot; has a fragment (&quot;#&quot;), and page addresses cannot be put after one</source>
        <translation>l&apos;adresse du site «&#xa0;%1&#xa0;» contient un fragment («&#xa0;#&#xa0;»), et les adresses des pages ne peuvent pas le suivre</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a detail: date, size or description</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas un détail&#xa0;: date, size ou description</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is given twice</source>
        <translation>«&#xa0;%1&#xa0;» est donné deux fois</translation>
    </message>
    <message>
        <source>line %1: &quot;{{&quot; without its &quot;}}&quot; (&quot;{{{{&quot; writes &quot;{{&quot;)</source>
        <translation>ligne %1&#xa0;: «&#xa0;{{&#xa0;» sans son «&#xa0;}}&#xa0;» («&#xa0;{{{{&#xa0;» écrit «&#xa0;{{&#xa0;»)</translation>
    </message>
    <message>
        <source>line %1: unknown placeholder %2 (known: {{title}}, {{index}}, {{updated}}, {{count}})</source>
        <translation>ligne %1&#xa0;: espace réservé inconnu %2 (connus&#xa0;: {{title}}, {{index}}, {{updated}}, {{count}})</translation>
    </message>
    <message>
        <source>line %1: {{index}} stands inside a tag; it belongs in the page&apos;s text</source>
        <translation>ligne %1&#xa0;: {{index}} se trouve dans une balise&#xa0;; sa place est dans le texte de la page</translation>
    </message>
    <message>
        <source>there is no {{index}}, the place of the index in the page</source>
        <translation>il n&apos;y a pas de {{index}}, la place de l&apos;index dans la page</translation>
    </message>
    <message>
        <source>cannot read the template &quot;%1&quot;: %2</source>
        <translation>impossible de lire le modèle «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
    <message>
        <source>it is larger than 16 MiB</source>
        <translation>il dépasse 16 Mio</translation>
    </message>
    <message>
        <source>a read failed</source>
        <translation>une lecture a échoué</translation>
    </message>
    <message>
        <source>the template &quot;%1&quot;: %2</source>
        <translation>le modèle «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
    <message>
        <source>it would list %1 pages, more than the %2 a sitemap may hold</source>
        <translation>il listerait %1 pages, plus que les %2 qu&apos;un plan du site peut contenir</translation>
    </message>
    <message>
        <source>the address of %1 would be %2 characters long, and a sitemap&apos;s addresses must be shorter than %3</source>
        <translation>l&apos;adresse de %1 ferait %2 caractères, et les adresses d&apos;un plan du site doivent en faire moins de %3</translation>
    </message>
    <message>
        <source>it would be %1 bytes long, more than the %2 (50 MB) a sitemap may be</source>
        <translation>il ferait %1 octets, plus que les %2 (50 Mo) permis pour un plan du site</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Available disks</source>
        <translation>Disques disponibles</translation>
    </message>
    <message>
        <source>Available folders</source>
        <translation>Dossiers disponibles</translation>
    </message>
    <message>
        <source>Confirm the selected folder</source>
        <translation>Confirmer le dossier choisi</translation>
    </message>
    <message>
        <source>Cancel the selection of a folder</source>
        <translation>Annuler le choix d&apos;un dossier</translation>
    </message>
</context>
<context>
    <name>pagewick::frmBrowser</name>
    <message>
        <source>Pagewick Browser</source>
        <translation>Navigateur Pagewick</translation>
    </message>
    <message>
        <source>Pagewick opens only web pages and the pages of the listed folder. This link is not opened:

</source>
        <translation>Pagewick n&apos;ouvre que les pages web et les pages du dossier listé. Ce lien n&apos;est pas ouvert&#xa0;:

</translation>
    </message>
</context>
<context>
    <name>pagewick::frmFeedOptions</name>
    <message>
        <source>The address of the %1 must be an absolute http:// or https:// address; &quot;%2&quot; is not.</source>
        <translation>L&apos;adresse du %1 doit être une adresse absolue http:// ou https://&#xa0;; «&#xa0;%2&#xa0;» n&apos;en est pas une.</translation>
    </message>
    <message>
        <source>Feed Options</source>
        <translation>Options du flux</translation>
    </message>
    <message>
        <source>RSS code</source>
        <translation>Code RSS</translation>
    </message>
    <message>
        <source>Give every item a guid (its link)</source>
        <translation>Donner un guid à chaque élément (son lien)</translation>
    </message>
    <message>
        <source>Where the feed will be published; named in the feed as its own address</source>
        <translation>Où le flux sera publié&#xa0;; indiqué dans le flux comme sa propre adresse</translation>
    </message>
    <message>
        <source>Add page dates (also to the sitemap)</source>
        <translation>Ajouter les dates des pages (aussi au plan du site)</translation>
    </message>
    <message>
        <source>Describe pages by their meta description (also in Atom)</source>
        <translation>Décrire les pages par leur méta-description (aussi dans Atom)</translation>
    </message>
    <message>
        <source>Feed address:</source>
        <translation>Adresse du flux&#xa0;:</translation>
    </message>
    <message>
        <source>Atom feed</source>
        <translation>Flux Atom</translation>
    </message>
    <message>
        <source>Where the Atom feed will be published; Save Atom Feed needs it</source>
        <translation>Où le flux Atom sera publié&#xa0;; nécessaire pour Enregistrer le flux Atom</translation>
    </message>
    <message>
        <source>Pages in the feeds</source>
        <translation>Pages dans les flux</translation>
    </message>
    <message>
        <source>By name</source>
        <translation>Par nom</translation>
    </message>
    <message>
        <source>By name, numbers as numbers (page2, page10)</source>
        <translation>Par nom, nombres comme nombres (page2, page10)</translation>
    </message>
    <message>
        <source>By date, newest first</source>
        <translation>Par date, la plus récente d&apos;abord</translation>
    </message>
    <message>
        <source>All pages</source>
        <translation>Toutes les pages</translation>
    </message>
    <message>
        <source> pages</source>
        <translation> pages</translation>
    </message>
    <message>
        <source>One pattern a line: * any characters, ? one character, [abc] one of a set; letter case is ignored</source>
        <translation>Un motif par ligne&#xa0;: * n&apos;importe quels caractères, ? un caractère, [abc] un caractère d&apos;un ensemble&#xa0;; la casse est ignorée</translation>
    </message>
    <message>
        <source>Order:</source>
        <translation>Ordre&#xa0;:</translation>
    </message>
    <message>
        <source>At most:</source>
        <translation>Au plus&#xa0;:</translation>
    </message>
    <message>
        <source>Leave out:</source>
        <translation>Exclure&#xa0;:</translation>
    </message>
    <message>
        <source>With every option off, Create XML code builds the plain RSS code.</source>
        <translation>Toutes les options désactivées, Créer le XML produit le code RSS simple.</translation>
    </message>
    <message>
        <source>RSS feed</source>
        <comment>the address of the ...</comment>
        <translation>flux RSS</translation>
    </message>
    <message>
        <source>Atom feed</source>
        <comment>the address of the ...</comment>
        <translation>flux Atom</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read as a pattern: a &quot;[&quot; needs its &quot;]&quot;.</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas un motif valide&#xa0;: un «&#xa0;[&#xa0;» demande son «&#xa0;]&#xa0;».</translation>
    </message>
</context>
<context>
    <name>pagewick::frmMain</name>
    <message>
        <source>Last modified: </source>
        <translation>Dernière modification&#xa0;: </translation>
    </message>
    <message>
        <source>Creation date unknown</source>
        <translation>Date de création inconnue</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>The selected folder</source>
        <translation>Le dossier choisi</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Parcourir</translation>
    </message>
    <message>
        <source>Browse to select a folder</source>
        <translation>Choisir un dossier</translation>
    </message>
    <message>
        <source>List of files</source>
        <translation>Liste des fichiers</translation>
    </message>
    <message>
        <source>Create HTML</source>
        <translation>Créer le HTML</translation>
    </message>
    <message>
        <source>Create an index</source>
        <translation>Créer un index</translation>
    </message>
    <message>
        <source>View HTML code</source>
        <translation>Voir le HTML</translation>
    </message>
    <message>
        <source>View the HTML code of the index. You can copy and paste into your HTML editor</source>
        <translation>Voir le code HTML de l&apos;index, à copier et coller dans votre éditeur HTML</translation>
    </message>
    <message>
        <source>View in Browser</source>
        <translation>Voir l&apos;aperçu</translation>
    </message>
    <message>
        <source>View the index in a browser</source>
        <translation>Voir l&apos;index dans un navigateur</translation>
    </message>
    <message>
        <source>Save HTML file</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Create XML code</source>
        <translation>Créer le XML</translation>
    </message>
    <message>
        <source>Click to genereate XML code to include in a RSS feed</source>
        <translation>Cliquer pour générer le code XML d&apos;un flux RSS</translation>
    </message>
    <message>
        <source>View XML code</source>
        <translation>Voir le XML</translation>
    </message>
    <message>
        <source>Click to view the XML code to be pasted in a RSS feed</source>
        <translation>Cliquer pour voir le code XML à coller dans un flux RSS</translation>
    </message>
    <message>
        <source>the folder</source>
        <translation>le dossier</translation>
    </message>
    <message>
        <source>Give the title of the RSS feed</source>
        <translation>Indiquez le titre du flux RSS</translation>
    </message>
    <message>
        <source>Give the URL of the website</source>
        <translation>Indiquez l&apos;adresse (URL) du site web</translation>
    </message>
    <message>
        <source>Pagewick cannot build the RSS code: %1.

The last RSS code is kept.</source>
        <translation>Pagewick ne peut pas créer le code RSS&#xa0;: %1.

Le dernier code RSS est conservé.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Open Folder...</source>
        <translation>&amp;Ouvrir un dossier...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Dossiers &amp;récents</translation>
    </message>
    <message>
        <source>Include &amp;Sub-folders</source>
        <translation>Inclure les &amp;sous-dossiers</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>F&amp;eed</source>
        <translation>F&amp;lux</translation>
    </message>
    <message>
        <source>Feed &amp;Options...</source>
        <translation>&amp;Options du flux...</translation>
    </message>
    <message>
        <source>Save &amp;Sitemap...</source>
        <translation>Enregistrer le plan du &amp;site...</translation>
    </message>
    <message>
        <source>Save &amp;Atom Feed...</source>
        <translation>Enregistrer le flux &amp;Atom...</translation>
    </message>
    <message>
        <source>&amp;Check Site...</source>
        <translation>&amp;Vérifier le site...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;About Pagewick</source>
        <translation>À &amp;propos de Pagewick</translation>
    </message>
    <message>
        <source>No Recent Folders</source>
        <translation>Aucun dossier récent</translation>
    </message>
    <message>
        <source>&amp;Clear Recent</source>
        <translation>&amp;Effacer la liste</translation>
    </message>
    <message>
        <source>the recent folders</source>
        <translation>les dossiers récents</translation>
    </message>
    <message>
        <source>Pagewick cannot remember %1 for the next start.

</source>
        <translation>Pagewick ne peut pas retenir %1 pour le prochain démarrage.

</translation>
    </message>
    <message>
        <source>whether sub-folders are included</source>
        <translation>si les sous-dossiers sont inclus</translation>
    </message>
    <message>
        <source>the feed options</source>
        <translation>les options du flux</translation>
    </message>
    <message>
        <source>Pagewick cannot build the sitemap: %1.</source>
        <translation>Pagewick ne peut pas créer le plan du site&#xa0;: %1.</translation>
    </message>
    <message>
        <source>An Atom feed names its own address. Give the address the Atom feed will have under Feed Options (Feed menu), then save it again.</source>
        <translation>Un flux Atom indique sa propre adresse. Indiquez l&apos;adresse qu&apos;aura le flux Atom dans Options du flux (menu Flux), puis enregistrez-le à nouveau.</translation>
    </message>
    <message>
        <source>Pagewick cannot build the Atom feed: %1.</source>
        <translation>Pagewick ne peut pas créer le flux Atom&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Pagewick cannot save the page with its template: %1.

Choose another template under Page Options (Feed menu).</source>
        <translation>Pagewick ne peut pas enregistrer la page avec son modèle&#xa0;: %1.

Choisissez un autre modèle dans Options de la page (menu Flux).</translation>
    </message>
    <message>
        <source>&amp;Page Options...</source>
        <translation>Options de la &amp;page...</translation>
    </message>
    <message>
        <source>the page options</source>
        <translation>les options de la page</translation>
    </message>
    <message>
        <source>Give the title of the Atom feed</source>
        <translation>Indiquez le titre du flux Atom</translation>
    </message>
</context>
<context>
    <name>pagewick::frmPageOptions</name>
    <message>
        <source>Page Options</source>
        <translation>Options de la page</translation>
    </message>
    <message>
        <source>Saved page</source>
        <translation>Page enregistrée</translation>
    </message>
    <message>
        <source>The built-in page</source>
        <translation>La page intégrée</translation>
    </message>
    <message>
        <source>An HTML file of yours with {{index}} where the index goes; {{title}}, {{updated}} and {{count}} are filled in too</source>
        <translation>Un fichier HTML à vous, avec {{index}} à la place de l&apos;index&#xa0;; {{title}}, {{updated}} et {{count}} sont remplis aussi</translation>
    </message>
    <message>
        <source>Template file</source>
        <translation>Fichier modèle</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Parcourir...</translation>
    </message>
    <message>
        <source>A stylesheet the page links to in its head</source>
        <translation>Une feuille de style liée dans l&apos;en-tête de la page</translation>
    </message>
    <message>
        <source>Stylesheet address</source>
        <translation>Adresse de la feuille de style</translation>
    </message>
    <message>
        <source>Template file:</source>
        <translation>Fichier modèle&#xa0;:</translation>
    </message>
    <message>
        <source>Stylesheet address:</source>
        <translation>Feuille de style&#xa0;:</translation>
    </message>
    <message>
        <source>After each page&apos;s link</source>
        <translation>Après le lien de chaque page</translation>
    </message>
    <message>
        <source>Its date</source>
        <translation>Sa date</translation>
    </message>
    <message>
        <source>Its size</source>
        <translation>Sa taille</translation>
    </message>
    <message>
        <source>Its meta description</source>
        <translation>Sa méta-description</translation>
    </message>
    <message>
        <source>Save HTML file uses the template or the stylesheet; the details show from the next Create HTML. With every option empty, the page is the plain one.</source>
        <translation>«&#xa0;Enregistrer&#xa0;» utilise le modèle ou la feuille de style&#xa0;; les détails apparaissent dès le prochain «&#xa0;Créer le HTML&#xa0;». Si toutes les options sont vides, la page est la page simple.</translation>
    </message>
    <message>
        <source>Pagewick cannot use this template: %1.</source>
        <translation>Pagewick ne peut pas utiliser ce modèle&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Page Template</source>
        <translation>Modèle de page</translation>
    </message>
    <message>
        <source>HTML files (*.htm *.html)</source>
        <translation>Fichiers HTML (*.htm *.html)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
</context>
<context>
    <name>pagewick::frmTextpad</name>
    <message>
        <source>Pagewick Scratchpad</source>
        <translation>Bloc-notes Pagewick</translation>
    </message>
</context>
<context>
    <name>pagewick::settings</name>
    <message>
        <source>a loop of symbolic links</source>
        <translation>une boucle de liens symboliques</translation>
    </message>
    <message>
        <source>%1 is not a regular file but %2, so Pagewick neither reads nor writes it.</source>
        <translation>%1 n&apos;est pas un fichier ordinaire mais %2&#xa0;; Pagewick ne le lit donc pas et ne l&apos;écrit pas.</translation>
    </message>
    <message>
        <source>%1 cannot be created because %2 is not a folder.</source>
        <translation>%1 ne peut pas être créé car %2 n&apos;est pas un dossier.</translation>
    </message>
    <message>
        <source>%1 cannot be written: no permission to write in %2.</source>
        <translation>%1 ne peut pas être écrit&#xa0;: pas de droit d&apos;écriture dans %2.</translation>
    </message>
    <message>
        <source>%1 cannot be written (the disk may be full or read-only).</source>
        <translation>%1 ne peut pas être écrit (le disque est peut-être plein ou en lecture seule).</translation>
    </message>
    <message>
        <source>%1 is damaged and cannot be read.</source>
        <translation>%1 est endommagé et ne peut pas être lu.</translation>
    </message>
</context>
</TS>
