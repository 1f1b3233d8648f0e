#pragma once

#include <string>

#include "check/finding.h"
#include "console/composition_opener.h"
#include "console/job_console.h"

namespace zelvo::check {

// What the composer reads silently wrong in the cells of `file` (incom.htc
// or incom.htm in the work folder `folder`, read through `opener` as the
// composer reads it): rows of TCONF, TCAL, TSAL, TGENC and TGENS with fewer
// or more cells than their table's header (the cells after a missing one
// move to other columns), and a `<` the reader takes for a tag and drops
// with the text up to the next `>` (`(a<b?1:0)+(c>d?1:0)`). Reads with
// the composer's own reader on `scratch`; a reading error unwinds with its
// message (base::stop_with): call inside base::attempt.
void check_cells(const std::string& folder, console::JobConsole& scratch, int language, const std::string& file,
                 console::CompositionOpener* opener, Findings& findings);

// The part of a cell as a file writes it that the reader drops as a tag
// although no HTML editor would write it as one, such as `<b?1:0)+(c>`;
// empty when there is none.
std::string dropped_as_tag(std::string_view raw_cell);

}  // namespace zelvo::check
