#pragma once

namespace zelvo::app {

// zelvo tables show [--work DIR] [--json]
// zelvo tables set TABLE ROW COL VALUE [--work DIR]   (or NAME COL VALUE)
// argv[0] is "tables". Exit 0 done, 1 the file could not be read or
// written (read-only included), 2 a usage error or a refused address or
// value.
int run_tables_command(int argc, char** argv);

// zelvo [--work DIR] [...] compose --set TABLE:ROW:COL=VALUE...: the job
// composes the work folder's composition with the cells changed, leaving
// incom.htm as it is; the results land in the work folder as usual.
int run_compose_with_settings(int argc, char** argv);

}  // namespace zelvo::app
