#pragma once

#include <QString>

// The web addresses that outputs publish: the site's, and a feed's own.

namespace pagewick {

// An absolute http or https address with a host, as a strict reading of it accepts it.
bool IsWebAddress(const QString& text);

// Empty when the site address is a web address that page paths can be put after, else what is
// wrong, as a sentence for a message. Besides being a web address it has neither a query nor a
// fragment ("?q=1", "#top"): a path put after those lands in them, and every link would name the
// home page. Every output that publishes addresses (feeds, sitemap), in the window and the command
// line, holds the site address to this.
QString SiteAddressProblem(const QString& siteUrl);

// A checked web address in its fully encoded form (a host in ACE form, the rest percent-encoded).
QString EncodedWebAddress(const QString& webAddress);

} // namespace pagewick
