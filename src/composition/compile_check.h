#pragma once

// An edit checked as it is made: the document compiled as the composer
// compiles it, without writing a file.
#include <cstdint>
#include <string>

#include "composition/document.h"
#include "base/status.h"

namespace zelvo::composition {

// The first error the composer's table compiler finds in the document (the
// bytes write_document gives, which is what the composer reads), or ok.
base::Status compile_document(const Document& document);

// Whether an edit that turns `before` into `after` breaks the piece: the
// edited document does not compile, and the error is not one the document
// already had. `error` is then the composer's message in `language`, on
// one line.
bool edit_breaks_piece(const Document& before, const Document& after, int32_t language, std::string& error);

}  // namespace zelvo::composition
