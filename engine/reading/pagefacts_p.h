#pragma once

// Private to the engine: what pagefacts.cpp gives the page reader.

#include "engine/reading/pagefacts.h"
#include "engine/reading/pagereader_p.h"

namespace pagewick::detail {

// Adds to the facts the reader noted (ReadPage with WantFindings) what takes the whole page:
// whether its bytes hold to the encoding it declares. The scan holds what the reader has read of
// the page already; the rest is read from where it stopped.
void ExaminePage(PageSource& source, PageFacts& facts, Utf8Scan& scan);

} // namespace pagewick::detail
